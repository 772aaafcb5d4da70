#include "slot_model/SlotMath.h"
#include "slot_model/Duration.h"
#include "support/Conversions.h"

namespace SlotMath {

std::int64_t wholeSecond(std::int64_t utcMs) { return (utcMs + 500) / 1000 * 1000; }

Fields splitSeconds(std::int32_t seconds)
{
    // Too many seconds keep the days the start then refuses.
    return Duration(seconds).fields().value_or(Fields{QString::number(seconds / 86400), "0", "0", "0"});
}

std::int64_t fieldTotal(const Fields& f)
{
    std::int64_t total = Conversions::CLng(Conversions::Val(f.days));
    total = Conversions::CLng(static_cast<double>(total) + Conversions::Val(f.hours));
    total = Conversions::CLng(static_cast<double>(total) + Conversions::Val(f.minutes));
    total = Conversions::CLng(static_cast<double>(total) + Conversions::Val(f.seconds));
    return total;
}

}
