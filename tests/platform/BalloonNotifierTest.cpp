#include "fakes/FakeTrayHost.h"
#include "platform/BalloonNotifier.h"
#include "platform/Platform.h"
#include <gtest/gtest.h>
#include <memory>

// Where the notice is the icon's balloon: the reminder's words, and a click on it shows the reminder.
TEST(BalloonNotifier, TheNoticeIsTheIconsBalloonAndItsClickChoosesTheReminder)
{
    auto tray = std::make_shared<FakeTrayHost>();
    Platform::setTray(tray);
    BalloonNotifier notifier;
    QStringList chosen;
    notifier.post("Zelvo Alert!", "Tea", QImage(), {{"snooze", "Snooze 5 minutes"}},
                  [&](const QString& key, const QString&) { chosen << key; });
    EXPECT_EQ(tray->calls, QStringList{"message:Zelvo Alert!: Tea"});
    ASSERT_TRUE(tray->messageClicked);
    tray->messageClicked();
    EXPECT_EQ(chosen, QStringList{"default"});
    Platform::reset();
}
