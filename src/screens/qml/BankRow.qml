import QtQuick
import VelaWidget

// One bank: its logo tile and its name, or a skeleton bar for a loading row.
// The whole padded row, background included, takes the tap.
RowBackground {
    id: row

    required property int index
    required property string name
    required property string logoURL
    required property string rowId
    required property bool placeholder
    // Drawn with a ring while the list has keyboard focus on this row.
    property bool current: false

    signal tapped()

    implicitHeight: content.height + 16
    hovered: hover.hovered
    pressed: tap.pressed
    border.width: current ? 2 : 0
    border.color: Resources.focusColor

    Accessible.role: Accessible.ListItem
    Accessible.name: placeholder ? "" : name
    Accessible.ignored: placeholder
    Accessible.selectable: true
    Accessible.selected: current
    Accessible.onPressAction: row.tapped()

    Row {
        id: content
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.margins: Units.gap
        spacing: Units.gap

        LogoTile {
            id: tile
            objectName: "logoTile"
            anchors.verticalCenter: parent.verticalCenter
            url: row.logoURL
            rowId: row.rowId
        }

        Text {
            id: nameText
            visible: !row.placeholder
            anchors.verticalCenter: parent.verticalCenter
            // From the row's width, known when the name is first laid out,
            // rather than the Row's, which its anchors set only afterwards.
            width: row.width - 2 * Units.gap - tile.width - content.spacing
            text: row.name
            textFormat: Text.PlainText
            wrapMode: Text.Wrap
            horizontalAlignment: Text.AlignLeft
            font.pixelSize: Units.titleText
            font.family: Resources.fontFamily
            font.weight: Font.Normal
            color: Resources.colors.MainTextColor
        }

        // The grey bar standing in for the name while the list is loading.
        Rectangle {
            visible: row.placeholder
            anchors.verticalCenter: parent.verticalCenter
            width: 150
            height: 22
            radius: Units.smallRadius
            color: Resources.colors.SecondaryBackground
            Accessible.ignored: true
        }
    }

    HoverHandler {
        id: hover
    }

    TapHandler {
        id: tap
        onTapped: row.tapped()
    }
}
