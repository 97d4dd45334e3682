#pragma once

#include <map>
#include <string>
#include <string_view>
#include <variant>

namespace vela::sandbox {

/// The bank-list documents the sandbox serves: one for every link kind the
/// kit knows, read from the file named after the kind's label ("qr.json").
struct Documents {
    /// By kind label.
    std::map<std::string, std::string, std::less<>> byKind;

    /// The documents built into the program, or what is missing.
    static std::variant<Documents, std::string> builtIn();
    /// The documents in a directory, or what is missing.
    static std::variant<Documents, std::string> fromDirectory(const std::string& directory);

    /// The document served on `host`, a kind label followed by "." + `domain`;
    /// none for any other host.
    const std::string* forHost(std::string_view host, std::string_view domain) const;

    /// Each bank's name by the path of its logo address without the file
    /// extension, so that the SVG and the PNG of a logo agree; where two banks
    /// share a path, the one in the first kind's document.
    std::map<std::string, std::string, std::less<>> bankNamesByLogoPath() const;

    /// `path` without its file extension.
    static std::string_view logoKey(std::string_view path);
};

}  // namespace vela::sandbox
