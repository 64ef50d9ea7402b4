#pragma once

#include "widget-interface/widgetextension.h"

#include <functional>

namespace heliora {

/// Seconds since 1970, read from the system clock unless a test injects another.
using WidgetClock = std::function<double()>;

/// The system's wall clock, to the millisecond.
double systemNow();

/// The instant 15 minutes after `instant` by the user's calendar in the user's time zone (adding 15 to the
/// minute, no field wrapping). When the calendar yields no date (an instant that is not finite or lies beyond
/// the calendar's range) the answer is `instant` itself.
double quarterHourAfter(double instant);

/// The timeline provider of both Heliora widgets: every entry shows the present moment at the size the host asks
/// for, and a timeline is that one entry with a reload 15 minutes later. Holds nothing but its clock, which it
/// reads once per entry (and once more for the reload date).
class MomentProvider : public widgetkit::TimelineProvider {
public:
    explicit MomentProvider(WidgetClock now = systemNow);

    widgetkit::TimelineEntry placeholder(const widgetkit::TimelineContext& context) const override;
    void snapshot(const widgetkit::TimelineContext& context,
        const std::function<void(const widgetkit::TimelineEntry&)>& done) const override;
    void timeline(const widgetkit::TimelineContext& context,
        const std::function<void(const widgetkit::Timeline&)>& done) const override;

private:
    widgetkit::TimelineEntry entryNow(const widgetkit::TimelineContext& context) const;

    WidgetClock m_now;
};

} // namespace heliora
