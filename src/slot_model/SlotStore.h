#pragma once
#include <QString>
#include <cstdint>

class SlotBoard;

// The slots' copy in the settings store, and so in the settings file: written every 30 s while a
// countdown runs and at the end, read once at the start.
class SlotStore {
public:
    explicit SlotStore(SlotBoard& board) : m_board(board) {}

    void saveTimers();
    // Restores the countdowns of the settings store; returns the list of those that ended meanwhile.
    QString restoreTimers();

private:
    void saveSlot(int n);
    // The moment the slot's countdown ends, as milliseconds since 1970 UTC, for the file.
    std::int64_t endUtcMs(int n) const;
    void restoreSlot(int n, QString& expired);
    void keepStored(int n, const QString& why);
    // The repeat mark and the last duration and clock time of a restored slot.
    void readLast(int n);
    void rangWhileClosed(int n, const QString& name, std::int64_t endUtcMs);

    SlotBoard& m_board;
};
