#include "platform/QtTrayHost.h"
#include <QSystemTrayIcon>

QtTrayHost::QtTrayHost() = default;
QtTrayHost::~QtTrayHost() = default;

bool QtTrayHost::available() const { return QSystemTrayIcon::isSystemTrayAvailable(); }

bool QtTrayHost::add(const QIcon& icon, const QString& tooltip)
{
    if (!available())
        return false;
    if (!m_icon) {
        m_icon = std::make_unique<QSystemTrayIcon>();
        QObject::connect(m_icon.get(), &QSystemTrayIcon::activated, [this](QSystemTrayIcon::ActivationReason why) {
            if (!m_handler)
                return;
            switch (why) {
            case QSystemTrayIcon::Trigger: m_handler(Message::LeftDown); break;
            case QSystemTrayIcon::DoubleClick: m_handler(Message::LeftDoubleClick); break;
            case QSystemTrayIcon::Context: m_handler(Message::RightUp); break;
            default: m_handler(Message::Other); break;
            }
        });
    }
    m_icon->setIcon(icon);
    m_icon->setToolTip(tooltip);
    m_icon->show();
    return m_icon->isVisible();
}

bool QtTrayHost::modify(const QIcon& icon, const QString& tooltip)
{
    if (!m_icon || !m_icon->isVisible())
        return false;
    m_icon->setIcon(icon);
    m_icon->setToolTip(tooltip);
    return true;
}

bool QtTrayHost::remove()
{
    if (!m_icon)
        return false;
    m_icon->hide();
    return true;
}

void QtTrayHost::setHandler(std::function<void(Message)> handler) { m_handler = std::move(handler); }
