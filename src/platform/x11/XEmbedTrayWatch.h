#pragma once
#include <QAbstractNativeEventFilter>
#include <cstdint>
#include <functional>

// The X11 notification area as the X server reports it. It is whoever owns the screen's tray
// selection: it goes away when that owner's window is destroyed (trayer killed, say), and a new
// one announces itself with a MANAGER message to the root window.
class XEmbedTrayWatch : public QAbstractNativeEventFilter {
public:
    XEmbedTrayWatch(std::function<void()> gone, std::function<void()> came);
    ~XEmbedTrayWatch() override;
    XEmbedTrayWatch(const XEmbedTrayWatch&) = delete;
    XEmbedTrayWatch& operator=(const XEmbedTrayWatch&) = delete;

    // Whether a tray owns the selection now: one round trip, where asking Qt costs milliseconds.
    static bool present();
    // Starts following the owner of the moment, whose end calls gone once.
    void follow();
    bool nativeEventFilter(const QByteArray& type, void* message, qintptr* result) override;

private:
    std::function<void()> m_gone;
    std::function<void()> m_came;
    std::uint32_t m_owner = 0;
};
