#include "TimerBoardTest.h"
#include "support/MakerAddresses.h"
#include "support/Twips.h"
#include "timer_board/MakerLine.h"
#include "timer_board/fSHAREDAbout.h"
#include "timer_board/frmSplash.h"
#include <QImage>
#include <QMouseEvent>
#include <QSet>

namespace {
const QString kHint = QStringLiteral("Hover the mouse over icons for details. Click icons to open in your browser.");

void clickOn(QWidget* widget)
{
    const QPointF at(2, 2);
    QMouseEvent press(QEvent::MouseButtonPress, at, widget->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, widget->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QApplication::sendEvent(widget, &release);
}

// The trail of failures, written out so that every entry can be read.
QString trail(const QString& logFile)
{
    cSharedLogging::instance().WriteActionsToLog();
    QFile f(logFile);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}
}

class SplashAboutTest : public ZelvoTest {
protected:
    void SetUp() override
    {
        ZelvoTest::SetUp();
        clock->set(QDateTime(QDate(2031, 3, 4), QTime(9, 0, 0)));
        facts->major = 3;
        facts->minor = 2;
        facts->revision = 17;
        facts->exe = "zelvo-test";
    }
    QString trailText() const { return trail(path("log.txt")); }
    static bool inside(const QWidget* window, const QLabel* label)
    {
        return !label->text().isEmpty() && label->isVisibleTo(window) && window->rect().contains(label->geometry());
    }
};

TEST_F(SplashAboutTest, TheSplashShowsTheVersionTheMakerLineAndTheStatus)
{
    frmSplash splash;
    splash.setStatus("Starting up");
    EXPECT_EQ(splash.lblTitle->text(), "V:3.2.17");
    EXPECT_EQ(splash.lblCopyright->text(), QStringLiteral("Zelvo Software \u00A9 2031"));
    EXPECT_EQ(splash.lblstatus->text(), "Starting up");
    // The status line sits 50 twips above the bottom edge, 50 twips left of centre.
    const QRect status = splash.lblstatus->geometry();
    EXPECT_EQ(status.bottom() + 1, splash.height() - Twips::px(50));
    EXPECT_NEAR(status.center().x(), splash.width() / 2 - Twips::px(50), 1);
    EXPECT_EQ(splash.lblTitle->y(), Twips::px(100));
}

TEST_F(SplashAboutTest, TheMakerLineFollowsTheComputersClock)
{
    clock->set(QDateTime(QDate(2044, 1, 1), QTime(0, 0, 1)));
    EXPECT_EQ(makerLine(), QStringLiteral("Zelvo Software \u00A9 2044"));
    frmSplash splash;
    EXPECT_EQ(splash.lblCopyright->text(), makerLine());
    fSHAREDAbout about;
    EXPECT_EQ(about.windowTitle(), makerLine());
}

TEST_F(SplashAboutTest, AMissingPictureIsLoggedAndLeavesTheTextsReadable)
{
    frmSplash splash;
    splash.setStatus("Starting up");
    EXPECT_TRUE(splash.picture->pixmap().isNull());
    EXPECT_TRUE(trailText().contains(" in form_load of module frmSplash2")) << trailText().toStdString();
    for (const QLabel* label : {splash.lblTitle, splash.lblCopyright, splash.lblstatus})
        EXPECT_TRUE(inside(&splash, label)) << label->text().toStdString();
    EXPECT_FALSE(splash.lblTitle->geometry().intersects(splash.lblCopyright->geometry()));
    EXPECT_FALSE(splash.lblCopyright->geometry().intersects(splash.lblstatus->geometry()));
    EXPECT_FALSE(splash.lblTitle->geometry().intersects(splash.lblstatus->geometry()));
}

TEST_F(SplashAboutTest, ThePictureSizesTheSplashWindow)
{
    QImage image(420, 250, QImage::Format_RGB32);
    image.fill(QColor(10, 90, 40));
    ASSERT_TRUE(image.save(path("splash.png")));
    frmSplash splash;
    splash.setStatus("Starting up");
    EXPECT_EQ(splash.size(), QSize(420, 250));
    EXPECT_EQ(splash.picture->pixmap().size(), QSize(420, 250));
    EXPECT_FALSE(trailText().contains("frmSplash2"));
    for (const QLabel* label : {splash.lblTitle, splash.lblCopyright, splash.lblstatus})
        EXPECT_TRUE(inside(&splash, label)) << label->text().toStdString();
}

TEST_F(SplashAboutTest, AboutShowsTheMakerLineTheVersionAndTheHint)
{
    fSHAREDAbout about;
    EXPECT_EQ(about.windowTitle(), QStringLiteral("Zelvo Software \u00A9 2031"));
    EXPECT_TRUE(about.lblversion->text().contains("3.2.17")) << about.lblversion->text().toStdString();
    EXPECT_EQ(about.lblHint->text(), kHint);
    EXPECT_EQ(about.cmdNews->text(), "News Widget");
    EXPECT_TRUE(shell->opened.isEmpty()) << "nothing opens before a click";
}

TEST_F(SplashAboutTest, EveryClickableItemOpensAMakersPageWithTheProgramName)
{
    fSHAREDAbout about;
    about.cmdNews->click();
    emit about.lblHome->linkActivated("#");
    emit about.lblMore->linkActivated("#");
    clickOn(about.picLogo);
    for (QLabel* ad : about.picAds)
        clickOn(ad);

    ASSERT_EQ(shell->opened.size(), 8);
    const QString site = MakerAddresses::webSite();
    for (const QString& address : shell->opened) {
        EXPECT_TRUE(address.startsWith(site + '/')) << address.toStdString();
        EXPECT_TRUE(address.endsWith("?zelvo-test")) << address.toStdString();
    }
    EXPECT_TRUE(site.startsWith("https://"));
    // Each advertisement opens its own page.
    const QSet<QString> ads(shell->opened.begin() + 4, shell->opened.end());
    EXPECT_EQ(ads.size(), 4);
    EXPECT_EQ(shell->opened[0], site + "/news?zelvo-test");
}

class SplashAboutMainTest : public TimerBoardTest {};

TEST_F(SplashAboutMainTest, TheAboutButtonOpensAFreshModalWindowAndReleasesIt)
{
    frmMain& w = open();
    bool seen = false;
    bool modal = false;
    bool owned = false;
    QTimer::singleShot(0, &w, [&] {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (auto* about = qobject_cast<fSHAREDAbout*>(top); about && about->isVisible()) {
                seen = true;
                modal = about->isModal() && QApplication::activeModalWidget() == about;
                owned = about->parentWidget() == &w;
                about->accept();
            }
        }
    });
    w.cmdAbout_Click();
    EXPECT_TRUE(seen);
    EXPECT_TRUE(modal);
    EXPECT_TRUE(owned);
    for (QWidget* top : QApplication::topLevelWidgets())
        EXPECT_EQ(qobject_cast<fSHAREDAbout*>(top), nullptr) << "the About window is released when closed";
}
