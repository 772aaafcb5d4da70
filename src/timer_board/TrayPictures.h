#pragma once
#include <QPixmap>

// The red (standing by) and green (running) tray pictures, drawn by the program itself, and the
// amber one a status-notifier panel shows while a reminder waits.
namespace TrayPictures {
QPixmap red();
QPixmap green();
QPixmap amber();
}
