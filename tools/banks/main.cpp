// vela-banks: the kit's payment-link and bank-list logic from the command line.
#include <algorithm>
#include <array>
#include <functional>
#include <iostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "Command.h"
#include "TextOutput.h"

namespace vela::banks {
namespace {

/// Every command of the tool; a new one needs only its line here.
const std::array<std::reference_wrapper<const Command>, 3> commands{
    checkCommand(),
    decodeCommand(),
    listCommand(),
};

void printUsage(std::ostream& out) {
    out << "usage: vela-banks COMMAND [FLAGS] OPERANDS\n"
           "       vela-banks --help\n\ncommands:\n";
    for (const Command& command : commands) {
        out << "  vela-banks " << command.name << ' ' << command.operandSynopsis;
        for (const Flag& flag : command.flags) {
            out << " [" << flag.name;
            if (!flag.valueName.empty()) out << ' ' << flag.valueName;
            out << ']';
        }
        out << '\n';
    }
}

void printHelp(std::ostream& out) {
    printUsage(out);
    for (const Command& command : commands) {
        out << '\n' << command.name << ' ' << command.operandSynopsis << '\n';
        std::string_view summary = command.summary;
        while (!summary.empty()) {
            const auto end = summary.find('\n');
            out << "    " << summary.substr(0, end) << '\n';
            summary = end == std::string_view::npos ? "" : summary.substr(end + 1);
        }
        for (const Flag& flag : command.flags) {
            std::string name(flag.name);
            if (!flag.valueName.empty()) {
                name += ' ';
                name += flag.valueName;
            }
            out << "    " << name << std::string(name.size() < 20 ? 20 - name.size() : 1, ' ')
                << flag.help << '\n';
        }
    }
    out << "\nexit status: 0 success, 1 loadingFaild (list), 2 link rejected, 3 document not "
           "decodable, 64 bad usage\n";
}

int usageError(std::ostream& err, std::string_view problem) {
    err << "vela-banks: " << printable(problem) << "\n\n";
    printUsage(err);
    return exit_status::usage;
}

bool wantsHelp(std::span<const std::string> args) {
    // After "--" every word is an operand, even "--help".
    for (const auto& arg : args) {
        if (arg == "--") return false;
        if (arg == "--help" || arg == "-h") return true;
    }
    return false;
}

int run(std::span<const std::string> args, std::istream& in, std::ostream& out, std::ostream& err) {
    if (wantsHelp(args)) {
        printHelp(out);
        return exit_status::ok;
    }
    if (args.empty()) return usageError(err, "missing command");
    auto found = std::find_if(commands.begin(), commands.end(),
                              [&](const Command& command) { return command.name == args.front(); });
    if (found == commands.end()) return usageError(err, "unknown command \"" + args.front() + "\"");
    const Command& command = *found;

    Invocation call{{}, {}, in, out, err};
    bool operandsOnly = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (operandsOnly || arg == "-" || !arg.starts_with("-")) {
            call.operands.push_back(arg);
            continue;
        }
        if (arg == "--") {
            operandsOnly = true;
            continue;
        }
        const auto equals = arg.find('=');
        const std::string name = arg.substr(0, equals);
        auto flag = std::find_if(command.flags.begin(), command.flags.end(),
                                 [&](const Flag& f) { return f.name == name; });
        if (flag == command.flags.end()) {
            return usageError(err,
                              "unknown flag \"" + name + "\" for " + std::string(command.name));
        }
        std::string value;
        if (flag->valueName.empty()) {
            if (equals != std::string::npos) return usageError(err, name + " takes no value");
        } else if (equals != std::string::npos) {
            value = arg.substr(equals + 1);
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            return usageError(err, name + " needs a value");
        }
        call.flags[name] = std::move(value);
    }
    if (call.operands.size() < command.minOperands || call.operands.size() > command.maxOperands) {
        return usageError(
            err, std::string(command.name) + " takes " + std::string(command.operandSynopsis));
    }
    return command.run(call);
}

}  // namespace
}  // namespace vela::banks

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::ios::sync_with_stdio(false);
    try {
        return vela::banks::run(args, std::cin, std::cout, std::cerr);
    } catch (const std::exception& error) {
        std::cerr << "vela-banks: " << vela::banks::printable(error.what()) << '\n';
        return 1;
    }
}
