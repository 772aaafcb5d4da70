#include "platform/dbus/DBusMenu.h"
#include <QAction>
#include <QDBusArgument>
#include <QDBusMetaType>
#include <QMenu>
#include <QTimer>

QDBusArgument& operator<<(QDBusArgument& arg, const DBusMenuLayoutItem& item)
{
    arg.beginStructure();
    arg << item.id << item.properties;
    arg.beginArray(qMetaTypeId<QDBusVariant>());
    for (const DBusMenuLayoutItem& child : item.children)
        arg << QDBusVariant(QVariant::fromValue(child));
    arg.endArray();
    arg.endStructure();
    return arg;
}

const QDBusArgument& operator>>(const QDBusArgument& arg, DBusMenuLayoutItem& item)
{
    arg.beginStructure();
    arg >> item.id >> item.properties;
    arg.beginArray();
    item.children.clear();
    while (!arg.atEnd()) {
        QDBusVariant child;
        arg >> child;
        item.children << qdbus_cast<DBusMenuLayoutItem>(child.variant());
    }
    arg.endArray();
    arg.endStructure();
    return arg;
}

QDBusArgument& operator<<(QDBusArgument& arg, const DBusMenuItem& item)
{
    arg.beginStructure();
    arg << item.id << item.properties;
    arg.endStructure();
    return arg;
}

const QDBusArgument& operator>>(const QDBusArgument& arg, DBusMenuItem& item)
{
    arg.beginStructure();
    arg >> item.id >> item.properties;
    arg.endStructure();
    return arg;
}

QDBusArgument& operator<<(QDBusArgument& arg, const DBusMenuEvent& event)
{
    arg.beginStructure();
    arg << event.id << event.eventId << event.data << event.timestamp;
    arg.endStructure();
    return arg;
}

const QDBusArgument& operator>>(const QDBusArgument& arg, DBusMenuEvent& event)
{
    arg.beginStructure();
    arg >> event.id >> event.eventId >> event.data >> event.timestamp;
    arg.endStructure();
    return arg;
}

namespace {
const QString kUnknownId = QStringLiteral("com.canonical.dbusmenu.UnknownId");
const QString kUnknownProperty = QStringLiteral("com.canonical.dbusmenu.UnknownProperty");
}

DBusMenu::DBusMenu(QMenu* menu, QObject* parent) : QObject(parent), m_menu(menu)
{
    // A host that drew the menu reads it again when an entry changes.
    if (menu)
        for (QAction* action : menu->actions())
            connect(action, &QAction::changed, this, [this] { emit LayoutUpdated(++m_revision, 0); });
}

void DBusMenu::registerTypes()
{
    qDBusRegisterMetaType<DBusMenuLayoutItem>();
    qDBusRegisterMetaType<DBusMenuItem>();
    qDBusRegisterMetaType<QList<DBusMenuItem>>();
    qDBusRegisterMetaType<DBusMenuEvent>();
    qDBusRegisterMetaType<QList<DBusMenuEvent>>();
}

bool DBusMenu::exists(int id) const { return id == 0 || (m_menu && id >= 1 && id <= m_menu->actions().size()); }

bool DBusMenu::refuse(const QString& error, const QString& text)
{
    if (calledFromDBus())
        sendErrorReply(error, text);
    return false;
}

// Id 0 is the menu itself; its actions are 1, 2, … in order.
QVariantMap DBusMenu::propertiesOf(int id) const
{
    if (id == 0)
        return {{QStringLiteral("children-display"), QStringLiteral("submenu")}};
    const QList<QAction*> actions = m_menu ? m_menu->actions() : QList<QAction*>{};
    if (id < 1 || id > actions.size())
        return {};
    const QAction* action = actions[id - 1];
    if (action->isSeparator())
        return {{QStringLiteral("type"), QStringLiteral("separator")}};
    QString label = action->text();
    label.replace(QLatin1Char('_'), QStringLiteral("__")).replace(QLatin1Char('&'), QLatin1Char('_'));
    return {{QStringLiteral("label"), label},
            {QStringLiteral("enabled"), action->isEnabled()},
            {QStringLiteral("visible"), action->isVisible()}};
}

uint DBusMenu::GetLayout(int parentId, int recursionDepth, const QStringList&, DBusMenuLayoutItem& layout)
{
    if (!exists(parentId)) {
        refuse(kUnknownId, QStringLiteral("no menu entry %1").arg(parentId));
        return 0;
    }
    layout = {parentId, propertiesOf(parentId), {}};
    if (parentId == 0 && recursionDepth != 0 && m_menu)
        for (int id = 1; id <= m_menu->actions().size(); ++id)
            layout.children << DBusMenuLayoutItem{id, propertiesOf(id), {}};
    return m_revision;
}

QList<DBusMenuItem> DBusMenu::GetGroupProperties(const QList<int>& ids, const QStringList&)
{
    QList<DBusMenuItem> items;
    for (int id : ids)
        items << DBusMenuItem{id, propertiesOf(id)};
    return items;
}

QDBusVariant DBusMenu::GetProperty(int id, const QString& name)
{
    // An empty variant cannot be sent: a missing entry or property is an error.
    const QVariantMap properties = propertiesOf(id);
    if (!exists(id))
        refuse(kUnknownId, QStringLiteral("no menu entry %1").arg(id));
    else if (!properties.contains(name))
        refuse(kUnknownProperty, QStringLiteral("no property %1").arg(name));
    return QDBusVariant(properties.value(name, QString()));
}

void DBusMenu::trigger(int id)
{
    if (id < 1 || !m_menu || id > m_menu->actions().size())
        return;
    QPointer<QAction> action = m_menu->actions()[id - 1];
    QTimer::singleShot(0, this, [action] {
        if (action && action->isEnabled())
            action->trigger();
    });
}

void DBusMenu::Event(int id, const QString& eventId, const QDBusVariant&, uint)
{
    if (!exists(id)) {
        refuse(kUnknownId, QStringLiteral("no menu entry %1").arg(id));
        return;
    }
    if (eventId == QLatin1String("clicked"))
        trigger(id);
}

QList<int> DBusMenu::EventGroup(const QList<DBusMenuEvent>& events)
{
    QList<int> idErrors;
    for (const DBusMenuEvent& event : events) {
        if (!exists(event.id))
            idErrors << event.id;
        else if (event.eventId == QLatin1String("clicked"))
            trigger(event.id);
    }
    if (!events.isEmpty() && idErrors.size() == events.size())
        refuse(kUnknownId, QStringLiteral("no such menu entries"));
    return idErrors;
}

bool DBusMenu::AboutToShow(int id)
{
    if (!exists(id))
        return refuse(kUnknownId, QStringLiteral("no menu entry %1").arg(id));
    return false;
}

QList<int> DBusMenu::AboutToShowGroup(const QList<int>& ids, QList<int>& idErrors)
{
    idErrors.clear();
    for (int id : ids)
        if (!exists(id))
            idErrors << id;
    if (!ids.isEmpty() && idErrors.size() == ids.size())
        refuse(kUnknownId, QStringLiteral("no such menu entries"));
    return {};
}
