import QtQuick
import VelaWidget

// The fill of a row or button: "PlaceholderBackground" at rest, leaning
// towards "SecondaryBackground" under the pointer and further while pressed.
// Blends of two catalogue colours, so the feedback follows both schemes. A
// host's accent tints the press instead, lightly: the label stays readable.
Rectangle {
    property bool hovered: false
    property bool pressed: false

    function blend(over, amount) {
        return Qt.tint(Resources.colors.PlaceholderBackground,
                       Qt.rgba(over.r, over.g, over.b, amount))
    }

    radius: Units.radius
    color: pressed ? (Resources.accented ? blend(Resources.focusColor, 0.35)
                                         : blend(Resources.colors.SecondaryBackground, 0.8))
                   : hovered ? blend(Resources.colors.SecondaryBackground, 0.4)
                             : Resources.colors.PlaceholderBackground
}
