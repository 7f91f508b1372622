#!/usr/bin/env bash
# Installs what is needed, builds, makes the demo disc and starts the player on it.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
build="${CORVANE_BUILD_DIR:-$root/build}"
export CORVANE_BUILD_DIR="$build"

"$root/tools/setup.sh"
disc="$build/demo-disc"
"$root/tools/make_demo_disc.sh" "$disc"

player=("$build/app/corvane-player" "$disc")
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
  echo "No display: starting the player in a virtual X server (xvfb-run)."
  exec xvfb-run -a -s "-screen 0 1920x1080x24" "${player[@]}"
fi
exec "${player[@]}"
