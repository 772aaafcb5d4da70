#pragma once
#include <QDBusObjectPath>
#include <QIcon>
#include <QList>
#include <QObject>
#include <functional>

class DBusMenu;
class QMenu;

struct SniPixmap {
    int width = 0;
    int height = 0;
    QByteArray argb;  // ARGB32 in network byte order
};
using SniPixmaps = QList<SniPixmap>;
struct SniToolTip {
    QString iconName;
    SniPixmaps icon;
    QString title;
    QString text;
};
Q_DECLARE_METATYPE(SniPixmap)
Q_DECLARE_METATYPE(SniPixmaps)
Q_DECLARE_METATYPE(SniToolTip)

// The icon as a StatusNotifierItem on the session bus, for panels that host those instead of (or
// as well as) the XEmbed tray; its menu is exported for the panel to draw.
class StatusNotifierItem : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierItem")
    Q_PROPERTY(QString Category READ category)
    Q_PROPERTY(QString Id READ id)
    Q_PROPERTY(QString Title READ title)
    Q_PROPERTY(QString Status READ status)
    Q_PROPERTY(int WindowId READ windowId)
    Q_PROPERTY(QString IconName READ iconName)
    Q_PROPERTY(SniPixmaps IconPixmap READ iconPixmap)
    Q_PROPERTY(QString OverlayIconName READ noName)
    Q_PROPERTY(SniPixmaps OverlayIconPixmap READ noPixmaps)
    Q_PROPERTY(QString AttentionIconName READ noName)
    Q_PROPERTY(SniPixmaps AttentionIconPixmap READ attentionPixmap)
    Q_PROPERTY(QString AttentionMovieName READ noName)
    Q_PROPERTY(SniToolTip ToolTip READ toolTip)
    Q_PROPERTY(bool ItemIsMenu READ itemIsMenu)
    Q_PROPERTY(QDBusObjectPath Menu READ menu)

public:
    enum class Click { Primary, Context };
    static constexpr const char* kWatcher = "org.kde.StatusNotifierWatcher";

    // hostGone: the watcher went away or refused the item, which no panel shows now.
    StatusNotifierItem(QMenu* menu, std::function<void(Click)> clicked, std::function<void()> hostGone);
    ~StatusNotifierItem() override;

    // Whether the session has a status-notifier watcher to register with.
    static bool watcherPresent();
    // Exports the item and asks the watcher to show it; false when the bus refused.
    bool publish();
    void update(const QIcon& icon, const QString& tip);
    // "NeedsAttention", with its own picture, while a reminder is open; "Active" otherwise.
    void setAttention(bool on, const QIcon& picture);

    QString category() const { return QStringLiteral("ApplicationStatus"); }
    QString id() const { return QStringLiteral("zelvo"); }
    QString title() const { return QStringLiteral("Zelvo"); }
    QString status() const { return m_attention ? QStringLiteral("NeedsAttention") : QStringLiteral("Active"); }
    int windowId() const { return 0; }
    // The installed icon's name; the pixmaps serve hosts without it.
    QString iconName() const { return QStringLiteral("zelvo"); }
    QString noName() const { return {}; }
    SniPixmaps iconPixmap() const { return m_pixmaps; }
    SniPixmaps attentionPixmap() const { return m_attentionPixmaps; }
    SniPixmaps noPixmaps() const { return {}; }
    SniToolTip toolTip() const { return {{}, {}, m_tip, {}}; }
    bool itemIsMenu() const { return false; }
    QDBusObjectPath menu() const;

public slots:
    void Activate(int x, int y);
    void SecondaryActivate(int x, int y);
    void ContextMenu(int x, int y);
    void Scroll(int delta, const QString& orientation);

signals:
    void NewIcon();
    void NewToolTip();
    void NewStatus(const QString& status);
    void NewAttentionIcon();

private:
    void registerWithWatcher();

    QString m_service;
    DBusMenu* m_menu = nullptr;
    std::function<void(Click)> m_clicked;
    std::function<void()> m_hostGone;
    SniPixmaps m_pixmaps;
    SniPixmaps m_attentionPixmaps;
    QString m_tip;
    bool m_attention = false;
};
