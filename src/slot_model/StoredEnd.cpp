#include "slot_model/StoredEnd.h"
#include "slot_model/SlotMath.h"
#include "diagnostics/cSharedLogging.h"
#include "settings/cSHAREDSettings.h"
#include "support/Guard.h"
#include "support/OleDate.h"
#include <QDateTime>

namespace {
constexpr int kMostOffset = 14 * 3600;  // no zone is further from UTC

cSHAREDSettings& settings() { return cSHAREDSettings::instance(); }
QString generalName(int slot) { return "Timer" + QString::number(slot) + "End"; }
QString isoName(int slot) { return generalName(slot) + "ISO"; }
QString textOf(const QString& name) { return settings().sGet(name, QString()).toText(); }

void log(int slot, const QString& text)
{
    Guard::silently([&] {
        cSharedLogging::instance().LogEvent(QStringLiteral("Timer %1: %2").arg(slot + 1).arg(text), false);
    });
}

std::optional<QDateTime> isoEnd(const QString& text)
{
    const QDateTime stamp = QDateTime::fromString(text.trimmed(), Qt::ISODate);
    if (!stamp.isValid() || stamp.timeSpec() == Qt::LocalTime || std::abs(stamp.offsetFromUtc()) > kMostOffset)
        return std::nullopt;
    return stamp;
}

std::optional<OleDate> generalEnd(int slot)
{
    if (!settings().IsSettingPresent(generalName(slot)))
        return std::nullopt;
    try {
        return settings().sGet(generalName(slot)).toDate();
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

int secondOfDay(const QTime& time) { return time.msecsSinceStartOfDay() / 1000; }
}

namespace StoredEnd {

QString isoForm(std::int64_t utcMs)
{
    const QDateTime local = QDateTime::fromMSecsSinceEpoch(SlotMath::wholeSecond(utcMs));
    return local.toOffsetFromUtc(local.offsetFromUtc()).toString(Qt::ISODate);
}

void write(int slot, std::int64_t utcMs)
{
    settings().sSet(generalName(slot), OleDate::fromDateTime(QDateTime::fromMSecsSinceEpoch(SlotMath::wholeSecond(utcMs))));
    settings().sSet(isoName(slot), isoForm(utcMs));
}

std::optional<std::int64_t> read(int slot)
{
    const std::optional<OleDate> general = generalEnd(slot);
    const bool hasIso = settings().IsSettingPresent(isoName(slot));
    const QString isoText = hasIso ? textOf(isoName(slot)) : QString();
    const std::optional<QDateTime> stamp = hasIso ? isoEnd(isoText) : std::nullopt;
    // The date of the general form depends on the locale that reads it; its time of day does not.
    if (stamp && (!general || secondOfDay(general->time()) == secondOfDay(stamp->time())))
        return stamp->toMSecsSinceEpoch();
    if (stamp)
        log(slot, QStringLiteral("the stored end \"%1\" does not match \"%2\" and was ignored")
                      .arg(isoText, general->generalForm()));
    else if (hasIso)
        log(slot, QStringLiteral("the stored end \"%1\" is no date with an offset from UTC and was ignored").arg(isoText));
    if (general)
        return general->toDateTime().toMSecsSinceEpoch();
    // Marked running with no end at all: the start of the calendar, long expired, as it always was.
    if (!hasIso && !settings().IsSettingPresent(generalName(slot)))
        return OleDate{}.toDateTime().toMSecsSinceEpoch();
    return std::nullopt;
}

QString unreadable(int slot)
{
    return QStringLiteral("its stored end \"%1\" (ISO \"%2\") cannot be read")
        .arg(textOf(generalName(slot)), textOf(isoName(slot)));
}

}
