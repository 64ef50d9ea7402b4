// Heliora's solar-system widget for Plasma: the orrery of the present moment, small or large by the applet's size.
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
        Layout.minimumWidth: PlasmaCore.Units.gridUnit * 6
        Layout.minimumHeight: PlasmaCore.Units.gridUnit * 6
        Layout.preferredWidth: 169
        Layout.preferredHeight: 169
        kind: "SolarSystemWidget"
        // The large family once the applet is taller than the small one would fill well.
        family: height > 260 ? "large" : "small"
        pixelRatio: Screen.devicePixelRatio * Math.max(1, Math.min(width / (family === "large" ? 360 : 169),
            height / (family === "large" ? 379 : 169)))
        instance: String(Plasmoid.id)
    }
}
