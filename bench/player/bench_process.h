#pragma once

#include <cstddef>

namespace corvane::bench {

// Runs this program again once a film ("--film N"), each in a process of its own so that its
// memory figures are its own. 0 when every run succeeded, else 1.
int runEachFilmInItsOwnProcess(const char* program, std::size_t filmCount);

// Offscreen windows, the null sound output and a runtime folder, unless the caller chose others:
// a run needs no desktop and makes no sound.
void prepareHeadlessRun();

long residentKilobytes();

}  // namespace corvane::bench
