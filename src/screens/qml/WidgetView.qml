import QtQuick
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
    // The alert's dialog, once it has been needed.
    readonly property QtObject alert: alertHost.item ? alertHost.item.dialog : null // qmllint disable type

    signal dismissRequested()

    implicitWidth: 390
    implicitHeight: 720

    Accessible.role: Accessible.Pane
    Accessible.name: root.model.selectorTitle

    LayoutMirroring.enabled: Qt.application.layoutDirection === Qt.RightToLeft // qmllint disable type
    LayoutMirroring.childrenInherit: true

    Rectangle {
        anchors.fill: parent
        color: Resources.colors.MainBackground
    }

    // The content column, 16 from every edge and 16 between its parts; the
    // list takes the height the others leave. Plain anchors: a layout would
    // cost the first frame a module import for four fixed children.
    Item {
        anchors.fill: parent
        anchors.margins: 16

        Image {
            id: logo
            objectName: "velaLogo"
            anchors.top: parent.top
            anchors.topMargin: 8
            anchors.horizontalCenter: parent.horizontalCenter
            source: Resources.image(root.darkScheme ? "vela_logo_dark_mode" : "vela_logo")
            Accessible.role: Accessible.Graphic
            Accessible.ignored: true
        }

        Text {
            id: explanation
            objectName: "explanation"
            anchors.top: logo.bottom
            anchors.topMargin: 16
            width: parent.width
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
            anchors.top: explanation.bottom
            anchors.topMargin: 16
            width: parent.width
            model: root.model.bankList
            focus: true
            Keys.onDownPressed: bankList.list.forceActiveFocus(Qt.TabFocusReason)
        }

        BankListView {
            id: bankList
            anchors.top: search.bottom
            anchors.topMargin: 16
            anchors.bottom: parent.bottom
            width: parent.width
            model: root.model.bankList
            // The button goes with the message; typing carries on in the search field.
            onRetryRequested: {
                root.model.retryBankList()
                search.focusField()
            }
        }
    }

    Shortcut {
        sequences: [StandardKey.Find] // qmllint disable unqualified
        onActivated: search.focusField()
    }

    Shortcut {
        sequence: "Esc"
        enabled: !(root.alert && root.alert.visible) // qmllint disable type
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
            alertHost.active = true
            alertHost.item.show() // qmllint disable type
        } else if (root.alert) {
            root.alert.close()
        }
    }

    Loader {
        id: alertHost
        anchors.fill: parent
        active: false
        source: "AlertDialog.qml"
        onLoaded: item.model = Qt.binding(() => root.model)
    }
}
