pragma Singleton
import QtQuick
import VelaWidget

// The views' one scale of sizes. Text and the controls that hold a line of it
// follow the host's font scale, corners the host's radius; the two spacings
// are the only ones the layout uses, so a view never invents a third.
QtObject {
    // Between the parts of one element: a row's logo and name, a label and its field.
    readonly property int gap: 8
    // Around and between sections: the screen's edge, the alert's body.
    readonly property int margin: 16

    readonly property int captionText: Math.round(12 * Resources.fontScale)
    readonly property int bodyText: Math.round(14 * Resources.fontScale)
    readonly property int titleText: Math.round(18 * Resources.fontScale)

    // Controls grow with their text, never below the kit's own size.
    readonly property int searchBarHeight: Math.max(40, Math.round(40 * Resources.fontScale))
    readonly property int buttonHeight: Math.max(36, Math.ceil(20 * Resources.fontScale) + 12)

    // Rows, bars and buttons; the loading bars.
    readonly property real radius: Resources.radius
    readonly property real smallRadius: Resources.smallRadius
}
