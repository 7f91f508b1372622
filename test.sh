#!/usr/bin/env bash
# Installs what is needed, builds, makes the demo disc and runs every test: the suite, then the
# Debian package built, unpacked and started on the demo disc (tools/package_check.sh), then the
# same tests under AddressSanitizer and UndefinedBehaviorSanitizer (tools/sanitize.sh), then each
# fuzz target for a short while with every saved crash input (tools/fuzz.sh). Any failure fails.
# CORVANE_QUICK=1 runs the suite only, for a quick loop while developing.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
build="${CORVANE_BUILD_DIR:-$root/build}"
export CORVANE_BUILD_DIR="$build"
fuzz_seconds="${CORVANE_FUZZ_SECONDS:-20}"

step_started=$SECONDS
summary=()
step_done() {
  summary+=("$(printf '%-16s %s (%d min %02d s)' "$1" "$2" $(((SECONDS - step_started) / 60)) $(((SECONDS - step_started) % 60)))")
  step_started=$SECONDS
}
ctest_summary() { grep -E '^[0-9]+% tests passed' "$1" | tail -n 1; }

"$root/tools/setup.sh"
"$root/tools/make_demo_disc.sh" "$build/demo-disc"

# No display and no GPU in CI: windows draw offscreen and sound goes nowhere.
export QT_QPA_PLATFORM=offscreen
export CORVANE_AUDIO_OUTPUT=null
export CORVANE_DEMO_DISC="$build/demo-disc"
log="$build/test-suite.log"
ctest --test-dir "$build" --output-on-failure -j2 | tee "$log"
step_done "suite:" "$(ctest_summary "$log")"

if [[ "${CORVANE_QUICK:-0}" != 1 ]]; then
  log="$build/package-check.log"
  "$root/tools/package_check.sh" "$build/demo-disc" 2>&1 | tee "$log"
  step_done "package:" "$(tail -n 1 "$log")"

  log="$build/sanitize-suite.log"
  "$root/tools/sanitize.sh" | tee "$log"
  step_done "sanitizer suite:" "$(ctest_summary "$log")"

  log="$build/fuzz.log"
  "$root/tools/fuzz.sh" "$fuzz_seconds" | tee "$log"
  step_done "fuzz:" "$(tail -n 1 "$log" | sed "s/^fuzz: //")"
fi

printf '%s\n' "${summary[@]}"
echo "test.sh: every step passed"
