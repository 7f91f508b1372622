#pragma once

#include <array>
#include <cstdio>
#include <string>
#include <sys/wait.h>
#include <utility>
#include <vector>

#include "support/test_support.h"

namespace corvane {

struct CliRun {
    int exitCode;
    std::string out;
};

struct ShellRun {
    int exitCode = -1;
    std::string out, err;
};

// Runs a shell command line with arguments (each quoted) appended; standard output is captured and
// standard error goes to a file, so a test can read the message.
inline ShellRun runShell(std::string command, const std::vector<std::string>& arguments, const std::string& tail = {}) {
    testing::TempFolder scratch;
    for (const auto& argument : arguments) command += " '" + argument + "'";
    command += " 2>'" + (scratch / "err").string() + "'" + tail;
    ShellRun run;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        std::array<char, 4096> buffer{};
        std::size_t read = 0;
        while ((read = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) run.out.append(buffer.data(), read);
        const int status = pclose(pipe);
        run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    run.err = testing::readFile(scratch / "err");
    return run;
}

// Runs the companion with arguments and captures standard output; its standard error is handed
// back through errors when asked for.
inline CliRun runCli(const std::vector<std::string>& arguments, std::string* errors = nullptr) {
    ShellRun run = runShell("'" CORVANE_CLI "'", arguments);
    if (errors) *errors = std::move(run.err);
    return CliRun{run.exitCode, std::move(run.out)};
}

}  // namespace corvane
