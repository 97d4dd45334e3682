#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/TempDir.h"

namespace vela::test {

/// A vela-sandbox of its own on a free port of 127.0.0.1, with a fresh
/// certificate that `certFile()` holds. Stopped (SIGTERM) on destruction.
class SandboxProcess {
  public:
    explicit SandboxProcess(std::vector<std::string> extraArgs = {});
    ~SandboxProcess();
    SandboxProcess(const SandboxProcess&) = delete;
    SandboxProcess& operator=(const SandboxProcess&) = delete;

    const std::filesystem::path& certFile() const { return certFile_; }
    /// "127.0.0.1:PORT", as --connect-to takes it.
    std::string address() const { return "127.0.0.1:" + std::to_string(port_); }

    /// Switches the fault mode at run time; false when the sandbox refused it.
    bool setFault(const std::string& mode) const;
    /// A request counter ("c2bmembers" or "logos"), or -1 when unreadable.
    long stat(const std::string& name) const;
    /// Sends SIGTERM and returns the exit status (-1 unless it exited normally).
    int stop();

  private:
    std::string request(const std::string& path, const std::string* postBody, long* status) const;

    TempDir dir_;
    std::filesystem::path certFile_;
    bool plain_;
    pid_t pid_ = -1;
    int port_ = 0;
};

}  // namespace vela::test
