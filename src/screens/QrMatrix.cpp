#include "screens/QrMatrix.h"

// Only the encoder's declarations: the library is opened on the first code.
#include <qrencode.h>

#include <cerrno>
#include <memory>

#include "platform/LoadedLibrary.h"

namespace velawidget {
namespace {

/// The encoder's calls, looked up once per process and typed by its header.
struct Encoder {
    LoadedLibrary library{"libqrencode.so.4"};
    decltype(&::QRcode_encodeData) encode = nullptr;
    decltype(&::QRcode_free) free = nullptr;

    Encoder() {
        library.bind(encode, "QRcode_encodeData");
        library.bind(free, "QRcode_free");
    }
};

const Encoder& encoder() {
    static Encoder calls;
    return calls;
}

}  // namespace

std::variant<QrMatrix, QrError> encodeQr(std::string_view bytes) {
    if (bytes.empty()) return QrError::empty;
    if (bytes.size() > qrMaxBytes) return QrError::tooLong;
    const Encoder& qr = encoder();
    if (!qr.encode || !qr.free) return QrError::failed;
    // 8-bit mode keeps the link byte for byte: the string encoders would fold
    // letters to upper case to reach the denser alphanumeric mode.
    errno = 0;
    const std::unique_ptr<QRcode, decltype(&QRcode_free)> code(
        qr.encode(static_cast<int>(bytes.size()),
                  reinterpret_cast<const unsigned char*>(bytes.data()), 0, QR_ECLEVEL_M),
        qr.free);
    if (!code) return errno == ERANGE ? QrError::tooLong : QrError::failed;
    QrMatrix matrix;
    matrix.size = code->width;
    const auto count =
        static_cast<std::size_t>(code->width) * static_cast<std::size_t>(code->width);
    matrix.modules.resize(count);
    // Bit 0 of each byte is the module's colour; the others are the encoder's bookkeeping.
    for (std::size_t i = 0; i < count; ++i) matrix.modules[i] = code->data[i] & 1U;
    return matrix;
}

}  // namespace velawidget
