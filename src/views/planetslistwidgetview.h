#pragma once

#include <QWidget>

#include <functional>

class QLabel;

namespace heliora {

class PlanetsList;
class SharedSettings;
class SolarSystemView;

/// The preview of the planets-list desktop widget, as the settings window shows it: a bold line that invites
/// the user to put the solar system on the desktop, the widget's picture (WidgetPreview) and the widget's name
/// in grey below it.
///
/// The preview's orrery shows the planets at the moment the view is built, read from `now` (seconds since
/// 1970); it does not tick. It draws Pluto as the shared "show_pluto" setting says, through a SharedSettings
/// holder of its own: when the setting changes, the preview is built again, which also reads `now` again. An
/// empty `now` counts as the instant 0.
///
/// Parts that tests and tools look up by object name: "invitation", "preview" (in it "orrery" and the
/// PlanetsList "planets_list") and "caption".
class PlanetsListWidgetView : public QWidget {
    Q_OBJECT
public:
    explicit PlanetsListWidgetView(std::function<double()> now, QWidget* parent = nullptr);

private:
    void rebuild();

    std::function<double()> m_now;
    SharedSettings* m_settings;
    SolarSystemView* m_orrery;
};

/// The picture of the planets-list widget, 360 × 169: on a black field with rounded corners (radius 20) and a
/// white outline at 20 % opacity, the orrery (diameter 135.2) beside the PlanetsList, 22 apart, the two centred.
/// It only decorates: assistive technologies do not see it, and clicks pass through it. The owner sets the
/// orrery's date and Pluto switch.
///
/// Nothing inside reaches the rounded corners (the orrery's square lies 16.9 pixels inside the edges, and its
/// planets stick out of it by less than 7), so the content is inside the rounded shape without clipping.
class WidgetPreview : public QWidget {
    Q_OBJECT
public:
    explicit WidgetPreview(QWidget* parent = nullptr);

    static constexpr QSize size { 360, 169 };
    static constexpr double cornerRadius = 20;
    static constexpr double orreryDiameter = 169 * 0.8;
    static constexpr int spacing = 22;

    SolarSystemView* orrery() const { return m_orrery; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    SolarSystemView* m_orrery;
    PlanetsList* m_list;
};

/// Places the planets-list widget's content in a parent of `size`: the orrery's D × D square (D its diameter) and
/// the list side by side, WidgetPreview::spacing apart, the pair centred. The preview and the desktop widget
/// place their content so.
void placeBesideList(SolarSystemView& orrery, PlanetsList& list, const QSize& size);

} // namespace heliora
