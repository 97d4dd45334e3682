import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import VelaWidget

// The one-line search bar. It edits the model's search text on every
// keystroke; the filtering and its delay are the model's. A focus scope
// whose focus lies on the text input, so focus given to the bar lands where
// typing goes.
FocusScope {
    id: bar

    required property BankListModelBridge model
    readonly property alias field: field
    readonly property real symbolOpacity: glass.opacity

    function focusField() {
        field.forceActiveFocus(Qt.ShortcutFocusReason)
    }

    implicitHeight: 40
    height: 40

    Rectangle {
        anchors.fill: parent
        radius: 12
        color: Resources.colors.PlaceholderBackground
    }

    RowLayout {
        anchors.fill: parent
        spacing: 8

        TintedSymbol {
            id: glass
            objectName: "searchSymbol"
            Layout.leftMargin: 8
            Layout.alignment: Qt.AlignVCenter
            Layout.preferredWidth: 14
            Layout.preferredHeight: 14
            source: Resources.image("magnifyingglass")
            color: Resources.colors.MainTextColor
            opacity: bar.model.searchText.length === 0 ? 0.2 : 1.0
            Accessible.ignored: true
        }

        TextField {
            id: field
            objectName: "searchField"
            Layout.fillWidth: true
            Layout.fillHeight: true
            leftPadding: 0
            rightPadding: 0
            topPadding: 0
            bottomPadding: 0
            verticalAlignment: TextInput.AlignVCenter
            background: null
            font.pixelSize: 14
            font.weight: Font.Normal
            color: Resources.colors.MainTextColor
            placeholderText: bar.model.searchPlaceholder
            placeholderTextColor: Qt.rgba(color.r, color.g, color.b, 0.5)
            inputMethodHints: Qt.ImhNoPredictiveText | Qt.ImhNoAutoUppercase
            selectByMouse: true
            focus: true
            activeFocusOnTab: true
            text: bar.model.searchText
            onTextEdited: bar.model.searchText = text

            Accessible.role: Accessible.EditableText
            Accessible.name: bar.model.searchPlaceholder
            Accessible.searchEdit: true
        }
    }
}
