#pragma once

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
ToolRun runProgram(const TempDir& dir, const std::string& program, std::vector<std::string> args,
                   const std::string& input = "");

}  // namespace vela::test
