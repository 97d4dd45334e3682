#include "Documents.h"

#include <fstream>
#include <sstream>

namespace vela::sandbox {

// Defined in the file the build generates from data/.
extern const std::string_view builtInQrDocument;
extern const std::string_view builtInSubDocument;

Documents Documents::builtIn() {
    return {std::string(builtInQrDocument), std::string(builtInSubDocument)};
}

std::optional<Documents> Documents::fromDirectory(const std::string& directory) {
    auto read = [&](const char* name) -> std::optional<std::string> {
        std::ifstream in(directory + "/" + name, std::ios::binary);
        if (!in) return std::nullopt;
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    };
    auto qr = read("qr.json");
    auto sub = read("sub.json");
    if (!qr || !sub) return std::nullopt;
    return Documents{std::move(*qr), std::move(*sub)};
}

}  // namespace vela::sandbox
