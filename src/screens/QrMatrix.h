#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <variant>
#include <vector>

namespace velawidget {

/// The modules of one QR code symbol, without its quiet zone.
struct QrMatrix {
    int size = 0;
    /// Row by row, `size` * `size` entries; 1 is a dark module.
    std::vector<std::uint8_t> modules;

    bool dark(int x, int y) const {
        return modules[static_cast<std::size_t>(y) * static_cast<std::size_t>(size) +
                       static_cast<std::size_t>(x)] != 0;
    }
};

enum class QrError {
    empty,
    /// More bytes than the largest symbol holds at level M.
    tooLong,
    /// The encoder gave up for another reason (out of memory).
    failed,
};

/// The light border a scanner needs around the symbol, in modules.
inline constexpr int qrQuietZone = 4;
/// What the largest symbol (version 40) holds in 8-bit mode at level M. A
/// longer text is refused before the encoder sees it, whatever its source.
inline constexpr std::size_t qrMaxBytes = 2331;

/// Encodes the bytes exactly as given (8-bit mode, no case folding, level M)
/// in the smallest symbol that holds them.
std::variant<QrMatrix, QrError> encodeQr(std::string_view bytes);

}  // namespace velawidget
