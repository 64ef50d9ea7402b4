#include "app/datepicker.h"

#include "clock/calendarday.h"
#include "model/environment.h"

#include <QCalendarWidget>
#include <QLocale>
#include <QSignalBlocker>

#include <cmath>

namespace heliora {

namespace {
    /// The locale's short date pattern with the year written in full: a two-digit year would name a day of a
    /// different century than the one the clock is in.
    QString dayFormat(const QLocale& locale)
    {
        QString format = locale.dateFormat(QLocale::ShortFormat);
        if (!format.contains(QLatin1String("yyyy")))
            format.replace(QLatin1String("yy"), QLatin1String("yyyy"));
        return format;
    }
} // namespace

DatePicker::DatePicker(QWidget* parent)
    : QDateEdit(parent)
{
    setObjectName(QStringLiteral("date_picker"));
    setCalendarPopup(true);
    setDisplayFormat(dayFormat(locale()));
    // The widget's own limits, and no others.
    setDateRange(QDate(100, 1, 1), QDate(9999, 12, 31));
    // Typing commits on Return or when the field loses focus, not at every digit: "1991" would otherwise set
    // the clock to the years 1, 19 and 199 on its way.
    setKeyboardTracking(false);
    calendarWidget()->setGridVisible(false);

    connect(this, &QDateEdit::dateChanged, this, [this](const QDate& day) { emit dayPicked(day); });
    // A commit that leaves the day as it was (or a day picked while the clock moved on) shows the clock again.
    connect(this, &QAbstractSpinBox::editingFinished, this, [this] { showInstant(m_instant); });
}

void DatePicker::showInstant(double instant)
{
    m_instant = instant;
    if (hasUncommittedText())
        return;
    const std::unique_ptr<icu::TimeZone> zone = userTimeZone();
    QDate day = localDay(instant, *zone);
    if (!day.isValid())
        day = instant > 0 ? maximumDate() : minimumDate(); // beyond 10,000 years from 1970; NaN counts as the start
    day = std::clamp(day, minimumDate(), maximumDate());
    if (day == date())
        return;
    const QSignalBlocker quiet(this);
    setDate(day);
}

bool DatePicker::hasUncommittedText() const { return hasFocus() && text() != textFromDateTime(dateTime()); }

} // namespace heliora
