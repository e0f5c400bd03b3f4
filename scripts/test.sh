#!/usr/bin/env bash
# The test command: installs what is missing, builds both trees and the release, and runs every test through CTest
# (Windows tests under Wine on a private Xvfb, in the build's own Wine prefix, with code page 932).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${WHORLIX_BUILD:-$root/build}
. "$root/scripts/session.sh"
install_and_build
# The release build beside them (build/release), which release.same_as_tested compares with build/win's: unsigned,
# whatever signing settings this shell holds (release.signed signs it with its own).
env -u WHORLIX_SIGN_CERT -u WHORLIX_SIGN_KEY -u WHORLIX_SIGN_PKCS11_MODULE -u WHORLIX_SIGN_PIN \
  -u WHORLIX_SIGN_TIMESTAMP_URL "$root/scripts/release.sh"
start_wine_session 1024x768x24
cd "$build/win"
ctest --output-on-failure -j 2 "$@"
