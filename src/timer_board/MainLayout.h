#pragma once
#include <QString>
#include <array>

class QLabel;
class QLineEdit;
class QPushButton;
class QRect;
class QWidget;
class frmMain;

// How the main window's controls are made: with their captions, tool tips and twips geometry;
// and where the strip below the rows has its controls. What they do is the window's business.
namespace MainLayout {
QLineEdit* field(QWidget* parent, const QString& text, const QString& tip, const QRect& geometry, bool centred);
QLabel* label(QWidget* parent, const QString& text, const QRect& geometry);
QPushButton* button(QWidget* parent, const QString& caption, const QString& tip, const QRect& geometry);
// The four page buttons are returned; the rest are the window's named controls.
std::array<QPushButton*, 4> buildStrip(frmMain& w);
}
