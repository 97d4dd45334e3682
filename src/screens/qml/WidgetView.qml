import QtQuick
import VelaWidget

// The bank selector: the payment system's logo, the explanation for the
// link's kind, the search bar and the bank list. It asks to be closed when a
// bank's app was opened (and on Escape), and shows the alert while the model
// says a bank's app could not be opened.
FocusScope {
    id: root

    // Given by whoever makes the screen: the selector front end for its
    // windows, `SharedSelector.model` in a QML host.
    required property WidgetViewBridge model
    // The scheme in force, the platform's or the one forced through
    // `SharedSelector.colorScheme`: a view draws in the scheme every other
    // selector draws in, so this only reports it.
    readonly property bool darkScheme: Resources.darkScheme
    readonly property alias searchField: search
    // The alert is up; made on first need, it says so itself.
    property bool alertShown: false
    // The QR code of the payment link covers the list while this holds.
    readonly property bool showsPhonePayment: phoneHost.item !== null

    // Up on a visible window: each such showing ends in one `finished`.
    readonly property bool showing: visible && Window.visibility !== Window.Hidden
    // The last link prepared was not a payment link: no bank is offered.
    readonly property bool linkRejected: root.model.linkRejected

    signal dismissRequested()
    // `model.prepare(paymentURL)` refused the text; the screen says so.
    signal paymentLinkRejected(string paymentURL)
    // How a showing ended: {outcome, bankName, link, webClient}.
    signal finished(var result)
    // What happens in the selector, for analytics: {kind, count, textLength, fromCache, ...}.
    signal selectorEvent(var event)

    implicitWidth: 390
    implicitHeight: 720

    Accessible.role: Accessible.Pane
    Accessible.name: root.model.selectorTitle

    // The kit's language mirrors the selector in any host, and a right-to-left
    // host mirrors it whatever the kit's language.
    LayoutMirroring.enabled: root.model.rightToLeft || Resources.rightToLeftApplication
    LayoutMirroring.childrenInherit: true

    Rectangle {
        objectName: "background"
        anchors.fill: parent
        color: Resources.colors.MainBackground
    }

    // The content column, 16 from every edge and 16 between its parts; the
    // list takes the height the others leave. Plain anchors: a layout would
    // cost the first frame a module import for four fixed children. Hidden
    // under the phone view, so neither the pointer nor a screen reader finds it.
    Item {
        anchors.fill: parent
        anchors.margins: Units.margin
        visible: !root.showsPhonePayment

        SvgPicture {
            id: logo
            objectName: "velaLogo"
            anchors.top: parent.top
            anchors.topMargin: Units.gap
            anchors.horizontalCenter: parent.horizontalCenter
            source: Resources.image(root.darkScheme ? "vela_logo_dark_mode" : "vela_logo")
            Accessible.role: Accessible.Graphic
            Accessible.ignored: true
        }

        Text {
            id: explanation
            objectName: "explanation"
            anchors.top: logo.bottom
            anchors.topMargin: Units.margin
            width: parent.width
            text: root.model.descriptionText
            textFormat: Text.PlainText
            wrapMode: Text.Wrap
            horizontalAlignment: Text.AlignHCenter
            font.pixelSize: Units.bodyText
            font.family: Resources.fontFamily
            font.weight: Font.Normal
            color: Resources.colors.MainTextColor
            Accessible.role: Accessible.StaticText
            Accessible.name: text
        }

        SearchField {
            id: search
            anchors.top: explanation.bottom
            anchors.topMargin: Units.margin
            width: parent.width
            model: root.model.bankList
            focus: true
            Keys.onDownPressed: bankList.list.forceActiveFocus(Qt.TabFocusReason)
        }

        BankListView {
            id: bankList
            anchors.top: search.bottom
            anchors.topMargin: Units.margin
            anchors.bottom: phoneAction.top
            anchors.bottomMargin: Units.gap
            width: parent.width
            model: root.model.bankList
            // The button goes with the message; typing carries on in the search field.
            onRetryRequested: {
                root.model.retryBankList()
                search.focusField()
            }
            onLeftAtTop: search.focusField()
        }

        // Bank apps are rare on a desktop: the shopper can pay from a phone instead.
        PlainButton {
            id: phoneAction
            objectName: "payWithPhoneButton"
            anchors.bottom: parent.bottom
            anchors.horizontalCenter: parent.horizontalCenter
            implicitHeight: Units.buttonHeight
            text: phone.title
            // A rejected link has no code to show.
            visible: !root.linkRejected
            onActivated: root.showPhonePayment()
        }
    }

    PhonePayment {
        id: phone
        model: root.model
    }

    Shortcut {
        sequences: [StandardKey.Find] // qmllint disable unqualified
        onActivated: search.focusField()
    }

    Shortcut {
        sequence: "Esc"
        enabled: !root.alertShown && !root.showsPhonePayment
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
        function onFinished(result) {
            root.finished(result)
        }
        function onSelectorEvent(event) {
            root.selectorEvent(event)
        }
        function onPaymentLinkRejected(paymentURL) {
            root.paymentLinkRejected(paymentURL)
        }
    }
    onModelChanged: syncAlert()
    onShowingChanged: root.followShowing()
    Component.onCompleted: {
        syncAlert()
        root.followShowing()
    }

    // Typing goes to the search from the moment the screen is up, whether
    // or not the host gave it focus.
    function followShowing() {
        root.model.setShowing(root.showing)
        if (root.showing && !root.showsPhonePayment)
            search.focusField()
    }
    Component.onDestruction: root.model.setShowing(false)

    // Made when the flag is first raised; from then on the alert follows the
    // flag by itself.
    function syncAlert() {
        if (root.model && root.model.bankAppNotFoundError)
            alertHost.active = true
    }

    Loader {
        id: alertHost
        anchors.fill: parent
        active: false
        source: "AlertDialog.qml"
        onLoaded: item.model = Qt.binding(() => root.model)
    }

    Connections {
        target: alertHost.item
        function onPayWithPhoneRequested() {
            root.showPhonePayment()
        }
        function onShownChanged(shown) {
            root.alertShown = shown
        }
    }

    // Made on each opening and dropped on the way back: nothing of it stays
    // alive behind the list.
    function showPhonePayment() {
        if (!root.showsPhonePayment)
            phoneHost.setSource("PayByPhoneView.qml", {payment: phone})
        phoneHost.item.forceActiveFocus(Qt.OtherFocusReason) // qmllint disable
    }

    function hidePhonePayment() {
        phoneHost.source = ""
        search.focusField()
    }

    Loader {
        id: phoneHost
        anchors.fill: parent
    }

    Connections {
        target: phoneHost.item
        // Later, so the view is not dropped inside its own handler.
        function onBackRequested() {
            Qt.callLater(root.hidePhonePayment) // qmllint disable
        }
    }
}
