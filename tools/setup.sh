#!/usr/bin/env bash
# Installs the Debian packages of tools/debian-packages.txt that are missing, then configures and
# builds. Quick when nothing changed: dpkg is asked first and ninja rebuilds only what changed.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${CORVANE_BUILD_DIR:-$root/build}"

mapfile -t wanted < <(grep -v -E '^\s*(#|$)' "$root/tools/debian-packages.txt")
missing=()
for package in "${wanted[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo_cmd=""
  [[ $(id -u) -eq 0 ]] || sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

if [[ ! -f "$build/build.ninja" ]]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE="${CORVANE_BUILD_TYPE:-RelWithDebInfo}"
fi
cmake --build "$build"
