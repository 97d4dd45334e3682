#include <gtest/gtest.h>

#include <string>

#include "platform/LoadedLibrary.h"

namespace velawidget {
namespace {

TEST(LoadedLibrary, OpensALibraryOnDemandAndNamesWhatIsMissing) {
    LoadedLibrary zlib("libz.so.1");
    ASSERT_TRUE(zlib.loaded()) << zlib.error();
    auto* version = zlib.function<const char*()>("zlibVersion");
    ASSERT_NE(version, nullptr) << zlib.error();
    EXPECT_FALSE(std::string(version()).empty());
    EXPECT_TRUE(zlib.error().empty());

    // A symbol the library lacks is a null function and a reason naming it;
    // the library stays usable.
    EXPECT_EQ(zlib.function<void()>("vela_no_such_function"), nullptr);
    EXPECT_NE(zlib.error().find("vela_no_such_function"), std::string::npos) << zlib.error();
    EXPECT_NE(zlib.function<const char*()>("zlibVersion"), nullptr);

    // A library that is not installed: every look-up is null, and the reason
    // names the file.
    LoadedLibrary missing("libvela-not-installed.so.7");
    EXPECT_FALSE(missing.loaded());
    EXPECT_NE(missing.error().find("libvela-not-installed.so.7"), std::string::npos)
        << missing.error();
    EXPECT_EQ(missing.function<void()>("anything"), nullptr);
}

}  // namespace
}  // namespace velawidget
