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

DBusMenu::DBusMenu(QMenu* menu, QObject* parent) : QObject(parent), m_menu(menu) {}

void DBusMenu::registerTypes()
{
    qDBusRegisterMetaType<DBusMenuLayoutItem>();
    qDBusRegisterMetaType<DBusMenuItem>();
    qDBusRegisterMetaType<QList<DBusMenuItem>>();
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
    layout = {parentId, propertiesOf(parentId), {}};
    if (parentId == 0 && recursionDepth != 0 && m_menu)
        for (int id = 1; id <= m_menu->actions().size(); ++id)
            layout.children << DBusMenuLayoutItem{id, propertiesOf(id), {}};
    return 1;
}

QList<DBusMenuItem> DBusMenu::GetGroupProperties(const QList<int>& ids, const QStringList&)
{
    QList<DBusMenuItem> items;
    for (int id : ids)
        items << DBusMenuItem{id, propertiesOf(id)};
    return items;
}

QDBusVariant DBusMenu::GetProperty(int id, const QString& name) { return QDBusVariant(propertiesOf(id).value(name)); }

void DBusMenu::Event(int id, const QString& eventId, const QDBusVariant&, uint)
{
    if (eventId != QLatin1String("clicked") || !m_menu || id < 1 || id > m_menu->actions().size())
        return;
    QPointer<QAction> action = m_menu->actions()[id - 1];
    QTimer::singleShot(0, this, [action] {
        if (action && action->isEnabled())
            action->trigger();
    });
}

bool DBusMenu::AboutToShow(int) { return false; }
