#include "Faults.h"

#include <httplib.h>
#include <openssl/ssl.h>
#include <sys/socket.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstdlib>

namespace vela::sandbox {
namespace {

constexpr std::size_t hugeBytes = 17u << 20;  // past a 16 MiB client cap
// What an overloaded front end answers instead of the document.
constexpr std::string_view garbagePage = "<html><body>\x01\x02 Service temporarily unavailable";

constexpr std::size_t bombBytes = 64u << 20;  // zeros, past any client's body cap
constexpr int hugeHeaderCount = 1024;         // of 1 KiB each

constexpr std::size_t gzipTrailerBytes = 8;  // CRC-32 and length, after the data

/// `piece`, `times` over, as one gzip stream.
std::string gzip(const std::string& piece, std::size_t times = 1) {
    z_stream stream{};
    deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, MAX_WBITS + 16, 9, Z_DEFAULT_STRATEGY);
    std::string out;
    char buffer[64 * 1024];
    for (std::size_t fed = 1; fed <= times; ++fed) {
        stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(piece.data()));
        stream.avail_in = static_cast<uInt>(piece.size());
        const int flush = fed == times ? Z_FINISH : Z_NO_FLUSH;
        do {
            stream.next_out = reinterpret_cast<Bytef*>(buffer);
            stream.avail_out = sizeof buffer;
            deflate(&stream, flush);
            out.append(buffer, sizeof buffer - stream.avail_out);
        } while (stream.avail_out == 0);
    }
    deflateEnd(&stream);
    return out;
}

/// 64 MiB of zeros, gzip-compressed to about 64 KiB.
const std::string& gzipBomb() {
    static const std::string bomb = [] {
        const std::string zeros(1u << 20, '\0');
        return gzip(zeros, bombBytes / zeros.size());
    }();
    return bomb;
}

void serve(Exchange& x) {
    x.response.set_content(x.body, "application/json");
}

void drop(Exchange& x) {
    // Tear the connection down under the TLS session: the client gets no
    // answer at all.
    if (x.request.ssl != nullptr) ::shutdown(SSL_get_fd(x.request.ssl), SHUT_RDWR);
    x.response.status = 500;
}

void delay(Exchange& x) {
    if (!x.pause(std::chrono::milliseconds(x.mode.value))) x.response.status = 503;
    serve(x);
}

void status(Exchange& x) {
    x.response.status = x.mode.value;
    if (x.mode.garbageBody) {
        x.response.set_content(std::string(garbagePage), "text/html");
    } else {
        serve(x);
    }
}

void truncate(Exchange& x) {
    // Promise the whole body and more, send half, then hang up.
    x.response.set_content_provider(
        x.body.size() + 4096, "application/json",
        [body = x.body](std::size_t, std::size_t, httplib::DataSink& sink) {
            sink.write(body.data(), body.size() / 2);
            return false;
        });
}

void garbage(Exchange& x) {
    x.response.set_content(std::string(garbagePage), "text/html");
}

void empty(Exchange& x) {
    x.response.set_content("", "application/json");
}

void huge(Exchange& x) {
    x.response.set_content_provider(
        hugeBytes, "application/json",
        [](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
            static const std::string filler(64 * 1024, ' ');
            const std::size_t chunk = std::min({length, filler.size(), hugeBytes - offset});
            return sink.write(filler.data(), chunk);
        });
}

void slow(Exchange& x) {
    x.response.set_content_provider(
        x.body.size(), "application/json",
        [pause = x.pause, body = x.body](std::size_t offset, std::size_t, httplib::DataSink& sink) {
            if (offset != 0 && !pause(std::chrono::seconds(1))) return false;
            return sink.write(body.data() + offset, 1);
        });
}

void bomb(Exchange& x) {
    // Not a type the server would compress itself: these bytes go out as they are.
    x.response.set_header("Content-Encoding", "gzip");
    x.response.set_content(gzipBomb(), "application/octet-stream");
}

void gzipTruncated(Exchange& x) {
    // Every byte of the compressed document but the trailer: the framing says
    // the body is whole, only the stream itself is not finished.
    std::string body = gzip(x.body);
    body.resize(body.size() - gzipTrailerBytes);
    x.response.set_header("Content-Encoding", "gzip");
    x.response.set_content(body, "application/octet-stream");
}

void redirects(Exchange& x) {
    // ?hop=K: the Kth redirect led here. The last hop gets the document.
    const int hop =
        x.request.has_param("hop") ? std::atoi(x.request.get_param_value("hop").c_str()) : 0;
    if (hop >= x.mode.value) return serve(x);
    x.response.set_redirect("/proxyapp/c2bmembers.json?hop=" + std::to_string(hop + 1), 302);
}

void hugeHeaders(Exchange& x) {
    for (int i = 0; i < hugeHeaderCount; ++i) {
        x.response.set_header("X-Filler-" + std::to_string(i), std::string(1000, 'x'));
    }
    serve(x);
}

void trickleHeaders(Exchange& x) {
    // Written by hand under the TLS session, a header line every 200 ms for
    // two seconds, then the document; the connection ends with it.
    if (x.request.ssl == nullptr) return;
    auto send = [&](const std::string& text) {
        SSL_write(const_cast<SSL*>(x.request.ssl), text.data(), static_cast<int>(text.size()));
    };
    send("HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nConnection: close\r\n");
    for (int line = 0; line < 10; ++line) {
        if (!x.pause(std::chrono::milliseconds(200))) break;
        send("X-Trickle-" + std::to_string(line) + ": x\r\n");
    }
    send("Content-Length: " + std::to_string(x.body.size()) + "\r\n\r\n" + x.body);
    ::shutdown(SSL_get_fd(x.request.ssl), SHUT_RDWR);
    x.response.status = 500;
}

using V = FaultValue;

constexpr std::array table{
    Fault{"none", V::none, serve, "the document, at once"},
    Fault{"drop", V::none, drop, "the connection torn down, no answer"},
    Fault{"delay", V::milliseconds, delay, "the document after MS milliseconds"},
    Fault{"status", V::statusCode, status,
          "the document under that status; with :garbage an error page instead"},
    Fault{"truncate", V::none, truncate, "half the promised body, then the connection ends"},
    Fault{"garbage", V::none, garbage, "an HTML error page with control bytes"},
    Fault{"empty", V::none, empty, "an empty body"},
    Fault{"huge", V::none, huge, "17 MiB of blanks"},
    Fault{"slow", V::none, slow, "the document one byte a second"},
    Fault{"gzip-bomb", V::none, bomb, "64 MiB of zeros, gzip-compressed"},
    Fault{"gzip-truncated", V::none, gzipTruncated,
          "the document gzip-compressed, without the stream's 8-byte trailer"},
    Fault{"redirects", V::count, redirects, "N redirects in a row, then the document"},
    Fault{"huge-headers", V::none, hugeHeaders, "1 MiB of response headers"},
    Fault{"trickle-headers", V::none, trickleHeaders, "a header line every 200 ms for 2 s"},
};

}  // namespace

std::span<const Fault> faults() {
    return table;
}

std::string faultUsage() {
    std::string text;
    for (const Fault& fault : table) {
        std::string name(fault.name);
        if (fault.value == V::milliseconds) name += ":MS";
        if (fault.value == V::statusCode) name += ":CODE[:garbage]";
        if (fault.value == V::count) name += ":N";
        name.resize(std::max<std::size_t>(name.size() + 2, 26), ' ');
        text += "  " + name + std::string(fault.help) + "\n";
    }
    return text;
}

}  // namespace vela::sandbox
