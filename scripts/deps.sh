#!/usr/bin/env bash
# Installs what building and testing need (Debian packages) and the Japanese locale Wine runs in; with --release,
# only what builds whorlix.scr and whorlix-setup.exe (scripts/release.sh).
set -euo pipefail
# "wine" holds the wine/wineserver/wineboot commands; wine64 alone only recommends it.
packages=(cmake make g++ mingw-w64 wine wine64 xvfb xdotool x11-utils imagemagick libxcomposite1 libxcursor1
          fonts-ipafont-gothic fonts-wine googletest locales procps util-linux libstb-dev libx11-dev nsis)
# The drive that stops answering on request, for the tests of pictures on a sleeping network drive (FUSE).
packages+=(pkg-config libfuse3-dev fuse3)
# The colour profiles of the tests' tagged photos are made with lcms2 (ImageMagick converts with it too).
packages+=(liblcms2-dev)
# The fuzz targets: clang, its libFuzzer and its sanitizer runtimes.
packages+=(clang libfuzzer-14-dev libclang-rt-14-dev)
# Signing a release and checking one (osslsigncode, with the engine that reaches a key on a PKCS#11 token), and the
# software token its test signs with.
packages+=(osslsigncode openssl libengine-pkcs11-openssl git softhsm2)
# The release: the cross toolchain, NSIS, the resampler's header, and googletest, which the configure takes in, and
# what signs a release and checks one.
release=${1:-}
[ "$release" = --release ] && packages=(cmake make mingw-w64 nsis libstb-dev googletest osslsigncode openssl
                                        libengine-pkcs11-openssl git)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  # With recommends, as on the machines this was verified on (Wine's fonts and helpers come that way).
  apt-get install -y -qq "${missing[@]}" >/dev/null
fi
[ "$release" = --release ] && exit 0
# Wine takes its ANSI code page from the locale: ja_JP.UTF-8 gives code page 932.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
fi
