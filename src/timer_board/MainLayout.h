#pragma once
#include <QString>

class QStyle;
class frmMain;

// Where the main window's controls are and what they say: the widgets of a row and of the strip
// below the rows, made with their captions, tool tips, twips geometry and Tab order. What they do
// is the window's business.
namespace MainLayout {
extern const QString kStartTip;
extern const QString kStopTip;
// The row's widgets; smallBoxes draws its tick boxes and am/pm choices.
void buildRow(frmMain& w, int i, QStyle* smallBoxes);
void buildStrip(frmMain& w);
}
