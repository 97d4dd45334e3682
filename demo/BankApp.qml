import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts

// The stand-in for a bank's app: shows which bank got which payment link.
ApplicationWindow {
    width: 520
    height: 200
    visible: true
    title: "Bank app: " + scheme

    required property string scheme
    required property string link

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 16
        Label { text: "The app of bank \u201c" + scheme + "\u201d received the payment:"; font.bold: true }
        TextArea {
            Layout.fillWidth: true
            Layout.fillHeight: true
            readOnly: true
            wrapMode: TextEdit.WrapAnywhere
            text: link
        }
        Button { text: "Close"; onClicked: Qt.quit() }
    }
}
