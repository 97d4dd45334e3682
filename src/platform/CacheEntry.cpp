#include "platform/CacheEntry.h"

#include <array>

namespace velawidget {
namespace {

constexpr std::string_view magic = "VWRESP01";
static_assert(magic.size() + std::size_t{3} * 8 == cacheEntryHeaderBytes);

/// FNV-1a, 64 bits: stable everywhere, and spreads URLs that differ in one
/// character over different slots.
std::uint64_t fnv1a(std::string_view bytes, std::uint64_t hash = 0xcbf29ce484222325u) {
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001b3u;
    }
    return hash;
}

std::uint64_t checksum(std::string_view url, std::string_view body) {
    return fnv1a(body, fnv1a(url));
}

void put64(std::string& out, std::uint64_t value) {
    for (int i = 0; i < 8; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xff));
}

std::uint64_t get64(std::string_view in) {
    std::uint64_t value = 0;
    for (int i = 7; i >= 0; --i) {
        value = (value << 8) | static_cast<unsigned char>(in[static_cast<std::size_t>(i)]);
    }
    return value;
}

}  // namespace

std::size_t cacheSlotOf(std::string_view url, std::size_t slots) {
    return static_cast<std::size_t>(fnv1a(url) % (slots == 0 ? 1 : slots));
}

std::string cacheSlotFileName(std::size_t slot) {
    constexpr std::array digits{'0', '1', '2', '3', '4', '5', '6', '7',
                                '8', '9', 'a', 'b', 'c', 'd', 'e', 'f'};
    std::string hex;
    do {
        hex.insert(hex.begin(), digits[slot % 16]);
        slot /= 16;
    } while (slot != 0);
    return "entry-" + hex;
}

std::string encodeCacheEntry(std::string_view url, std::string_view body) {
    std::string file;
    file.reserve(cacheEntryHeaderBytes + url.size() + body.size());
    file += magic;
    put64(file, url.size());
    put64(file, body.size());
    put64(file, checksum(url, body));
    file += url;
    file += body;
    return file;
}

std::optional<std::string> decodeCacheEntry(std::string_view file, std::string_view url) {
    if (file.size() < cacheEntryHeaderBytes || !file.starts_with(magic)) return std::nullopt;
    const std::uint64_t urlBytes = get64(file.substr(8));
    const std::uint64_t bodyBytes = get64(file.substr(16));
    const std::uint64_t sum = get64(file.substr(24));
    const std::string_view rest = file.substr(cacheEntryHeaderBytes);
    // Compared one by one, so lengths near 2^64 cannot wrap into a match.
    if (urlBytes != url.size() || bodyBytes > rest.size() || rest.size() - bodyBytes != urlBytes) {
        return std::nullopt;
    }
    if (rest.substr(0, url.size()) != url) return std::nullopt;
    const std::string_view body = rest.substr(url.size());
    if (checksum(url, body) != sum) return std::nullopt;
    return std::string(body);
}

}  // namespace velawidget
