#pragma once

#include <QList>

#include <map>
#include <optional>

namespace heliora::host {

/// When each placed widget asks for its next timeline, as data: the host keeps one of these and arms one wall
/// clock alarm for its earliest date. Widgets are named by a number that the host gives them.
///
/// A reload date is taken as the provider gives it, except that a date earlier than `minimumGap` seconds after
/// the reload that produced it is moved to that point (a provider answering "now" would otherwise keep the host
/// busy), and a date that is not finite means "no further reload".
class ReloadSchedule {
public:
    static constexpr double minimumGap = 5;

    /// Records that widget `id` was reloaded at `now` and wants its next timeline at `reloadDate`.
    void reloaded(int id, double now, double reloadDate);
    void remove(int id);
    void clear() { m_dates.clear(); }

    /// The earliest reload date of all widgets, or nothing when none waits.
    std::optional<double> nextDate() const;
    /// The widgets whose reload date is at or before `now`, in id order.
    QList<int> due(double now) const;
    /// Every widget's reload date (for the host's log and tests).
    const std::map<int, double>& dates() const { return m_dates; }

private:
    std::map<int, double> m_dates;
};

} // namespace heliora::host
