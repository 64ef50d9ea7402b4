#include "clock/isodate.h"

#include "clock/gregoriancalendar.h"

#include <QDateTime>
#include <QRegularExpression>

#include <cmath>

#include <unicode/gregocal.h>

namespace heliora {

std::optional<double> parseIsoDate(const QString& text, const icu::TimeZone& zone)
{
    if (text.startsWith(QLatin1Char('@'))) {
        bool ok = false;
        const double seconds = text.mid(1).toDouble(&ok);
        if (!ok || !std::isfinite(seconds))
            return std::nullopt;
        return seconds;
    }
    // A date with an offset or Z names an instant; without one, its wall-clock time is read in `zone`.
    static const QRegularExpression withOffset(QStringLiteral("T.*(Z|[+-]\\d\\d:?\\d\\d)$"));
    if (withOffset.match(text).hasMatch()) {
        const QDateTime instant = QDateTime::fromString(text, Qt::ISODateWithMs);
        if (!instant.isValid())
            return std::nullopt;
        return static_cast<double>(instant.toMSecsSinceEpoch()) / 1000.0;
    }
    // Read the wall-clock fields as if in UTC (no daylight-saving gaps there), then place them in `zone`.
    QDateTime parsed = QDateTime::fromString(text + QLatin1Char('Z'), Qt::ISODateWithMs);
    // A day alone; QDate would also take the day at the front of "2024-01-31T25:00" and drop the bad time.
    if (!parsed.isValid() && text.size() == 10) {
        const QDate day = QDate::fromString(text, Qt::ISODate);
        if (day.isValid())
            parsed = QDateTime(day, QTime(0, 0), Qt::UTC);
    }
    if (!parsed.isValid())
        return std::nullopt;

    // ISO-8601 dates are proleptic Gregorian, also before 1582.
    const std::unique_ptr<icu::GregorianCalendar> calendar = prolepticGregorianCalendar(zone);
    if (!calendar)
        return std::nullopt;
    calendar->clear();
    const QDate d = parsed.date();
    const QTime t = parsed.time();
    calendar->set(d.year(), d.month() - 1, d.day(), t.hour(), t.minute(), t.second());
    calendar->set(UCAL_MILLISECOND, t.msec());
    UErrorCode status = U_ZERO_ERROR;
    const UDate millis = calendar->getTime(status);
    if (U_FAILURE(status))
        return std::nullopt;
    return millis / 1000.0;
}

} // namespace heliora
