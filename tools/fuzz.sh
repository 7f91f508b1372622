#!/usr/bin/env bash
# Runs the fuzz targets of fuzz/ for SECONDS each, then replays every saved crash input of
# fuzz/crashes/<target>/ (inputs that once failed, kept so they stay fixed). Fails on any
# finding; the input that failed is left under the fuzz build folder and named in the output.
#
#   tools/fuzz.sh SECONDS [TARGET...]     (no TARGET: all of them; 0 seconds: replay only)
#
# The targets are built with clang and libFuzzer in their own tree (CORVANE_FUZZ_BUILD_DIR,
# default build-fuzz), so the normal build is unaffected.
set -euo pipefail

(($# >= 1)) && [[ "$1" =~ ^[0-9]+$ ]] || { echo "usage: $0 SECONDS [TARGET...]" >&2; exit 2; }
seconds="$1"
shift
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${CORVANE_FUZZ_BUILD_DIR:-$root/build-fuzz}"

all_targets=()
for source in "$root"/fuzz/*_fuzz.cpp; do
  name="$(basename "$source" _fuzz.cpp)"
  all_targets+=("$name")
done
targets=("$@")
((${#targets[@]})) || targets=("${all_targets[@]}")
for target in "${targets[@]}"; do
  [[ -f "$root/fuzz/${target}_fuzz.cpp" ]] || { echo "no fuzz target '$target' (have: ${all_targets[*]})" >&2; exit 2; }
done

if [[ ! -f "$build/build.ninja" ]]; then
  CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVANE_FUZZ=ON >/dev/null
fi
cmake --build "$build" -j2 --target "${targets[@]/#/fuzz_}"

export ASAN_OPTIONS="${ASAN_OPTIONS:-halt_on_error=1:abort_on_error=1:detect_leaks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}"

work="$build/fuzz-runs"
mkdir -p "$work"
failed=()

# One dictionary a target: the number boundaries every reader meets, then the target's keywords.
dictionary_of() {
  local target="$1" dict="$work/$1.dict"
  cat "$root/fuzz/dict/numbers.dict" >"$dict"
  [[ -f "$root/fuzz/dict/$target.dict" ]] && cat "$root/fuzz/dict/$target.dict" >>"$dict"
  echo "$dict"
}

for target in "${targets[@]}"; do
  binary="$build/fuzz/fuzz_$target"
  # Saved crash inputs first: each must now pass.
  crashes=()
  if [[ -d "$root/fuzz/crashes/$target" ]]; then
    mapfile -t crashes < <(find "$root/fuzz/crashes/$target" -type f | sort)
  fi
  if ((${#crashes[@]})); then
    if "$binary" "${crashes[@]}" >"$work/$target.replay.log" 2>&1; then
      echo "fuzz $target: ${#crashes[@]} saved crash inputs pass"
    else
      echo "fuzz $target: a saved crash input fails again (log $work/$target.replay.log):"
      tail -n 30 "$work/$target.replay.log"
      failed+=("$target")
      continue
    fi
  fi
  ((seconds > 0)) || continue

  # New inputs go to a corpus under the build folder; the seeds in the repository stay as they are.
  corpus="$work/corpus-$target"
  artifacts="$work/findings-$target"
  mkdir -p "$corpus" "$artifacts"
  seeds=()
  [[ -d "$root/fuzz/corpus/$target" ]] && seeds+=("$root/fuzz/corpus/$target")
  log="$work/$target.log"
  if "$binary" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 -print_final_stats=1 \
      -dict="$(dictionary_of "$target")" -artifact_prefix="$artifacts/" "$corpus" "${seeds[@]}" >"$log" 2>&1; then
    runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)"
    echo "fuzz $target: ${runs:-?} runs in ${seconds} s, no finding"
  else
    echo "fuzz $target: FINDING (log $log, input in $artifacts):"
    grep -m 1 -E 'ERROR|runtime error|SUMMARY' "$log" || true
    tail -n 40 "$log"
    failed+=("$target")
  fi
done

if ((${#failed[@]})); then
  echo "fuzz: findings in ${failed[*]}"
  exit 1
fi
echo "fuzz: ${#targets[@]} targets, no finding"
