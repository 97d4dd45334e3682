<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pt">
<context>
    <name>VelaWidget</name>
    <message>
        <source>LS.VelaWidget.emptyText</source>
        <extracomment>Message in the bank list when no bank name contains the search text.</extracomment>
        <translation>Nenhum banco corresponde à sua pesquisa</translation>
    </message>
    <message>
        <source>LS.VelaWidget.emptyBankListFetchingResult</source>
        <extracomment>Message in the bank list when the list of banks could not be downloaded and none was kept from before. The Retry button stands right below it.</extracomment>
        <translation>Não foi possível carregar a lista de bancos. Verifique sua conexão e tente novamente.</translation>
    </message>
    <message>
        <source>LS.VelaWidget.searchPlaceholderText</source>
        <extracomment>Placeholder of the search field above the bank list.</extracomment>
        <translation>Pesquise seu banco</translation>
    </message>
    <message>
        <source>LS.VelaWidget.error</source>
        <extracomment>Title of the alert shown when the chosen bank&apos;s app could not be opened.</extracomment>
        <translation>Erro</translation>
    </message>
    <message>
        <source>LS.VelaWidget.openUrlError</source>
        <extracomment>Message of the alert shown when the chosen bank&apos;s app could not be opened.</extracomment>
        <translation>Não foi possível abrir o aplicativo do banco. Instale-o ou escolha outro banco.</translation>
    </message>
    <message>
        <source>LS.VelaWidget.ok</source>
        <extracomment>The one button of that alert; it closes the alert.</extracomment>
        <translation>OK</translation>
    </message>
    <message>
        <source>LS.VelaWidget.qrDescriptionText</source>
        <extracomment>Explanation under the logo for a one-off payment (QR link).</extracomment>
        <translation>Escolha o banco com o qual deseja pagar. O aplicativo dele abre com o pagamento já preenchido.</translation>
    </message>
    <message>
        <source>LS.VelaWidget.subDescriptionText</source>
        <extracomment>Explanation under the logo for a subscription link.</extracomment>
        <translation>Escolha o banco que vai pagar esta assinatura. O aplicativo dele abre para você confirmá-la.</translation>
    </message>
    <message>
        <source>LS.VelaWidget.DescriptionText</source>
        <extracomment>Explanation under the logo when the kind of link is not known.</extracomment>
        <translation>Escolha seu banco.</translation>
    </message>
    <message>
        <source>LS.VelaWidget.selectorTitle</source>
        <extracomment>Title of the selector&apos;s window, also its name for screen readers.</extracomment>
        <translation>Escolha seu banco</translation>
    </message>
    <message>
        <source>LS.VelaWidget.bankListName</source>
        <extracomment>Name of the bank list for screen readers.</extracomment>
        <translation>Bancos</translation>
    </message>
    <message>
        <source>LS.VelaWidget.retry</source>
        <extracomment>Button under the loading-failure message; downloads the bank list again.</extracomment>
        <translation>Tentar novamente</translation>
    </message>
    <message>
        <source>LS.VelaWidget.payWithPhone</source>
        <extracomment>Button under the list and second button of the app-not-found alert; shows the payment as a QR code to scan with a phone. Also the title of that view.</extracomment>
        <translation>Pague com seu celular</translation>
    </message>
    <message>
        <source>LS.VelaWidget.scanWithPhone</source>
        <extracomment>Line under the QR code.</extracomment>
        <translation>Escaneie este código com a câmera do seu celular para pagar</translation>
    </message>
    <message>
        <source>LS.VelaWidget.phoneCodeUnavailable</source>
        <extracomment>Shown instead of the QR code when the payment link is too long for one.</extracomment>
        <translation>Este link de pagamento é longo demais para ser exibido como código.</translation>
    </message>
    <message>
        <source>LS.VelaWidget.back</source>
        <extracomment>Button of the QR view; goes back to the bank list.</extracomment>
        <translation>Voltar</translation>
    </message>
    <message>
        <source>LS.VelaWidget.outdatedListNotice</source>
        <extracomment>Quiet line above the bank list when the list could not be downloaded and the one kept from before is shown.</extracomment>
        <translation>Esta lista pode estar desatualizada.</translation>
    </message>
    <message>
        <source>LS.VelaWidget.invalidPaymentLink</source>
        <extracomment>Shown instead of the bank list when the shop handed over a payment link that cannot be paid. The shopper cannot fix it; the shop must start the payment again.</extracomment>
        <translation>Este link de pagamento não é válido. Volte para a loja e inicie o pagamento novamente.</translation>
    </message>
    <message>
        <source>LS.VelaWidget.searchResultCount</source>
        <extracomment>Read out by screen readers once the bank list has followed the search text; never shown. %1 is the number of banks found, 1 or more, so the sentence must read right for any number (a label and the number).</extracomment>
        <translation>Bancos encontrados: %1</translation>
    </message>
</context>
</TS>
