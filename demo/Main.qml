import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts

// The demo host: a payment link, the three ways to use the kit, and the
// data-only query's answer as a table.
ApplicationWindow {
    id: window
    width: 720
    height: 640
    visible: true
    title: "VelaWidget demo"

    // The demo's DemoHost and the link to start with (--link), handed in by main().
    required property QtObject host
    required property string initialLink
    // The selector's language at start (--locale), for the language menu.
    required property string initialLocale

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 16
        spacing: 12

        Label { text: "Payment link"; font.bold: true }
        TextField {
            id: link
            objectName: "linkField"
            Layout.fillWidth: true
            text: window.initialLink
            selectByMouse: true
            Accessible.name: "Payment link"
        }
        RowLayout {
            spacing: 8
            Button { text: "QR sample"; onClicked: link.text = window.host.qrSample }
            Button { text: "Subscription sample"; onClicked: link.text = window.host.subSample }
            // Switches shown selectors too, at once.
            ComboBox {
                objectName: "language"
                Accessible.name: "Selector language"
                textRole: "name"
                valueRole: "code"
                model: [{code: "en", name: "English"}, {code: "de", name: "Deutsch"},
                        {code: "ar", name: "العربية"}, {code: "uk", name: "Українська"},
                        {code: "zh_Hans", name: "简体中文"}]
                Component.onCompleted: currentIndex = Math.max(0, indexOfValue(window.initialLocale))
                onActivated: window.host.setLocale(currentValue)
            }
        }
        RowLayout {
            spacing: 8
            Button {
                objectName: "chooseBank"
                text: "Choose bank"
                highlighted: true
                onClicked: window.host.chooseBank(link.text)
            }
            Button {
                text: "Show selector in window"
                onClicked: window.host.showSelector(link.text)
            }
            Button {
                text: "List banks"
                onClicked: window.host.listBanks(link.text)
            }
        }
        Label {
            objectName: "status"
            text: window.host.status
            color: "#555"
        }
        ListView {
            Layout.fillWidth: true
            Layout.fillHeight: true
            clip: true
            model: window.host.banks
            ScrollBar.vertical: ScrollBar {}
            header: RowLayout {
                width: ListView.view.width
                Label { text: "Bank"; font.bold: true; Layout.preferredWidth: 220 }
                Label { text: "Link"; font.bold: true; Layout.fillWidth: true }
            }
            delegate: RowLayout {
                required property var modelData
                required property int index
                width: ListView.view.width
                // Choosing here records the bank as the selector would.
                Button {
                    text: modelData.name
                    flat: true
                    Layout.preferredWidth: 220
                    onClicked: window.host.recordChosen(index)
                }
                Label {
                    text: modelData.link
                    Layout.fillWidth: true
                    elide: Text.ElideMiddle
                    font.family: "monospace"
                }
            }
        }
    }
}
