// A console host: lists the banks for a payment link. The README's data-only
// snippet, whole.
// usage: console-host LINK [ADDRESS:PORT CA-FILE]
#include <velawidget/curl/CurlHttpClient.h>
#include <velawidget/platform/RunLoop.h>
#include <velawidget/velawidget.h>

#include <iostream>

int main(int argc, char** argv) {
    if (argc != 2 && argc != 4)
        return std::cerr << "usage: console-host LINK [ADDRESS:PORT CA-FILE]\n", 64;
    if (argc == 4) {
        // A test server (vela-sandbox): where to connect, which certificate to trust.
        velawidget::curl::CurlHttpClientOptions options;
        options.connectTo = argv[2];
        options.caFile = argv[3];
        velawidget::installPlatform(
            {.http = std::make_shared<velawidget::curl::CurlHttpClient>(options)});
    }

    // The completion runs on this queue: a run loop on the main thread.
    auto queue = std::make_shared<velawidget::RunLoop>();
    int status = 1;
    try {
        velawidget::VelaWidgetSDK::shared().bankList(
            argv[1], queue, [&](const velawidget::BankListReport& report) {
                if (report.result) {
                    for (const auto& bank : report.result.value())
                        std::cout << bank->name() << "  " << bank->dboLink() << '\n';
                    if (report.fromCache) std::cerr << report.message() << '\n';
                    status = 0;
                } else {
                    std::cerr << report.message() << '\n';
                }
                queue->stop();
            });
    } catch (const std::system_error& error) {  // not a payment link
        return std::cerr << error.code().message() << '\n', 2;
    }
    queue->run();  // until the completion stops it
    return status;
}
