#include "platform/qt/QmCheck.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace velawidget::quick {
namespace {

constexpr unsigned char qmMagic[16] = {0x3c, 0xb8, 0x64, 0x18, 0xca, 0xef, 0x9c, 0x95,
                                       0xcd, 0x21, 0x1c, 0xbf, 0x60, 0xa1, 0xbd, 0xdd};

// Block tags of the file, and the field tags inside one message record.
enum Block : std::uint8_t {
    contextsBlock = 0x2f,
    hashesBlock = 0x42,
    messagesBlock = 0x69,
    dependenciesBlock = 0x96,
};
enum Field : std::uint8_t {
    endField = 1,
    translationField = 3,
    obsoleteField = 5,
    sourceTextField = 6,
    contextField = 7,
    commentField = 8,
};

// One block's bytes: where it starts in the file and how long it is.
struct Span {
    const unsigned char* data = nullptr;
    std::size_t size = 0;
};

std::uint32_t read32(const unsigned char* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
           std::uint32_t{p[3]};
}

std::uint16_t read16(const unsigned char* p) {
    return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
}

// The context block: a 16-bit table size, that many 16-bit offsets, then a
// pool of length-prefixed names. A non-zero offset starts a chain of names
// that the lookup walks until a zero length.
std::optional<std::string> contextsFault(Span block) {
    if (block.size < 2) return "context block shorter than its table size";
    const std::size_t tableSize = read16(block.data);
    if (tableSize == 0) return "context table of size zero";
    const std::size_t poolStart = 2 + 2 * tableSize;
    if (poolStart > block.size) return "context table past its block";
    // A position known to start a chain that ends inside the block: chains
    // share their tails, so each byte is walked once.
    std::vector<bool> sound(block.size, false);
    std::vector<std::size_t> walked;
    for (std::size_t i = 0; i < tableSize; ++i) {
        const std::size_t offset = read16(block.data + 2 + 2 * i);
        if (offset == 0) continue;
        walked.clear();
        std::size_t at = poolStart + 2 * offset;
        for (;;) {
            if (at >= block.size) return "context chain past its block";
            if (sound[at]) break;
            walked.push_back(at);
            const std::size_t length = block.data[at];
            if (length == 0) break;
            if (length > block.size - at - 1) return "context name past its block";
            at += 1 + length;
        }
        for (std::size_t position : walked) sound[position] = true;
    }
    return std::nullopt;
}

// One message record from `at`, field by field as a lookup reads it, up to
// its end tag, a tag the lookup stops at, or the end of the block.
std::optional<std::string> recordFault(Span block, std::size_t at, std::vector<bool>& sound) {
    std::vector<std::size_t> walked;
    while (at < block.size && !sound[at]) {
        walked.push_back(at);
        const std::uint8_t tag = block.data[at++];
        if (tag == obsoleteField) {
            if (block.size - at < 4) return "message field past its block";
            at += 4;
            continue;
        }
        if (tag != translationField && tag != sourceTextField && tag != contextField &&
            tag != commentField) {
            break;  // the end tag, or one the lookup gives up at
        }
        if (block.size - at < 4) return "message field length past its block";
        const std::size_t length = read32(block.data + at);
        at += 4;
        // A comment's first byte is read even when its length is zero.
        const std::size_t read = (tag == commentField && length == 0) ? 1 : length;
        if (read > block.size - at) return "message field past its block";
        at += length;
    }
    for (std::size_t position : walked) sound[position] = true;
    return std::nullopt;
}

// The hash table: 8-byte entries, a hash and an offset into the messages.
std::optional<std::string> hashesFault(Span hashes, Span messages) {
    if (hashes.size % 8 != 0) return "hash table not made of whole entries";
    std::vector<bool> sound(messages.size, false);
    for (std::size_t entry = 0; entry < hashes.size; entry += 8) {
        const std::size_t offset = read32(hashes.data + entry + 4);
        if (offset >= messages.size) return "message offset past the messages block";
        if (auto fault = recordFault(messages, offset, sound)) return fault;
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> qmStructureFault(const QByteArray& bytes) {
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData());
    const auto size = static_cast<std::size_t>(bytes.size());
    if (size < sizeof qmMagic || !std::equal(qmMagic, qmMagic + sizeof qmMagic, data)) {
        return "no magic number";
    }
    // The blocks as QTranslator splits them: a zero tag or length, or five
    // bytes or fewer left, ends the list; a later block of a kind wins.
    Span contexts, hashes, messages;
    std::size_t at = sizeof qmMagic;
    while (size - at > 5) {
        const std::uint8_t tag = data[at];
        const std::size_t length = read32(data + at + 1);
        at += 5;
        if (tag == 0 || length == 0) break;
        if (length > size - at) return "block past the end of the file";
        const Span block{data + at, length};
        if (tag == dependenciesBlock) return "names other translation files it depends on";
        if (tag == contextsBlock) contexts = block;
        if (tag == hashesBlock) hashes = block;
        if (tag == messagesBlock) messages = block;
        at += length;
    }
    if (contexts.size != 0) {
        if (auto fault = contextsFault(contexts)) return fault;
    }
    if (hashes.size != 0) return hashesFault(hashes, messages);
    return std::nullopt;
}

}  // namespace velawidget::quick
