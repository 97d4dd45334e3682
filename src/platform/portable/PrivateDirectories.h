#pragma once

#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

namespace velawidget {

/// Makes `directory` and any missing parents readable by their owner only,
/// whatever the umask: the caches hold what the shopper chose, and the
/// files in them are the owner's alone too. Existing directories are left
/// as they are. Header-only, so every client library makes them one way.
inline std::error_code createPrivateDirectories(const std::filesystem::path& directory) {
    std::error_code ec;
    if (std::filesystem::is_directory(directory, ec)) return {};
    const auto parent = directory.parent_path();
    if (!parent.empty() && parent != directory) {
        if (auto error = createPrivateDirectories(parent)) return error;
    }
    if (::mkdir(directory.c_str(), S_IRWXU) != 0 && errno != EEXIST) {
        return {errno, std::generic_category()};
    }
    return {};
}

}  // namespace velawidget
