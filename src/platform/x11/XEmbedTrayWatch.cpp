#include "platform/x11/XEmbedTrayWatch.h"
#include <QCoreApplication>
#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>
#include <cstdlib>

namespace {
xcb_connection_t* connection()
{
    const auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

xcb_atom_t atom(xcb_connection_t* c, const QByteArray& name)
{
    xcb_intern_atom_reply_t* reply =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<uint16_t>(name.size()), name.constData()), nullptr);
    const xcb_atom_t id = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return id;
}

// The screen's tray selection, _NET_SYSTEM_TRAY_S<screen>.
xcb_atom_t traySelection(xcb_connection_t* c)
{
    static const xcb_atom_t selection = [c] {
        const QByteArray display = qgetenv("DISPLAY");
        const qsizetype dot = display.lastIndexOf('.');
        return atom(c, "_NET_SYSTEM_TRAY_S" + (dot > display.lastIndexOf(':') ? display.mid(dot + 1) : "0"));
    }();
    return selection;
}

xcb_window_t trayOwner(xcb_connection_t* c)
{
    xcb_get_selection_owner_reply_t* reply = xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, traySelection(c)), nullptr);
    const xcb_window_t owner = reply ? reply->owner : xcb_window_t{XCB_NONE};
    std::free(reply);
    return owner;
}
}

XEmbedTrayWatch::XEmbedTrayWatch(std::function<void()> gone, std::function<void()> came)
    : m_gone(std::move(gone)), m_came(std::move(came))
{
    QCoreApplication::instance()->installNativeEventFilter(this);
}

XEmbedTrayWatch::~XEmbedTrayWatch()
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool XEmbedTrayWatch::present()
{
    xcb_connection_t* c = connection();
    return c && trayOwner(c) != XCB_NONE;
}

void XEmbedTrayWatch::follow()
{
    xcb_connection_t* c = connection();
    m_owner = c ? trayOwner(c) : xcb_window_t{XCB_NONE};
    if (m_owner == XCB_NONE)
        return;
    // The owner's end reaches us as its window's DestroyNotify (Qt's own tray code asks the same).
    const uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, m_owner, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(c);
    // It may have gone between the look and the request.
    if (trayOwner(c) != m_owner) {
        m_owner = XCB_NONE;
        m_gone();
    }
}

bool XEmbedTrayWatch::nativeEventFilter(const QByteArray& type, void* message, qintptr*)
{
    if (type != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    switch (event->response_type & 0x7f) {
    case XCB_DESTROY_NOTIFY:
        if (m_owner != XCB_NONE && reinterpret_cast<const xcb_destroy_notify_event_t*>(event)->window == m_owner) {
            m_owner = XCB_NONE;
            m_gone();
        }
        break;
    case XCB_CLIENT_MESSAGE: {
        const auto* sent = reinterpret_cast<const xcb_client_message_event_t*>(event);
        static const xcb_atom_t manager = atom(connection(), "MANAGER");
        if (sent->type == manager && sent->format == 32 && sent->data.data32[1] == traySelection(connection()))
            m_came();
        break;
    }
    default:
        break;
    }
    return false;  // Qt's own tray code needs these too
}
