#!/usr/bin/env bash
# Builds the tests under AddressSanitizer and UndefinedBehaviorSanitizer in their own tree and runs
# them; any report ends the test that made it, so it fails. The whole suite runs.
#
#   tools/sanitize.sh
#
# CORVANE_SANITIZE_BUILD_DIR names the tree (default build-sanitize); the demo disc is the one of
# the normal build (CORVANE_DEMO_DISC, default build/demo-disc), never made again.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${CORVANE_SANITIZE_BUILD_DIR:-$root/build-sanitize}"
normal_build="${CORVANE_BUILD_DIR:-$root/build}"
export CORVANE_DEMO_DISC="${CORVANE_DEMO_DISC:-$normal_build/demo-disc}"
[[ -d "$CORVANE_DEMO_DISC/Tlx_Video" ]] || { echo "no demo disc in $CORVANE_DEMO_DISC (run ./test.sh first)" >&2; exit 2; }

# halt_on_error: the first report ends the program. Test discovery during the build runs the
# binaries too, so these hold from here on.
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:check_initialization_order=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$root/tools/sanitizer/lsan.supp:print_suppressions=0"

if [[ ! -f "$build/build.ninja" ]]; then
  # -O1 with line tables: readable reports, and about half the compile time of the normal tree.
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE= -DCMAKE_CXX_FLAGS="-O1 -g1" \
    -DCORVANE_SANITIZERS=address,undefined -DCORVANE_BUILD_BENCH=OFF >/dev/null
fi
# The test films are the normal build's when it made them: the same films, made once.
if [[ -d "$normal_build/tests/gui/films" && ! -e "$build/tests/gui/films" ]]; then
  mkdir -p "$build/tests/gui"
  ln -s "$normal_build/tests/gui/films" "$build/tests/gui/films"
fi
# Everything the tree holds (benchmarks are off), so a new test program is never left unbuilt.
cmake --build "$build" -j2

export QT_QPA_PLATFORM=offscreen
export CORVANE_AUDIO_OUTPUT=null
# Every test runs; CORVANE_SANITIZE_SKIP may name a pattern of tests to leave out.
skip=()
[[ -n "${CORVANE_SANITIZE_SKIP:-}" ]] && skip=(-E "$CORVANE_SANITIZE_SKIP")
ctest --test-dir "$build" --output-on-failure -j2 "${skip[@]}"
