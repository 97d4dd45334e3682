import QtQuick
import VelaWidget

// The one-line search bar. It edits the model's search text on every
// keystroke; the filtering and its delay are the model's. A focus scope
// whose focus lies on the text input, so focus given to the bar lands where
// typing goes.
FocusScope {
    id: bar

    required property BankListBridge model
    readonly property alias field: field

    // No focus reason is named: this runs as the screen opens, and naming
    // one (`Qt.ShortcutFocusReason`) would make the engine build the Qt
    // namespace's whole enum table before the first frame.
    function focusField() {
        field.forceActiveFocus()
    }

    implicitHeight: Units.searchBarHeight
    height: implicitHeight

    // What the search found, read out once the list has followed the text.
    // Drawn nowhere, yet on screen: a reader passes over hidden items.
    LiveStatus {
        objectName: "searchResultStatus"
        width: 1
        height: 1
        text: bar.model.searchResult
        Accessible.role: Accessible.StatusBar
        Accessible.name: text
    }

    Rectangle {
        anchors.fill: parent
        radius: Units.radius
        color: Resources.colors.PlaceholderBackground
    }

    // The symbol 8 from the leading edge, the input 8 after it up to the
    // trailing edge, both centred vertically.
    Item {
        anchors.fill: parent

        TintedSymbol {
            id: glass
            objectName: "searchSymbol"
            anchors.left: parent.left
            anchors.leftMargin: Units.gap
            anchors.verticalCenter: parent.verticalCenter
            width: Units.bodyText
            height: width
            source: Resources.image("magnifyingglass")
            color: Resources.colors.MainTextColor
            opacity: bar.model.searchText.length === 0 ? 0.2 : 1.0
            Accessible.ignored: true
        }

        TextInput {
            id: field
            objectName: "searchField"
            anchors.left: glass.right
            anchors.leftMargin: Units.gap
            anchors.right: parent.right
            anchors.top: parent.top
            anchors.bottom: parent.bottom
            // Set, so that it mirrors with the layout: the caret of an empty
            // field waits at the leading edge, beside the symbol.
            horizontalAlignment: TextInput.AlignLeft
            verticalAlignment: TextInput.AlignVCenter
            clip: true
            font.pixelSize: Units.bodyText
            font.family: Resources.fontFamily
            font.weight: Font.Normal
            color: Resources.colors.MainTextColor
            inputMethodHints: Resources.searchInputHints
            selectByMouse: true
            focus: true
            activeFocusOnTab: true
            text: bar.model.searchText
            onTextEdited: bar.model.searchText = text

            Text {
                objectName: "searchPlaceholder"
                anchors.fill: parent
                horizontalAlignment: Text.AlignLeft
                verticalAlignment: Text.AlignVCenter
                visible: field.text.length === 0 && field.preeditText.length === 0
                text: bar.model.searchPlaceholder
                textFormat: Text.PlainText
                elide: Text.ElideRight
                font: field.font
                color: Qt.rgba(field.color.r, field.color.g, field.color.b, 0.5)
                Accessible.ignored: true
            }

            Accessible.role: Accessible.EditableText
            Accessible.name: bar.model.searchPlaceholder
            Accessible.searchEdit: true
        }
    }
}
