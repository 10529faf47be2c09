#pragma once

#include <string>
#include <vector>

namespace process
{

struct CapturedRun {
    bool started = false;
    int exitCode = -1;
    std::string out; // standard output (with standard error when merged)
    std::string err;
    std::string startError;
};

// Runs a child to its end and collects what it printed. Standard input is /dev/null.
CapturedRun runCaptured(const std::vector<std::string> &argv, bool mergeStderr = false,
                        const std::string &workDir = {});

} // namespace process
