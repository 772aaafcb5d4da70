#pragma once
#include <QDBusContext>
#include <QDBusVariant>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QVariantMap>

class QMenu;

// One entry of the menu as the desktop reads it: its id, its properties, its children.
struct DBusMenuLayoutItem {
    int id = 0;
    QVariantMap properties;
    QList<DBusMenuLayoutItem> children;
};
struct DBusMenuItem {
    int id = 0;
    QVariantMap properties;
};
// One click (or other event) of a group, as hosts send them together.
struct DBusMenuEvent {
    int id = 0;
    QString eventId;
    QDBusVariant data;
    uint timestamp = 0;
};
Q_DECLARE_METATYPE(DBusMenuLayoutItem)
Q_DECLARE_METATYPE(DBusMenuItem)
Q_DECLARE_METATYPE(QList<DBusMenuItem>)
Q_DECLARE_METATYPE(DBusMenuEvent)
Q_DECLARE_METATYPE(QList<DBusMenuEvent>)

// Exports a menu's actions over com.canonical.dbusmenu, the way status-notifier hosts draw an
// item's menu themselves (xfce4-panel asks AboutToShowGroup when it opens the menu and sends a
// click as EventGroup). A click triggers its action from the event loop, never inside the call
// that delivered it. An id or property that does not exist gets the interface's error at once.
class DBusMenu : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.canonical.dbusmenu")
    Q_PROPERTY(uint Version READ version)
    Q_PROPERTY(QString TextDirection READ textDirection)
    Q_PROPERTY(QString Status READ status)
    Q_PROPERTY(QStringList IconThemePath READ iconThemePath)

public:
    explicit DBusMenu(QMenu* menu, QObject* parent = nullptr);
    static void registerTypes();

    uint version() const { return 3; }
    QString textDirection() const { return QStringLiteral("ltr"); }
    QString status() const { return QStringLiteral("normal"); }
    QStringList iconThemePath() const { return {}; }

public slots:
    uint GetLayout(int parentId, int recursionDepth, const QStringList& propertyNames, DBusMenuLayoutItem& layout);
    QList<DBusMenuItem> GetGroupProperties(const QList<int>& ids, const QStringList& propertyNames);
    QDBusVariant GetProperty(int id, const QString& name);
    void Event(int id, const QString& eventId, const QDBusVariant& data, uint timestamp);
    // The ids not found; an error when none was.
    QList<int> EventGroup(const QList<DBusMenuEvent>& events);
    bool AboutToShow(int id);
    // The ids whose layout must be read again (none: the menu is made in advance).
    QList<int> AboutToShowGroup(const QList<int>& ids, QList<int>& idErrors);

signals:
    void LayoutUpdated(uint revision, int parent);

private:
    QVariantMap propertiesOf(int id) const;
    bool exists(int id) const;
    // Answers the call with the error, when there is a call to answer; false.
    bool refuse(const QString& error, const QString& text);
    void trigger(int id);

    QPointer<QMenu> m_menu;
    uint m_revision = 1;
};
