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
        <extracomment>Message in the bank list when the list of banks could not be downloaded and none was kept from before.</extracomment>
        <translation>无法加载银行列表，请稍后重试。</translation>
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
</context>
</TS>
