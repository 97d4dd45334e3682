import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import QtQuick.Templates as T
import VelaWidget

// The bank selector: the payment system's logo, the explanation for the
// link's kind, the search bar and the bank list. It asks to be closed when a
// bank's app was opened (and on Escape), and shows the alert while the model
// says a bank's app could not be opened.
FocusScope {
    id: root

    // Every screen made without a model of its own observes the kit's shared one.
    property WidgetModel model: WidgetModel {}
    // Anything but the light scheme counts as dark.
    property bool darkScheme: Resources.darkScheme
    readonly property alias searchField: search
    readonly property alias bankListView: bankList
    readonly property alias alert: alert

    signal dismissRequested()

    implicitWidth: 390
    implicitHeight: 720

    Accessible.role: Accessible.Pane
    Accessible.name: root.model.selectorTitle

    LayoutMirroring.enabled: Qt.application.layoutDirection === Qt.RightToLeft
    LayoutMirroring.childrenInherit: true

    Rectangle {
        anchors.fill: parent
        color: Resources.colors.MainBackground
    }

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 16
        spacing: 16

        Image {
            id: logo
            objectName: "velaLogo"
            Layout.alignment: Qt.AlignHCenter
            Layout.topMargin: 8
            source: Resources.image(root.darkScheme ? "vela_logo_dark_mode" : "vela_logo")
            Accessible.role: Accessible.Graphic
            Accessible.ignored: true
        }

        Text {
            id: explanation
            objectName: "explanation"
            Layout.fillWidth: true
            text: root.model.descriptionText
            textFormat: Text.PlainText
            wrapMode: Text.Wrap
            horizontalAlignment: Text.AlignHCenter
            font.pixelSize: 14
            font.weight: Font.Normal
            color: Resources.colors.MainTextColor
            Accessible.role: Accessible.StaticText
            Accessible.name: text
        }

        SearchField {
            id: search
            Layout.fillWidth: true
            Layout.preferredHeight: 40
            model: root.model.bankList
            focus: true
            Keys.onDownPressed: bankList.list.forceActiveFocus(Qt.TabFocusReason)
        }

        BankListView {
            id: bankList
            Layout.fillWidth: true
            Layout.fillHeight: true
            model: root.model.bankList
            // The button goes with the message; typing carries on in the search field.
            onRetryRequested: {
                root.model.retryBankList()
                search.focusField()
            }
        }
    }

    Shortcut {
        sequences: [StandardKey.Find]
        onActivated: search.focusField()
    }

    Shortcut {
        sequence: "Esc"
        enabled: !alert.visible
        onActivated: root.dismissRequested()
    }

    Connections {
        target: root.model
        function onDismissRequested() {
            root.dismissRequested()
        }
        function onBankAppNotFoundErrorChanged() {
            root.syncAlert()
        }
    }
    onModelChanged: syncAlert()
    Component.onCompleted: syncAlert()

    // The alert follows the flag; only its button writes the flag back.
    function syncAlert() {
        if (root.model && root.model.bankAppNotFoundError) {
            if (!alert.visible)
                focusBeforeAlert = root.Window.activeFocusItem
            alert.open()
        } else {
            alert.close()
        }
    }
    // Keyboard users carry on where they were once the alert is gone.
    property Item focusBeforeAlert: null

    // Drawn in the selector's own colours: the style's palette is always light.
    Dialog {
        id: alert
        objectName: "openUrlAlert"
        anchors.centerIn: parent
        width: Math.min(root.width - 48, 320)
        modal: true
        focus: true
        closePolicy: Popup.NoAutoClose
        title: root.model.alertTitle
        padding: 16
        topPadding: 8

        onOpened: okButton.forceActiveFocus(Qt.PopupFocusReason)
        onClosed: {
            if (root.focusBeforeAlert)
                root.focusBeforeAlert.forceActiveFocus(Qt.PopupFocusReason)
            root.focusBeforeAlert = null
        }

        // The screen behind fades towards its own background, in either scheme.
        T.Overlay.modal: Rectangle {
            readonly property color fade: Resources.colors.MainBackground
            color: Qt.rgba(fade.r, fade.g, fade.b, 0.7)
        }

        background: Rectangle {
            radius: 12
            color: Resources.colors.MainBackground
            border.width: 1
            border.color: Resources.colors.SecondaryBackground
        }

        header: Label {
            text: alert.title
            padding: 16
            bottomPadding: 0
            font.pixelSize: 18
            font.bold: true
            color: Resources.colors.MainTextColor
            wrapMode: Text.Wrap
            textFormat: Text.PlainText
            Accessible.ignored: true
        }

        contentItem: Label {
            Accessible.role: Accessible.AlertMessage
            Accessible.name: alert.title
            Accessible.description: text
            text: root.model.alertMessage
            font.pixelSize: 14
            color: Resources.colors.MainTextColor
            wrapMode: Text.Wrap
            textFormat: Text.PlainText
        }

        // One button, so a plain row: a button box is announced as a tab list.
        footer: Item {
            implicitHeight: okButton.implicitHeight + 16

            Button {
                id: okButton
                objectName: "alertOkButton"
                anchors.right: parent.right
                anchors.rightMargin: 16
                anchors.top: parent.top
                text: root.model.alertButton
                font.pixelSize: 14
                leftPadding: 16
                rightPadding: 16
                contentItem: Text {
                    text: okButton.text
                    font: okButton.font
                    color: Resources.colors.MainTextColor
                    horizontalAlignment: Text.AlignHCenter
                    verticalAlignment: Text.AlignVCenter
                }
                background: RowBackground {
                    implicitWidth: 64
                    implicitHeight: 40
                    hovered: okButton.hovered
                    pressed: okButton.down
                    border.width: okButton.visualFocus ? 2 : 0
                    border.color: Resources.colors.MainTextColor
                }
                Accessible.role: Accessible.Button
                Accessible.name: text
                onClicked: root.model.toggleBankAppNotFoundError()
                Keys.onReturnPressed: clicked()
                Keys.onEnterPressed: clicked()
                Keys.onEscapePressed: clicked()
            }
        }
    }
}
