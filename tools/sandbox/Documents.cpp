#include "Documents.h"

#include <boost/url/parse.hpp>
#include <fstream>
#include <optional>
#include <sstream>

#include "catalogue/BankListDocument.h"
#include "catalogue/Schema.h"

namespace vela::sandbox {

// Defined in the file the build generates from data/: the document of that
// name built into the program, if there is one.
std::optional<std::string_view> builtInDocument(std::string_view fileName);

namespace {

template <typename Read>
std::variant<Documents, std::string> collect(Read read, const std::string& where) {
    Documents documents;
    for (const auto schema : velawidget::allSchemas) {
        const std::string label(velawidget::rawValue(schema));
        auto document = read(label + ".json");
        if (!document) return "no " + label + ".json " + where;
        documents.byKind.emplace(label, std::move(*document));
    }
    return documents;
}

}  // namespace

std::variant<Documents, std::string> Documents::builtIn() {
    return collect(
        [](const std::string& name) -> std::optional<std::string> {
            if (auto document = builtInDocument(name)) return std::string(*document);
            return std::nullopt;
        },
        "built in");
}

std::variant<Documents, std::string> Documents::fromDirectory(const std::string& directory) {
    return collect(
        [&](const std::string& name) -> std::optional<std::string> {
            std::ifstream in(directory + "/" + name, std::ios::binary);
            if (!in) return std::nullopt;
            std::ostringstream bytes;
            bytes << in.rdbuf();
            return bytes.str();
        },
        "in " + directory);
}

const std::string* Documents::forHost(std::string_view host, std::string_view domain) const {
    const auto dot = host.find('.');
    if (dot == std::string_view::npos || host.substr(dot + 1) != domain) return nullptr;
    const auto found = byKind.find(host.substr(0, dot));
    return found == byKind.end() ? nullptr : &found->second;
}

std::string_view Documents::logoKey(std::string_view path) {
    const auto dot = path.rfind('.');
    if (dot == std::string_view::npos || path.find('/', dot) != std::string_view::npos) return path;
    return path.substr(0, dot);
}

std::map<std::string, std::string, std::less<>> Documents::bankNamesByLogoPath() const {
    std::map<std::string, std::string, std::less<>> names;
    for (const auto schema : velawidget::allSchemas) {
        const auto document = byKind.find(velawidget::rawValue(schema));
        if (document == byKind.end()) continue;
        // A document made to be malformed simply names no logos.
        const auto decoded = velawidget::decodeBankList(document->second);
        const auto* list = std::get_if<velawidget::BankListResponse>(&decoded);
        if (list == nullptr) continue;
        for (const auto& bank : list->dictionary) {
            const auto url = boost::urls::parse_uri(bank.logoURL);
            if (url) names.emplace(logoKey(url->encoded_path()), bank.bankName);
        }
    }
    return names;
}

}  // namespace vela::sandbox
