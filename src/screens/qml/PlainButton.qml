import QtQuick
import VelaWidget

// A button drawn like the list's Retry button, from plain items: no controls
// module to load, and it follows both schemes. Pointer, Return, Enter and
// Space all activate it.
RowBackground {
    id: button

    property alias text: label.text

    signal activated()

    implicitWidth: label.implicitWidth + 32
    implicitHeight: Math.max(40, label.implicitHeight + 16)
    activeFocusOnTab: true
    hovered: hover.hovered
    pressed: tap.pressed
    border.width: activeFocus ? 2 : Resources.accented ? 1 : 0
    border.color: Resources.focusColor

    Text {
        id: label
        anchors.centerIn: parent
        textFormat: Text.PlainText
        font.pixelSize: Units.bodyText
        font.family: Resources.fontFamily
        font.weight: Font.Normal
        color: Resources.colors.MainTextColor
    }

    HoverHandler {
        id: hover
    }
    TapHandler {
        id: tap
        onTapped: button.activated()
    }
    Keys.onReturnPressed: button.activated()
    Keys.onEnterPressed: button.activated()
    Keys.onSpacePressed: button.activated()

    Accessible.role: Accessible.Button
    Accessible.name: label.text
    Accessible.onPressAction: button.activated()
}
