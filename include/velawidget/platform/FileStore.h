#pragma once

#include <velawidget/export.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <variant>

namespace velawidget {

/// Whole-file access to the application's caches directory.
class VELAWIDGET_API FileStore {
  public:
    virtual ~FileStore() = default;

    /// The caches directory, or none when the platform has none.
    virtual std::optional<std::filesystem::path> cachesDirectory() const = 0;

    /// The whole file, or the reason it could not be read. Files larger than
    /// `maxBytes` count as unreadable.
    virtual std::variant<std::string, std::error_code> read(const std::filesystem::path& file,
                                                            std::size_t maxBytes) const = 0;

    /// Replaces the whole file atomically: readers see the old or the new
    /// content, never a mix, and a failed write leaves the old file intact.
    virtual std::error_code write(const std::filesystem::path& file,
                                  std::string_view bytes) const = 0;
};

using FileStorePtr = std::shared_ptr<FileStore>;

}  // namespace velawidget
