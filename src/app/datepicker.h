#pragma once

#include <QDateEdit>

namespace heliora {

/// A date field that edits the calendar day of an instant in the user's time zone, with a calendar that drops
/// down. Its range is the widest the widget has, the years 100 to 9999; it adds no bounds of its own.
///
/// showInstant() makes it show the day of an instant without emitting anything, so that an owner can let it
/// follow a clock without being told back. An instant outside the range shows the nearest end of the range
/// (and so does a NaN or an infinity, as the start). While the user has typed something not yet committed, it
/// keeps what is typed and catches up when the edit ends.
///
/// dayPicked is emitted for each day the user commits: a day clicked in the calendar, an arrow key or the wheel
/// on a field, or typed text committed with Return or by leaving the field. Day-only: the year, month and day,
/// in the locale's short order with four-digit years.
class DatePicker : public QDateEdit {
    Q_OBJECT
public:
    explicit DatePicker(QWidget* parent = nullptr);

    void showInstant(double instant);

signals:
    void dayPicked(const QDate& day);

private:
    bool hasUncommittedText() const;

    double m_instant = 0;
};

} // namespace heliora
