#include "timer_board/ScreenReaderNames.h"
#include "timer_board/frmMain.h"
#include <QAccessibleWidget>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

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
        if (m_window.optPM[i])
            nameRow(i);
    if (m_window.txtCustom)
        nameStrip();
}

void ScreenReaderNames::rowBuilt(int i)
{
    if (m_named)
        nameRow(i);
}

void ScreenReaderNames::stripBuilt()
{
    if (m_named)
        nameStrip();
}

void ScreenReaderNames::startChanged(int i, bool running)
{
    if (m_named)
        m_window.cmdStart[i]->setAccessibleName((running ? "Stop timer " : "Start timer ") + QString::number(i + 1));
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

void ScreenReaderNames::nameRow(int i)
{
    const frmMain& w = m_window;
    const QString timer = "timer " + QString::number(i + 1);
    const QString Timer = "Timer " + QString::number(i + 1);
    const std::pair<QWidget*, QString> names[] = {
        {w.txtDesc[i], Timer + " message"},       {w.txtDays[i], Timer + " days"},
        {w.txtHours[i], Timer + " hours"},        {w.txtMinutes[i], Timer + " minutes"},
        {w.txtSeconds[i], Timer + " seconds"},    {w.txtAtHour[i], Timer + " clock hour"},
        {w.txtAtMin[i], Timer + " clock minute"}, {w.txtAtSec[i], Timer + " clock second"},
        {w.optAM[i], Timer + " am"},              {w.optPM[i], Timer + " pm"},
        {w.chkAlarm[i], "Alarm for " + timer},    {w.chkRun[i], "Run a file for " + timer},
        {w.cmdAt[i], "Clock time for " + timer},  {w.cmdPause[i], "Pause " + timer},
        {w.cmdStart[i], (w.slotBoard().SlotRunning(i) ? "Stop " : "Start ") + timer},
        {w.Frame1[i], Timer},
    };
    for (const auto& [widget, name] : names)
        widget->setAccessibleName(name);
}
