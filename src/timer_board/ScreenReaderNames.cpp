#include "timer_board/ScreenReaderNames.h"
#include "timer_board/TimerRow.h"
#include "timer_board/frmMain.h"
#include <QAccessibleWidget>
#include <QLineEdit>
#include <QPushButton>

namespace {
// The main window is a frame to a screen reader, as an application's main window is; a plain
// top-level widget would be a "filler".
QAccessibleInterface* mainWindowAsFrame(const QString& className, QObject* object)
{
    if (className == QLatin1String("frmMain") && object && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
    return nullptr;
}
}

ScreenReaderNames::ScreenReaderNames(frmMain& window) : m_window(window), m_named(QAccessible::isActive())
{
    static const bool installed = (QAccessible::installFactory(mainWindowAsFrame), true);
    Q_UNUSED(installed);
    QAccessible::installActivationObserver(this);
}

ScreenReaderNames::~ScreenReaderNames() { QAccessible::removeActivationObserver(this); }

void ScreenReaderNames::accessibilityActiveChanged(bool active)
{
    if (active)
        nameAll();
}

void ScreenReaderNames::nameAll()
{
    if (m_named)
        return;
    m_named = true;
    for (int i = 0; i < frmMain::kRows; ++i)
        if (TimerRow* row = m_window.builtRow(i))
            row->nameControls();
    if (m_window.txtCustom)
        nameStrip();
}

void ScreenReaderNames::rowBuilt(int i)
{
    if (m_named)
        m_window.row(i)->nameControls();
}

void ScreenReaderNames::stripBuilt()
{
    if (m_named)
        nameStrip();
}

void ScreenReaderNames::nameStrip()
{
    const frmMain& w = m_window;
    const std::pair<QWidget*, QString> names[] = {
        {w.cmd30s, "Start a 30-second timer"},  {w.cmd1m, "Start a 1-minute timer"},
        {w.cmd5m, "Start a 5-minute timer"},    {w.cmdCustom, "Start a custom timer"},
        {w.txtCustom, "Seconds for the custom timer"},
    };
    for (const auto& [widget, name] : names)
        widget->setAccessibleName(name);
}
