#pragma once

#include <velawidget/export.h>
#include <velawidget/platform/FileStore.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace velawidget {

/// Files in a per-user caches directory on a POSIX system. Writes go to a
/// temporary file in the same directory that is flushed to disk and then
/// renamed over the target; the directory is created on the first write.
/// Each write of a file first removes that file's temporaries left by killed
/// writes: unlocked by any writer and untouched for ten minutes.
class VELAWIDGET_API PosixFileStore final : public FileStore {
  public:
    /// The caches directory of the running program (see `defaultDirectory`).
    PosixFileStore();
    /// An explicit directory chosen by the host; none means "no caches directory".
    explicit PosixFileStore(std::optional<std::filesystem::path> directory);

    /// `$XDG_CACHE_HOME/<app>` when that variable holds an absolute path, else
    /// `$HOME/.cache/<app>` (home from the password database when `$HOME` is
    /// unset), else none. `<app>` defaults to the program's short name.
    static std::optional<std::filesystem::path> defaultDirectory(std::string_view app = {});

    std::optional<std::filesystem::path> cachesDirectory() const override;
    std::variant<std::string, std::error_code> read(const std::filesystem::path& file,
                                                    std::size_t maxBytes) const override;
    std::error_code write(const std::filesystem::path& file, std::string_view bytes) const override;

    /// When the file was last written, or none when it cannot be told. The
    /// kit reports the age of a bank list served from the cache with it.
    std::optional<std::chrono::system_clock::time_point> modificationTime(
        const std::filesystem::path& file) const;

  private:
    std::optional<std::filesystem::path> directory_;
};

}  // namespace velawidget
