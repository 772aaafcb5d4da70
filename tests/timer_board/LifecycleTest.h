#pragma once
#include "TimerBoardTest.h"
#include "timer_board/TrayPictures.h"
#include "timer_board/mSHAREDSysTray.h"
#include <QIcon>
#include <QImage>
#include <QMenu>
#include <functional>

// A shell that lets the test look at the world at the moment something is run.
class WatchingShell : public FakeShell {
public:
    int open(const QString& target, const QString& workingFolder) override
    {
        if (onOpen)
            onOpen(target);
        return FakeShell::open(target, workingFolder);
    }
    std::function<void(const QString&)> onOpen;
};

// Message boxes during which the test may act, as the nested event loop of a real box allows.
class WatchingDialogs : public FakeDialogs {
public:
    Answer message(const QString& text, Buttons buttons, const QString& title) override
    {
        if (onMessage)
            onMessage(text);
        return FakeDialogs::message(text, buttons, title);
    }
    std::function<void(const QString&)> onMessage;
};

// A loaded main window with its tray module started afresh for every test.
class LifecycleTest : public TimerBoardTest {
protected:
    void SetUp() override
    {
        shell = watchingShell;
        dialogs = watchingDialogs;
        TimerBoardTest::SetUp();
        mSHAREDSysTray::resetInstance();
    }
    void TearDown() override
    {
        if (board)
            board->app().mnuTray->hide();
        TimerBoardTest::TearDown();
        mSHAREDSysTray::resetInstance();
    }

    // The desktop has no notification area: every add is refused.
    void noNotificationArea()
    {
        tray->accept = false;
    }
    void startSlot(int i, int minutes)
    {
        type(i, "0", "0", QString::number(minutes), "0");
        board->cmdStart_Click(i);
    }
    static QImage imageOf(const QPixmap& pixmap) { return pixmap.toImage().convertToFormat(QImage::Format_ARGB32); }
    bool trayShows(const QPixmap& picture) const
    {
        return imageOf(tray->lastIcon.pixmap(picture.size())) == imageOf(picture);
    }
    QString logText() const { return QString::fromUtf8(readBytes("log.txt")); }
    QByteArray ini() const { return readBytes("Zelvo.ini"); }
    QString endText(qint64 secondsFromNow) const
    {
        return OleDate::fromDateTime(clock->now().addSecs(secondsFromNow)).generalForm();
    }

    std::shared_ptr<WatchingShell> watchingShell = std::make_shared<WatchingShell>();
    std::shared_ptr<WatchingDialogs> watchingDialogs = std::make_shared<WatchingDialogs>();
};
