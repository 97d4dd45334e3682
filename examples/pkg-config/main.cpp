// A data-only host: the banks for a payment link, each with its link.
// usage: banks LINK [ADDRESS:PORT CA-FILE]  |  banks --version
#include <velawidget/curl/CurlHttpClient.h>
#include <velawidget/platform/RunLoop.h>
#include <velawidget/velawidget.h>

#include <iostream>
#include <string_view>

int main(int argc, char** argv) {
    if (argc == 2 && std::string_view(argv[1]) == "--version") {
        // The headers' version, then the linked library's own.
        std::cout << "VelaWidget " << VELAWIDGET_VERSION_MAJOR << '.' << VELAWIDGET_VERSION_MINOR
                  << '.' << VELAWIDGET_VERSION_PATCH << ", library "
                  << velawidget::VelaWidgetVersionNumber << '\n';
        return 0;
    }
    if (argc != 2 && argc != 4)
        return std::cerr << "usage: banks LINK [ADDRESS:PORT CA-FILE]\n", 64;

    velawidget::curl::CurlHttpClientOptions http;
    if (argc == 4) http.connectTo = argv[2], http.caFile = argv[3];
    auto loop = std::make_shared<velawidget::RunLoop>();
    velawidget::installPlatform({.http = std::make_shared<velawidget::curl::CurlHttpClient>(http),
                                 .mainQueue = loop,
                                 .scheduler = loop});
    int status = 1;
    try {
        velawidget::VelaWidgetSDK::shared().bankList(
            argv[1], loop, [&](velawidget::BankListResult result) {
                if (result) {
                    for (auto& bank : result.value())
                        std::cout << bank->name() << " " << bank->dboLink() << "\n";
                    status = 0;
                } else {
                    std::cerr << make_error_code(result.error()).message() << '\n';
                }
                loop->stop();
            });
    } catch (const std::system_error& error) {
        return std::cerr << error.code().message() << '\n', 2;
    }
    loop->run();
    return status;
}
