#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <velawidget/platform/PosixFileStore.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <utility>
#include <vector>

#include "platform/portable/PrivateDirectories.h"

namespace velawidget {
namespace {

namespace fs = std::filesystem;

std::error_code lastError() {
    return {errno, std::generic_category()};
}

std::string programName() {
    // glibc keeps the short name of argv[0]; /proc is the fallback elsewhere.
    std::string name = program_invocation_short_name ? program_invocation_short_name : "";
    if (name.empty()) {
        std::ifstream comm("/proc/self/comm");
        std::getline(comm, name);
    }
    if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos) {
        name = "velawidget";
    }
    return name;
}

std::optional<fs::path> homeDirectory() {
    if (const char* home = std::getenv("HOME"); home && *home == '/') return fs::path(home);
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found &&
        found->pw_dir && *found->pw_dir == '/') {
        return fs::path(found->pw_dir);
    }
    return std::nullopt;
}

class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    /// Closes now so that a failing close (lost write-back) can be reported.
    std::error_code close() {
        const int fd = std::exchange(fd_, -1);
        return ::close(fd) == 0 ? std::error_code{} : lastError();
    }

  private:
    int fd_;
};

std::error_code writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return lastError();
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return {};
}

// Temporary files are "." + target + "." + six letters or digits (mkostemp).
// A writer holds an exclusive flock on its temporary file from creation until
// it closes it, just before the rename, and a lock dies with its process however that ends, so a
// temporary whose lock can be taken belongs to a killed write. Process ids are
// no such proof: they are reused, and a caches directory may be shared across
// PID namespaces. The age guard covers what the lock cannot: the instants
// between mkostemp and flock and between close and rename, and file systems
// where flock is emulated per process (NFS), so that a concurrent writer in
// this very process would not hold its lock against us. O_TMPFILE would leave
// nothing on a kill only on Linux file systems that support it, and still
// needs a named link and a rename to replace the target, so a sweep stays.
constexpr std::time_t staleAfterSeconds = std::time_t{10} * 60;
constexpr std::size_t temporarySuffixLength = 6;

std::string temporaryPrefix(const fs::path& target) {
    return "." + target.filename().native() + ".";
}

bool isTemporaryOf(std::string_view name, std::string_view prefix) {
    if (name.size() != prefix.size() + temporarySuffixLength || !name.starts_with(prefix)) {
        return false;
    }
    return std::all_of(
        name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(), [](char c) {
            return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        });
}

/// Removes the temporaries of `target` left behind by killed writes. Best
/// effort: anything unexpected leaves the entry where it is.
void removeStaleTemporaries(const fs::path& directory, const fs::path& target) {
    DIR* listing = ::opendir(directory.c_str());
    if (!listing) return;
    const std::string prefix = temporaryPrefix(target);
    const std::time_t now = ::time(nullptr);
    while (const dirent* entry = ::readdir(listing)) {
        const std::string_view name = entry->d_name;
        if (!isTemporaryOf(name, prefix)) continue;
        Descriptor fd(::openat(::dirfd(listing), entry->d_name,
                               O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
        struct stat opened = {};
        if (fd.get() < 0 || ::fstat(fd.get(), &opened) != 0 || !S_ISREG(opened.st_mode)) continue;
        if (now - opened.st_mtime < staleAfterSeconds) continue;
        // Held by a live writer, or a file system without locks: leave it.
        if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) continue;
        // Only the file that was judged, not one that took its name since.
        struct stat named = {};
        if (::fstatat(::dirfd(listing), entry->d_name, &named, AT_SYMLINK_NOFOLLOW) == 0 &&
            named.st_dev == opened.st_dev && named.st_ino == opened.st_ino) {
            ::unlinkat(::dirfd(listing), entry->d_name, 0);
        }
    }
    ::closedir(listing);
}

}  // namespace

PosixFileStore::PosixFileStore() : directory_(defaultDirectory()) {}

PosixFileStore::PosixFileStore(std::optional<fs::path> directory)
    : directory_(std::move(directory)) {}

std::optional<fs::path> PosixFileStore::defaultDirectory(std::string_view app) {
    const std::string name = app.empty() ? programName() : std::string(app);
    // A relative XDG_CACHE_HOME is invalid by the base-directory rules and ignored.
    if (const char* xdg = std::getenv("XDG_CACHE_HOME"); xdg && *xdg == '/') {
        return fs::path(xdg) / name;
    }
    if (auto home = homeDirectory()) return *home / ".cache" / name;
    return std::nullopt;
}

std::optional<fs::path> PosixFileStore::cachesDirectory() const {
    return directory_;
}

std::variant<std::string, std::error_code> PosixFileStore::read(const fs::path& file,
                                                                std::size_t maxBytes) const {
    Descriptor fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (fd.get() < 0) return lastError();
    struct stat info = {};
    if (::fstat(fd.get(), &info) != 0) return lastError();
    if (!S_ISREG(info.st_mode)) return std::make_error_code(std::errc::invalid_argument);
    if (static_cast<std::uintmax_t>(info.st_size) > maxBytes) {
        return std::make_error_code(std::errc::file_too_large);
    }
    // Read one byte past the cap: a file that grew since fstat still counts as too large.
    std::string bytes(static_cast<std::size_t>(info.st_size) + 1, '\0');
    std::size_t filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            if (bytes.size() > maxBytes) break;
            bytes.resize(std::min(bytes.size() * 2, maxBytes + 1));
        }
        const ssize_t n = ::read(fd.get(), bytes.data() + filled, bytes.size() - filled);
        if (n < 0) {
            if (errno == EINTR) continue;
            return lastError();
        }
        if (n == 0) break;
        filled += static_cast<std::size_t>(n);
    }
    if (filled > maxBytes) return std::make_error_code(std::errc::file_too_large);
    bytes.resize(filled);
    return bytes;
}

std::error_code PosixFileStore::write(const fs::path& file, std::string_view bytes) const {
    const fs::path directory = file.has_parent_path() ? file.parent_path() : fs::path(".");
    if (auto error = createPrivateDirectories(directory)) return error;

    removeStaleTemporaries(directory, file);

    // Same directory as the target, so the rename cannot cross file systems.
    std::string pattern = (directory / (temporaryPrefix(file) + "XXXXXX")).string();
    Descriptor fd(::mkostemp(pattern.data(), O_CLOEXEC));
    if (fd.get() < 0) return lastError();
    // Tells a later sweep that this temporary is still being written.
    ::flock(fd.get(), LOCK_EX | LOCK_NB);
    const fs::path temporary = pattern;
    auto fail = [&](std::error_code error) {
        ::unlink(temporary.c_str());
        return error;
    };
    if (auto error = writeAll(fd.get(), bytes)) return fail(error);
    if (::fsync(fd.get()) != 0) return fail(lastError());
    if (auto error = fd.close()) return fail(error);
    if (::rename(temporary.c_str(), file.c_str()) != 0) return fail(lastError());

    // Make the rename itself durable; a failure here does not undo the new content.
    Descriptor dir(::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0) ::fsync(dir.get());
    return {};
}

std::optional<std::chrono::system_clock::time_point> PosixFileStore::modificationTime(
    const fs::path& file) const {
    struct stat status {};
    if (::stat(file.c_str(), &status) != 0) return std::nullopt;
    const auto since = std::chrono::seconds(status.st_mtim.tv_sec) +
                       std::chrono::nanoseconds(status.st_mtim.tv_nsec);
    return std::chrono::system_clock::time_point(
        std::chrono::duration_cast<std::chrono::system_clock::duration>(since));
}

}  // namespace velawidget
