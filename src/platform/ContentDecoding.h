#pragma once

#include <velawidget/platform/HttpClient.h>
#include <zlib.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <variant>

namespace velawidget {

/// The codings every kit client asks for, and so the only ones `decodeContent` takes.
inline constexpr const char* acceptedContentCodings = "gzip, deflate";

/// A body as sent, decoded by its Content-Encoding: none or "identity" as it
/// is, "gzip" and "deflate" (zlib-wrapped or raw) decompressed, with `cap` on
/// what they become. Else why there is no body: over the cap, or a stream that
/// does not decompress to its very end (a gzip body without its trailer is
/// truncated even when all of its data came), or a coding nobody asked for.
/// Header-only: both client libraries compile in this one decoder.
inline std::variant<std::string, HttpFailure> decodeContent(std::string raw,
                                                            std::string_view coding,
                                                            std::size_t cap) {
    while (!coding.empty() && (coding.front() == ' ' || coding.front() == '\t')) {
        coding.remove_prefix(1);
    }
    while (!coding.empty() && (coding.back() == ' ' || coding.back() == '\t')) {
        coding.remove_suffix(1);
    }
    std::string name(coding);
    for (char& c : name) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    if (name.empty() || name == "identity") {
        if (raw.size() > cap) return HttpFailure::bodyTooLarge;
        return raw;
    }
    const bool gzip = name == "gzip" || name == "x-gzip";
    if (!gzip && name != "deflate") return HttpFailure::transport;
    // gzip and zlib streams are told apart by their header; a "deflate" body
    // that is neither is tried once more as a bare deflate stream.
    for (const int windowBits : {MAX_WBITS + 32, -MAX_WBITS}) {
        if (gzip && windowBits < 0) break;
        z_stream stream{};
        if (inflateInit2(&stream, windowBits) != Z_OK) return HttpFailure::transport;
        stream.next_in = reinterpret_cast<Bytef*>(raw.data());
        stream.avail_in = static_cast<uInt>(raw.size());
        std::string out;
        int result = Z_OK;
        while (result == Z_OK) {
            char chunk[64 * 1024];
            stream.next_out = reinterpret_cast<Bytef*>(chunk);
            stream.avail_out = sizeof chunk;
            result = inflate(&stream, Z_NO_FLUSH);
            const std::size_t produced = sizeof chunk - stream.avail_out;
            if (produced > cap - out.size()) {
                result = Z_MEM_ERROR;
                break;
            }
            out.append(chunk, produced);
        }
        inflateEnd(&stream);
        if (result == Z_STREAM_END) return out;
        if (result == Z_MEM_ERROR) return HttpFailure::bodyTooLarge;  // no second try
    }
    return HttpFailure::transport;
}

}  // namespace velawidget
