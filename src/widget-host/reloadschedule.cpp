#include "widget-host/reloadschedule.h"

#include <algorithm>
#include <cmath>

namespace heliora::host {

void ReloadSchedule::reloaded(int id, double now, double reloadDate)
{
    if (!std::isfinite(reloadDate) || !std::isfinite(now)) {
        m_dates.erase(id);
        return;
    }
    m_dates[id] = std::max(reloadDate, now + minimumGap);
}

void ReloadSchedule::remove(int id) { m_dates.erase(id); }

std::optional<double> ReloadSchedule::nextDate() const
{
    if (m_dates.empty())
        return std::nullopt;
    return std::min_element(m_dates.begin(), m_dates.end(), [](const auto& a, const auto& b) {
        return a.second < b.second;
    })->second;
}

QList<int> ReloadSchedule::due(double now) const
{
    QList<int> ids;
    for (const auto& [id, date] : m_dates) {
        if (date <= now)
            ids.append(id);
    }
    return ids;
}

} // namespace heliora::host
