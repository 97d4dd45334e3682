#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "support/TempDir.h"

namespace vela::test {

struct ToolRun {
    int status = -1;  ///< exit status, or -1 when the program did not exit normally
    std::string out;
    std::string err;
};

/// Runs `program` with `args` and `input` on stdin, waits for it, and collects
/// what it wrote. The streams pass through files in `dir`.
inline ToolRun runProgram(const TempDir& dir, const std::string& program,
                          const std::vector<std::string>& args, const std::string& input = "") {
    const auto quoted = [](const std::string& text) {
        std::string shell = "'";
        for (char c : text) shell += c == '\'' ? std::string("'\\''") : std::string(1, c);
        return shell + "'";
    };
    dir.write("stdin", input);
    std::string command = quoted(program);
    for (const auto& arg : args) command += " " + quoted(arg);
    command += " <" + quoted(dir / "stdin") + " >" + quoted(dir / "stdout") + " 2>" +
               quoted(dir / "stderr");
    const int status = std::system(command.c_str());
    return {status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1,
            dir.read("stdout").value_or(""), dir.read("stderr").value_or("")};
}

}  // namespace vela::test
