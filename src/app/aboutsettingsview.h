#pragma once

#include <QWidget>

namespace heliora {

class InfoView;
class SharedSettings;
class SolarSystemView;

/// The information tab of the settings window: InfoView at the top, in front of a faded orrery.
///
/// The orrery (diameter 300, at half opacity, centred in the tab) shows the planets of 9 January 1991, at the
/// start of that day in the user's time zone, whatever the clock says; it never moves. It draws Pluto as the
/// shared setting says, through a SharedSettings holder of its own, and follows it. It has no click targets,
/// and assistive technologies do not see it: they read the information block only.
///
/// Parts that tests and tools look up by object name: "info" (the InfoView) and "orrery".
class AboutSettingsView : public QWidget {
    Q_OBJECT
public:
    explicit AboutSettingsView(QWidget* parent = nullptr);

    static constexpr double orreryDiameter = 300;
    static constexpr double orreryOpacity = 0.5;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    SharedSettings* m_settings;
    SolarSystemView* m_orrery;
    InfoView* m_info;
};

} // namespace heliora
