#pragma once
#include "slot_model/SlotBoard.h"
#include <QObject>
#include <QString>
#include <cstdint>
#include <optional>

// The slots' copy in the settings store, and so in the settings file: written every 30 s while a
// countdown runs and at the end, read once at the start. The one place that reads and writes a
// slot's keys.
class SlotStore {
public:
    explicit SlotStore(SlotBoard& board);

    void saveTimers();
    // The message, file and repeat mark stored for the slot (or "Reminder n"), the countdown
    // panel and pm.
    void loadEntry(int n);
    // Restores the countdowns of the settings store; returns the list of those that ended meanwhile.
    QString restoreTimers();

private:
    void saveSlot(int n);
    // The moment the slot's countdown ends, as milliseconds since 1970 UTC, for the file.
    std::int64_t endUtcMs(int n) const;
    void restoreSlot(int n, QString& expired);
    void keepStored(int n, const QString& why);
    // A stored flag; one that cannot be read is logged, counts as the fallback and stays in the
    // file as it is until the slot is used.
    bool readFlag(int n, const QString& key, bool fallback);
    void logUnreadable(int n, const QString& key, const QString& text, const QString& meaning);
    // The repeat mark (into the entry) and the last duration and clock time of a restored slot;
    // fallbackSeconds for a file from before these keys.
    SlotBoard::Last readLast(int n, SlotBoard::Entry& entry, std::int64_t fallbackSeconds);
    // A slot whose end passed while the program was closed rang then; a repeating one comes
    // round again on its beat: the stored end plus whole periods, the first after now.
    std::optional<std::int64_t> rangWhileClosed(int n, const QString& name, std::int64_t endUtcMs);

    SlotBoard& m_board;
    QObject m_context;  // ends the board's calls to this store with it
};
