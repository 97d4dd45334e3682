#include <velawidget/LoadFailure.h>
#include <velawidget/VelaWidgetSDK.h>
#include <velawidget/curl/CurlHttpClient.h>
#include <velawidget/platform.h>
#include <velawidget/platform/PosixFileStore.h>
#include <velawidget/platform/RunLoop.h>

#include <boost/json/array.hpp>
#include <boost/json/object.hpp>
#include <boost/json/serialize.hpp>
#include <iostream>
#include <memory>
#include <mutex>
#include <optional>
#include <system_error>

#include "Command.h"
#include "TextOutput.h"

namespace vela::banks {
namespace {

void printJson(std::ostream& out, const std::vector<velawidget::VelaWidgetBankPtr>& banks) {
    boost::json::array result;
    result.reserve(banks.size());
    for (const auto& bank : banks) {
        boost::json::object entry;
        entry["name"] = bank->name();
        if (auto logo = bank->logoURL()) {
            entry["logoURL"] = *logo;
        } else {
            entry["logoURL"] = nullptr;
        }
        entry["dboLink"] = bank->dboLink();
        result.push_back(std::move(entry));
    }
    out << printableJson(boost::json::serialize(result)) << '\n';
}

void printReadable(std::ostream& out, const std::vector<velawidget::VelaWidgetBankPtr>& banks) {
    std::vector<std::vector<std::string>> rows{{"#", "name", "dboLink", "logoURL"}};
    std::size_t number = 0;
    for (const auto& bank : banks) {
        const auto logo = bank->logoURL();
        rows.push_back({std::to_string(++number), printable(bank->name()),
                        printable(bank->dboLink()), logo ? printable(*logo) : "(none)"});
    }
    printTable(out, rows);
    out << banks.size() << (banks.size() == 1 ? " bank\n" : " banks\n");
}

/// ": dnsLookup: The payment system's host name could not be resolved." and
/// the status of an error answer.
void printCause(std::ostream& err, const velawidget::BankListReport& report) {
    err << ": " << velawidget::toString(report.cause) << ": " << velawidget::describe(report.cause);
    if (report.cause == velawidget::LoadFailureCause::httpStatus && report.httpStatus != 0) {
        err << " (HTTP " << report.httpStatus << ")";
    }
}

/// The banks are an older list: say so, and why, on stderr, so that --json
/// output stays a document.
void printCacheWarning(std::ostream& err, const velawidget::BankListReport& report) {
    err << "warning: download failed, the banks are the cached list";
    if (report.cacheAge) err << ", saved " << report.cacheAge->count() << " s ago";
    printCause(err, report);
    err << '\n';
}

int runList(const Invocation& call) {
    velawidget::curl::CurlHttpClientOptions httpOptions;
    if (auto file = call.value("--cacert")) httpOptions.caFile = *file;
    httpOptions.connectTo = call.value("--connect-to");
    std::shared_ptr<velawidget::HttpClient> http;
    try {
        http = std::make_shared<velawidget::curl::CurlHttpClient>(std::move(httpOptions));
    } catch (const std::runtime_error& error) {
        call.err << "vela-banks: " << printable(error.what()) << '\n';
        return exit_status::usage;
    }

    std::shared_ptr<velawidget::FileStore> files;
    if (auto directory = call.value("--caches-dir")) {
        files = std::make_shared<velawidget::PosixFileStore>(std::filesystem::path(*directory));
    } else {
        files = std::make_shared<velawidget::PosixFileStore>(
            velawidget::PosixFileStore::defaultDirectory("vela-banks"));
    }
    auto loop = std::make_shared<velawidget::RunLoop>();
    std::mutex sinkMutex;  // lines come from the HTTP worker and the main loop alike
    if (call.has("--verbose")) {
        velawidget::setDebugSink([&err = call.err, &sinkMutex](std::string_view line) {
            std::lock_guard lock(sinkMutex);
            err << printable(line) << '\n';
        });
    }
    velawidget::installPlatform({http, files, loop, loop, nullptr, nullptr});

    std::optional<velawidget::BankListReport> outcome;
    try {
        velawidget::VelaWidgetSDK::shared().bankList(call.operands.front(), loop,
                                                     [&](const velawidget::BankListReport& report) {
                                                         outcome = report;
                                                         loop->stop();
                                                     });
    } catch (const std::system_error& error) {
        call.err << "vela-banks: " << error.code().message() << '\n';
        return exit_status::rejectedLink;
    }
    loop->run();
    velawidget::setDebugSink(nullptr);

    if (!outcome || !outcome->result) {
        call.err << "loadingFaild";
        if (outcome) printCause(call.err, *outcome);
        call.err << '\n';
        return exit_status::loadingFailed;
    }
    if (outcome->fromCache) printCacheWarning(call.err, *outcome);
    if (call.has("--json")) {
        printJson(call.out, outcome->result.value());
    } else {
        printReadable(call.out, outcome->result.value());
    }
    return exit_status::ok;
}

}  // namespace

const Command& listCommand() {
    static const Command command{
        "list",
        "LINK",
        1,
        1,
        "Runs the data-only query for a payment link: downloads the bank list of\n"
        "the link's kind (or falls back to the cached one) and prints the banks\n"
        "in the order the kit delivers them, each with its ready-made link.",
        {jsonFlag,
         {"--connect-to", "ADDRESS:PORT",
          "send every connection there (TLS still checks the host)"},
         {"--cacert", "FILE", "trust the certificates in FILE instead of the system's"},
         {"--caches-dir", "DIR", "keep the kit's files in DIR"},
         {"--verbose", "", "write the kit's debug lines to stderr"}},
        runList,
    };
    return command;
}

}  // namespace vela::banks
