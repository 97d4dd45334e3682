<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>VelaWidget</name>
    <message>
        <source>LS.VelaWidget.emptyText</source>
        <translation>No banks match your search</translation>
    </message>
    <message>
        <source>LS.VelaWidget.emptyBankListFetchingResult</source>
        <translation>The list of banks could not be loaded. Please try again later.</translation>
    </message>
    <message>
        <source>LS.VelaWidget.searchPlaceholderText</source>
        <translation>Search for your bank</translation>
    </message>
    <message>
        <source>LS.VelaWidget.error</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>LS.VelaWidget.openUrlError</source>
        <translation>The bank's app could not be opened. Please install it or choose another bank.</translation>
    </message>
    <message>
        <source>LS.VelaWidget.ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>LS.VelaWidget.qrDescriptionText</source>
        <translation>Choose the bank you want to pay with. Its app opens with the payment filled in.</translation>
    </message>
    <message>
        <source>LS.VelaWidget.subDescriptionText</source>
        <translation>Choose the bank that will pay this subscription. Its app opens to confirm it.</translation>
    </message>
    <message>
        <source>LS.VelaWidget.DescriptionText</source>
        <translation>Choose your bank.</translation>
    </message>
    <message>
        <source>LS.VelaWidget.selectorTitle</source>
        <translation>Choose your bank</translation>
    </message>
    <message>
        <source>LS.VelaWidget.bankListName</source>
        <translation>Banks</translation>
    </message>
    <message>
        <source>LS.VelaWidget.retry</source>
        <translation>Retry</translation>
    </message>
    <message>
        <source>LS.VelaWidget.payWithPhone</source>
        <translation>Pay with your phone</translation>
    </message>
    <message>
        <source>LS.VelaWidget.scanWithPhone</source>
        <translation>Scan this code with your phone&apos;s camera to pay</translation>
    </message>
    <message>
        <source>LS.VelaWidget.phoneCodeUnavailable</source>
        <translation>This payment link is too long to show as a code.</translation>
    </message>
    <message>
        <source>LS.VelaWidget.back</source>
        <translation>Back</translation>
    </message>
</context>
</TS>
