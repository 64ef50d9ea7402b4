#pragma once

#include "app/settingstab.h"
#include "model/planet.h"

#include <QWidget>

#include <functional>

class QTabWidget;

namespace heliora {

class RotationState;

/// A top-level window with Heliora's settings, in four tabs, each labelled with its text and its glyph:
/// General (GeneralSettingsView: the date picker, today, the links), Viewing (ViewingView: Pluto and the widget
/// preview), Solar System (SolarSystemListView) and Information (AboutSettingsView). It opens on General.
/// Its content is 600 × 550 whatever the tab, and the window is not resizable. Ctrl+W closes it.
///
/// It takes what it needs: the application's clock, which must outlive it; the function that opens a fact
/// window, which the Solar System tab calls for each press of a body's button; and the function that reads
/// the present instant, which the widget preview reads when it is built. The window frees itself when it is
/// closed; whoever keeps a pointer to it keeps a QPointer.
///
/// Parts that tests and tools look up by object name: the QTabWidget "tabs" and its pages "general",
/// "viewing", "solar_system" and "about".
class SettingsWindow : public QWidget {
    Q_OBJECT
public:
    using OpenFactWindow = std::function<void(const SolarSystemObject&)>;

    SettingsWindow(
        RotationState& rotation, OpenFactWindow openFactWindow, std::function<double()> now, QWidget* parent = nullptr);

    static constexpr QSize contentSize { 600, 550 };
    static constexpr int padding = 20;

    SettingsTab currentTab() const;
    void setCurrentTab(SettingsTab tab);

private:
    QTabWidget* m_tabs;
};

} // namespace heliora
