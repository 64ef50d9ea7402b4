#pragma once

#include <QWidget>

#include <limits>

class QLabel;

namespace heliora {

class DatePicker;
class FittingLabel;
class Hud;
class RotationState;

/// The General tab of the settings window: travel in time and copy links.
///
/// "time_travel": a DatePicker that follows the clock's day, and "reset_to_today". Picking a day resets the
/// clock (playing, normal speed) to that day at the clock's current time of day in the user's zone; a clock
/// too far from 1970 to have a time of day here (more than 10,000 years) gives the day's first instant.
/// "url_scheme": the scheme "heliora://" and the date link of the clock's date, each with a "copy" button.
/// The link follows the running clock. A copy puts exactly that text on the clipboard, as plain text and in no
/// other format, and presents the Hud ("copied") at the bottom centre, over the form.
///
/// The clock is the application's one RotationState; the view only reads it and calls reset(). It must
/// outlive the view.
///
/// Parts that tests and tools look up by object name: "date_picker", "reset_to_today", "scheme",
/// "copy_scheme", "date_link", "copy_date_link", "hud", and the notes "travel_in_time", "open_app",
/// "open_app_with_date".
class GeneralSettingsView : public QWidget {
    Q_OBJECT
public:
    explicit GeneralSettingsView(RotationState& rotation, QWidget* parent = nullptr);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void clockChanged();
    void pickDay(const QDate& day);
    void copy(const QString& text);
    void placeHud();

    RotationState& m_rotation;
    DatePicker* m_picker;
    FittingLabel* m_dateLink;
    Hud* m_hud;
    double m_shownDate = std::numeric_limits<double>::quiet_NaN();
};

} // namespace heliora
