#include "clock/gregoriancalendar.h"

namespace heliora {

void countProleptically(icu::Calendar& calendar)
{
    if (auto* gregorian = dynamic_cast<icu::GregorianCalendar*>(&calendar)) {
        UErrorCode status = U_ZERO_ERROR;
        gregorian->setGregorianChange(prolepticGregorianChange, status);
    }
}

std::unique_ptr<icu::GregorianCalendar> prolepticGregorianCalendar(const icu::TimeZone& zone)
{
    UErrorCode status = U_ZERO_ERROR;
    auto calendar = std::make_unique<icu::GregorianCalendar>(zone, status);
    if (U_FAILURE(status))
        return nullptr;
    calendar->setGregorianChange(prolepticGregorianChange, status);
    return U_SUCCESS(status) ? std::move(calendar) : nullptr;
}

} // namespace heliora
