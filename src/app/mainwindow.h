#pragma once

#include "app/planetsview.h"

#include <QMainWindow>

namespace heliora {

class RotationState;

/// A top-level window that is Heliora's main window: the planets view (500 × 700) under a black toolbar whose
/// trailing end holds the reset button (Home resets too), and above both the menu bar it is given, if any. It
/// shows and drives the clock that it is given and owns nothing but its widgets: closing it leaves the clock,
/// which belongs to the application, untouched.
///
/// Children by object name: the content "planets_view" (see PlanetsView for its parts) and the button "reset".
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    /// The clock must outlive the window; `openBody` is called with the body whose picture is clicked. The window
    /// takes the menu bar; the content keeps its size below it.
    MainWindow(RotationState& rotation, PlanetsView::OpenBody openBody, QMenuBar* menuBar = nullptr,
        QWidget* parent = nullptr);
};

} // namespace heliora
