<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>VelaWidget</name>
    <message>
        <source>LS.VelaWidget.emptyText</source>
        <translation>Keine Bank passt zu Ihrer Suche</translation>
    </message>
    <message>
        <source>LS.VelaWidget.emptyBankListFetchingResult</source>
        <translation>Die Liste der Banken konnte nicht geladen werden. Bitte versuchen Sie es später erneut.</translation>
    </message>
    <message>
        <source>LS.VelaWidget.searchPlaceholderText</source>
        <translation>Bank suchen</translation>
    </message>
    <message>
        <source>LS.VelaWidget.error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>LS.VelaWidget.openUrlError</source>
        <translation>Die App der Bank konnte nicht geöffnet werden. Bitte installieren Sie sie oder wählen Sie eine andere Bank.</translation>
    </message>
    <message>
        <source>LS.VelaWidget.ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>LS.VelaWidget.qrDescriptionText</source>
        <translation>Wählen Sie die Bank, mit der Sie bezahlen möchten. Ihre App öffnet sich mit der Zahlung.</translation>
    </message>
    <message>
        <source>LS.VelaWidget.subDescriptionText</source>
        <translation>Wählen Sie die Bank, die dieses Abonnement bezahlt. Ihre App öffnet sich zur Bestätigung.</translation>
    </message>
    <message>
        <source>LS.VelaWidget.DescriptionText</source>
        <translation>Wählen Sie Ihre Bank.</translation>
    </message>
    <message>
        <source>LS.VelaWidget.selectorTitle</source>
        <translation>Bank auswählen</translation>
    </message>
    <message>
        <source>LS.VelaWidget.bankListName</source>
        <translation>Banken</translation>
    </message>
    <message>
        <source>LS.VelaWidget.retry</source>
        <translation>Erneut versuchen</translation>
    </message>
    <message>
        <source>LS.VelaWidget.payWithPhone</source>
        <translation>Mit dem Handy bezahlen</translation>
    </message>
    <message>
        <source>LS.VelaWidget.scanWithPhone</source>
        <translation>Scannen Sie diesen Code mit der Kamera Ihres Handys, um zu bezahlen</translation>
    </message>
    <message>
        <source>LS.VelaWidget.phoneCodeUnavailable</source>
        <translation>Dieser Zahlungslink ist zu lang, um als Code angezeigt zu werden.</translation>
    </message>
    <message>
        <source>LS.VelaWidget.back</source>
        <translation>Zurück</translation>
    </message>
</context>
</TS>
