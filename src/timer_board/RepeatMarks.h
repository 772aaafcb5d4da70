#pragma once
#include "slot_model/SlotBoard.h"
#include <QObject>
#include <array>
#include <functional>

class QAction;
class QLineEdit;
class QMenu;
class QPushButton;

// A row's repeat mark without a change to the row's layout: set from the Start button's context
// menu (right click, the Menu key or Shift+F10), shown as a picture at the end of the message
// field, which a screen reader hears as "Timer n repeats at each end".
class RepeatMarks : public QObject {
public:
    static constexpr int kRows = SlotBoard::kRows;

    // set: told the user's choice for the row.
    void rowBuilt(int i, QPushButton* start, QLineEdit* message, std::function<void(bool)> set);
    void draw(int i, bool repeat);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::array<QAction*, kRows> m_choice{};
    std::array<QMenu*, kRows> m_menu{};  // made at the row's first opening
    std::array<QAction*, kRows> m_mark{};
    std::array<QLineEdit*, kRows> m_message{};
};
