import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Templates as T
import VelaWidget

// The alert for a bank link that could not be opened, over the whole
// screen. The screen makes it on first need, so the controls it is built
// from cost the selector's first frame nothing; from then on it follows the
// model's flag, and only its buttons write the flag back.
Item {
    id: host

    property WidgetViewBridge model
    readonly property alias dialog: alert
    // The popup's items live in the window's overlay, outside the screen's
    // tree, so they take the screen's mirroring from here.
    readonly property bool mirrored: host.LayoutMirroring.enabled
    // Keyboard users carry on where they were once the alert is gone.
    property Item focusBeforeAlert: null

    readonly property bool wanted: host.model ? host.model.bankAppNotFoundError : false

    // The second button: the screen shows the payment as a code for a phone.
    signal payWithPhoneRequested()
    // The dialog came up or went; the screen holds its Escape back meanwhile.
    signal shownChanged(bool shown)

    onWantedChanged: host.follow()
    Component.onCompleted: host.follow()

    function follow() {
        if (!host.wanted) {
            alert.close()
        } else {
            if (!alert.visible)
                host.focusBeforeAlert = host.Window.activeFocusItem
            alert.open()
        }
    }

    // Drawn in the selector's own colours: the style's palette is always light.
    Dialog {
        id: alert
        objectName: "openUrlAlert"
        anchors.centerIn: parent
        width: Math.min(host.width - 48, 320)
        modal: true
        focus: true
        closePolicy: Popup.NoAutoClose
        title: host.model.alertTitle
        padding: Units.margin
        topPadding: Units.gap

        // A screen reader meets the dialog's own item, which does not take
        // the title as its name by itself.
        Component.onCompleted: alert.background.parent.Accessible.name = Qt.binding(() => alert.title)
        onVisibleChanged: host.shownChanged(alert.visible)
        onOpened: okButton.forceActiveFocus(Qt.PopupFocusReason)
        onClosed: {
            if (host.focusBeforeAlert)
                host.focusBeforeAlert.forceActiveFocus(Qt.PopupFocusReason)
            host.focusBeforeAlert = null
        }

        // The screen behind fades towards its own background, in either scheme.
        T.Overlay.modal: Rectangle {
            readonly property color fade: Resources.colors.MainBackground
            color: Qt.rgba(fade.r, fade.g, fade.b, 0.7)
        }

        background: Rectangle {
            radius: Units.radius
            color: Resources.colors.MainBackground
            border.width: 1
            border.color: Resources.colors.SecondaryBackground
        }

        header: Label {
            text: alert.title
            padding: Units.margin
            bottomPadding: 0
            font.pixelSize: Units.titleText
            font.family: Resources.fontFamily
            font.bold: true
            color: Resources.colors.MainTextColor
            horizontalAlignment: Text.AlignLeft
            LayoutMirroring.enabled: host.mirrored
            wrapMode: Text.Wrap
            textFormat: Text.PlainText
            Accessible.ignored: true
        }

        contentItem: Label {
            Accessible.role: Accessible.AlertMessage
            Accessible.name: alert.title
            Accessible.description: text
            text: host.model.alertMessage
            font.pixelSize: Units.bodyText
            font.family: Resources.fontFamily
            color: Resources.colors.MainTextColor
            horizontalAlignment: Text.AlignLeft
            LayoutMirroring.enabled: host.mirrored
            wrapMode: Text.Wrap
            textFormat: Text.PlainText
        }

        // A plain row: a button box is announced as a tab list.
        footer: Item {
            implicitHeight: okButton.implicitHeight + 16
            LayoutMirroring.enabled: host.mirrored
            LayoutMirroring.childrenInherit: true

            // The alert goes as with OK, but focus is left to the phone view.
            PlainButton {
                id: phoneButton
                objectName: "alertPayWithPhoneButton"
                anchors.right: okButton.left
                anchors.rightMargin: Units.gap
                anchors.top: parent.top
                text: phoneTexts.title
                onActivated: {
                    host.focusBeforeAlert = null
                    host.model.toggleBankAppNotFoundError()
                    host.payWithPhoneRequested()
                }
                Keys.onEscapePressed: okButton.clicked()
                PhonePayment {
                    id: phoneTexts
                    model: host.model
                }
            }

            Button {
                id: okButton
                objectName: "alertOkButton"
                anchors.right: parent.right
                anchors.rightMargin: Units.margin
                anchors.top: parent.top
                text: host.model.alertButton
                font.pixelSize: Units.bodyText
                font.family: Resources.fontFamily
                leftPadding: Units.margin
                rightPadding: Units.margin
                contentItem: Text {
                    text: okButton.text
                    textFormat: Text.PlainText
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
                    border.width: okButton.visualFocus ? 2 : Resources.accented ? 1 : 0
                    border.color: Resources.focusColor
                }
                Accessible.role: Accessible.Button
                Accessible.name: text
                // Only while the alert is up: a press that arrives twice
                // (pointer and assistive tool) must not bring it back.
                onClicked: {
                    if (host.wanted)
                        host.model.toggleBankAppNotFoundError()
                }
                // With the accessible properties set here, an assistive tool's
                // Press lands on them and no longer reaches the button itself.
                Accessible.onPressAction: clicked()
                Keys.onReturnPressed: clicked()
                Keys.onEnterPressed: clicked()
                Keys.onEscapePressed: clicked()
            }
        }
    }
}
