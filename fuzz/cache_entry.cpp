// A response-cache file as anyone on the device may have left it. The input
// is the file's bytes, a NUL, then the address the cache looks it up for.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "FuzzCheck.h"
#include "platform/CacheEntry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const auto split = input.rfind('\0');
    const std::string_view file = input.substr(0, split);
    const std::string_view url =
        split == std::string_view::npos ? std::string_view{} : input.substr(split + 1);

    // Only the very bytes the cache writes for the address read back.
    if (const auto body = velawidget::decodeCacheEntry(file, url)) {
        VELA_FUZZ_CHECK(velawidget::encodeCacheEntry(url, *body) == file);
    }
    // Whatever the bytes, stored for an address they read back unchanged,
    // and for no other address.
    const auto stored = velawidget::encodeCacheEntry(url, file);
    VELA_FUZZ_CHECK(velawidget::decodeCacheEntry(stored, url) == file);
    const std::string other = std::string(url) + "/";
    VELA_FUZZ_CHECK(!velawidget::decodeCacheEntry(stored, other));
    VELA_FUZZ_CHECK(velawidget::cacheSlotOf(url, 512) < 512);
    return 0;
}
