#include <errno.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <velawidget/platform/PosixFileStore.h>

#include <cstdlib>

#include "support/TempDir.h"

namespace velawidget {
namespace {

std::optional<std::string> readText(const PosixFileStore& store, const std::filesystem::path& file,
                                    std::size_t cap) {
    auto result = store.read(file, cap);
    if (auto* bytes = std::get_if<std::string>(&result)) return *bytes;
    return std::nullopt;
}

TEST(PosixFileStore, WriteCreatesTheDirectoryAndReplacesWholeFilesAtomically) {
    vela::test::TempDir dir;
    const auto caches = dir / "a" / "b";
    PosixFileStore store(caches);

    const std::string binary("x\0y\n\xFF", 5);
    // Under a umask that takes nothing away, the directories made are still private.
    const mode_t umask = ::umask(0);
    const auto written = store.write(caches / "f", binary);
    ::umask(umask);
    ASSERT_FALSE(written);
    for (const auto& made : {dir / "a", caches}) {
        EXPECT_EQ(std::filesystem::status(made).permissions(), std::filesystem::perms::owner_all)
            << made;
    }
    EXPECT_EQ(readText(store, caches / "f", 100), binary);

    // A target that cannot be replaced reports the error and leaves no temporary behind.
    std::filesystem::create_directories(caches / "busy" / "inside");
    EXPECT_TRUE(store.write(caches / "busy", "new"));
    EXPECT_TRUE(std::filesystem::is_directory(caches / "busy" / "inside"));
    EXPECT_EQ(dir.entries("a/b"), (std::vector<std::string>{"busy", "f"}));
}

TEST(PosixFileStore, WriteRemovesOnlyStaleTemporariesOfItsTarget) {
    vela::test::TempDir dir;
    PosixFileStore store(dir.path());
    const auto old = std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
    struct Case {
        std::string name;
        bool old;
        bool kept;
    };
    const std::vector<Case> cases = {
        {".f.Ab3xYz", true, false},  // left by a killed write
        {".f.Live00", true, true},   // locked below: a writer still at it
        {".f.New000", false, true},  // young: may be a writer between create and lock
        {".g.Ab3xYz", true, true},   // another file's, swept when that one is written
        {".f.Ab3xYz7", true, true},  // not a name the store makes
    };
    for (const auto& c : cases) {
        dir.write(c.name, "partial");
        if (c.old) std::filesystem::last_write_time(dir / c.name, old);
    }
    const int live = ::open((dir / ".f.Live00").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(::flock(live, LOCK_EX), 0);

    ASSERT_FALSE(store.write(dir / "f", "x"));
    ::close(live);
    for (const auto& c : cases) {
        EXPECT_EQ(std::filesystem::exists(dir / c.name), c.kept) << c.name;
    }
}

// The cap's edge is the storage table's (a cache file at and past it).
TEST(PosixFileStore, ReadRefusesWhatIsNotARegularFile) {
    vela::test::TempDir dir;
    PosixFileStore store(dir.path());
    EXPECT_FALSE(readText(store, dir.path(), 10));
    EXPECT_FALSE(readText(store, "/dev/null", 1 << 20));
    auto missing = store.read(dir / "missing", 10);
    ASSERT_TRUE(std::holds_alternative<std::error_code>(missing));
    EXPECT_EQ(std::get<std::error_code>(missing), std::errc::no_such_file_or_directory);
}

TEST(PosixFileStore, DefaultDirectoryFollowsTheXdgRules) {
    const char* const names[] = {"XDG_CACHE_HOME", "HOME"};
    std::optional<std::string> saved[2];
    for (int i = 0; i < 2; ++i) {
        if (const char* value = std::getenv(names[i])) saved[i] = value;
    }
    ::setenv("HOME", "/home/h", 1);
    ::setenv("XDG_CACHE_HOME", "/x/cache", 1);
    EXPECT_EQ(PosixFileStore::defaultDirectory("app"), "/x/cache/app");
    EXPECT_EQ(PosixFileStore::defaultDirectory(),
              std::filesystem::path("/x/cache") / program_invocation_short_name)
        << "the program's own name by default";
    ::setenv("XDG_CACHE_HOME", "relative/cache", 1);  // ignored, as XDG asks
    EXPECT_EQ(PosixFileStore::defaultDirectory("app"), "/home/h/.cache/app");
    for (int i = 0; i < 2; ++i)
        saved[i] ? ::setenv(names[i], saved[i]->c_str(), 1) : ::unsetenv(names[i]);
}

}  // namespace
}  // namespace velawidget
