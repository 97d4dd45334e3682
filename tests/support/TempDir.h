#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vela::test {

/// A file's bytes, or none when it cannot be read.
std::optional<std::string> readFile(const std::filesystem::path& file);

/// A fresh directory under the system's temporary directory, removed with
/// everything in it when the object goes away.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

    /// Writes `bytes` to `name` (relative to the directory), creating folders.
    void write(std::string_view name, std::string_view bytes) const;
    /// The file's bytes, or none when it does not exist.
    std::optional<std::string> read(std::string_view name) const;
    bool exists(std::string_view name) const;
    /// Names of the entries directly in the directory (or in `folder` inside it), sorted.
    std::vector<std::string> entries(std::string_view folder = {}) const;

  private:
    std::filesystem::path path_;
};

}  // namespace vela::test
