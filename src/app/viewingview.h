#pragma once

#include <QWidget>

#include <functional>

class QCheckBox;
class QLabel;

namespace heliora {

class SharedSettings;

/// The Viewing tab of the settings window: the "show_pluto" check box with its grey note, a divider, and the
/// preview of the planets-list widget (PlanetsListWidgetView, whose date is read from `now`) centred below.
///
/// The check box writes the shared setting at once through a SharedSettings holder of its own, and every
/// holder in the process, and with it every orrery on screen, follows. When the write fails (an unwritable
/// or corrupt settings file, which the store never rewrites), the check box returns to the stored value and
/// a grey line under the note says that the setting could not be saved (its tooltip gives the store's reason);
/// the next successful write removes it. The check box also follows writes made elsewhere in the process.
///
/// Parts that tests and tools look up by object name: "show_pluto", "pluto_was_classified_as_dwarf_planet",
/// "setting_not_saved", and the PlanetsListWidgetView "planets_list_widget".
class ViewingView : public QWidget {
    Q_OBJECT
public:
    explicit ViewingView(std::function<double()> now, QWidget* parent = nullptr);

private:
    void toggled(bool on);

    SharedSettings* m_settings;
    QCheckBox* m_showPluto;
    QLabel* m_notSaved;
};

} // namespace heliora
