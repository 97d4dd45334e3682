#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "Documents.h"
#include "Faults.h"

namespace httplib {
class Server;
}

namespace vela::sandbox {

struct ServerSettings {
    std::string domain;
    Documents documents;
    FaultMode fault;
    bool quiet = false;
};

/// The payment system's link hosts, one for each kind, on one port: routes
/// by Host header, serves the bank lists (with the current fault) and logos,
/// and answers the control endpoints under /__control/.
class Server {
  public:
    Server(httplib::Server& http, ServerSettings settings);

    /// Makes every wait inside a handler end at once; for shutting down.
    void interrupt();

  private:
    void route();
    /// Waits `duration` unless interrupted first; true when the full time passed.
    bool pause(std::chrono::milliseconds duration);
    FaultMode fault() const;
    std::string logo(std::string_view path, bool svg) const;

    httplib::Server& http_;
    ServerSettings settings_;
    const std::map<std::string, std::string, std::less<>> bankNamesByLogoPath_;
    mutable std::mutex mutex_;  // guards settings_.fault and stopping_
    std::condition_variable interrupted_;
    bool stopping_ = false;
    std::atomic<unsigned> bankListRequests_{0};
    std::atomic<unsigned> logoRequests_{0};
};

}  // namespace vela::sandbox
