#include "bench/player/bench_process.h"

#include <QByteArray>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace corvane::bench {

int runEachFilmInItsOwnProcess(const char* program, std::size_t filmCount) {
    std::fflush(stdout);
    int failures = 0;
    for (std::size_t film = 0; film < filmCount; ++film) {
        const std::string command = "'" + std::string(program) + "' --film " + std::to_string(film);
        if (std::system(command.c_str()) != 0) ++failures;
    }
    return failures == 0 ? 0 : 1;
}

void prepareHeadlessRun() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("CORVANE_AUDIO_OUTPUT")) qputenv("CORVANE_AUDIO_OUTPUT", "null");
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) qputenv("XDG_RUNTIME_DIR", QByteArray("/tmp"));
}

long residentKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    return 0;
}

}  // namespace corvane::bench
