<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es">
<context>
    <name>VelaWidget</name>
    <message>
        <source>LS.VelaWidget.emptyText</source>
        <extracomment>Message in the bank list when no bank name contains the search text.</extracomment>
        <translation>Ningún banco coincide con tu búsqueda</translation>
    </message>
    <message>
        <source>LS.VelaWidget.emptyBankListFetchingResult</source>
        <extracomment>Message in the bank list when the list of banks could not be downloaded and none was kept from before. The Retry button stands right below it.</extracomment>
        <translation>No se pudo cargar la lista de bancos. Comprueba tu conexión y vuelve a intentarlo.</translation>
    </message>
    <message>
        <source>LS.VelaWidget.searchPlaceholderText</source>
        <extracomment>Placeholder of the search field above the bank list.</extracomment>
        <translation>Busca tu banco</translation>
    </message>
    <message>
        <source>LS.VelaWidget.error</source>
        <extracomment>Title of the alert shown when the chosen bank&apos;s app could not be opened.</extracomment>
        <translation>Error</translation>
    </message>
    <message>
        <source>LS.VelaWidget.openUrlError</source>
        <extracomment>Message of the alert shown when the chosen bank&apos;s app could not be opened.</extracomment>
        <translation>No se pudo abrir la app del banco. Instálala o elige otro banco.</translation>
    </message>
    <message>
        <source>LS.VelaWidget.ok</source>
        <extracomment>The one button of that alert; it closes the alert.</extracomment>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>LS.VelaWidget.qrDescriptionText</source>
        <extracomment>Explanation under the logo for a one-off payment (QR link).</extracomment>
        <translation>Elige el banco con el que quieres pagar. Su app se abrirá con los datos del pago ya rellenados.</translation>
    </message>
    <message>
        <source>LS.VelaWidget.subDescriptionText</source>
        <extracomment>Explanation under the logo for a subscription link.</extracomment>
        <translation>Elige el banco que pagará esta suscripción. Su app se abrirá para confirmarla.</translation>
    </message>
    <message>
        <source>LS.VelaWidget.DescriptionText</source>
        <extracomment>Explanation under the logo when the kind of link is not known.</extracomment>
        <translation>Elige tu banco.</translation>
    </message>
    <message>
        <source>LS.VelaWidget.selectorTitle</source>
        <extracomment>Title of the selector&apos;s window, also its name for screen readers.</extracomment>
        <translation>Elige tu banco</translation>
    </message>
    <message>
        <source>LS.VelaWidget.bankListName</source>
        <extracomment>Name of the bank list for screen readers.</extracomment>
        <translation>Bancos</translation>
    </message>
    <message>
        <source>LS.VelaWidget.retry</source>
        <extracomment>Button under the loading-failure message; downloads the bank list again.</extracomment>
        <translation>Reintentar</translation>
    </message>
    <message>
        <source>LS.VelaWidget.payWithPhone</source>
        <extracomment>Button under the list and second button of the app-not-found alert; shows the payment as a QR code to scan with a phone. Also the title of that view.</extracomment>
        <translation>Paga con tu móvil</translation>
    </message>
    <message>
        <source>LS.VelaWidget.scanWithPhone</source>
        <extracomment>Line under the QR code.</extracomment>
        <translation>Escanea este código con la cámara de tu móvil para pagar</translation>
    </message>
    <message>
        <source>LS.VelaWidget.phoneCodeUnavailable</source>
        <extracomment>Shown instead of the QR code when the payment link is too long for one.</extracomment>
        <translation>Este enlace de pago es demasiado largo para mostrarlo como código.</translation>
    </message>
    <message>
        <source>LS.VelaWidget.back</source>
        <extracomment>Button of the QR view; goes back to the bank list.</extracomment>
        <translation>Atrás</translation>
    </message>
    <message>
        <source>LS.VelaWidget.outdatedListNotice</source>
        <extracomment>Quiet line above the bank list when the list could not be downloaded and the one kept from before is shown.</extracomment>
        <translation>Es posible que esta lista no esté actualizada.</translation>
    </message>
    <message>
        <source>LS.VelaWidget.invalidPaymentLink</source>
        <extracomment>Shown instead of the bank list when the shop handed over a payment link that cannot be paid. The shopper cannot fix it; the shop must start the payment again.</extracomment>
        <translation>Este enlace de pago no es válido. Vuelve a la tienda e inicia el pago de nuevo.</translation>
    </message>
    <message>
        <source>LS.VelaWidget.searchResultCount</source>
        <extracomment>Read out by screen readers once the bank list has followed the search text; never shown. %1 is the number of banks found, 1 or more, so the sentence must read right for any number (a label and the number).</extracomment>
        <translation>Bancos encontrados: %1</translation>
    </message>
</context>
</TS>
