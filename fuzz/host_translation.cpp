// A host's translation file, as the Qt platform reads it before any of the
// kit's texts is looked up. The host names the file; its bytes may be anything.
#include <unistd.h>

#include <QLocale>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "FuzzCheck.h"
#include "platform/qt/QtTextKeys.h"
#include "platform/qt/QtTexts.h"

namespace {

const std::filesystem::path& inputFile() {
    static const std::filesystem::path file = [] {
        auto path = std::filesystem::temp_directory_path() /
                    ("vela_fuzz_host_translation_" + std::to_string(::getpid()) + ".qm");
        std::atexit([] { std::remove(inputFile().c_str()); });
        return path;
    }();
    return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    {
        std::ofstream out(inputFile(), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    const velawidget::quick::QtTexts texts(QLocale::c(), inputFile());
    // Whatever the file holds, every key yields some text: the host's, or the key itself.
    for (const char* key : velawidget::quick::kitTextKeys()) {
        VELA_FUZZ_CHECK(!texts.localized(key).empty());
    }
    return 0;
}
