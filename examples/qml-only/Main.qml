import QtQuick
import QtQuick.Controls.Basic
import VelaWidget

// The shop: a payment link and a Pay button. The bank selector is a
// WidgetView in a window of the shop's own, fed by the kit's shared model.
ApplicationWindow {
    id: shop

    required property string paymentLink

    width: 480
    height: 180
    visible: true
    title: "QML shop"

    // A link the kit refuses leaves no payment to make: the selector, if
    // open, says so and opens nothing until a valid link is prepared.
    function pay() {
        if (!SharedSelector.model.prepare(linkField.text))
            return
        payment.show()
        payment.raise()
        payment.requestActivate()
    }

    Column {
        anchors.fill: parent
        anchors.margins: 16
        spacing: 12

        TextField {
            id: linkField
            width: parent.width
            text: shop.paymentLink
            selectByMouse: true
            Accessible.name: "Payment link"
            onAccepted: shop.pay()
        }

        Button {
            text: "Pay"
            onClicked: shop.pay()
        }

        Label {
            visible: view.linkRejected
            text: "The payment link was rejected"
        }
    }

    Window {
        id: payment

        width: 390
        height: 720
        title: "Payment"

        WidgetView {
            id: view

            anchors.fill: parent
            model: SharedSelector.model
            // Close the window, not just the view: a hidden view leaves an empty window.
            onDismissRequested: payment.close()
            onPaymentLinkRejected: (link) => console.warn("not a payment link:", link)
            onFinished: (result) => console.log("selector: " + result.outcome
                                                + (result.bankName ? " " + result.bankName : ""))
        }
    }
}
