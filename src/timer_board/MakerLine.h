#pragma once
#include <QString>

// "Zelvo Software © <year>", the year from the computer's clock.
QString makerLine();
