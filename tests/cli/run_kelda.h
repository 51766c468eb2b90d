#pragma once

// Runs the kelda tool as a user does, from a test: the tool's path comes
// from the build (KELDA_CLI).

#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace kelda::test {

struct ToolResult {
    int status = -1;
    std::string output; // standard output and standard error together
};

inline ToolResult kelda(const std::string& arguments) {
    ToolResult r;
    const std::string command = std::string("'") + KELDA_CLI + "' " + arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return r;
    char buffer[4096];
    for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) r.output.append(buffer, n);
    const int status = pclose(pipe);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

} // namespace kelda::test
