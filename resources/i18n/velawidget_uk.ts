<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="uk">
<context>
    <name>VelaWidget</name>
    <message>
        <source>LS.VelaWidget.emptyText</source>
        <extracomment>Message in the bank list when no bank name contains the search text.</extracomment>
        <translation>Немає банків за вашим запитом</translation>
    </message>
    <message>
        <source>LS.VelaWidget.emptyBankListFetchingResult</source>
        <extracomment>Message in the bank list when the list of banks could not be downloaded and none was kept from before. The Retry button stands right below it.</extracomment>
        <translation>Не вдалося завантажити список банків. Перевірте підключення до інтернету й спробуйте ще раз.</translation>
    </message>
    <message>
        <source>LS.VelaWidget.searchPlaceholderText</source>
        <extracomment>Placeholder of the search field above the bank list.</extracomment>
        <translation>Знайдіть свій банк</translation>
    </message>
    <message>
        <source>LS.VelaWidget.error</source>
        <extracomment>Title of the alert shown when the chosen bank&apos;s app could not be opened.</extracomment>
        <translation>Помилка</translation>
    </message>
    <message>
        <source>LS.VelaWidget.openUrlError</source>
        <extracomment>Message of the alert shown when the chosen bank&apos;s app could not be opened.</extracomment>
        <translation>Не вдалося відкрити застосунок банку. Установіть його або виберіть інший банк.</translation>
    </message>
    <message>
        <source>LS.VelaWidget.ok</source>
        <extracomment>The one button of that alert; it closes the alert.</extracomment>
        <translation>OK</translation>
    </message>
    <message>
        <source>LS.VelaWidget.qrDescriptionText</source>
        <extracomment>Explanation under the logo for a one-off payment (QR link).</extracomment>
        <translation>Виберіть банк, через який хочете заплатити. Відкриється застосунок банку з уже заповненими даними платежу.</translation>
    </message>
    <message>
        <source>LS.VelaWidget.subDescriptionText</source>
        <extracomment>Explanation under the logo for a subscription link.</extracomment>
        <translation>Виберіть банк, який оплачуватиме цю підписку. Його застосунок відкриється для підтвердження.</translation>
    </message>
    <message>
        <source>LS.VelaWidget.DescriptionText</source>
        <extracomment>Explanation under the logo when the kind of link is not known.</extracomment>
        <translation>Виберіть свій банк.</translation>
    </message>
    <message>
        <source>LS.VelaWidget.selectorTitle</source>
        <extracomment>Title of the selector&apos;s window, also its name for screen readers.</extracomment>
        <translation>Виберіть свій банк</translation>
    </message>
    <message>
        <source>LS.VelaWidget.bankListName</source>
        <extracomment>Name of the bank list for screen readers.</extracomment>
        <translation>Банки</translation>
    </message>
    <message>
        <source>LS.VelaWidget.retry</source>
        <extracomment>Button under the loading-failure message; downloads the bank list again.</extracomment>
        <translation>Повторити</translation>
    </message>
    <message>
        <source>LS.VelaWidget.payWithPhone</source>
        <extracomment>Button under the list and second button of the app-not-found alert; shows the payment as a QR code to scan with a phone. Also the title of that view.</extracomment>
        <translation>Оплатити з телефона</translation>
    </message>
    <message>
        <source>LS.VelaWidget.scanWithPhone</source>
        <extracomment>Line under the QR code.</extracomment>
        <translation>Відскануйте цей код камерою телефона, щоб оплатити</translation>
    </message>
    <message>
        <source>LS.VelaWidget.phoneCodeUnavailable</source>
        <extracomment>Shown instead of the QR code when the payment link is too long for one.</extracomment>
        <translation>Це платіжне посилання задовге, щоб показати його як код.</translation>
    </message>
    <message>
        <source>LS.VelaWidget.back</source>
        <extracomment>Button of the QR view; goes back to the bank list.</extracomment>
        <translation>Назад</translation>
    </message>
    <message>
        <source>LS.VelaWidget.outdatedListNotice</source>
        <extracomment>Quiet line above the bank list when the list could not be downloaded and the one kept from before is shown.</extracomment>
        <translation>Цей список може бути застарілим.</translation>
    </message>
    <message>
        <source>LS.VelaWidget.invalidPaymentLink</source>
        <extracomment>Shown instead of the bank list when the shop handed over a payment link that cannot be paid. The shopper cannot fix it; the shop must start the payment again.</extracomment>
        <translation>Це платіжне посилання недійсне. Поверніться до магазину та почніть оплату знову.</translation>
    </message>
    <message>
        <source>LS.VelaWidget.searchResultCount</source>
        <extracomment>Read out by screen readers once the bank list has followed the search text; never shown. %1 is the number of banks found, 1 or more, so the sentence must read right for any number (a label and the number).</extracomment>
        <translation>Знайдено банків: %1</translation>
    </message>
</context>
</TS>
