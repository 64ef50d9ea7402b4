#pragma once

#include <QMainWindow>

class QToolButton;

namespace heliora {

class PlanetsView;
class RotationState;

/// The application's main window: the planets view (500 × 700) under a black toolbar whose trailing end holds
/// the reset button. Date links handed to the application arrive here. Closing it does not touch the clock,
/// which belongs to the application.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(RotationState& rotation, QWidget* parent = nullptr);

    /// A link given on the command line or forwarded by a second launch: a date link sets the clock's date;
    /// anything else is ignored silently.
    bool openLink(const QString& link);

    PlanetsView& planetsView() const { return *m_view; }
    QToolButton& resetButton() const { return *m_reset; }

private:
    PlanetsView* m_view;
    QToolButton* m_reset;
};

} // namespace heliora
