#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velawidget {

// One response in one file: a fixed header (a magic text, the lengths of the
// URL and the body, a checksum over both), then the URL, then the body. The
// file names the URL it holds, so two addresses that share a slot are told
// apart, and every length is checked against the file's own, so a cut or
// padded file is caught before its body is used.

/// Bytes of the header in front of the URL.
inline constexpr std::size_t cacheEntryHeaderBytes = 32;

/// The slot of `url` among `slots` (at least 1): a stable hash, the same in
/// every build and process, so later runs find what earlier ones stored.
std::size_t cacheSlotOf(std::string_view url, std::size_t slots);

/// The file name of `slot`: "entry-" and the slot in hexadecimal.
std::string cacheSlotFileName(std::size_t slot);

/// The file for `url` holding `body`.
std::string encodeCacheEntry(std::string_view url, std::string_view body);

/// The body `file` holds for `url`; none for a file of another address, one
/// cut short or longer than its header says, one whose checksum does not
/// match, or anything that is not such a file at all.
std::optional<std::string> decodeCacheEntry(std::string_view file, std::string_view url);

}  // namespace velawidget
