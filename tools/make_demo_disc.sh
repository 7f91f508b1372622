#!/usr/bin/env bash
# Makes the demo disc in OUTDIR: OUTDIR/Tlx_Video with four packages (a volleyball match of two
# films, a volleyball synthesis, a basketball match, a handball match whose scout file is
# enciphered) and OUTDIR/System (a copy of data/System).
#
#   make_demo_disc.sh OUTDIR
#
# Everything is made from fixed seeds, so two runs give the same disc. A disc that is complete and
# newer than the tools is left alone; films whose parameters did not change are kept.
# CORVANE_BUILD_DIR names the build folder that holds (or gets) tools/corvane-encipher.
set -euo pipefail

(($# == 1)) || { echo "usage: $0 OUTDIR" >&2; exit 2; }
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="$1"
mkdir -p "$out"
out="$(cd "$out" && pwd)"
marker="$out/.corvane-demo-disc"
stamp="$out/.corvane-demo-disc.stamp"
films="$out/.corvane-demo-films"

if [[ -n "$(ls -A "$out")" && ! -e "$marker" ]]; then
  echo "$out is not empty and holds no demo disc: refusing to write into it" >&2
  exit 1
fi
touch "$marker"

sources=("$root/tools/make_film.sh" "$root/tools/make_demo_disc.sh" "$root/tools/encipher_scout.cpp"
         "$root"/tools/demo/*.py "$root"/data/System/*)

disc_is_current() {
  [[ -f "$stamp" ]] || return 1
  local file
  for file in "${sources[@]}"; do
    [[ "$file" -ot "$stamp" ]] || return 1
  done
  while IFS= read -r file; do
    [[ -f "$out/$file" ]] || return 1
  done <"$stamp"
}

if disc_is_current; then
  echo "demo disc in $out is up to date"
  exit 0
fi
rm -f "$stamp"

build="${CORVANE_BUILD_DIR:-$root/build}"
if [[ ! -f "$build/build.ninja" && ! -f "$build/Makefile" ]]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" --target corvane-encipher >/dev/null
encipher="$build/tools/corvane-encipher"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

python3 "$root/tools/demo/build_data.py" "$out" "$work" "$work/texts.txt" >"$work/films.tsv"
"$encipher" "$work/Orsi-Cinghiali.sco" "$out/Tlx_Video/2026-12-05_Pallamano_Orsi-Cinghiali/Orsi-Cinghiali.sco"

# A film is made again only when its parameters changed; two at a time.
mkdir -p "$films"
make_one() {
  local path="$1" codec="$2" size="$3" seconds="$4" audio="$5" gop="$6" label="$7"
  local key="$films/$(echo "$path" | tr '/' '_').args"
  local args="$codec $size $seconds $audio $gop $label"
  if [[ -f "$out/$path" && -f "$key" && "$(cat "$key")" == "$args" && "$key" -nt "$root/tools/make_film.sh" ]]; then
    return 0
  fi
  local options=(--codec "$codec" --size "$size" --seconds "$seconds" --gop "$gop" --label "$label")
  ((audio)) && options+=(--audio)
  "$root/tools/make_film.sh" "$out/$path" "${options[@]}"
  echo "$args" >"$key"
}
running=0
failed=0
while IFS=$'\t' read -r path codec size seconds audio gop label; do
  if ((running == 2)); then
    wait -n || failed=1
    running=$((running - 1))
  fi
  make_one "$path" "$codec" "$size" "$seconds" "$audio" "$gop" "$label" &
  running=$((running + 1))
done <"$work/films.tsv"
while ((running > 0)); do
  wait -n || failed=1
  running=$((running - 1))
done
((failed == 0)) || { echo "a film could not be made" >&2; exit 1; }

# Nothing but the files made here stays in Tlx_Video.
{ cut -f1 "$work/films.tsv"; cat "$work/texts.txt"; } | LC_ALL=C sort >"$work/wanted.txt"
(cd "$out" && find Tlx_Video -type f | LC_ALL=C sort) >"$work/present.txt"
LC_ALL=C comm -13 "$work/wanted.txt" "$work/present.txt" | while IFS= read -r stale; do
  rm -f "$out/$stale"
done
find "$out/Tlx_Video" -mindepth 1 -type d -empty -delete

rm -rf "$out/System"
mkdir -p "$out/System"
cp -p "$root"/data/System/* "$out/System/"
[[ -f "$out/System/Language.cfg" ]] || printf '1\r\n' >"$out/System/Language.cfg"

(cd "$out" && find Tlx_Video System -type f | LC_ALL=C sort) >"$work/stamp"
mv "$work/stamp" "$stamp"
echo "demo disc made in $out"
