#include "Server.h"

#include <httplib.h>

#include <cstdlib>
#include <iostream>

#include "Logos.h"

namespace vela::sandbox {
namespace {

std::string hostOf(const httplib::Request& request) {
    std::string host = request.get_header_value("Host");
    if (const auto colon = host.rfind(':'); colon != std::string::npos && host.front() != '[') {
        host.erase(colon);
    }
    return host;
}

}  // namespace

Server::Server(httplib::Server& http, ServerSettings settings)
    : http_(http),
      settings_(std::move(settings)),
      bankNamesByLogoPath_(settings_.documents.bankNamesByLogoPath()) {
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

std::string Server::logo(std::string_view path, bool svg) const {
    // Both pictures of a logo share its colour and letters; a logo no bank
    // names gets a tile without letters.
    const std::string_view key = Documents::logoKey(path);
    const auto bank = bankNamesByLogoPath_.find(key);
    const std::string initials = bank == bankNamesByLogoPath_.end() ? "" : initialsOf(bank->second);
    return svg ? svgLogo(key, initials) : pngLogo(key, initials);
}

void Server::route() {
    http_.Get("/proxyapp/c2bmembers.json", [this](const httplib::Request& request,
                                                  httplib::Response& response) {
        const std::string host = hostOf(request);
        const std::string* document = settings_.documents.forHost(host, settings_.domain);
        if (document == nullptr) {
            response.status = 404;
            response.set_content("no payment-link host " + host + "\n", "text/plain");
            return;
        }
        ++bankListRequests_;
        Exchange exchange{request, response, *document, fault(),
                          [this](std::chrono::milliseconds duration) { return pause(duration); }};
        exchange.mode.fault->answer(exchange);
    });

    http_.Get(R"(/logos/[^/]+\.(svg|png))", [this](const httplib::Request& request,
                                                   httplib::Response& response) {
        ++logoRequests_;
        // ?delay=MS holds the answer back, as a slow logo server would.
        if (request.has_param("delay")) {
            pause(std::chrono::milliseconds(std::atoi(request.get_param_value("delay").c_str())));
        }
        const bool svg = request.matches[1] == "svg";
        response.set_content(logo(request.path, svg), svg ? "image/svg+xml" : "image/png");
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
