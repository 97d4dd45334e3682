<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_Hans">
<context>
    <name>VelaWidget</name>
    <message>
        <source>LS.VelaWidget.emptyText</source>
        <extracomment>Message in the bank list when no bank name contains the search text.</extracomment>
        <translation>没有与您的搜索匹配的银行</translation>
    </message>
    <message>
        <source>LS.VelaWidget.emptyBankListFetchingResult</source>
        <extracomment>Message in the bank list when the list of banks could not be downloaded and none was kept from before. The Retry button stands right below it.</extracomment>
        <translation>无法加载银行列表。请检查网络连接后重试。</translation>
    </message>
    <message>
        <source>LS.VelaWidget.searchPlaceholderText</source>
        <extracomment>Placeholder of the search field above the bank list.</extracomment>
        <translation>搜索您的银行</translation>
    </message>
    <message>
        <source>LS.VelaWidget.error</source>
        <extracomment>Title of the alert shown when the chosen bank&apos;s app could not be opened.</extracomment>
        <translation>错误</translation>
    </message>
    <message>
        <source>LS.VelaWidget.openUrlError</source>
        <extracomment>Message of the alert shown when the chosen bank&apos;s app could not be opened.</extracomment>
        <translation>无法打开该银行的应用。请安装该应用或选择其他银行。</translation>
    </message>
    <message>
        <source>LS.VelaWidget.ok</source>
        <extracomment>The one button of that alert; it closes the alert.</extracomment>
        <translation>确定</translation>
    </message>
    <message>
        <source>LS.VelaWidget.qrDescriptionText</source>
        <extracomment>Explanation under the logo for a one-off payment (QR link).</extracomment>
        <translation>请选择您要用来付款的银行。其应用将打开，付款信息已填好。</translation>
    </message>
    <message>
        <source>LS.VelaWidget.subDescriptionText</source>
        <extracomment>Explanation under the logo for a subscription link.</extracomment>
        <translation>请选择为此订阅付款的银行。其应用将打开以供您确认。</translation>
    </message>
    <message>
        <source>LS.VelaWidget.DescriptionText</source>
        <extracomment>Explanation under the logo when the kind of link is not known.</extracomment>
        <translation>请选择您的银行。</translation>
    </message>
    <message>
        <source>LS.VelaWidget.selectorTitle</source>
        <extracomment>Title of the selector&apos;s window, also its name for screen readers.</extracomment>
        <translation>选择您的银行</translation>
    </message>
    <message>
        <source>LS.VelaWidget.bankListName</source>
        <extracomment>Name of the bank list for screen readers.</extracomment>
        <translation>银行</translation>
    </message>
    <message>
        <source>LS.VelaWidget.retry</source>
        <extracomment>Button under the loading-failure message; downloads the bank list again.</extracomment>
        <translation>重试</translation>
    </message>
    <message>
        <source>LS.VelaWidget.payWithPhone</source>
        <extracomment>Button under the list and second button of the app-not-found alert; shows the payment as a QR code to scan with a phone. Also the title of that view.</extracomment>
        <translation>用手机支付</translation>
    </message>
    <message>
        <source>LS.VelaWidget.scanWithPhone</source>
        <extracomment>Line under the QR code.</extracomment>
        <translation>请用手机相机扫描此二维码完成支付</translation>
    </message>
    <message>
        <source>LS.VelaWidget.phoneCodeUnavailable</source>
        <extracomment>Shown instead of the QR code when the payment link is too long for one.</extracomment>
        <translation>此支付链接过长，无法显示为二维码。</translation>
    </message>
    <message>
        <source>LS.VelaWidget.back</source>
        <extracomment>Button of the QR view; goes back to the bank list.</extracomment>
        <translation>返回</translation>
    </message>
    <message>
        <source>LS.VelaWidget.outdatedListNotice</source>
        <extracomment>Quiet line above the bank list when the list could not be downloaded and the one kept from before is shown.</extracomment>
        <translation>此列表可能不是最新的。</translation>
    </message>
    <message>
        <source>LS.VelaWidget.invalidPaymentLink</source>
        <extracomment>Shown instead of the bank list when the shop handed over a payment link that cannot be paid. The shopper cannot fix it; the shop must start the payment again.</extracomment>
        <translation>此支付链接无效。请返回商店重新发起支付。</translation>
    </message>
    <message>
        <source>LS.VelaWidget.searchResultCount</source>
        <extracomment>Read out by screen readers once the bank list has followed the search text; never shown. %1 is the number of banks found, 1 or more, so the sentence must read right for any number (a label and the number).</extracomment>
        <translation>找到的银行：%1</translation>
    </message>
</context>
</TS>
