// A host's appearance text, as `appearanceFromJson` reads it: a theme file
// of the host's, or whatever a QML host hands to `Appearance.apply`.
#include <velawidget/quick/Appearance.h>

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        const auto appearance = velawidget::quick::appearanceFromJson(text);
        // What was accepted reads the same again, and came in under the cap.
        VELA_FUZZ_CHECK(size <= 64 * 1024);
        VELA_FUZZ_CHECK(velawidget::quick::appearanceFromJson(text) == appearance);
    } catch (const std::invalid_argument&) {
        // Refused with a reason: the one failure the call has.
    }
    return 0;
}
