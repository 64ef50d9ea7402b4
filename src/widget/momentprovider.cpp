#include "widget/momentprovider.h"

#include "model/environment.h"

#include <unicode/calendar.h>

#include <chrono>
#include <cmath>
#include <memory>

namespace heliora {

double systemNow()
{
    using namespace std::chrono;
    return duration<double>(duration_cast<milliseconds>(system_clock::now().time_since_epoch())).count();
}

double quarterHourAfter(double instant)
{
    if (!std::isfinite(instant))
        return instant;
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Calendar> calendar(
        icu::Calendar::createInstance(userTimeZone().release(), dateLocale(), status));
    if (U_FAILURE(status) || !calendar)
        return instant;
    // A lenient calendar would pin an instant beyond its range to the range's end and answer with a date
    // there; a strict one reports the failure, and the reload falls back to the instant.
    calendar->setLenient(false);
    calendar->setTime(instant * 1000.0, status);
    calendar->add(UCAL_MINUTE, 15, status);
    const UDate next = calendar->getTime(status);
    if (U_FAILURE(status) || !std::isfinite(next))
        return instant;
    return next / 1000.0;
}

MomentProvider::MomentProvider(WidgetClock now)
    : m_now(now ? std::move(now) : WidgetClock(systemNow))
{
}

widgetkit::TimelineEntry MomentProvider::entryNow(const widgetkit::TimelineContext& context) const
{
    return { m_now(), context.displaySize };
}

widgetkit::TimelineEntry MomentProvider::placeholder(const widgetkit::TimelineContext& context) const
{
    return entryNow(context);
}

void MomentProvider::snapshot(
    const widgetkit::TimelineContext& context, const std::function<void(const widgetkit::TimelineEntry&)>& done) const
{
    if (done)
        done(entryNow(context));
}

void MomentProvider::timeline(
    const widgetkit::TimelineContext& context, const std::function<void(const widgetkit::Timeline&)>& done) const
{
    if (!done)
        return;
    widgetkit::Timeline timeline;
    timeline.entries.append(entryNow(context));
    // The clock is read again for the reload date: the entry's instant is the picture's, this one the request's
    // end.
    timeline.reloadAfter = quarterHourAfter(m_now());
    done(timeline);
}

} // namespace heliora
