import QtQuick
import VelaWidget

// Paying from another device: the payment link as a QR code for the phone's
// camera, over the whole selector. Back (the button or Escape) returns to
// the list. A link too long for a code that scans at the size drawn shows a
// message instead.
FocusScope {
    id: view

    required property PhonePayment payment

    signal backRequested()

    // Once per opening, and only once a code stands on the screen: a link
    // that shows the message instead was never offered to a phone.
    property bool codeReported: false

    function reportCode() {
        if (code.valid && !view.codeReported && view.payment.model) {
            view.codeReported = true
            view.payment.model.reportPhoneCode()
        }
    }

    Component.onCompleted: view.reportCode()

    Accessible.role: Accessible.Pane
    Accessible.name: view.payment.title

    Rectangle {
        anchors.fill: parent
        color: Resources.colors.MainBackground
    }

    Column {
        anchors.centerIn: parent
        width: parent.width - 32
        spacing: Units.margin

        Text {
            objectName: "phoneTitle"
            width: parent.width
            text: view.payment.title
            textFormat: Text.PlainText
            wrapMode: Text.Wrap
            horizontalAlignment: Text.AlignHCenter
            font.pixelSize: Units.titleText
            font.family: Resources.fontFamily
            font.bold: true
            color: Resources.colors.MainTextColor
            Accessible.role: Accessible.Heading
            Accessible.name: text
        }

        // Its own light quiet zone keeps it readable on the dark scheme's background.
        QrCode {
            id: code
            objectName: "phoneCode"
            anchors.horizontalCenter: parent.horizontalCenter
            width: Math.min(parent.width, 320)
            height: width
            visible: valid
            text: view.payment.link
            preferredColor: Resources.colors.MainTextColor
            onValidChanged: view.reportCode()
            Accessible.role: Accessible.Graphic
            Accessible.name: view.payment.scanText
        }

        Text {
            objectName: "phoneMessage"
            width: parent.width
            text: code.valid ? view.payment.scanText : view.payment.unavailableText
            textFormat: Text.PlainText
            wrapMode: Text.Wrap
            horizontalAlignment: Text.AlignHCenter
            font.pixelSize: Units.bodyText
            font.family: Resources.fontFamily
            color: Resources.colors.MainTextColor
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            // The code already says it to a screen reader.
            Accessible.ignored: code.valid
        }

        PlainButton {
            id: back
            objectName: "phoneBackButton"
            anchors.horizontalCenter: parent.horizontalCenter
            text: view.payment.backText
            focus: true
            onActivated: view.backRequested()
        }
    }

    Shortcut {
        sequence: "Esc"
        onActivated: view.backRequested()
    }
}
