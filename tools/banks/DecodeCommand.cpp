#include <boost/json/array.hpp>
#include <boost/json/object.hpp>
#include <boost/json/serialize.hpp>
#include <fstream>
#include <iostream>
#include <variant>

#include "Command.h"
#include "TextOutput.h"
#include "catalogue/BankListDocument.h"
#include "catalogue/Storage.h"

namespace vela::banks {
namespace {

/// At most `limit` + 1 bytes, so an oversized input is noticed without reading it all.
std::string readCapped(std::istream& in, std::size_t limit) {
    std::string bytes;
    char buffer[1 << 16];
    while (bytes.size() <= limit && in.read(buffer, sizeof buffer).gcount() > 0) {
        bytes.append(buffer, static_cast<std::size_t>(in.gcount()));
    }
    return bytes;
}

boost::json::value optionalText(const std::optional<std::string>& text) {
    if (!text) return nullptr;
    return boost::json::string(*text);
}

void printJson(std::ostream& out, const std::vector<velawidget::Bank>& banks) {
    boost::json::array result;
    result.reserve(banks.size());
    for (const auto& bank : banks) {
        boost::json::object entry;
        entry["bankName"] = bank.bankName;
        entry["logoURL"] = bank.logoURL;
        entry["schema"] = bank.appScheme;
        entry["webClientUrl"] = optionalText(bank.webClientUrl);
        entry["isWebClientActive"] = optionalText(bank.isWebClientActive);
        result.push_back(std::move(entry));
    }
    out << printableJson(boost::json::serialize(result)) << '\n';
}

std::string webClientState(const velawidget::Bank& bank) {
    if (bank.webClientActive()) return "active";
    if (!bank.isWebClientActive) return "inactive";
    return "inactive: \"" + printable(*bank.isWebClientActive) + "\"";
}

void printReadable(std::ostream& out, const velawidget::BankListResponse& response) {
    auto cell = [](const std::optional<std::string>& text) {
        return text ? printable(*text) : std::string("(none)");
    };
    std::vector<std::vector<std::string>> rows{
        {"#", "bankName", "schema", "web client", "webClientUrl", "logoURL"}};
    std::size_t number = 0;
    for (const auto& bank : response.dictionary) {
        rows.push_back({std::to_string(++number), printable(bank.bankName),
                        printable(bank.appScheme), webClientState(bank), cell(bank.webClientUrl),
                        printable(bank.logoURL)});
    }
    printTable(out, rows);
    out << response.dictionary.size() << " banks, document version \""
        << printable(response.version) << "\"\n";
}

int decode(const Invocation& call) {
    const std::string& source = call.operands.front();
    constexpr std::size_t limit = velawidget::Storage::maxBankListFileBytes;
    std::string bytes;
    if (source == "-") {
        bytes = readCapped(call.in, limit);
        if (call.in.bad()) {
            call.err << "vela-banks: cannot read stdin\n";
            return exit_status::undecodableDocument;
        }
    } else {
        std::ifstream file(source, std::ios::binary);
        if (!file) {
            call.err << "vela-banks: cannot open " << printable(source) << '\n';
            return exit_status::undecodableDocument;
        }
        bytes = readCapped(file, limit);
        if (file.bad()) {
            call.err << "vela-banks: cannot read " << printable(source) << '\n';
            return exit_status::undecodableDocument;
        }
    }
    if (bytes.size() > limit) {
        call.err << "vela-banks: the document is larger than " << limit << " bytes\n";
        return exit_status::undecodableDocument;
    }

    auto decoded = velawidget::decodeBankList(bytes);
    if (auto* failure = std::get_if<velawidget::DecodeError>(&decoded)) {
        call.err << "vela-banks: " << printable(failure->description) << '\n';
        return exit_status::undecodableDocument;
    }
    const auto& response = std::get<velawidget::BankListResponse>(decoded);
    if (call.has("--json")) {
        printJson(call.out, response.dictionary);
    } else {
        printReadable(call.out, response);
    }
    return exit_status::ok;
}

}  // namespace

const Command& decodeCommand() {
    static const Command command{
        "decode",
        "FILE|-",
        1,
        1,
        "Decodes a bank-list document from FILE, or from stdin for \"-\", by the kit's rules.\n"
        "Success (exit 0): prints the banks in document order; with --json as an array of\n"
        "{bankName, logoURL, schema, webClientUrl, isWebClientActive}, absent values as null.\n"
        "Failure (exit 3): prints the decoder's description on stderr.",
        {jsonFlag},
        decode};
    return command;
}

}  // namespace vela::banks
