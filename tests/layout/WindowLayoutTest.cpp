#include "diagnostics/fSHAREDErrorRpt.h"
#include "fakes/ZelvoTest.h"
#include "layout/LayoutAudit.h"
#include "settings/cSHAREDSettings.h"
#include "timer_board/fSHAREDAbout.h"
#include "timer_board/TimerRow.h"
#include "timer_board/ZelvoApp.h"
#include "timer_board/frmMessage.h"
#include "timer_board/frmSplash.h"
#include "updater/fSHAREDProxy.h"
#include "updater/fSHAREDUpdater.h"
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

// Every window, shown, at the scale the test runs with (ctest runs this program at 96 dpi and
// again at 144 dpi): nothing sticks out, nothing overlaps, no caption is cut, Tab reaches every control.
class WindowLayout : public ZelvoSettingsTest {
protected:

    // Checks the shown window and keeps a picture of it where ZELVO_ARTIFACTS points.
    static void expectSound(QWidget* window, const QString& shot)
    {
        window->show();
        QApplication::processEvents();
        if (const QString folder = qEnvironmentVariable("ZELVO_ARTIFACTS"); !folder.isEmpty()) {
            QDir().mkpath(folder);
            EXPECT_TRUE(window->grab().save(folder + '/' + shot + ".png")) << shot.toStdString();
        }
        const double scale = window->devicePixelRatioF();
        EXPECT_TRUE(LayoutAudit::problems(window).isEmpty())
            << "at scale " << scale << ":\n" << LayoutAudit::problems(window).join('\n').toStdString();
        EXPECT_TRUE(LayoutAudit::unreachable(window).isEmpty())
            << "at scale " << scale << ", Tab never reaches:\n" << LayoutAudit::unreachable(window).join('\n').toStdString();
        EXPECT_TRUE(LayoutAudit::unnamed(window).isEmpty())
            << "at scale " << scale << ", for a screen reader:\n" << LayoutAudit::unnamed(window).join('\n').toStdString();
    }
};

TEST_F(WindowLayout, MainWindowOnEveryPageAndInBothKindsOfRow)
{
    ZelvoApp program;
    frmMain& board = program.window();
    board.app().Form_Load();
    for (QTimer* t : {board.app().Timer1, board.app().SaveTimer, board.app().Timer3})
        t->stop();
    for (int page = 0; page < 4; ++page) {
        board.optPage_Click(page);
        board.cmdAt_Click(page * 10 + 3);  // one row of each page shows the clock-time fields
        SCOPED_TRACE("page " + std::to_string(page + 1));
        expectSound(&board, QString("main-page%1").arg(page + 1));
    }
    const auto name = [](QWidget* w) { return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name); };
    EXPECT_EQ(name(board.row(32)->txtHours), "Timer 33 hours");
    EXPECT_EQ(name(board.row(32)->chkRun), "Run a file for timer 33");
    board.cmdStart_Click(35);  // a counting row disables its fields
    expectSound(&board, "main-counting");
    EXPECT_EQ(name(board.row(35)->cmdStart), "Stop timer 36");
    board.app().Form_QueryUnload(frmMain::vbFormCode);
}

TEST_F(WindowLayout, ReminderWithAShortALongAndAVeryLongMessage)
{
    const QString sentence = "Take the bread out of the oven and switch off the grill before the guests arrive. ";
    const QString messages[] = {"Reminder 1", sentence, sentence.repeated(3),
                                "Read https://example.org/meetings/2026/december/agenda-and-minutes-of-the-board"};
    const char* const shots[] = {"reminder-short", "reminder-long", "reminder-very-long", "reminder-long-word"};
    for (int k = 0; k < 4; ++k) {
        SCOPED_TRACE(shots[k]);
        frmMessage reminder(messages[k]);
        expectSound(&reminder, shots[k]);
        EXPECT_EQ(reminder.Label1->text().remove(QChar(0x200B)), messages[k]);
        EXPECT_LE(reminder.Label1->minimumSizeHint().width(), reminder.Label1->width()) << "a word cut at the edges";
        // A screen reader hears it as an alert with the message.
        QAccessibleInterface* alert = QAccessible::queryAccessibleInterface(&reminder);
        EXPECT_EQ(alert->role(), QAccessible::Notification);
        EXPECT_EQ(alert->text(QAccessible::Name), messages[k]);
    }
    // A late reminder says when it was due, under the message.
    frmMessage late(sentence.repeated(2), "Due at 2:05:00 PM");
    expectSound(&late, "reminder-late");
    frmMessage huge(sentence.repeated(20));
    EXPECT_EQ(huge.Label1->font().pointSize(), 8) << "shrinks no further than 8 points";
    EXPECT_EQ(huge.Label1->toolTip(), sentence.repeated(20)) << "what does not fit is in the tip";
}

TEST_F(WindowLayout, SplashAndAbout)
{
    frmSplash splash;
    expectSound(&splash, "splash");
    fSHAREDAbout about;
    expectSound(&about, "about");
}

TEST_F(WindowLayout, UpdateProxyAndErrorReportWindows)
{
    fSHAREDUpdater updater;
    expectSound(&updater, "updater");
    updater.cmdShowDetail_Click();
    expectSound(&updater, "updater-details");
    updater.hide();

    fSHAREDProxy proxy;
    proxy.Form_Load();
    expectSound(&proxy, "proxy");

    fSHAREDErrorRpt report;
    report.FillReport("Could not save the settings file", "Settings");
    expectSound(&report, "error-report");
    report.cmdShowComments_Click();
    expectSound(&report, "error-report-comments");
}
