#pragma once

#include <cstddef>
#include <iosfwd>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vela::banks {

/// Exit statuses shared by every command.
namespace exit_status {
inline constexpr int ok = 0;
inline constexpr int loadingFailed = 1;
inline constexpr int rejectedLink = 2;
inline constexpr int undecodableDocument = 3;
inline constexpr int usage = 64;
}  // namespace exit_status

struct Flag {
    std::string_view name;       ///< with the dashes, e.g. "--json"
    std::string_view valueName;  ///< empty for a switch, else the flag takes one value
    std::string_view help;
};

/// One parsed command line, already checked against the command's flags and operands.
struct Invocation {
    std::vector<std::string> operands;
    std::map<std::string, std::string, std::less<>> flags;  ///< switches map to ""
    std::istream& in;
    std::ostream& out;
    std::ostream& err;

    bool has(std::string_view flag) const { return flags.find(flag) != flags.end(); }
    std::optional<std::string> value(std::string_view flag) const {
        auto found = flags.find(flag);
        if (found == flags.end()) return std::nullopt;
        return found->second;
    }
};

struct Command {
    std::string_view name;
    std::string_view operandSynopsis;  ///< e.g. "LINK"
    std::size_t minOperands;
    std::size_t maxOperands;
    std::string_view summary;  ///< the paragraph `--help` prints for the command
    std::vector<Flag> flags;
    int (*run)(const Invocation&);
};

const Command& checkCommand();
const Command& decodeCommand();
const Command& listCommand();

/// "--json", which every command takes.
inline constexpr Flag jsonFlag{"--json", "", "print one JSON value on stdout instead of a table"};

}  // namespace vela::banks
