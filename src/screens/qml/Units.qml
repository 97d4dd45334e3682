pragma Singleton
import QtQuick
import VelaWidget

// The views' one scale of sizes. Text follows the host's font scale; the two
// spacings are the only ones the layout uses, so a view never invents a third.
QtObject {
    // Between the parts of one element: a row's logo and name, a label and its field.
    readonly property int gap: 8
    // Around and between sections: the screen's edge, the alert's body.
    readonly property int margin: 16

    readonly property int captionText: Math.round(12 * Resources.fontScale)
    readonly property int bodyText: Math.round(14 * Resources.fontScale)
    readonly property int titleText: Math.round(18 * Resources.fontScale)
}
