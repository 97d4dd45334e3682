#include "catalogue/Schema.h"

namespace velawidget {

std::string_view rawValue(Schema schema) noexcept {
    // No default: a new kind must be given its label here, and the compiler
    // says so.
    switch (schema) {
        case Schema::qr:
            return "qr";
        case Schema::sub:
            return "sub";
    }
    return {};
}

std::optional<Schema> schemaFromRawValue(std::string_view raw) noexcept {
    for (Schema schema : allSchemas) {
        if (rawValue(schema) == raw) return schema;
    }
    return std::nullopt;
}

std::string host(Schema schema) {
    std::string text(rawValue(schema));
    text += '.';
    text += serviceDomain;
    return text;
}

std::string bankListURL(Schema schema) {
    return "https://" + host(schema) + "/proxyapp/c2bmembers.json";
}

}  // namespace velawidget
