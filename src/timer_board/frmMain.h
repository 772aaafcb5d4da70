#pragma once
#include "slot_model/SlotBoard.h"
#include "timer_board/ScreenReaderNames.h"
#include <QWidget>
#include <array>
#include <cstdint>

class QLineEdit;
class QPushButton;
class RowStyle;
class TimerRow;
class ZelvoApp;

// The main window: forty timer rows on four pages and the strip below them with the quick starts.
// It lays out the rows and passes on what the user does; the program around it is ZelvoApp.
class frmMain : public QWidget {
    Q_OBJECT
public:
    static constexpr int kRows = SlotBoard::kRows;  // index 40 is built but never used
    static constexpr int kSlots = SlotBoard::kSlots;

    // How a close was asked for, as the system reports it.
    enum UnloadMode { vbFormControlMenu = 0, vbFormCode = 1, vbAppWindows = 2, vbAppTaskManager = 3 };

    explicit frmMain(ZelvoApp& app);
    ~frmMain() override;

    ZelvoApp& app() { return m_app; }
    SlotBoard& slotBoard();
    // The row of slot i, built (hidden) when first asked for: a page's rows are made when it is
    // first shown, so a start builds the ten it shows and not the thousand widgets of all forty.
    TimerRow* row(int i);
    // The row when it has been built, otherwise nullptr.
    TimerRow* builtRow(int i) const { return m_rows.at(static_cast<std::size_t>(i)); }
    QPushButton* pageButton(int page) const { return m_pages.at(static_cast<std::size_t>(page)); }

    void optPage_Click(int page);
    void HideAllRows();
    void ShowPage(int first);
    bool slotOnPage(int i) const;

    void cmdStart_Click(int i);
    void StartTimer(int i);
    void StopTimer(int i);
    void cmdAt_Click(int i);
    void cmdPause_Click(int i);
    void PauseTimer(int i);
    // Resumes a slot marked paused: a new start from the time its fields hold.
    void RestartTimer(int i);
    void cmd30s_Click();
    void cmd1m_Click();
    void cmd5m_Click();
    void cmdCustom_Click();
    void StartInstantTimer(std::int32_t seconds);
    void cmdTest_Click();
    void cmdCheckUpdate_Click();
    void cmdAbout_Click();
    void cmdHide_Click();
    void cmdExit_Click();
    void mnuShow_Click();
    void mnuQuit_Click();
    // Hides the window, or minimises it when there is no notification area to come back from.
    void hideWindow();
    // Gives every control the name a screen reader says; done when one starts listening.
    void nameControls();

    QPushButton *cmd30s = nullptr, *cmd1m = nullptr, *cmd5m = nullptr, *cmdCustom = nullptr;
    QLineEdit* txtCustom = nullptr;
    QPushButton *cmdTest = nullptr, *cmdAbout = nullptr, *cmdCheckUpdate = nullptr;
    QPushButton *cmdExit = nullptr, *cmdHide = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Builds row i, and any before it first, so that Tab goes from row to row in their order.
    void buildRow(int i);
    void buildBottomStrip();
    void drawRow(int i);

    ZelvoApp& m_app;
    std::array<TimerRow*, kRows> m_rows{};
    std::array<QPushButton*, 4> m_pages{};
    RowStyle* m_rowStyle = nullptr;
    ScreenReaderNames m_names{*this};
    bool m_noTrayLogged = false;
};
