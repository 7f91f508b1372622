#!/usr/bin/env bash
# Installs what is needed, builds, makes the demo disc and runs every test.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
build="${CORVANE_BUILD_DIR:-$root/build}"
export CORVANE_BUILD_DIR="$build"

"$root/tools/setup.sh"
"$root/tools/make_demo_disc.sh" "$build/demo-disc"

# No display and no GPU in CI: windows draw offscreen and sound goes nowhere.
export QT_QPA_PLATFORM=offscreen
export CORVANE_AUDIO_OUTPUT=null
export CORVANE_DEMO_DISC="$build/demo-disc"
ctest --test-dir "$build" --output-on-failure -j2
