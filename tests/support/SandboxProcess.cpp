#include "support/SandboxProcess.h"

#include <curl/curl.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <boost/json/parse.hpp>
#include <chrono>
#include <stdexcept>
#include <thread>

namespace vela::test {
namespace {

std::size_t collect(char* data, std::size_t size, std::size_t count, void* into) {
    static_cast<std::string*>(into)->append(data, size * count);
    return size * count;
}

}  // namespace

SandboxProcess::SandboxProcess(std::vector<std::string> extraArgs)
    : certFile_(dir_ / "sandbox.pem"),
      plain_(std::count(extraArgs.begin(), extraArgs.end(), "--plain") > 0) {
    std::vector<std::string> args{VELA_SANDBOX_BINARY, "--port",     "0",
                                  "--quiet",           "--cert-out", certFile_.string()};
    args.insert(args.end(), extraArgs.begin(), extraArgs.end());
    std::vector<char*> argv;
    for (auto& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);

    const std::string output = (dir_ / "output").string();
    pid_ = fork();
    if (pid_ == 0) {
        // The sandbox dies with the test process and never holds the test's
        // own output open, so a crashed test cannot leave ctest waiting.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        dup2(open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 1);
        dup2(open("/dev/null", O_WRONLY), 2);
        execv(argv[0], argv.data());
        _exit(127);
    }
    // Its first line names the port; a sandbox silent for 20 s is broken.
    std::string line;
    for (int waited = 0; pid_ > 0 && waited < 2000; ++waited) {
        line = readFile(output).value_or("");
        if (line.find('\n') != std::string::npos) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    line = line.substr(0, line.find('\n'));
    const std::string prefix = "listening on 127.0.0.1:";
    if (!line.starts_with(prefix)) {
        stop();
        throw std::runtime_error("the sandbox said \"" + line + "\" instead of its port");
    }
    port_ = std::stoi(line.substr(prefix.size()));
}

SandboxProcess::~SandboxProcess() {
    stop();
}

int SandboxProcess::stop() {
    if (pid_ <= 0) return -1;
    kill(pid_, SIGTERM);
    int status = 0;
    bool exited = false;
    // A sandbox that does not stop within ten seconds is killed, so a broken
    // shutdown shows up as a failed exit status rather than a hung suite.
    for (int waited = 0; waited < 1000 && !(exited = waitpid(pid_, &status, WNOHANG) == pid_);
         ++waited) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (!exited) {
        kill(pid_, SIGKILL);
        waitpid(pid_, &status, 0);
    }
    pid_ = -1;
    return exited && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string SandboxProcess::request(const std::string& path, const std::string* postBody,
                                    long* status) const {
    std::string body;
    *status = 0;
    CURL* easy = curl_easy_init();
    if (easy == nullptr) return body;
    const std::string url = (plain_ ? "http://qr.vela.example" : "https://qr.vela.example") + path;
    const std::string connectTo = "::127.0.0.1:" + std::to_string(port_);
    curl_slist* targets = curl_slist_append(nullptr, connectTo.c_str());
    curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
    curl_easy_setopt(easy, CURLOPT_CONNECT_TO, targets);
    curl_easy_setopt(easy, CURLOPT_CAINFO, certFile_.c_str());
    curl_easy_setopt(easy, CURLOPT_TIMEOUT, 20L);
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, collect);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, &body);
    if (postBody != nullptr) curl_easy_setopt(easy, CURLOPT_POSTFIELDS, postBody->c_str());
    if (curl_easy_perform(easy) == CURLE_OK)
        curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, status);
    curl_slist_free_all(targets);
    curl_easy_cleanup(easy);
    return body;
}

bool SandboxProcess::setFault(const std::string& mode) const {
    long status = 0;
    request("/__control/fault", &mode, &status);
    return status == 200;
}

long SandboxProcess::stat(const std::string& name) const {
    long status = 0;
    const std::string body = request("/__control/stats", nullptr, &status);
    boost::json::error_code error;
    const auto value = boost::json::parse(body, error);
    if (status != 200 || error || !value.is_object() || !value.as_object().contains(name))
        return -1;
    return static_cast<long>(value.as_object().at(name).as_int64());
}

}  // namespace vela::test
