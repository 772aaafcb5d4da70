#pragma once
#include <QPointer>
#include "fakes/ZelvoTest.h"
#include "settings/cSHAREDSettings.h"
#include "support/OleDate.h"
#include "timer_board/frmMain.h"
#include "timer_board/frmMessage.h"
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <algorithm>
#include <memory>
#include <ostream>

// Readable failure messages.
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

// A main window over the fakes, loaded from a temporary program folder. The window's timers
// never fire on their own: a test moves the fake clock and calls the tick or the save itself.
class TimerBoardTest : public ZelvoTest {
protected:
    void SetUp() override
    {
        ZelvoTest::SetUp();
        cSHAREDSettings::resetInstance();
    }
    void TearDown() override
    {
        closeReminders();
        board.reset();
        cSHAREDSettings::resetInstance();
        ZelvoTest::TearDown();
    }

    frmMain& open()
    {
        closeReminders();
        board = std::make_unique<frmMain>();
        board->Form_Load();
        board->Timer1->blockSignals(true);
        board->SaveTimer->blockSignals(true);
        board->Timer3->blockSignals(true);
        return *board;
    }
    // The program ends: slots stored, file written, a fresh store for the next start.
    void closeProgram()
    {
        board->Form_QueryUnload(frmMain::vbFormControlMenu);
        board->Form_Unload();
        board.reset();
        cSHAREDSettings::resetInstance();
    }

    void type(int i, const QString& d, const QString& h, const QString& m, const QString& s)
    {
        board->txtDays[i]->setText(d);
        board->txtHours[i]->setText(h);
        board->txtMinutes[i]->setText(m);
        board->txtSeconds[i]->setText(s);
    }
    QString shown(int i) const
    {
        return board->txtDays[i]->text() + ' ' + board->txtHours[i]->text() + ' ' + board->txtMinutes[i]->text() + ' '
               + board->txtSeconds[i]->text();
    }
    void advance(qint64 seconds) { clock->advanceMs(seconds * 1000); }
    void tick() { board->Timer1_Timer(); }
    // Time until the slot's end, in whole seconds.
    qint64 secondsLeft(int i) const { return std::llround(board->slotBoard().remainingMs(i) / 1000.0); }

    QColor textColour(int i) const { return board->txtDesc[i]->palette().color(QPalette::Text); }
    QColor baseColour(int i) const { return board->txtDesc[i]->palette().color(QPalette::Base); }
    QColor systemText(int i) const { return QApplication::palette(board->txtDesc[i]).color(QPalette::Text); }
    QColor systemBase(int i) const { return QApplication::palette(board->txtDesc[i]).color(QPalette::Base); }

    static QList<frmMessage*> reminders()
    {
        QList<frmMessage*> list;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == QLatin1String("frmMessage") && w->isVisible())
                list << static_cast<frmMessage*>(w);
        return list;
    }
    static QStringList reminderTexts()
    {
        QStringList texts;
        for (frmMessage* m : reminders())
            texts << m->Label1->text();
        texts.sort();
        return texts;
    }
    static void closeReminders()
    {
        // A reminder's Snooze menu is a window of its own, deleted with the reminder.
        const QWidgetList tops = QApplication::topLevelWidgets();
        for (const QPointer<QWidget>& w : QList<QPointer<QWidget>>(tops.begin(), tops.end()))
            if (w && w->objectName() == QLatin1String("frmMessage"))
                delete w.data();
    }

    QStringList messages() const
    {
        QStringList texts;
        for (const auto& m : dialogs->shown)
            texts << m.text;
        return texts;
    }
    static cSHAREDSettings& store() { return cSHAREDSettings::instance(); }
    void writeIni(const QByteArray& lines) { writeBytes("Zelvo.ini", lines); }
    QString alarm() const { return path("alarm.wav"); }
    void addAlarmFile() { writeBytes("alarm.wav", QByteArray("RIFF\0\0\0\0WAVE", 12)); }

    std::unique_ptr<frmMain> board;
};
