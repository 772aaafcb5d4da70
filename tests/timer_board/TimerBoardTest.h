#pragma once
#include <QPointer>
#include "fakes/ZelvoTest.h"
#include "settings/cSHAREDSettings.h"
#include "support/OleDate.h"
#include "timer_board/ZelvoApp.h"
#include "timer_board/TimerRow.h"
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
        dropBoard();
        cSHAREDSettings::resetInstance();
        ZelvoTest::TearDown();
    }

    frmMain& open()
    {
        closeReminders();
        program = std::make_unique<ZelvoApp>();
        board = &program->window();
        board->app().Form_Load();
        board->app().Timer1->blockSignals(true);
        board->app().SaveTimer->blockSignals(true);
        board->app().Timer3->blockSignals(true);
        return *board;
    }
    // The program ends: slots stored, file written, a fresh store for the next start.
    void closeProgram()
    {
        board->app().Form_QueryUnload(frmMain::vbFormControlMenu);
        board->app().Form_Unload();
        dropBoard();
        cSHAREDSettings::resetInstance();
    }

    void type(int i, const QString& d, const QString& h, const QString& m, const QString& s)
    {
        board->row(i)->txtDays->setText(d);
        board->row(i)->txtHours->setText(h);
        board->row(i)->txtMinutes->setText(m);
        board->row(i)->txtSeconds->setText(s);
    }
    QString shown(int i) const
    {
        return board->row(i)->txtDays->text() + ' ' + board->row(i)->txtHours->text() + ' ' + board->row(i)->txtMinutes->text() + ' '
               + board->row(i)->txtSeconds->text();
    }
    void advance(qint64 seconds) { clock->advanceMs(seconds * 1000); }
    void tick() { board->app().Timer1_Timer(); }
    // Time until the slot's end, in whole seconds.
    qint64 secondsLeft(int i) const { return std::llround(board->slotBoard().remainingMs(i) / 1000.0); }

    QColor textColour(int i) const { return board->row(i)->txtDesc->palette().color(QPalette::Text); }
    QColor baseColour(int i) const { return board->row(i)->txtDesc->palette().color(QPalette::Base); }
    QColor systemText(int i) const { return QApplication::palette(board->row(i)->txtDesc).color(QPalette::Text); }
    QColor systemBase(int i) const { return QApplication::palette(board->row(i)->txtDesc).color(QPalette::Base); }

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

    void dropBoard()
    {
        program.reset();
        board = nullptr;
    }

    std::unique_ptr<ZelvoApp> program;
    frmMain* board = nullptr;
};
