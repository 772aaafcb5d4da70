#include "timer_board/MainLayout.h"
#include "support/Twips.h"
#include "timer_board/WrapButton.h"
#include "timer_board/frmMain.h"
#include <QButtonGroup>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {
QLineEdit* field(QWidget* parent, const QString& text, const QString& tip, const QRect& geometry, bool centred)
{
    auto* edit = new QLineEdit(text, parent);
    edit->setToolTip(tip);
    edit->setGeometry(geometry);
    if (centred)
        edit->setAlignment(Qt::AlignCenter);
    return edit;
}

QLabel* label(QWidget* parent, const QString& text, const QRect& geometry)
{
    auto* l = new QLabel(text, parent);
    l->setGeometry(geometry);
    return l;
}

QPushButton* button(QWidget* parent, const QString& caption, const QString& tip, const QRect& geometry)
{
    auto* b = new QPushButton(caption, parent);
    b->setToolTip(tip);
    b->setGeometry(geometry);
    return b;
}
}

namespace MainLayout {

const QString kStartTip = QStringLiteral("Click START to begin the countdown timer.");
const QString kStopTip = QStringLiteral("Click STOP to stop the countdown timer.");

void buildRow(frmMain& w, int i, QStyle* smallBoxes)
{
    w.Frame1[i] = new QFrame(&w);
    w.Frame1[i]->setFrameShape(QFrame::Box);
    w.Frame1[i]->setFrameShadow(QFrame::Sunken);
    w.Frame1[i]->setGeometry(Twips::rect(135, 135, 3972, 960));
    QFrame* row = w.Frame1[i];

    w.txtDesc[i] = field(row, "Reminder " + QString::number(i + 1),
                       "This message will be displayed when the timer reaches 0:00:00", Twips::rect(90, 192, 3780, 285),
                       false);
    w.chkAlarm[i] = new QCheckBox("A", row);
    w.chkAlarm[i]->setToolTip("Sound an alarm");
    w.chkAlarm[i]->setGeometry(Twips::rect(2352, 528, 396, 192));
    w.chkAlarm[i]->setChecked(true);
    w.chkRun[i] = new QCheckBox("R", row);
    w.chkRun[i]->setToolTip("Run a file or a web URL");
    w.chkRun[i]->setGeometry(Twips::rect(2352, 720, 396, 204));
    w.cmdAt[i] = button(row, "T", "Switch between entering a countdown and a specific time", Twips::rect(2784, 528, 252, 330));
    w.cmdPause[i] = button(row, "P", "Pause/Restart Timer", Twips::rect(3072, 528, 300, 330));
    w.cmdStart[i] = button(row, "Start", kStartTip, Twips::rect(3408, 528, 492, 330));

    w.fraCountdown[i] = new QWidget(row);
    w.fraCountdown[i]->setGeometry(Twips::rect(90, 528 - 15, 2220, 396));
    QWidget* count = w.fraCountdown[i];
    w.txtDays[i] = field(count, "0", "Enter the Days value", Twips::rect(48, 48, 324, 285), true);
    w.lblCountD[i] = label(count, "d", Twips::rect(432, 84, 150, 200));
    w.txtHours[i] = field(count, "0", "Enter the hours value", Twips::rect(588, 48, 324, 285), true);
    w.lblCountH[i] = label(count, "h", Twips::rect(972, 84, 150, 200));
    w.txtMinutes[i] = field(count, "0", "Enter the Minutes value", Twips::rect(1164, 48, 324, 285), true);
    w.lblCountM[i] = label(count, "m", Twips::rect(1500, 84, 200, 200));
    w.txtSeconds[i] = field(count, "00", "Enter the Seconds value", Twips::rect(1740, 48, 360, 285), true);
    w.lblCountS[i] = label(count, "s", Twips::rect(2124, 96, 96, 200));

    w.fraAtSpecific[i] = new QWidget(row);
    w.fraAtSpecific[i]->setGeometry(Twips::rect(90, 528 - 15, 2172, 396));
    QWidget* at = w.fraAtSpecific[i];
    w.txtAtHour[i] = field(at, "0", "Hour", Twips::rect(48, 48, 300, 300), true);
    w.lblAtHour[i] = label(at, ":", Twips::rect(348, 96, 150, 200));
    w.txtAtMin[i] = field(at, "00", "Minute", Twips::rect(528, 48, 348, 300), true);
    w.lblAtMin[i] = label(at, ":", Twips::rect(876, 96, 150, 200));
    w.txtAtSec[i] = field(at, "00", "Second", Twips::rect(1056, 48, 360, 285), true);
    w.optAM[i] = new QRadioButton("am", at);
    w.optAM[i]->setGeometry(Twips::rect(1584, 0, 540, 192));
    w.optPM[i] = new QRadioButton("pm", at);
    w.optPM[i]->setGeometry(Twips::rect(1584, 192, 540, 192));
    // Each row's am/pm pair is a group of its own.
    auto* group = new QButtonGroup(at);
    group->addButton(w.optAM[i]);
    group->addButton(w.optPM[i]);
    w.optPM[i]->setChecked(true);
    w.fraAtSpecific[i]->hide();
    for (QWidget* small : std::initializer_list<QWidget*>{w.chkAlarm[i], w.chkRun[i], w.optAM[i], w.optPM[i]})
        small->setStyle(smallBoxes);
    // Tab follows the way a row is filled in (the message, the time, then the switches and
    // buttons) and goes on to the next row; the rows are made after the bottom strip.
    QWidget* const order[] = {i > 0 ? w.cmdStart[i - 1] : nullptr,
                              w.txtDesc[i],  w.txtDays[i],  w.txtHours[i], w.txtMinutes[i], w.txtSeconds[i],
                              w.txtAtHour[i], w.txtAtMin[i], w.txtAtSec[i], w.optAM[i],      w.optPM[i],
                              w.chkAlarm[i], w.chkRun[i],   w.cmdAt[i],    w.cmdPause[i],   w.cmdStart[i]};
    for (std::size_t k = 1; k < std::size(order); ++k)
        if (order[k - 1])
            QWidget::setTabOrder(order[k - 1], order[k]);
}

void buildStrip(frmMain& w)
{
    const QStringList captions{"1-10", "11-20", "21-30", "31-40"};
    const int lefts[] = {2064, 2736, 3456, 4176};
    for (int k = 0; k < 4; ++k) {
        w.optPage[k] = button(&w, captions[k], "Display timers " + captions[k], Twips::rect(lefts[k], 5472, 588, 300));
        w.optPage[k]->setCheckable(true);
        w.optPage[k]->setAutoExclusive(true);
    }
    w.optPage[0]->setChecked(true);
    w.cmd30s = button(&w, "30s", "Starts a 30 second countdown timer immediately", Twips::rect(1992, 5850, 444, 276));
    w.cmd1m = button(&w, "1m", "Starts a 60 second countdown timer immediately", Twips::rect(2532, 5850, 468, 276));
    w.cmd5m = button(&w, "5m", "Starts a 5m countdown timer immediately", Twips::rect(3108, 5850, 468, 276));
    w.cmdCustom = button(&w, "Ns:", "Starts a custom timer immediately (Set the seconds first)",
                       Twips::rect(3684, 5850, 468, 276));
    w.txtCustom = field(&w, "900", "Number of seconds for custom timer", Twips::rect(4224, 5850, 696, 285), true);
    w.cmdTest = new WrapButton("Test Alarm Volume", &w);
    w.cmdTest->setGeometry(Twips::rect(5376, 5712, 984, 465));
    w.cmdAbout = button(&w, "About", QString(), Twips::rect(135, 5715, 690, 465));
    w.cmdCheckUpdate = new WrapButton("Check for Update", &w);
    w.cmdCheckUpdate->setGeometry(Twips::rect(945, 5712, 930, 465));
    w.cmdExit = button(&w, "Exit", QString(), Twips::rect(6528, 5715, 600, 465));
    w.cmdHide = button(&w, "Hide", QString(), Twips::rect(7248, 5715, 672, 465));
}

}
