#!/usr/bin/env bash
# fuzz.sh [TARGET [SECONDS]]: builds the fuzz targets (clang's libFuzzer under the address and undefined-behaviour
# sanitizers) in build/fuzz, then runs TARGET, or every target, for SECONDS each (default 30), starting from its
# kept corpus fuzz/corpus/TARGET. New inputs go to build/fuzz/runs/TARGET, never into the kept corpus. A finding
# (a sanitizer report, a failed check, a crash or a hang) is saved as build/fuzz/findings/TARGET-* and fails the run.
# fuzz.sh --merge TARGET: minimises the kept corpus together with the last run's new inputs (libFuzzer's -merge=1)
# and puts the result in its place; inputs named seed-* or regression-* always stay.
# fuzz.sh --build: builds only.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
tree=${WHORLIX_BUILD:-$root/build}/fuzz

build() {
  mkdir -p "$tree"
  # CTest starts several runs at once: one builds, the others wait for it and find the tree up to date.
  (
    flock 9
    if [ ! -f "$tree/CMakeCache.txt" ]; then
      CC=clang CXX=clang++ cmake -S "$root" -B "$tree" -DWHORLIX_FUZZ=ON -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -g" >/dev/null
    fi
    cmake --build "$tree" -j "$(nproc)" >"$tree/build.log" 2>&1 || { cat "$tree/build.log" >&2; exit 1; }
  ) 9>"$tree.lock"
}

run() {
  local target=$1 seconds=$2 corpus=$root/fuzz/corpus/$1 new=$tree/runs/$1
  rm -rf "$new"
  mkdir -p "$new" "$tree/findings"
  echo "fuzz $target: ${seconds} s from $(find "$corpus" -type f | wc -l) kept inputs"
  # A single input that takes 10 s is a hang in readers this small.
  "$tree/fuzz_$target" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$tree/findings/$target-" "$new" "$corpus"
}

merge() {
  local target=$1 corpus=$root/fuzz/corpus/$1 merged=$tree/merged/$1
  rm -rf "$merged"
  mkdir -p "$merged" "$tree/runs/$target"
  # Named inputs (real-world seeds, the inputs of fixed findings) always stay; the rest only for what it adds.
  find "$corpus" \( -name 'seed-*' -o -name 'regression-*' \) -exec cp {} "$merged" \;
  "$tree/fuzz_$target" -merge=1 "$merged" "$corpus" "$tree/runs/$target"
  rm -rf "$corpus"
  mv "$merged" "$corpus"
  echo "fuzz $target: $(find "$corpus" -type f | wc -l) kept inputs"
}

build
case "${1:-}" in
--build) exit 0 ;;
--merge) merge "$2" ;;
*)
  if [ $# -gt 0 ]; then
    run "$1" "${2:-30}"
  else
    status=0
    for source in "$root"/fuzz/*.cpp; do
      run "$(basename "$source" .cpp)" 30 || status=1
    done
    exit $status
  fi
  ;;
esac
