<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>VelaWidget</name>
    <message>
        <source>LS.VelaWidget.emptyText</source>
        <extracomment>Message in the bank list when no bank name contains the search text.</extracomment>
        <translation>Keine Bank passt zu Ihrer Suche</translation>
    </message>
    <message>
        <source>LS.VelaWidget.emptyBankListFetchingResult</source>
        <extracomment>Message in the bank list when the list of banks could not be downloaded and none was kept from before. The Retry button stands right below it.</extracomment>
        <translation>Die Liste der Banken konnte nicht geladen werden. Prüfen Sie Ihre Internetverbindung und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>LS.VelaWidget.searchPlaceholderText</source>
        <extracomment>Placeholder of the search field above the bank list.</extracomment>
        <translation>Bank suchen</translation>
    </message>
    <message>
        <source>LS.VelaWidget.error</source>
        <extracomment>Title of the alert shown when the chosen bank&apos;s app could not be opened.</extracomment>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>LS.VelaWidget.openUrlError</source>
        <extracomment>Message of the alert shown when the chosen bank&apos;s app could not be opened.</extracomment>
        <translation>Die App der Bank konnte nicht geöffnet werden. Bitte installieren Sie sie oder wählen Sie eine andere Bank.</translation>
    </message>
    <message>
        <source>LS.VelaWidget.ok</source>
        <extracomment>The one button of that alert; it closes the alert.</extracomment>
        <translation>OK</translation>
    </message>
    <message>
        <source>LS.VelaWidget.qrDescriptionText</source>
        <extracomment>Explanation under the logo for a one-off payment (QR link).</extracomment>
        <translation>Wählen Sie die Bank, mit der Sie bezahlen möchten. Die App der Bank öffnet sich mit den bereits ausgefüllten Zahlungsdaten.</translation>
    </message>
    <message>
        <source>LS.VelaWidget.subDescriptionText</source>
        <extracomment>Explanation under the logo for a subscription link.</extracomment>
        <translation>Wählen Sie die Bank, die dieses Abonnement bezahlt. Die App der Bank öffnet sich zur Bestätigung.</translation>
    </message>
    <message>
        <source>LS.VelaWidget.DescriptionText</source>
        <extracomment>Explanation under the logo when the kind of link is not known.</extracomment>
        <translation>Wählen Sie Ihre Bank.</translation>
    </message>
    <message>
        <source>LS.VelaWidget.selectorTitle</source>
        <extracomment>Title of the selector&apos;s window, also its name for screen readers.</extracomment>
        <translation>Bank auswählen</translation>
    </message>
    <message>
        <source>LS.VelaWidget.bankListName</source>
        <extracomment>Name of the bank list for screen readers.</extracomment>
        <translation>Banken</translation>
    </message>
    <message>
        <source>LS.VelaWidget.retry</source>
        <extracomment>Button under the loading-failure message; downloads the bank list again.</extracomment>
        <translation>Erneut versuchen</translation>
    </message>
    <message>
        <source>LS.VelaWidget.payWithPhone</source>
        <extracomment>Button under the list and second button of the app-not-found alert; shows the payment as a QR code to scan with a phone. Also the title of that view.</extracomment>
        <translation>Mit dem Handy bezahlen</translation>
    </message>
    <message>
        <source>LS.VelaWidget.scanWithPhone</source>
        <extracomment>Line under the QR code.</extracomment>
        <translation>Scannen Sie diesen Code mit der Kamera Ihres Handys, um zu bezahlen</translation>
    </message>
    <message>
        <source>LS.VelaWidget.phoneCodeUnavailable</source>
        <extracomment>Shown instead of the QR code when the payment link is too long for one.</extracomment>
        <translation>Dieser Zahlungslink ist zu lang, um als Code angezeigt zu werden.</translation>
    </message>
    <message>
        <source>LS.VelaWidget.back</source>
        <extracomment>Button of the QR view; goes back to the bank list.</extracomment>
        <translation>Zurück</translation>
    </message>
    <message>
        <source>LS.VelaWidget.outdatedListNotice</source>
        <extracomment>Quiet line above the bank list when the list could not be downloaded and the one kept from before is shown.</extracomment>
        <translation>Diese Liste ist möglicherweise nicht aktuell.</translation>
    </message>
    <message>
        <source>LS.VelaWidget.invalidPaymentLink</source>
        <extracomment>Shown instead of the bank list when the shop handed over a payment link that cannot be paid. The shopper cannot fix it; the shop must start the payment again.</extracomment>
        <translation>Dieser Zahlungslink ist ungültig. Bitte kehren Sie zum Shop zurück und starten Sie die Zahlung erneut.</translation>
    </message>
    <message>
        <source>LS.VelaWidget.searchResultCount</source>
        <extracomment>Read out by screen readers once the bank list has followed the search text; never shown. %1 is the number of banks found, 1 or more, so the sentence must read right for any number (a label and the number).</extracomment>
        <translation>Gefundene Banken: %1</translation>
    </message>
</context>
</TS>
