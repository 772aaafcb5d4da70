#include "diagnostics/ErrorReportFixture.h"
#include "diagnostics/cSHAREDShowError.h"
#include "fakes/ErrorReportCatcher.h"
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <functional>

namespace {
bool anyReportWindow()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("fSHAREDErrorRpt"))
            return true;
    return false;
}

// Acts once the modal window is up, then lets it go the way the test chooses.
class WhenShown : public QObject {
public:
    explicit WhenShown(std::function<void(fSHAREDErrorRpt*)> action) : m_action(std::move(action))
    {
        m_timer.setInterval(5);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            auto* w = qobject_cast<fSHAREDErrorRpt*>(QApplication::activeModalWidget());
            if (!w || !w->isVisible())
                return;
            m_timer.stop();
            ++calls;
            m_action(w);
        });
        m_timer.start();
    }
    int calls = 0;

private:
    std::function<void(fSHAREDErrorRpt*)> m_action;
    QTimer m_timer;
};
}

using ErrorReportWindow = ErrorReportTest;

TEST_F(ErrorReportWindow, WidgetsCarryTheirNamesCaptionsAndTooltips)
{
    useLog("log");
    open("Cannot save");
    EXPECT_EQ(form->objectName(), "fSHAREDErrorRpt");
    EXPECT_EQ(form->windowTitle(), "Error Reporter");

    auto* label = form->findChild<QLabel*>("Label1");
    ASSERT_TRUE(label);
    EXPECT_EQ(label->text(), "An error has ocurred:");

    const struct {
        const char* name;
        const char* title;
    } frames[] = {{"Frame1", "Error Details"}, {"Frame3", "Enter your own comments here"}};
    for (const auto& f : frames) {
        auto* box = form->findChild<QGroupBox*>(f.name);
        ASSERT_TRUE(box) << f.name;
        EXPECT_EQ(box->title(), f.title);
    }
    auto* logFrame = form->findChild<QGroupBox*>("Frame2");
    ASSERT_TRUE(logFrame);
    EXPECT_EQ(logFrame->title(), path("log.txt"));  // the log's path replaces "Log" on load

    const struct {
        const char* name;
        const char* parent;
        bool readOnly;
        const char* tip;
    } boxes[] = {{"txtError", "Frame1", true, "This is the error which ocurred"},
                 {"txtLog", "Frame2", true, "This is the content of the program's log file"},
                 {"txtUserMessage", "Frame3", false, "These comments will be added to your error report."}};
    for (const auto& b : boxes) {
        auto* box = form->findChild<QPlainTextEdit*>(b.name);
        ASSERT_TRUE(box) << b.name;
        EXPECT_EQ(box->parentWidget()->objectName(), b.parent);
        EXPECT_EQ(box->isReadOnly(), b.readOnly) << b.name;
        EXPECT_EQ(box->toolTip(), b.tip);
    }

    const struct {
        const char* name;
        const char* caption;
        const char* tip;
    } buttons[] = {
        {"cmdShowComments", "Enter Comments",
         "If you want to add any comments before submitting an error report, click here."},
        {"cmdViewLog", "View Log File", "Click this button to view the log file"},
        {"cmdViewReport", "View Error Report", "If 'Submit Error' doesn't work, click here"},
        {"cmdHelp", "Help", ""},
        {"cmdEmail", "Submit Error Report", "You will get a chance to preview the report before sending."},
        {"cmdExit", "Exit", ""},
    };
    for (const auto& b : buttons) {
        auto* button = form->findChild<QPushButton*>(b.name);
        ASSERT_TRUE(button) << b.name;
        EXPECT_EQ(button->text(), b.caption);
        EXPECT_EQ(button->toolTip(), b.tip);
    }
}

TEST_F(ErrorReportWindow, ShowingFillsTheTextsAndKeepsLogAndCommentsHidden)
{
    useLog("1 22:07:05, Zelvo startup\r\n");
    open("Cannot save", "Settings");
    form->show();

    EXPECT_EQ(form->txtError->toPlainText(), "Cannot save");
    EXPECT_EQ(form->txtLog->toPlainText(), "1 22:07:05, Zelvo startup\n");
    EXPECT_EQ(form->helpTopic(), "Settings");
    EXPECT_TRUE(form->Frame1->isVisible());
    EXPECT_FALSE(form->Frame2->isVisible());
    EXPECT_FALSE(form->Frame3->isVisible());
    EXPECT_TRUE(form->txtUserMessage->toPlainText().isEmpty());
}

TEST_F(ErrorReportWindow, ButtonsOpenLogAndCommentsForGoodAndNothingIsClipped)
{
    useLog("log");
    open("Cannot save");
    form->show();

    form->cmdViewLog->click();
    EXPECT_TRUE(form->Frame2->isVisible());
    EXPECT_FALSE(form->cmdViewLog->isVisible());
    form->cmdShowComments->click();
    EXPECT_TRUE(form->Frame3->isVisible());
    EXPECT_FALSE(form->cmdShowComments->isVisible());

    form->cmdEmail_Click();
    form->cmdViewReport_Click();
    EXPECT_TRUE(form->Frame2->isVisible());
    EXPECT_TRUE(form->Frame3->isVisible());

    form->resize(form->minimumSizeHint());
    QApplication::processEvents();
    const QRect inside = form->rect();
    for (QPushButton* b : {form->cmdViewReport, form->cmdHelp, form->cmdEmail, form->cmdExit}) {
        SCOPED_TRACE(b->objectName().toStdString());
        EXPECT_GE(b->width(), b->sizeHint().width());
        EXPECT_TRUE(inside.contains(QRect(b->mapTo(form.get(), QPoint(0, 0)), b->size())));
    }
    for (QWidget* w : {static_cast<QWidget*>(form->Label1), static_cast<QWidget*>(form->Frame1),
                       static_cast<QWidget*>(form->Frame2), static_cast<QWidget*>(form->Frame3)}) {
        SCOPED_TRACE(w->objectName().toStdString());
        EXPECT_GE(w->width(), w->minimumSizeHint().width());
        EXPECT_TRUE(inside.contains(QRect(w->mapTo(form.get(), QPoint(0, 0)), w->size())));
    }
}

TEST_F(ErrorReportWindow, HelpOpensTheIndexPageWhenItExists)
{
    useLog("log");
    const QString page = path("Help/Index.htm");
    ASSERT_TRUE(QDir(dir.path()).mkpath("Help"));
    writeBytes("Help/Index.htm", "<html></html>");
    open("Cannot save", "Settings").cmdHelp_Click();

    EXPECT_EQ(shell->opened, QStringList{page});
    EXPECT_TRUE(dialogs->shown.empty());
}

TEST_F(ErrorReportWindow, HelpWithoutTheFileSaysWhereItLooked)
{
    useLog("log");
    open("Cannot save", "Settings").cmdHelp_Click();

    EXPECT_TRUE(shell->opened.isEmpty());
    ASSERT_EQ(dialogs->shown.size(), 1u);
    EXPECT_EQ(dialogs->shown[0].text, "Cannot find help file " + path("Help/Index.htm"));
    EXPECT_EQ(dialogs->shown[0].title, "Zelvo");
    EXPECT_EQ(dialogs->shown[0].buttons, Dialogs::Buttons::Ok);
}

TEST_F(ErrorReportWindow, ShowErrorIsModalAndReturnsOnExit)
{
    useLog("log");
    bool wasModal = false;
    QString shownError;
    WhenShown user([&](fSHAREDErrorRpt* w) {
        wasModal = w->isModal();
        shownError = w->txtError->toPlainText();
        w->cmdExit->click();
    });
    form = std::make_unique<fSHAREDErrorRpt>();
    form->txtUserMessage_Change();
    form->ShowError("Cannot save", "Settings");

    EXPECT_EQ(user.calls, 1);
    EXPECT_TRUE(wasModal);
    EXPECT_EQ(shownError, "Cannot save");
    EXPECT_FALSE(form->isVisible());
    EXPECT_FALSE(form->commentsEdited());
}

TEST_F(ErrorReportWindow, ClosingTheWindowEndsTheDisplayToo)
{
    useLog("log");
    WhenShown user([](fSHAREDErrorRpt* w) { w->close(); });
    form = std::make_unique<fSHAREDErrorRpt>();
    form->ShowError("Cannot save", QString());

    EXPECT_EQ(user.calls, 1);
    EXPECT_FALSE(form->isVisible());
}

TEST_F(ErrorReportWindow, ShowErrShowsTheMessageAndDiscardsTheWindow)
{
    useLog("log");
    ErrorReportCatcher catcher;
    cSHAREDShowError::instance().ShowErr("Could not save the settings file", "Settings");

    EXPECT_EQ(catcher.errors, QStringList{"Could not save the settings file"});
    QApplication::processEvents();
    EXPECT_FALSE(anyReportWindow());
    EXPECT_EQ(cSharedLogging::instance().trailSize(), 0);
}

TEST_F(ErrorReportWindow, ShowErrObjNamesNumberDescriptionRoutineAndModule)
{
    ErrorReportCatcher catcher;
    cSHAREDShowError::instance().ShowErrObj(AppError(AppError::DiskFull), "SaveSettings", "cSHAREDSettings", "");
    cSHAREDShowError::instance().ShowErr("Second", "");

    EXPECT_EQ(catcher.errors,
              QStringList({"Error 61 - Disk full in SaveSettings of cSHAREDSettings", "Second"}));
    EXPECT_FALSE(anyReportWindow());
}
