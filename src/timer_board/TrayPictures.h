#pragma once
#include <QPixmap>

// The red (standing by) and green (running) tray pictures, drawn by the program itself.
namespace TrayPictures {
QPixmap red();
QPixmap green();
}
