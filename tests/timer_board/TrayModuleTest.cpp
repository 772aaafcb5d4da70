#include "platform/CommandMessage.h"
#include "fakes/ZelvoTest.h"
#include "timer_board/TrayPictures.h"
#include "timer_board/mSHAREDSysTray.h"
#include <QLabel>

namespace {
class TrayModule : public ZelvoTest {
protected:
    void SetUp() override
    {
        ZelvoTest::SetUp();
        mSHAREDSysTray::resetInstance();
        picture.setPixmap(TrayPictures::red());
    }
    void TearDown() override
    {
        mSHAREDSysTray::resetInstance();
        ZelvoTest::TearDown();
    }
    mSHAREDSysTray& module() { return mSHAREDSysTray::instance(); }
    QLabel picture;
};
}

TEST_F(TrayModule, AnAcceptedAddSetsTheShownFlagAndAChangeModifiesTheIcon)
{
    EXPECT_FALSE(module().iconShown());
    module().showprogramintray(&picture, "Zelvo standing by");
    EXPECT_TRUE(module().iconShown());
    module().changetrayicon(&picture, "Zelvo is running");
    EXPECT_EQ(tray->calls, QStringList({"add:Zelvo standing by", "modify:Zelvo is running"}));
    EXPECT_EQ(tray->tip, "Zelvo is running");
}

TEST_F(TrayModule, ARefusedFirstAddIsTriedAgainAtTheNextChange)
{
    tray->accept = false;
    module().showprogramintray(&picture, "Zelvo standing by");
    EXPECT_FALSE(module().iconShown());
    tray->accept = true;
    module().changetrayicon(&picture, "Zelvo is running");
    EXPECT_TRUE(module().iconShown());
    EXPECT_EQ(tray->calls, QStringList({"add:Zelvo standing by", "add:Zelvo is running"}));
}

TEST_F(TrayModule, TooltipsAreCutAtSixtyFourCharacters)
{
    module().showprogramintray(&picture, QString(100, 'x'));
    EXPECT_EQ(tray->tip.size(), 64);
}

TEST_F(TrayModule, RemovingClearsTheFlagAndARefusalIsLoggedAtOnce)
{
    module().RemoveTrayicon();
    EXPECT_TRUE(tray->calls.isEmpty()) << "nothing to remove before the icon was shown";

    module().showprogramintray(&picture, "Zelvo standing by");
    tray->acceptRemove = false;
    module().RemoveTrayicon();
    EXPECT_TRUE(module().iconShown());
    EXPECT_TRUE(readBytes("log.txt").contains(", Error removing tray icon\r\n"));

    tray->acceptRemove = true;
    module().RemoveTrayicon();
    EXPECT_FALSE(module().iconShown());
}

TEST_F(TrayModule, AMissingPictureIsLoggedNotThrown)
{
    module().showprogramintray(nullptr, "Zelvo standing by");
    EXPECT_FALSE(module().iconShown());
    EXPECT_TRUE(cSharedLogging::instance().CurrentAction().endsWith(" in showprogramintray of module mSHAREDSysTray"));
}

TEST_F(TrayModule, ALaterCopyAsksTheFirstToShowItselfAndEnds)
{
    EXPECT_FALSE(module().CheckPrevInstance("Zelvo"));
    EXPECT_TRUE(lock->asked.isEmpty());
    lock->earlier = true;
    EXPECT_TRUE(module().CheckPrevInstance("Zelvo"));
    ASSERT_EQ(lock->asked.size(), 1);
    const auto request = CommandMessage::decodeRequest(lock->asked[0], nullptr);
    ASSERT_TRUE(request);
    EXPECT_TRUE(request->args.isEmpty()) << "a plain start asks only to be shown";
}
