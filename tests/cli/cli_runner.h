#pragma once

#include <array>
#include <cstdio>
#include <string>
#include <sys/wait.h>
#include <vector>

#include "support/test_support.h"

namespace corvane {

struct CliRun {
    int exitCode;
    std::string out;
};

// Runs the companion with arguments (each quoted) and captures standard output; standard error
// goes to a file so a test can read the message.
inline CliRun runCli(const std::vector<std::string>& arguments, std::string* errors = nullptr) {
    testing::TempFolder scratch;
    std::string command = "'" CORVANE_CLI "'";
    for (const auto& argument : arguments) command += " '" + argument + "'";
    command += " 2>'" + (scratch / "err").string() + "'";
    CliRun run{-1, {}};
    if (FILE* pipe = popen(command.c_str(), "r")) {
        std::array<char, 4096> buffer{};
        std::size_t read = 0;
        while ((read = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) run.out.append(buffer.data(), read);
        const int status = pclose(pipe);
        run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    if (errors) *errors = testing::readFile(scratch / "err");
    return run;
}

}  // namespace corvane
