#include "timer_board/MainLayout.h"
#include "support/Twips.h"
#include "timer_board/WrapButton.h"
#include "timer_board/frmMain.h"
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace MainLayout {

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

std::array<QPushButton*, 4> buildStrip(frmMain& w)
{
    std::array<QPushButton*, 4> pages{};
    const QStringList captions{"1-10", "11-20", "21-30", "31-40"};
    const int lefts[] = {2064, 2736, 3456, 4176};
    for (int k = 0; k < 4; ++k) {
        pages[k] = button(&w, captions[k], "Display timers " + captions[k], Twips::rect(lefts[k], 5472, 588, 300));
        pages[k]->setCheckable(true);
        pages[k]->setAutoExclusive(true);
    }
    pages[0]->setChecked(true);
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
    return pages;
}

}
