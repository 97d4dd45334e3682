// vela-sandbox: a local HTTPS stand-in for the payment system.
#include <httplib.h>
#include <signal.h>

#include <charconv>
#include <fstream>
#include <iostream>
#include <sstream>
#include <thread>
#include <variant>
#include <vector>

#include "Certificate.h"
#include "Server.h"
#include "catalogue/Schema.h"

namespace {

std::string kindLabels() {
    std::string labels;
    for (const auto schema : velawidget::allSchemas) {
        if (!labels.empty()) labels += ", ";
        labels += velawidget::rawValue(schema);
    }
    return labels;
}

std::string usage() {
    return "usage: vela-sandbox [--port N] [--bind ADDRESS] [--domain D] [--fault MODE]\n"
           "                    [--cert FILE --key FILE | --cert-hosts H1,H2] [--cert-out FILE]\n"
           "                    [--data-dir DIR] [--plain] [--quiet]\n"
           "\n"
           "Serves /proxyapp/c2bmembers.json for KIND.DOMAIN by Host header, KIND one of " +
           kindLabels() +
           ",\n"
           "from KIND.json (built in, or in --data-dir), and logos under /logos/ with the\n"
           "initials of the bank that names them (?delay=MS holds one back). --port 0 picks a\n"
           "free port; the first line of output is \"listening on ADDRESS:PORT\".\n"
           "\n"
           "Fault modes for bank lists (--fault, or POST the mode to /__control/fault):\n" +
           vela::sandbox::faultUsage();
}

struct Options {
    int port = 8443;
    std::string bind = "127.0.0.1";
    std::string domain{velawidget::serviceDomain};  // the hosts the kit was built to call
    std::string fault = "none";
    std::string certFile, keyFile, certOut, dataDir;
    std::vector<std::string> certHosts;
    bool plain = false;
    bool quiet = false;
};

std::vector<std::string> splitList(const std::string& text) {
    std::vector<std::string> items;
    std::stringstream in(text);
    for (std::string item; std::getline(in, item, ',');) {
        if (!item.empty()) items.push_back(item);
    }
    return items;
}

bool parse(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](std::string& into) {
            if (i + 1 >= argc) return false;
            into = argv[++i];
            return true;
        };
        std::string text;
        if (arg == "--port") {
            if (!value(text)) return false;
            const auto [end, error] =
                std::from_chars(text.data(), text.data() + text.size(), options.port);
            if (error != std::errc{} || end != text.data() + text.size() || options.port < 0 ||
                options.port > 65535) {
                return false;
            }
        } else if (arg == "--bind") {
            if (!value(options.bind)) return false;
        } else if (arg == "--domain") {
            if (!value(options.domain)) return false;
        } else if (arg == "--fault") {
            if (!value(options.fault)) return false;
        } else if (arg == "--cert") {
            if (!value(options.certFile)) return false;
        } else if (arg == "--key") {
            if (!value(options.keyFile)) return false;
        } else if (arg == "--cert-out") {
            if (!value(options.certOut)) return false;
        } else if (arg == "--cert-hosts") {
            if (!value(text)) return false;
            options.certHosts = splitList(text);
        } else if (arg == "--data-dir") {
            if (!value(options.dataDir)) return false;
        } else if (arg == "--plain") {
            options.plain = true;
        } else if (arg == "--quiet") {
            options.quiet = true;
        } else {
            return false;
        }
    }
    return options.certFile.empty() == options.keyFile.empty();
}

int fail(const std::string& problem) {
    std::cerr << "vela-sandbox: " << problem << '\n';
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::string_view(argv[i]) == "--help" || std::string_view(argv[i]) == "-h") {
            std::cout << usage();
            return 0;
        }
    }
    Options options;
    if (!parse(argc, argv, options)) {
        std::cerr << usage();
        return 64;
    }
    vela::sandbox::ServerSettings settings;
    settings.domain = options.domain;
    settings.quiet = options.quiet;
    const auto fault = vela::sandbox::FaultMode::parse(options.fault);
    if (!fault) return fail("unknown fault mode \"" + options.fault + "\"");
    settings.fault = *fault;
    auto documents = options.dataDir.empty()
                         ? vela::sandbox::Documents::builtIn()
                         : vela::sandbox::Documents::fromDirectory(options.dataDir);
    if (auto* missing = std::get_if<std::string>(&documents)) return fail(*missing);
    settings.documents = std::move(std::get<vela::sandbox::Documents>(documents));

    // Signals are taken by one thread that stops the server; every other
    // thread inherits the blocked mask.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    signal(SIGPIPE, SIG_IGN);

    std::unique_ptr<httplib::Server> http;
    std::optional<vela::sandbox::Identity> identity;
    if (options.plain) {
        http = std::make_unique<httplib::Server>();
    } else {
        if (!options.certFile.empty()) {
            identity = vela::sandbox::loadIdentity(options.certFile, options.keyFile);
        } else {
            auto hosts = options.certHosts;
            if (hosts.empty()) {
                for (const auto schema : velawidget::allSchemas) {
                    hosts.push_back(std::string(velawidget::rawValue(schema)) + "." +
                                    options.domain);
                }
                hosts.push_back("localhost");
            }
            identity = vela::sandbox::makeSelfSigned(hosts);
        }
        if (!identity) return fail("no usable certificate and key");
        http =
            std::make_unique<httplib::SSLServer>(identity->certificate.get(), identity->key.get());
        if (!http->is_valid()) return fail("TLS could not be set up");
        if (!options.certOut.empty()) {
            std::ofstream out(options.certOut, std::ios::binary | std::ios::trunc);
            out << vela::sandbox::certificatePem(*identity);
            if (!out.flush()) return fail("cannot write " + options.certOut);
        }
    }
    http->new_task_queue = [] { return new httplib::ThreadPool(64); };
    http->set_keep_alive_timeout(1);
    // As any production server: with Nagle's algorithm on, a response written
    // after TLS 1.3's session tickets waits for the client's delayed ACK of
    // them, about 40 ms on every fresh connection.
    http->set_tcp_nodelay(true);
    http->set_read_timeout(5, 0);
    vela::sandbox::Server server(*http, std::move(settings));

    int port = options.port;
    if (port == 0) {
        port = http->bind_to_any_port(options.bind);
        if (port < 0) return fail("cannot bind " + options.bind);
    } else if (!http->bind_to_port(options.bind, port)) {
        return fail("cannot bind " + options.bind + ":" + std::to_string(port));
    }
    std::cout << "listening on " << options.bind << ':' << port << std::endl;

    std::thread stopper([&] {
        int received = 0;
        sigwait(&signals, &received);
        server.interrupt();
        http->stop();
    });
    const bool listened = http->listen_after_bind();
    // A listen that ended on its own (not by a signal) still lets the stopper go.
    if (!listened) kill(getpid(), SIGTERM);
    stopper.join();
    return listened ? 0 : 1;
}
