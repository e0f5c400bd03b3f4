#!/usr/bin/env bash
# The release: builds only what ships, whorlix.scr and whorlix-setup.exe, from a clean configure in a tree of its
# own (build/release-tree), and writes build/release/: the two files, SHA256SUMS (as `sha256sum -c` reads it) and
# BUILDINFO (the commit, and the Debian packages of the toolchain that give these bytes).
# --check builds it a second time from a copy of the sources in another folder (another name and depth), in
# another time zone, under another umask and locale, and fails unless both builds give the same bytes.
# The same sources give the same bytes anywhere: no build path and no time goes into them (CMakeLists.txt,
# installer/whorlix.nsi), so no SOURCE_DATE_EPOCH is needed either. The test release.same_as_tested compares the
# release with build/win, which the tests ran on.
#
# Signing, when the WHORLIX_SIGN_* settings are given (README, "Signing a release"): the unsigned set is built into
# build/release-unsigned, and build/release gets both files with a SHA-256 Authenticode signature, signed at the
# commit's time (so one key signs one commit to the same bytes anywhere). The setup keeps the unsigned whorlix.scr
# the tests ran on. The set appears whole or not at all. --sign DIR signs a release built before (the one the tests
# ran on, or one built on another machine) instead of building.
# --verify DIR... rebuilds the commit each DIR/BUILDINFO names, unsigned, in a tree of its own, and checks every file
# against it: a signed file by its Authenticode digest and its signature by the certificate BUILDINFO names, an
# unsigned one byte for byte.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${WHORLIX_BUILD:-$root/build}
usage() { echo "usage: $0 [--check] | --sign DIR | --verify DIR..." >&2; exit 2; }
check=0 mode=build
case "${1:-}" in
  "") ;;
  --check) [ $# = 1 ] || usage; check=1 ;;
  --sign) [ $# = 2 ] || usage; mode=sign; unsigned=$(cd "$2" && pwd) ;;
  --verify) [ $# -ge 2 ] || usage; mode=verify; shift; downloads=("$@") ;;
  *) usage ;;
esac
die() { echo "release.sh: $*" >&2; exit 1; }
# Folders removed however the script ends.
cleanup=()
trap 'rm -rf "${cleanup[@]}"' EXIT

files=(whorlix.scr whorlix-setup.exe)
# The packages whose files go into the bytes: compiler, libraries, headers, linker, resource compiler (which
# preprocesses with the default x86_64-w64-mingw32-gcc, the win32 one), the resampler's header, NSIS with its stubs
# and plug-ins, and CMake and make, which write the command lines.
toolchain=(gcc-mingw-w64-base gcc-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix-runtime g++-mingw-w64-x86-64-posix
           gcc-mingw-w64-x86-64-win32 mingw-w64-common mingw-w64-x86-64-dev binutils-mingw-w64-x86-64 libstb-dev
           nsis nsis-common cmake cmake-data make)

# The PIN is read once and kept out of the environment of everything this script starts; it reaches the signing
# tool only through a pipe (never its command line, a log or a file).
pin=${WHORLIX_SIGN_PIN-}
unset WHORLIX_SIGN_PIN
sign=0
if [ -n "${WHORLIX_SIGN_CERT:-}${WHORLIX_SIGN_KEY:-}${WHORLIX_SIGN_PKCS11_MODULE:-}" ] && [ $mode != verify ]; then
  sign=1
fi
if [ $mode = sign ] && [ $sign = 0 ]; then die "--sign needs WHORLIX_SIGN_CERT and WHORLIX_SIGN_KEY"; fi

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

# --- Authenticode ------------------------------------------------------------------------------------------------

# pe_digest FILE: the SHA-256 Authenticode digest of a PE file, in hex: what a signature signs, the file without its
# checksum, its certificate-table entry and the table (an unsigned file's end padded to 8 bytes with zeros, as
# signing pads it). Computed here, so that any version of the signing tool will do.
le() { od -An -tu"$3" -j"$2" -N"$3" "$1" | tr -d ' '; }
bytes() { dd if="$1" bs=64K iflag=skip_bytes,count_bytes skip="$2" count="$3" status=none; }
pe_digest() {
  local f=$1 pe entry table end
  pe=$(le "$f" 60 4) && [ "$(le "$f" "$pe" 4)" = 17744 ] || return 1 # "PE\0\0"
  # The certificate-table entry: the fifth data directory of a PE32+ or PE32 optional header.
  case $(le "$f" $((pe + 24)) 2) in 523) entry=$((pe + 168)) ;; 267) entry=$((pe + 152)) ;; *) return 1 ;; esac
  table=$(le "$f" $entry 4)
  end=$(stat -c %s "$f")
  [ "$table" = 0 ] || end=$table
  { bytes "$f" 0 $((pe + 88)); bytes "$f" $((pe + 92)) $((entry - pe - 92))
    bytes "$f" $((entry + 8)) $((end - entry - 8))
    [ "$table" != 0 ] || head -c $(((8 - end % 8) % 8)) /dev/zero; } | sha256sum | cut -c 1-64 | tr a-f A-F
}

# spc_content [--inner] SIGNATURE: the Authenticode statement a signature (DER PKCS#7) signs, which holds the file's
# digest. With --inner, only its value: the bytes the signature's message digest is taken over.
spc_content() {
  local line off hl len inner=0
  [ "$1" = --inner ] && inner=1 && shift
  # ContentInfo, [0] SignedData, its contentInfo's [0]: the next item is the statement.
  line=$(openssl asn1parse -inform DER -in "$1" | awk '/d=4 .*cont \[ 0 \]/ { f = 1; next } f { print; exit }')
  [ -n "$line" ] || return 1
  off=${line%%:*}
  hl=$(sed 's/.*hl= *\([0-9]*\).*/\1/' <<<"$line")
  len=$(sed 's/.* l= *\([0-9]*\).*/\1/' <<<"$line")
  if [ $inner = 1 ]; then off=$((off + hl)); else len=$((len + hl)); fi
  bytes "$1" "$off" "$len"
}

# extract_signature FILE OUT: the signature (PKCS#7) of a signed file, into OUT.pem and, as DER, into OUT.
# (As PEM the tool gives the same in every version; its raw form differs.)
extract_signature() {
  osslsigncode extract-signature -pem -in "$1" -out "$2.pem" >/dev/null 2>&1 &&
    openssl pkcs7 -in "$2.pem" -outform DER -out "$2" 2>/dev/null
}

is_signed() {
  local t
  t=$(mktemp -d) && cleanup+=("$t")
  extract_signature "$1" "$t/sig"
}

# but_checksum FILE: the file without its PE checksum, which nothing covers and tools compute differently.
but_checksum() {
  local pe
  pe=$(le "$1" 60 4)
  bytes "$1" 0 $((pe + 88)) && bytes "$1" $((pe + 92)) $(($(stat -c %s "$1") - pe - 92))
}

# check_signed FILE UNSIGNED FINGERPRINT: FILE is the file UNSIGNED with one signature added, made by the
# certificate of that SHA-256 fingerprint (any, when empty), and nothing else. Prints what differs; sets signer_fp
# and signer_subject.
check_signed() {
  local file=$1 ref=$2 fp=$3 name t digest signed bad=0
  name=$(basename "$file")
  t=$(mktemp -d) && cleanup+=("$t")
  signer_fp='' signer_subject=''
  digest=$(pe_digest "$file") || { echo "$name: not a PE file"; return 1; }
  if [ "$digest" != "$(pe_digest "$ref")" ]; then
    echo "$name: its Authenticode digest $digest is not the rebuilt file's $(pe_digest "$ref"):" \
         "its code is not what the source makes"
    bad=1
  fi
  if ! extract_signature "$file" "$t/sig" || ! spc_content "$t/sig" >"$t/spc" ||
     ! spc_content --inner "$t/sig" >"$t/inner"; then
    echo "$name: not signed, or its signature cannot be read"
    return 1
  fi
  # The signature must be over this file's digest, and its signer's signature over that must hold.
  signed=$(openssl asn1parse -inform DER -in "$t/spc" | sed -n 's/.*OCTET STRING *\[HEX DUMP\]://p' | tail -n 1)
  if [ "$signed" != "$digest" ]; then
    echo "$name: its signature was made over other bytes (a digest of $signed), not over this file"
    bad=1
  fi
  if ! openssl smime -verify -inform DER -in "$t/sig" -binary -content "$t/inner" -noverify \
       -signer "$t/signer.pem" -out /dev/null >/dev/null 2>&1; then
    echo "$name: its signature does not verify"
    return 1
  fi
  # One signature by one signer: a second one, nested in the first's unsigned attributes (Authenticode's nested
  # signature, 1.3.6.1.4.1.311.2.4.1) or a second signer beside it, is checked by nothing here and rides along.
  if [ "$(grep -c 'BEGIN CERTIFICATE' "$t/signer.pem")" != 1 ] ||
     openssl asn1parse -inform DER -in "$t/sig" | grep -Eqi ':(1\.3\.6\.1\.4\.1\.311\.2\.4\.1|.*nested.*)$'; then
    echo "$name: carries a second signature besides the one checked here"
    bad=1
  fi
  signer_fp=$(openssl x509 -in "$t/signer.pem" -noout -fingerprint -sha256 | sed 's/.*=//')
  signer_subject=$(openssl x509 -in "$t/signer.pem" -noout -subject \
                     -nameopt esc_2253,esc_ctrl,utf8,sep_comma_plus_space,sname | sed 's/^subject=//')
  if [ -n "$fp" ] && [ "$signer_fp" != "$fp" ]; then
    echo "$name: signed by $signer_subject ($signer_fp), not by the certificate BUILDINFO names ($fp)"
    bad=1
  fi
  # Nothing else rides in the certificate table, which the digest does not cover: the signature put on the rebuilt
  # file gives these very bytes. (The tool writes the file, then fails for want of a trusted root: none is needed.)
  osslsigncode attach-signature -sigin "$t/sig.pem" -in "$ref" -out "$t/again" >/dev/null 2>&1 || true
  if [ $bad = 0 ] && ! { [ -f "$t/again" ] && cmp -s <(but_checksum "$t/again") <(but_checksum "$file"); }; then
    echo "$name: holds more than its code and its signature (its certificate table or padding differs)"
    bad=1
  fi
  return $bad
}

# The signing tool's key arguments, from the settings.
signing_args() {
  [ -n "${WHORLIX_SIGN_CERT:-}" ] && [ -n "${WHORLIX_SIGN_KEY:-}" ] ||
    die "signing needs both WHORLIX_SIGN_CERT (the certificate chain) and WHORLIX_SIGN_KEY (a key file or pkcs11: URI)"
  openssl x509 -in "$WHORLIX_SIGN_CERT" -noout 2>/dev/null || die "WHORLIX_SIGN_CERT: no PEM certificate in $WHORLIX_SIGN_CERT"
  sign_args=(-certs "$WHORLIX_SIGN_CERT" -key "$WHORLIX_SIGN_KEY")
  case $WHORLIX_SIGN_KEY in
    pkcs11:*)
      [ -f "${WHORLIX_SIGN_PKCS11_MODULE:-}" ] || die "a pkcs11: key needs WHORLIX_SIGN_PKCS11_MODULE, the token's module"
      [ -n "$pin" ] || die "a pkcs11: key needs WHORLIX_SIGN_PIN"
      sign_args=(-pkcs11module "$WHORLIX_SIGN_PKCS11_MODULE" "${sign_args[@]}") ;;
    *)
      [ -z "${WHORLIX_SIGN_PKCS11_MODULE:-}" ] || die "WHORLIX_SIGN_PKCS11_MODULE is set, but WHORLIX_SIGN_KEY is no pkcs11: URI"
      [ -r "$WHORLIX_SIGN_KEY" ] || die "WHORLIX_SIGN_KEY: cannot read $WHORLIX_SIGN_KEY" ;;
  esac
  [ -n "${WHORLIX_SIGN_TIMESTAMP_URL:-}" ] && sign_args+=(-ts "$WHORLIX_SIGN_TIMESTAMP_URL")
  return 0
}

# sign_file IN OUT TIME
sign_file() {
  local log
  # The PIN (or a key file's passphrase) through a pipe; without one, none is asked for.
  if [ -n "$pin" ]; then
    log=$(osslsigncode sign "${sign_args[@]}" -readpass <(printf '%s' "$pin") -h sha256 -time "$3" -in "$1" -out "$2" 2>&1)
  else
    log=$(osslsigncode sign "${sign_args[@]}" -h sha256 -time "$3" -in "$1" -out "$2" 2>&1)
  fi || { echo "$log" >&2; echo "release.sh: signing $(basename "$1") failed: no release written" >&2; return 1; }
}

# sign_release UNSIGNED OUT: the unsigned release in UNSIGNED, signed, into OUT, which appears only when whole.
sign_release() {
  local in=$1 out=$2 part when time fp subject f
  (cd "$in" && sha256sum --quiet --strict -c SHA256SUMS) || die "$in: not a release whose SHA256SUMS checks"
  for f in "${files[@]}"; do ! is_signed "$in/$f" || die "$in/$f is signed already"; done
  # The signing time is the commit's, as BUILDINFO gives it.
  when=$(sed -n 's/^commit [0-9a-f]\{40\}, \([0-9-]* [0-9:]* UTC\).*/\1/p' "$in/BUILDINFO")
  [ -n "$when" ] || die "$in/BUILDINFO names no commit: a signed release is of a commit"
  if grep -q '^commit .*, with changes not committed' "$in/BUILDINFO"; then
    echo "release.sh: warning: signing a build of changes not committed; --verify cannot rebuild it" >&2
  fi
  time=$(date -u -d "$when" +%s)
  # A release signed before goes at once (unless it is what is signed now): a failure leaves none.
  [ "$in" -ef "$out" ] || rm -rf "$out"
  part=$out.partial
  rm -rf "$part"
  cleanup+=("$part")
  install -d -m 755 "$part"
  for f in "${files[@]}"; do sign_file "$in/$f" "$part/$f" "$time" || exit 1; done
  # What was signed is checked as --verify checks it: the signer is the same for both.
  fp=
  for f in "${files[@]}"; do
    check_signed "$part/$f" "$in/$f" "$fp" >&2 || die "$f: the signed file does not check: no release written"
    fp=$signer_fp subject=$signer_subject
  done
  (cd "$part" && sha256sum "${files[@]}" >SHA256SUMS)
  {
    cat "$in/BUILDINFO"
    echo "signed with $(dpkg-query -W -f='${Package} ${Version}' osslsigncode): SHA-256 Authenticode, signing time $when" \
         "(the commit's), $([ -n "${WHORLIX_SIGN_TIMESTAMP_URL:-}" ] && echo "timestamped by $WHORLIX_SIGN_TIMESTAMP_URL" ||
                            echo "no timestamp")"
    echo "signing certificate SHA-256 fingerprint: $fp"
    echo "signing certificate subject: $subject"
  } >"$part/BUILDINFO"
  chmod 644 "$part"/*
  rm -rf "$out"
  mv "$part" "$out"
}

# --- checking a download --------------------------------------------------------------------------------------------

# rebuild COMMIT OUT: the unsigned release of COMMIT, made by that commit's own release script in a clone of its own.
rebuild() {
  local commit=$1 t
  t=$(mktemp -d /tmp/whorlix-verify.XXXXXX) && cleanup+=("$t")
  if ! git -C "$root" cat-file -e "$commit^{commit}" 2>/dev/null; then
    echo "commit $commit is not in the clone at $root: fetch it first"
    return 1
  fi
  echo "rebuilding commit $commit in $t/src"
  git clone -q --shared --no-checkout "$root" "$t/src" && git -C "$t/src" checkout -q --detach "$commit" || return 1
  if ! env -u WHORLIX_SIGN_CERT -u WHORLIX_SIGN_KEY -u WHORLIX_SIGN_PKCS11_MODULE -u WHORLIX_SIGN_TIMESTAMP_URL \
       WHORLIX_BUILD="$t/build" "$t/src/scripts/release.sh" >"$t/log" 2>&1; then
    cat "$t/log"
    return 1
  fi
  ln -s "$t/build/release" "$2"
}

# verify DIR REBUILT: every file of the download DIR against the rebuilt release.
verify() {
  local dir=$1 ref=$2 fp f bad=0
  fp=$(sed -n 's/^signing certificate SHA-256 fingerprint: //p' "$dir/BUILDINFO")
  for f in "${files[@]}"; do
    if [ ! -f "$dir/$f" ]; then
      echo "$f: missing"; bad=1
    elif is_signed "$dir/$f"; then
      if [ -z "$fp" ]; then
        echo "$f: signed, but BUILDINFO names no signing certificate"; bad=1
      elif check_signed "$dir/$f" "$ref/$f" "$fp"; then
        echo "$f: good: the rebuilt file's Authenticode digest, signed by $signer_subject"
      else
        bad=1
      fi
    elif [ -n "$fp" ]; then
      echo "$f: not signed, though BUILDINFO names a signing certificate"; bad=1
    elif cmp "$dir/$f" "$ref/$f"; then
      echo "$f: good: unsigned, byte for byte the rebuilt file"
    else
      echo "$f: differs from the rebuilt file (above: where)"; bad=1
    fi
  done
  if (cd "$dir" && sha256sum --quiet --strict -c SHA256SUMS) && [ "$(cut -c 67- "$dir/SHA256SUMS")" = "$(printf '%s\n' "${files[@]}")" ]; then
    echo "SHA256SUMS: checks"
  else
    echo "SHA256SUMS: does not list these files as they are"; bad=1
  fi
  # A stranger may sign the source's very bytes too: who signed is for the reader to judge.
  if [ -n "$fp" ]; then
    echo "signing certificate, as BUILDINFO names it: $(sed -n 's/^signing certificate subject: //p' "$dir/BUILDINFO")," \
         "SHA-256 fingerprint $fp: check that it is the publisher's"
  fi
  # Packages of other versions than the release's may give other bytes: said, to explain a difference.
  if ! diff <(sed '/^sign/d' "$dir/BUILDINFO") "$ref/BUILDINFO" >/dev/null; then
    echo "note: BUILDINFO differs from the rebuild's (< the download's, > here):"
    diff <(sed '/^sign/d' "$dir/BUILDINFO") "$ref/BUILDINFO" | grep '^[<>]' || true
  fi
  return $bad
}

if [ $mode = verify ]; then
  "$root/scripts/deps.sh" --release
  t=$(mktemp -d) && cleanup+=("$t")
  failed=0
  for dir in "${downloads[@]}"; do
    echo "== $dir"
    commit=$(sed -n 's/^commit \([0-9a-f]\{40\}\),.*/\1/p' "$dir/BUILDINFO" 2>/dev/null || true)
    if [ -z "$commit" ]; then
      echo "$dir: FAILS: its BUILDINFO names no commit"; failed=1; continue
    elif grep -q '^commit .*, with changes not committed' "$dir/BUILDINFO"; then
      echo "$dir: FAILS: built from changes not committed, which no commit rebuilds"; failed=1; continue
    fi
    # One rebuild a commit, however many downloads of it are checked.
    [ -e "$t/$commit" ] || rebuild "$commit" "$t/$commit" || { echo "$dir: FAILS: no rebuild"; failed=1; continue; }
    if verify "$dir" "$t/$commit"; then echo "$dir: passes"; else echo "$dir: FAILS"; failed=1; fi
  done
  exit $failed
fi

"$root/scripts/deps.sh" --release
if [ $sign = 1 ]; then signing_args; fi
if [ $mode = sign ]; then
  # Signing build/release itself keeps the unsigned files it holds, the tested bytes, where a signing build keeps
  # them: in build/release-unsigned.
  if [ "$unsigned" -ef "$build/release" ]; then
    rm -rf "$build/release-unsigned"
    cp -a "$unsigned" "$build/release-unsigned"
    unsigned=$build/release-unsigned
  fi
  sign_release "$unsigned" "$build/release"
else
  # Signed, the release is built unsigned beside it first, and none is in build/release until it is signed whole.
  first=$build/release
  if [ $sign = 1 ]; then first=$build/release-unsigned && rm -rf "$build/release"; fi
  release "$root" "$build/release-tree" "$first"
  (cd "$first" && sha256sum -c SHA256SUMS)
  if [ $sign = 1 ]; then sign_release "$first" "$build/release"; fi
fi

if [ $check = 1 ]; then
  other=$(mktemp -d /tmp/whorlix-check.XXXXXX)
  cleanup+=("$other")
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
  for f in "${files[@]}" SHA256SUMS BUILDINFO; do cmp "$first/$f" "$other/release/$f"; done
  (cd "$other/release" && sha256sum -c SHA256SUMS >/dev/null)
  echo "two builds, byte-identical:"
fi
echo "$build/release:"
cat "$build/release/SHA256SUMS"
