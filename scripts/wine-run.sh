#!/usr/bin/env bash
# wine-run.sh PREFIX PROGRAM [ARGS...]: runs a Windows program of the build under Wine in the build's own
# prefix, with the Japanese ANSI code page. Creates the prefix on first use.
# WHORLIX_LOCALE names another Linux locale (C.UTF-8: a Western code page). WHORLIX_UI_LOCALE, beside it,
# sets only the user-interface language Wine reports, so the two can differ as they may on Windows.
# Wine takes both from the Linux locale when a Wine program starts from Linux; programs it starts inherit them.
set -u
prefix=$1
shift
export WINEPREFIX=$prefix
export WINEDEBUG=${WINEDEBUG:--all}
export LC_ALL=${WHORLIX_LOCALE:-ja_JP.UTF-8}
if [ -n "${WHORLIX_UI_LOCALE:-}" ]; then
  export LANG=$LC_ALL LC_MESSAGES=$WHORLIX_UI_LOCALE
  unset LC_ALL
fi
# No installers for .NET or HTML; in tests also "native first" for mpr.dll, so a test can put a stand-in of the
# password-change service into the prefix's system folder in place of Wine's own (which is used as before elsewhere).
overrides="mscoree,mshtml="
[ -n "${WHORLIX_WINE_TEST:-}" ] && overrides="$overrides;mpr=n,b"
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-$overrides}
if [ -z "${DISPLAY:-}" ]; then
  echo "wine-run.sh: no DISPLAY (start Xvfb first)" >&2
  exit 2
fi
# The marker, not system.reg, says the prefix is ready: a persistent Wine server writes the registry
# files only later.
if [ ! -f "$prefix/.whorlix-ready" ]; then
  mkdir -p "$prefix"
  (
    flock 9
    if [ ! -f "$prefix/.whorlix-ready" ]; then
      wineboot -i >/dev/null 2>&1 && touch "$prefix/.whorlix-ready"
    fi
  ) 9>"$prefix.lock"
fi
exec wine "$@"
