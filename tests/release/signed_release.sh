#!/usr/bin/env bash
# signed_release.sh RELEASE WIN_BUILD INSTALLER_TEST: the release the tests ran on (RELEASE, unsigned), signed by
# scripts/release.sh --sign with a throwaway test CA's code-signing certificate, over a table of cases: through a
# key on a software token reached through PKCS#11 (as a hardware token is), with a PEM key, and with a wrong PIN.
# Then --verify over the signed release, the unsigned one and a copy whose whorlix.scr is changed by one byte and
# re-signed with another certificate, its setup carrying a second signature nested in the publisher's (one rebuild
# for all three), and the installer test over the signed setup.
set -euo pipefail
release=$1 win=$2 installer_test=$3
root=$(cd "$(dirname "$0")/../.." && pwd)
t=$(mktemp -d /tmp/whorlix-signed.XXXXXX)
trap 'rm -rf "$t"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
cd "$t"

# The test CA, its code-signing certificate (the publisher's), and a stranger's self-signed one.
openssl req -x509 -newkey rsa:2048 -nodes -keyout ca.key -out ca.pem -days 2 -subj "/CN=Whorlix Test CA" \
  -addext basicConstraints=critical,CA:true -addext keyUsage=critical,keyCertSign 2>/dev/null
openssl req -newkey rsa:2048 -nodes -keyout publisher.key -out publisher.csr \
  -subj "/CN=Whorlix Test Publisher/O=Whorlix Tests" 2>/dev/null
printf 'basicConstraints=CA:false\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=codeSigning\n' >ext
openssl x509 -req -in publisher.csr -CA ca.pem -CAkey ca.key -set_serial 2 -days 2 -extfile ext \
  -out publisher.pem 2>/dev/null
cat publisher.pem ca.pem >chain.pem
openssl req -x509 -newkey rsa:2048 -nodes -keyout stranger.key -out stranger.pem -days 2 -subj "/CN=Someone Else" \
  2>/dev/null
fp=$(openssl x509 -in publisher.pem -noout -fingerprint -sha256 | sed 's/.*=//')

# The publisher's key on a software token, where it cannot be read out again.
pin=pin-$RANDOM$RANDOM
mkdir tokens
printf 'directories.tokendir = %s\n' "$t/tokens" >softhsm2.conf
export SOFTHSM2_CONF=$t/softhsm2.conf
module=/usr/lib/softhsm/libsofthsm2.so
softhsm2-util --init-token --free --label whorlix-test --pin "$pin" --so-pin "so-$pin" >/dev/null
openssl pkcs8 -topk8 -nocrypt -in publisher.key -out publisher.p8
softhsm2-util --import publisher.p8 --token whorlix-test --label publisher --id 01 --pin "$pin" >/dev/null
token_key="pkcs11:token=whorlix-test;object=publisher"

# name | WHORLIX_SIGN_KEY | its module | WHORLIX_SIGN_PIN | what comes of it
cases=("token|$token_key|$module|$pin|signed"
       "pem|$t/publisher.key|||signed"
       "wrong-pin|$token_key|$module|wrong-$pin|fails")
for c in "${cases[@]}"; do
  IFS='|' read -r name key mod secret outcome <<<"$c"
  echo "== $name"
  rc=0
  WHORLIX_BUILD=$t/$name WHORLIX_SIGN_CERT=$t/chain.pem WHORLIX_SIGN_KEY=$key WHORLIX_SIGN_PKCS11_MODULE=$mod \
    WHORLIX_SIGN_PIN=$secret "$root/scripts/release.sh" --sign "$release" >"$name.log" 2>&1 || rc=$?
  cat "$name.log"
  # The PIN shows in no output and no file the release made.
  [ -z "$secret" ] || ! grep -rqF -- "$secret" "$name.log" "$t/$name" || fail "$name: the PIN was written out"
  out=$t/$name/release
  if [ "$outcome" = fails ]; then
    [ $rc != 0 ] || fail "$name: the release did not fail"
    [ -z "$(ls -A "$t/$name" 2>/dev/null)" ] || fail "$name: a failed signing left files: $(ls -A "$t/$name")"
    continue
  fi
  [ $rc = 0 ] || fail "$name: release.sh failed"
  for f in whorlix.scr whorlix-setup.exe; do
    # A valid signature by the publisher's certificate, chained to the test CA, over the file's own digest...
    osslsigncode verify -CAfile ca.pem -require-leaf-hash "sha256:${fp//:/}" -in "$out/$f" >"$name-$f.verify" 2>&1 ||
      { cat "$name-$f.verify"; fail "$name: $f does not verify against the test CA"; }
    # ...which is the tested file's: that signature put on the tested file gives these very bytes.
    osslsigncode extract-signature -in "$out/$f" -out "$name-$f.sig" >/dev/null
    osslsigncode attach-signature -CAfile ca.pem -sigin "$name-$f.sig" -in "$release/$f" -out "$name-$f.again" \
      >/dev/null
    cmp "$name-$f.again" "$out/$f" || fail "$name: $f is not the tested file with a signature"
  done
  (cd "$out" && sha256sum --strict -c SHA256SUMS) || fail "$name: SHA256SUMS does not check"
  grep -qxF "signing certificate SHA-256 fingerprint: $fp" "$out/BUILDINFO" &&
    grep -qxF "signing certificate subject: CN=Whorlix Test Publisher, O=Whorlix Tests" "$out/BUILDINFO" ||
    fail "$name: BUILDINFO does not name the certificate"
done
# One key signs one commit to the same bytes, on a token or from a file.
for f in whorlix.scr whorlix-setup.exe SHA256SUMS BUILDINFO; do cmp token/release/$f pem/release/$f; done

# A copy whose whorlix.scr is changed by one byte and signed by someone else, with SHA256SUMS to match.
cp -a token/release changed
cp "$release/whorlix.scr" changed.scr
printf '\x90' | dd of=changed.scr bs=1 seek=4096 conv=notrunc status=none
rm changed/whorlix.scr changed/whorlix-setup.exe
osslsigncode sign -certs stranger.pem -key stranger.key -h sha256 -in changed.scr -out changed/whorlix.scr >/dev/null
# Its setup keeps the publisher's signature and gains a stranger's nested in it.
osslsigncode sign -nest -certs stranger.pem -key stranger.key -h sha256 -in token/release/whorlix-setup.exe \
  -out changed/whorlix-setup.exe >/dev/null
(cd changed && sha256sum whorlix.scr whorlix-setup.exe >SHA256SUMS)
rc=0
"$root/scripts/release.sh" --verify "$t/token/release" "$release" "$t/changed" >verify.log 2>&1 || rc=$?
cat verify.log
[ $rc != 0 ] || fail "--verify passed a changed file"
if grep -q '^commit .*, with changes not committed' "$release/BUILDINFO"; then
  # Built from a work tree with changes: no commit rebuilds it, and --verify says so.
  [ "$(grep -c ': FAILS: built from changes not committed' verify.log)" = 3 ] || fail "--verify rebuilt changes"
  echo "note: a release of changes not committed, so --verify's rebuild was not run"
else
  grep -qxF "$t/token/release: passes" verify.log || fail "--verify failed the signed release"
  grep -qxF "$release: passes" verify.log || fail "--verify failed the unsigned release"
  grep -q "^whorlix.scr: its Authenticode digest .* is not the rebuilt file's" verify.log &&
    grep -qF "whorlix.scr: signed by CN=Someone Else" verify.log && grep -qxF "$t/changed: FAILS" verify.log &&
    grep -qxF "whorlix-setup.exe: carries a second signature besides the one checked here" verify.log ||
    fail "--verify did not say how the changed file differs"
fi

# The signed setup installs and uninstalls as the unsigned one does, the tested whorlix.scr with it (the installer
# test on a display of its own, in the prefix it always uses).
. "$root/scripts/xvfb.sh"
start_private_xvfb 1024x768x24
trap 'kill "$XVFB_PID" 2>/dev/null; rm -rf "$t"' EXIT
prefix=$win/wineprefix-installer
# A Wine server the installer test left there ends first, so that nothing of this prefix is on its display.
WINEPREFIX=$prefix wineserver -w 2>/dev/null || true
rc=0
WHORLIX_WINE_TEST=1 WHORLIX_SETUP=$t/token/release/whorlix-setup.exe \
  "$root/scripts/wine-run.sh" "$prefix" "$installer_test" >installer.log 2>&1 || rc=$?
WINEPREFIX=$prefix wineserver -w 2>/dev/null || true
tail -n 3 installer.log
[ $rc = 0 ] || { cat installer.log; fail "the signed setup did not install and uninstall as the unsigned one"; }
echo "signed release: signed through a token and with a key file alike, verified, installed"
