// Heliora's planets-list widget for Plasma: the orrery of the present moment beside the names of the planets.
import QtQuick 2.15
import QtQuick.Layouts 1.15
import QtQuick.Window 2.15
import org.kde.plasma.core 2.0 as PlasmaCore
import org.kde.plasma.plasmoid 2.0

Item {
    id: root

    Plasmoid.backgroundHints: PlasmaCore.Types.NoBackground
    Plasmoid.preferredRepresentation: Plasmoid.fullRepresentation

    Plasmoid.fullRepresentation: WidgetPicture {
        Layout.minimumWidth: PlasmaCore.Units.gridUnit * 12
        Layout.minimumHeight: PlasmaCore.Units.gridUnit * 6
        Layout.preferredWidth: 360
        Layout.preferredHeight: 169
        kind: "PlanetsListWidget"
        family: "medium"
        pixelRatio: Screen.devicePixelRatio * Math.max(1, Math.min(width / 360, height / 169))
        instance: String(Plasmoid.id)
    }
}
