// A Heliora widget on the Plasma desktop: the picture that heliora-widgets draws for the present moment, drawn
// again at the reload date of the widget's timeline. heliora-widgets --snapshot writes the picture into the
// user's runtime folder and prints, as JSON, where it is and when the next picture is due; Plasma's executable
// data engine runs it. A failed run (no heliora-widgets, no extension) shows nothing and tries again a minute on.
import QtQuick 2.15
import org.kde.plasma.core 2.0 as PlasmaCore

Item {
    id: picture

    // The widget's kind, and its family for the applet's current height.
    property string kind
    property string family
    property real pixelRatio: 1
    property string instance: "0"

    // The applet's state: the picture's file and when it was drawn, and the instant of the next one.
    property string file: ""
    property real drawn: 0
    property real nextReload: 0
    property string problem: ""

    readonly property int retryMs: 60000
    readonly property int shortestWaitMs: 5000

    function command() {
        // The shell expands the runtime folder; the name is unique per applet.
        return "heliora-widgets --snapshot " + kind + " " + family
            + " \"${XDG_RUNTIME_DIR:-/tmp}/heliora-plasma-" + instance + "-" + kind + "-" + family + ".png\""
            + " --scale " + Math.max(0.5, Math.min(4, pixelRatio)).toFixed(2);
    }

    function draw() {
        if (kind === "" || family === "")
            return;
        runner.connectSource(command());
    }

    function schedule(milliseconds) {
        reload.interval = Math.max(shortestWaitMs, milliseconds);
        reload.restart();
    }

    PlasmaCore.DataSource {
        id: runner
        engine: "executable"
        connectedSources: []
        onNewData: {
            disconnectSource(sourceName);
            var answer = null;
            try {
                answer = data["exit code"] === 0 ? JSON.parse(data["stdout"]) : null;
            } catch (error) {
                answer = null;
            }
            if (!answer || !answer.file) {
                picture.problem = (data["stderr"] || "heliora-widgets did not answer").trim();
                picture.schedule(picture.retryMs);
                return;
            }
            picture.problem = "";
            picture.file = answer.file;
            picture.drawn = answer.date;
            picture.nextReload = answer.nextReload;
            picture.schedule(answer.nextReload * 1000 - Date.now());
        }
    }

    Timer {
        id: reload
        repeat: false
        onTriggered: picture.draw()
    }

    onFamilyChanged: draw()
    onPixelRatioChanged: draw()
    Component.onCompleted: draw()

    Rectangle {
        anchors.fill: parent
        color: "black"
    }

    Image {
        anchors.fill: parent
        // The date in the address makes Qt Quick read the file again for every new picture.
        source: picture.file === "" ? "" : "file://" + picture.file + "?" + picture.drawn
        fillMode: Image.PreserveAspectFit
        cache: false
        smooth: true
        asynchronous: false
    }
}
