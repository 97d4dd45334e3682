#include "Server.h"

#include <httplib.h>
#include <openssl/ssl.h>
#include <sys/socket.h>
#include <zlib.h>

#include <cstdlib>
#include <iostream>

#include "Logos.h"

namespace vela::sandbox {
namespace {

using Kind = FaultMode::Kind;

constexpr std::size_t hugeBytes = 17u << 20;  // past a 16 MiB client cap
// What an overloaded front end answers instead of the document.
constexpr std::string_view garbagePage = "<html><body>\x01\x02 Service temporarily unavailable";

constexpr std::size_t bombBytes = 64u << 20;  // zeros, past any client's body cap
constexpr int hugeHeaderCount = 1024;         // of 1 KiB each

/// 64 MiB of zeros, gzip-compressed to about 64 KiB.
const std::string& gzipBomb() {
    static const std::string bomb = [] {
        z_stream stream{};
        deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, MAX_WBITS + 16, 9,
                     Z_DEFAULT_STRATEGY);
        const std::string zeros(1u << 20, '\0');
        std::string out;
        char buffer[64 * 1024];
        for (std::size_t fed = 0; fed < bombBytes; fed += zeros.size()) {
            stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(zeros.data()));
            stream.avail_in = static_cast<uInt>(zeros.size());
            const int flush = fed + zeros.size() >= bombBytes ? Z_FINISH : Z_NO_FLUSH;
            do {
                stream.next_out = reinterpret_cast<Bytef*>(buffer);
                stream.avail_out = sizeof buffer;
                deflate(&stream, flush);
                out.append(buffer, sizeof buffer - stream.avail_out);
            } while (stream.avail_out == 0);
        }
        deflateEnd(&stream);
        return out;
    }();
    return bomb;
}

std::string hostOf(const httplib::Request& request) {
    std::string host = request.get_header_value("Host");
    if (const auto colon = host.rfind(':'); colon != std::string::npos && host.front() != '[') {
        host.erase(colon);
    }
    return host;
}

}  // namespace

Server::Server(httplib::Server& http, ServerSettings settings)
    : http_(http), settings_(std::move(settings)) {
    route();
}

void Server::interrupt() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    interrupted_.notify_all();
}

bool Server::pause(std::chrono::milliseconds duration) {
    std::unique_lock lock(mutex_);
    return !interrupted_.wait_for(lock, duration, [&] { return stopping_; });
}

FaultMode Server::fault() const {
    std::lock_guard lock(mutex_);
    return settings_.fault;
}

void Server::route() {
    http_.Get("/proxyapp/c2bmembers.json", [this](const httplib::Request& request,
                                                  httplib::Response& response) {
        const std::string host = hostOf(request);
        const std::string* document = nullptr;
        if (host == "qr." + settings_.domain) document = &settings_.documents.qr;
        if (host == "sub." + settings_.domain) document = &settings_.documents.sub;
        if (document == nullptr) {
            response.status = 404;
            response.set_content("no payment-link host " + host + "\n", "text/plain");
            return;
        }
        ++bankListRequests_;
        const FaultMode mode = fault();
        const std::string body = *document;
        switch (mode.kind) {
            case Kind::none:
                response.set_content(body, "application/json");
                return;
            case Kind::drop:
                // Tear the connection down under the TLS session: the client
                // gets no answer at all.
                if (request.ssl != nullptr) ::shutdown(SSL_get_fd(request.ssl), SHUT_RDWR);
                response.status = 500;
                return;
            case Kind::delay:
                if (!pause(std::chrono::milliseconds(mode.value))) response.status = 503;
                response.set_content(body, "application/json");
                return;
            case Kind::status:
                response.status = mode.value;
                if (mode.garbageBody) {
                    response.set_content(std::string(garbagePage), "text/html");
                } else {
                    response.set_content(body, "application/json");
                }
                return;
            case Kind::truncate:
                // Promise the whole body and more, send half, then hang up.
                response.set_content_provider(
                    body.size() + 4096, "application/json",
                    [body](std::size_t, std::size_t, httplib::DataSink& sink) {
                        sink.write(body.data(), body.size() / 2);
                        return false;
                    });
                return;
            case Kind::garbage:
                response.set_content(std::string(garbagePage), "text/html");
                return;
            case Kind::empty:
                response.set_content("", "application/json");
                return;
            case Kind::huge:
                response.set_content_provider(
                    hugeBytes, "application/json",
                    [](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
                        static const std::string filler(64 * 1024, ' ');
                        const std::size_t chunk =
                            std::min({length, filler.size(), hugeBytes - offset});
                        return sink.write(filler.data(), chunk);
                    });
                return;
            case Kind::gzipBomb:
                // Not a type the server would compress itself: these bytes go out as they are.
                response.set_header("Content-Encoding", "gzip");
                response.set_content(gzipBomb(), "application/octet-stream");
                return;
            case Kind::hugeHeaders:
                for (int i = 0; i < hugeHeaderCount; ++i) {
                    response.set_header("X-Filler-" + std::to_string(i), std::string(1000, 'x'));
                }
                response.set_content(body, "application/json");
                return;
            case Kind::trickleHeaders: {
                // Written by hand under the TLS session, a header line every
                // 200 ms for two seconds, then the document; the connection
                // ends with it.
                if (request.ssl == nullptr) return;
                auto send = [&](const std::string& text) {
                    SSL_write(const_cast<SSL*>(request.ssl), text.data(),
                              static_cast<int>(text.size()));
                };
                send("HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nConnection: close\r\n");
                for (int line = 0; line < 10; ++line) {
                    if (!pause(std::chrono::milliseconds(200))) break;
                    send("X-Trickle-" + std::to_string(line) + ": x\r\n");
                }
                send("Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body);
                ::shutdown(SSL_get_fd(request.ssl), SHUT_RDWR);
                response.status = 500;
                return;
            }
            case Kind::slow:
                response.set_content_provider(
                    body.size(), "application/json",
                    [this, body](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                        if (offset != 0 && !pause(std::chrono::seconds(1))) return false;
                        return sink.write(body.data() + offset, 1);
                    });
                return;
        }
    });

    http_.Get(R"(/logos/(\d+)\.(svg|png))", [this](const httplib::Request& request,
                                                   httplib::Response& response) {
        ++logoRequests_;
        // ?delay=MS holds the answer back, as a slow logo server would.
        if (request.has_param("delay")) {
            pause(std::chrono::milliseconds(std::atoi(request.get_param_value("delay").c_str())));
        }
        const auto number = static_cast<std::uint32_t>(std::stoul(request.matches[1]));
        if (request.matches[2] == "svg") {
            response.set_content(svgLogo(number), "image/svg+xml");
        } else {
            response.set_content(pngLogo(number), "image/png");
        }
        response.set_header("Cache-Control", "max-age=86400");
    });

    http_.Post(
        "/__control/fault", [this](const httplib::Request& request, httplib::Response& response) {
            const auto mode = FaultMode::parse(request.body);
            if (!mode) {
                response.status = 400;
                response.set_content("unknown fault mode \"" + request.body + "\"\n", "text/plain");
                return;
            }
            {
                std::lock_guard lock(mutex_);
                settings_.fault = *mode;
            }
            response.set_content("ok\n", "text/plain");
        });

    http_.Get("/__control/fault", [this](const httplib::Request&, httplib::Response& response) {
        response.set_content(fault().describe() + "\n", "text/plain");
    });

    http_.Get("/__control/stats", [this](const httplib::Request&, httplib::Response& response) {
        response.set_content("{\"c2bmembers\": " + std::to_string(bankListRequests_.load()) +
                                 ", \"logos\": " + std::to_string(logoRequests_.load()) + "}\n",
                             "application/json");
    });

    if (!settings_.quiet) {
        http_.set_logger([](const httplib::Request& request, const httplib::Response& response) {
            std::cerr << request.method << ' ' << hostOf(request) << ' ' << request.path << " -> "
                      << response.status << '\n';
        });
    }
}

}  // namespace vela::sandbox
