// Payment-link bytes (outside input) through the QR encoder the selector
// draws its phone code from.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <variant>

#include "FuzzCheck.h"
#include "screens/QrMatrix.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace velawidget;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto result = encodeQr(bytes);
    if (bytes.empty() || bytes.size() > qrMaxBytes) {
        VELA_FUZZ_CHECK(std::holds_alternative<QrError>(result));
        VELA_FUZZ_CHECK(std::get<QrError>(result) ==
                        (bytes.empty() ? QrError::empty : QrError::tooLong));
        return 0;
    }
    // Every text up to the cap fits some symbol at level M.
    VELA_FUZZ_CHECK(std::holds_alternative<QrMatrix>(result));
    const auto& matrix = std::get<QrMatrix>(result);
    const int n = matrix.size;
    VELA_FUZZ_CHECK(n >= 21 && n <= 177 && (n - 17) % 4 == 0);
    VELA_FUZZ_CHECK(matrix.modules.size() == static_cast<std::size_t>(n) * n);
    for (const auto module : matrix.modules) VELA_FUZZ_CHECK(module <= 1);
    // The three finder patterns: dark corners, each with its light separator.
    VELA_FUZZ_CHECK(matrix.dark(0, 0) && matrix.dark(n - 1, 0) && matrix.dark(0, n - 1));
    VELA_FUZZ_CHECK(!matrix.dark(7, 7) && !matrix.dark(n - 8, 7) && !matrix.dark(7, n - 8));
    return 0;
}
