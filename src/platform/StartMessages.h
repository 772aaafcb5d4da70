#pragma once

// Qt's messages while the application object is made. A start that finds no display (Qt could
// load no window system) ends with one line and exit status 1 instead of Qt's abort and its advice
// to reinstall; otherwise what was held goes out as it came.
namespace StartMessages {
void hold();
void release();
}
