#pragma once
#include <QStringList>

class QWidget;

// Looks at a shown window the way a user would: every control inside its parent, no two
// controls on top of each other, every caption readable in full, every control reachable
// with the Tab key.
namespace LayoutAudit {
// One line per control that sticks out of its parent, overlaps a sibling or cuts its caption.
QStringList problems(QWidget* window);
// One line per visible, enabled control that Tab never reaches.
QStringList unreachable(QWidget* window);
// One line per visible control a screen reader would have no name for, or the same name as
// another control of the window.
QStringList unnamed(QWidget* window);
}
