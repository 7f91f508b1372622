#!/usr/bin/env bash
# Checks the Debian package as a user gets it: builds the .deb with CPack, validates its desktop
# entry, metainfo and manual pages, checks that apt can install it on Debian 12, unpacks it into
# a fresh root, and starts the unpacked corvane-player offscreen on copies of the demo disc (one
# with its own System folder, one without, which must read the installed one) until each run has
# opened its first film; then ends each run with SIGTERM and expects a clean exit. Nothing may
# be written beside the installed executables.
#
#   package_check.sh [DEMO_DISC]     (default: $CORVANE_BUILD_DIR/demo-disc)
#
# Needs a configured and built tree (tools/setup.sh) and the demo disc (tools/make_demo_disc.sh).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${CORVANE_BUILD_DIR:-$root/build}"
demo="${1:-$build/demo-disc}"
app_id=io.github.corvane.Player
first_picture_seconds="${CORVANE_FIRST_PICTURE_SECONDS:-60}"

fail() { echo "package check: $*" >&2; exit 1; }
[[ -d "$demo/Tlx_Video" ]] || fail "no demo disc at $demo (run tools/make_demo_disc.sh)"

work="$(mktemp -d)"
player_pid=""
cleanup() {
  [[ -n "$player_pid" ]] && kill "$player_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

echo "== sources: desktop entry and metainfo"
desktop-file-validate "$root/packaging/$app_id.desktop"
appstreamcli validate --no-net "$root/packaging/$app_id.metainfo.xml"

echo "== building the .deb"
cmake --build "$build" -j2 >/dev/null
rm -rf "$build/package"
(cd "$build" && cpack --config CPackConfig.cmake -B "$build/package" >/dev/null)
debs=("$build/package"/corvane-player_*.deb)
((${#debs[@]} == 1)) && [[ -f "${debs[0]}" ]] || fail "cpack made no single corvane-player_*.deb"
deb="${debs[0]}"
echo "$deb ($(du -k "$deb" | cut -f1) KiB)"

depends="$(dpkg-deb -f "$deb" Depends)"
echo "Depends: $depends"
for wanted in libmpv2 libqt6widgets6 libqt6gui6 libqt6core6 libavcodec59 libavformat59 libstdc++6; do
  [[ ", $depends," == *", $wanted"[\ ,]* ]] || fail "Depends lacks $wanted"
done

# apt resolves the package's dependencies from the Debian 12 archive (a simulation: nothing is
# installed, no lock is taken).
apt-get install --simulate -o Debug::NoLocking=1 "$deb" >"$work/apt.log" 2>&1 ||
  { cat "$work/apt.log" >&2; fail "apt cannot install $deb"; }

echo "== unpacking into a fresh root"
fresh="$work/root"
dpkg-deb -x "$deb" "$fresh"
expected=(
  usr/bin/corvane-player usr/bin/corvane-cli
  usr/share/applications/$app_id.desktop usr/share/metainfo/$app_id.metainfo.xml
  usr/share/icons/hicolor/scalable/apps/$app_id.svg
  usr/share/icons/hicolor/48x48/apps/$app_id.png usr/share/icons/hicolor/256x256/apps/$app_id.png
  usr/share/man/man1/corvane-player.1.gz usr/share/man/man1/corvane-cli.1.gz
  usr/share/corvane-player/System/Messages0.txt usr/share/corvane-player/System/Messages1.txt
  usr/share/corvane-player/System/Language.cfg usr/share/corvane-player/System/Mpeg2_ADS.GRF)
for file in "${expected[@]}"; do [[ -f "$fresh/$file" ]] || fail "the package lacks /$file"; done
[[ "$(file -b "$fresh/usr/share/icons/hicolor/48x48/apps/$app_id.png")" == "PNG image data, 48 x 48,"* ]] ||
  fail "the 48x48 icon is no 48x48 PNG"
desktop-file-validate "$fresh/usr/share/applications/$app_id.desktop"
appstreamcli validate --no-net "$fresh/usr/share/metainfo/$app_id.metainfo.xml" >/dev/null
for page in corvane-player corvane-cli; do
  warnings="$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$fresh/usr/share/man/man1/$page.1.gz" 2>&1 >/dev/null)"
  [[ -z "$warnings" ]] || fail "manual page $page: $warnings"
done

# The unpacked programs run from the fresh root: its bin folder first on the path; they find
# their share folder beside bin. Home, documents and data folders are the check's own.
export PATH="$fresh/usr/bin:$PATH"
home="$work/home"
mkdir -p "$home/Documents"
export HOME="$home" XDG_DATA_HOME="$home/.local/share" XDG_CONFIG_HOME="$home/.config"
export XDG_CACHE_HOME="$home/.cache" XDG_DOCUMENTS_DIR="$home/Documents"
export QT_QPA_PLATFORM=offscreen CORVANE_AUDIO_OUTPUT=null

for program in corvane-player corvane-cli; do
  version="$("$program" --version)"
  [[ "$version" == "$program "* ]] || fail "$program --version printed: $version"
  echo "$version"
done
corvane-cli packages "$demo" >/dev/null || fail "the installed corvane-cli cannot read the demo disc"

bin_before="$(cd "$fresh" && find . -printf '%p %s %T@\n' | sort)"

# Starts the installed player on a disc and waits for its first film to open.
first_picture() {
  local disc="$1" log="$1/Application.Log"
  local started=$SECONDS
  corvane-player "$disc" >"$work/player.out" 2>&1 &
  player_pid=$!
  until grep -qa "Fine apertura" "$log" 2>/dev/null; do
    if ! kill -0 "$player_pid" 2>/dev/null; then
      cat "$work/player.out" >&2
      fail "corvane-player ended before its first picture on $disc"
    fi
    ((SECONDS - started < first_picture_seconds)) || fail "no first picture within $first_picture_seconds s on $disc"
    sleep 0.2
  done
  echo "first picture on $(basename "$disc") after $((SECONDS - started)) s"
  kill -TERM "$player_pid"
  local status=0
  wait "$player_pid" || status=$?
  player_pid=""
  ((status == 0)) || { cat "$work/player.out" >&2; fail "corvane-player ended with status $status on SIGTERM"; }
}

echo "== the installed player on the demo disc"
# Copies share the films with the demo disc (hard links): the disc itself is left as it is.
with_system="$work/discs/with-system"
without_system="$work/discs/without-system"
mkdir -p "$with_system" "$without_system"
cp -al "$demo/Tlx_Video" "$demo/System" "$with_system/"
cp -al "$demo/Tlx_Video" "$without_system/"

first_picture "$with_system"
grep -qa "Percorso System" "$with_system/Application.Log" && fail "a disc with its own System read another"

first_picture "$without_system"
grep -qa "Percorso System: $fresh/usr/share/corvane-player/System" "$without_system/Application.Log" ||
  fail "a disc without System did not read the installed one"
[[ ! -e "$without_system/System" ]] || fail "a System folder was written into the disc"

bin_after="$(cd "$fresh" && find . -printf '%p %s %T@\n' | sort)"
[[ "$bin_before" == "$bin_after" ]] || { diff <(echo "$bin_before") <(echo "$bin_after") >&2; fail "files were written into the installed tree"; }

echo "package check: passed"
