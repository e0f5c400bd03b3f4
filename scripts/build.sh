#!/usr/bin/env bash
# Builds the native tree (portable core and its tests) and the Windows tree (whorlix.scr and its tests).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${WHORLIX_BUILD:-$root/build}
jobs=$(nproc)
# The native tree runs the portable core's tests under the address and undefined-behaviour sanitizers: the file
# header readers there take whatever a picture file holds. Any report fails the test.
sanitize="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
cmake -S "$root" -B "$build/native" -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS="$sanitize" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
cmake --build "$build/native" -j "$jobs"
cmake -S "$root" -B "$build/win" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_CROSSCOMPILING_EMULATOR="$root/scripts/wine-run.sh;$build/win/wineprefix" \
  -DWHORLIX_NATIVE_CORE_TESTS="$build/native/tests/core_tests" -DWHORLIX_DESK_STANDIN_DIR="$build/native/desk" \
  -DWHORLIX_RELEASE_DIR="$build/release" >/dev/null
cmake --build "$build/win" -j "$jobs"
# The fuzz targets for the readers of outside bytes (clang and libFuzzer; run by scripts/fuzz.sh and CTest).
"$root/scripts/fuzz.sh" --build
