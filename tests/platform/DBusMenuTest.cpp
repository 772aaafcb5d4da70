#ifdef ZELVO_DBUS
#include "platform/dbus/DBusMenu.h"
#include <QAction>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMetaType>
#include <QDBusMessage>
#include <QMenu>
#include <QProcess>
#include <QTest>
#include <gtest/gtest.h>

// The menu as a host reaches it: calls over a private session bus, answered or refused.
TEST(DBusMenu, AHostsCallsAreAnsweredAndUnknownEntriesRefused)
{
    QProcess daemon;
    daemon.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
    ASSERT_TRUE(daemon.waitForReadyRead(5000)) << "dbus-daemon did not start";
    const QString address = QString::fromUtf8(daemon.readLine()).trimmed();
    QDBusConnection program = QDBusConnection::connectToBus(address, "program");
    QDBusConnection host = QDBusConnection::connectToBus(address, "host");
    ASSERT_TRUE(program.isConnected() && host.isConnected());

    QMenu menu;
    int shown = 0;
    QObject::connect(menu.addAction("Show"), &QAction::triggered, [&] { ++shown; });
    DBusMenu::registerTypes();
    DBusMenu exported(&menu);
    ASSERT_TRUE(program.registerObject("/MenuBar", &exported, QDBusConnection::ExportAllContents));
    const auto call = [&](const QString& method, const QVariantList& args) {
        QDBusMessage m = QDBusMessage::createMethodCall(program.baseService(), "/MenuBar", "com.canonical.dbusmenu", method);
        m.setArguments(args);
        return host.call(m, QDBus::BlockWithGui, 5000);  // the program answers from this thread
    };

    // What xfce4-panel sends: AboutToShowGroup as it opens the menu, EventGroup for a click.
    const QDBusMessage opened = call("AboutToShowGroup", {QVariant::fromValue(QList<int>{0, 9})});
    ASSERT_EQ(opened.type(), QDBusMessage::ReplyMessage) << opened.errorMessage().toStdString();
    EXPECT_EQ(qdbus_cast<QList<int>>(opened.arguments().at(1)), QList<int>{9});
    DBusMenuEvent click{1, "clicked", QDBusVariant(0), 0};
    const QDBusMessage clicked = call("EventGroup", {QVariant::fromValue(QList<DBusMenuEvent>{click})});
    ASSERT_EQ(clicked.type(), QDBusMessage::ReplyMessage) << clicked.errorMessage().toStdString();
    QTest::qWait(50);  // the action runs from the event loop
    EXPECT_EQ(shown, 1);

    for (const auto& [method, args, error] : {
             std::tuple{"GetProperty", QVariantList{7, "label"}, "com.canonical.dbusmenu.UnknownId"},
             std::tuple{"GetProperty", QVariantList{1, "colour"}, "com.canonical.dbusmenu.UnknownProperty"},
             std::tuple{"Event", QVariantList{7, "clicked", QVariant::fromValue(QDBusVariant(0)), 0u},
                        "com.canonical.dbusmenu.UnknownId"}}) {
        const QDBusMessage refused = call(method, args);
        EXPECT_EQ(refused.errorName(), error) << method;
    }
    EXPECT_EQ(call("GetProperty", {1, "label"}).arguments().at(0).value<QDBusVariant>().variant().toString(), "Show");
    daemon.kill();
    daemon.waitForFinished();
}
#endif
