#pragma once

#include <velawidget/platform/FileStore.h>

#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <variant>

namespace vela::fuzz {

/// A caches directory held in memory, so a fuzz run touches no disk.
class MemoryFileStore final : public velawidget::FileStore {
  public:
    std::optional<std::filesystem::path> cachesDirectory() const override { return "/caches"; }

    std::variant<std::string, std::error_code> read(const std::filesystem::path& file,
                                                    std::size_t maxBytes) const override {
        const std::lock_guard lock(mutex_);
        const auto found = files_.find(file);
        if (found == files_.end())
            return std::make_error_code(std::errc::no_such_file_or_directory);
        if (found->second.size() > maxBytes) return std::make_error_code(std::errc::file_too_large);
        return found->second;
    }

    std::error_code write(const std::filesystem::path& file,
                          std::string_view bytes) const override {
        const std::lock_guard lock(mutex_);
        files_[file] = std::string(bytes);
        return {};
    }

  private:
    mutable std::mutex mutex_;
    mutable std::map<std::filesystem::path, std::string> files_;
};

}  // namespace vela::fuzz
