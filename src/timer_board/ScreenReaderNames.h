#pragma once
#include <QAccessible>

class frmMain;

// What a screen reader says for each control of the main window: what it is and which timer it
// belongs to (the descriptions are the tool tips). The names are given once a screen reader
// listens, so that naming seven hundred controls costs nothing at a start nobody listens to.
class ScreenReaderNames : private QAccessible::ActivationObserver {
public:
    explicit ScreenReaderNames(frmMain& window);
    ~ScreenReaderNames() override;
    ScreenReaderNames(const ScreenReaderNames&) = delete;
    ScreenReaderNames& operator=(const ScreenReaderNames&) = delete;

    // Names every control built so far; later rows are named as they are built.
    void nameAll();
    void rowBuilt(int i);
    void stripBuilt();

private:
    void accessibilityActiveChanged(bool active) override;
    void nameStrip();

    frmMain& m_window;
    bool m_named;
};
