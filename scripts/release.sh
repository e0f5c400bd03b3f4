#!/usr/bin/env bash
# The release: builds only what ships, whorlix.scr and whorlix-setup.exe, from a clean configure in a tree of its
# own (build/release-tree), and writes build/release/: the two files, SHA256SUMS (as `sha256sum -c` reads it) and
# BUILDINFO (the commit, and the Debian packages of the toolchain that give these bytes).
# --check builds it a second time from a copy of the sources in another folder (another name and depth), in
# another time zone, under another umask and locale, and fails unless both builds give the same bytes.
# The same sources give the same bytes anywhere: no build path and no time goes into them (CMakeLists.txt,
# installer/whorlix.nsi), so no SOURCE_DATE_EPOCH is needed either. The test release.same_as_tested compares the
# release with build/win, which the tests ran on.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${WHORLIX_BUILD:-$root/build}
case "${1:-}" in
  "") check=0 ;;
  --check) check=1 ;;
  *) echo "usage: $0 [--check]" >&2; exit 2 ;;
esac
"$root/scripts/deps.sh" --release

files=(whorlix.scr whorlix-setup.exe)
# The packages whose files go into the bytes: compiler, libraries, headers, linker, resource compiler (which
# preprocesses with the default x86_64-w64-mingw32-gcc, the win32 one), the resampler's header, NSIS with its stubs
# and plug-ins, and CMake and make, which write the command lines.
toolchain=(gcc-mingw-w64-base gcc-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix-runtime g++-mingw-w64-x86-64-posix
           gcc-mingw-w64-x86-64-win32 mingw-w64-common mingw-w64-x86-64-dev binutils-mingw-w64-x86-64 libstb-dev
           nsis nsis-common cmake cmake-data make)

buildinfo() {
  local version commit
  version=$(sed -n 's/^#define WHORLIX_VERSION_\(MAJOR\|MINOR\|PATCH\|BUILD\) \([0-9]*\)$/\2/p' "$root/res/version.h" |
            paste -sd.)
  if commit=$(git -C "$root" rev-parse HEAD 2>/dev/null); then
    commit="$commit, $(TZ=UTC0 git -C "$root" log -1 --format=%cd --date=format-local:'%Y-%m-%d %H:%M:%S UTC')"
    git -C "$root" diff --quiet HEAD -- || commit="$commit, with changes not committed"
  else
    commit="unknown (not a git checkout)"
  fi
  . /etc/os-release
  echo "Whorlix $version: ${files[0]} and ${files[1]}, as SHA256SUMS lists them"
  echo "commit $commit"
  echo "built by scripts/release.sh on Debian $VERSION_CODENAME ($(dpkg --print-architecture)) with these packages:"
  dpkg-query -W -f='${Package} ${Version}\n' "${toolchain[@]}"
}

# release SRC TREE OUT: the release build of the sources in SRC, in the build tree TREE (made afresh), into OUT.
release() {
  local src=$1 tree=$2 out=$3
  rm -rf "$tree" "$out"
  cmake -S "$src" -B "$tree" -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$src/cmake/mingw-w64-x86_64.cmake" \
    >/dev/null
  cmake --build "$tree" -j "$(nproc)" --target whorlix whorlix_setup
  install -d -m 755 "$out"
  for f in "${files[@]}"; do install -m 644 "$tree/$f" "$out/$f"; done
  (cd "$out" && sha256sum "${files[@]}" >SHA256SUMS)
  buildinfo >"$out/BUILDINFO"
  chmod 644 "$out/SHA256SUMS" "$out/BUILDINFO"
}

release "$root" "$build/release-tree" "$build/release"
(cd "$build/release" && sha256sum -c SHA256SUMS)

if [ $check = 1 ]; then
  other=$(mktemp -d /tmp/whorlix-check.XXXXXX)
  trap 'rm -rf "$other"' EXIT
  src=$other/another/folder/deeper/whorlix-copy
  mkdir -p "$src"
  tar -C "$root" --exclude=./.git --exclude=./build --exclude='./build-*' -cf - . | tar -C "$src" -xf -
  # Another time zone (UTC+14 or UTC-12), umask and locale than this shell's.
  [ "$(date +%z)" = +1400 ] && tz=XYZ+12 || tz=XYZ-14
  locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$' && loc=ja_JP.UTF-8 || loc=C.UTF-8
  [ "${LC_ALL:-${LANG:-}}" = $loc ] && loc=C
  [ "$(umask)" = 0077 ] && mask=0002 || mask=0077
  echo "second build: in $src, TZ=$tz, LC_ALL=$loc, umask $mask"
  (umask $mask; TZ=$tz LC_ALL=$loc release "$src" "$other/tree-of-another-name" "$other/release")
  for f in "${files[@]}" SHA256SUMS BUILDINFO; do cmp "$build/release/$f" "$other/release/$f"; done
  (cd "$other/release" && sha256sum -c SHA256SUMS >/dev/null)
  echo "two builds, byte-identical:"
fi
echo "$build/release:"
cat "$build/release/SHA256SUMS"
