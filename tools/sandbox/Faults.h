#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace httplib {
struct Request;
struct Response;
}  // namespace httplib

namespace vela::sandbox {

struct Exchange;

/// What follows a fault's name after a colon.
enum class FaultValue {
    none,
    milliseconds,
    statusCode,  ///< 100..599, optionally followed by ":garbage"
    count,       ///< 0 or more
};

/// One row of the fault table: everything the parser, the server and the
/// usage text know about a fault.
struct Fault {
    std::string_view name;
    FaultValue value;
    void (*answer)(Exchange&);
    std::string_view help;
};

/// Every fault, "none" first.
std::span<const Fault> faults();

/// The fault table as usage text, one fault a line.
std::string faultUsage();

/// The fault the sandbox answers bank-list requests with, and its value.
struct FaultMode {
    const Fault* fault = &faults().front();
    int value = 0;  ///< milliseconds for delay, the code for status, hops for redirects
    /// status only: the code comes with the garbage body instead of the
    /// document, as a failing server's error page would.
    bool garbageBody = false;

    /// A row's name, then ":VALUE" for the rows that take one; anything else
    /// is none of them.
    static std::optional<FaultMode> parse(std::string_view text);
    /// The text parse() reads back into this mode.
    std::string describe() const;
};

/// One bank-list request as a fault handler sees it.
struct Exchange {
    const httplib::Request& request;
    httplib::Response& response;
    const std::string& body;  ///< the document that would have been served
    FaultMode mode;
    /// Waits the given time unless the server shuts down first; true when the
    /// full time passed. Stays callable for as long as the server runs.
    std::function<bool(std::chrono::milliseconds)> pause;
};

}  // namespace vela::sandbox
