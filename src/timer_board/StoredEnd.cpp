#include "timer_board/StoredEnd.h"
#include "diagnostics/cSharedLogging.h"
#include "settings/cSHAREDSettings.h"
#include "support/Guard.h"
#include "support/OleDate.h"
#include <QDateTime>

namespace {
cSHAREDSettings& settings() { return cSHAREDSettings::instance(); }
QString generalName(int slot) { return "Timer" + QString::number(slot) + "End"; }
QString isoName(int slot) { return generalName(slot) + "ISO"; }
}

namespace StoredEnd {

void write(int slot, std::int64_t utcMs)
{
    const std::int64_t whole = (utcMs + 500) / 1000 * 1000;
    const QDateTime local = QDateTime::fromMSecsSinceEpoch(whole);
    settings().sSet(generalName(slot), OleDate::fromDateTime(local));
    settings().sSet(isoName(slot), local.toOffsetFromUtc(local.offsetFromUtc()).toString(Qt::ISODate));
}

std::int64_t read(int slot)
{
    const OleDate end = settings().sGet(generalName(slot), Value::whole(0)).toDate();
    const std::int64_t local = end.toDateTime().toMSecsSinceEpoch();
    if (!settings().IsSettingPresent(isoName(slot)))
        return local;
    QString text;
    Guard g{"RestoreTimers", "frmMain"};
    g([&] { text = settings().sGet(isoName(slot), QString()).toText().trimmed(); });
    const QDateTime stamp = QDateTime::fromString(text, Qt::ISODate);
    if (stamp.isValid() && stamp.timeSpec() != Qt::LocalTime && stamp.date() == end.date()
        && stamp.time() == end.time())
        return stamp.toMSecsSinceEpoch();
    g([&] {
        cSharedLogging::instance().LogEvent(QStringLiteral("Timer %1: the stored end \"%2\" does not match \"%3\" and was ignored")
                                                .arg(slot + 1)
                                                .arg(text, end.generalForm()),
                                            false);
    });
    return local;
}

}
