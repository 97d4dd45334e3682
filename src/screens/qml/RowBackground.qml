import QtQuick
import VelaWidget

// The fill of a row or button: "PlaceholderBackground" at rest, leaning
// towards "SecondaryBackground" under the pointer and further while pressed.
// Blends of two catalogue colours, so the feedback follows both schemes.
Rectangle {
    property bool hovered: false
    property bool pressed: false

    function blend(amount) {
        const over = Resources.colors.SecondaryBackground
        return Qt.tint(Resources.colors.PlaceholderBackground,
                       Qt.rgba(over.r, over.g, over.b, amount))
    }

    radius: 12
    color: pressed ? blend(0.8) : hovered ? blend(0.4) : Resources.colors.PlaceholderBackground
}
