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
      # Not handing the lock down: the Wine processes started here may outlive this script.
      wineboot -i >/dev/null 2>&1 9>&- && touch "$prefix/.whorlix-ready"
    fi
  ) 9>"$prefix.lock"
fi
# Fonts, once per prefix, as a Windows has them:
# - Debian's Wine never reads its own fonts from its data folder (it reaches that folder as
#   /usr/lib/wine/../../share/wine, and no font of it is ever opened): caption buttons then show the letters of
#   the Marlett symbol font ("r" for the close box), and "Tahoma" or the system's bitmap fonts fall to other
#   faces. Windows keeps them in its Fonts folder, where Wine finds them.
# - "ＭＳ Ｐゴシック", which every Japanese Windows has, would be a fixed-pitch Gothic; IPA's proportional
#   Gothic has its metrics.
if [ ! -f "$prefix/.whorlix-fonts" ]; then
  (
    flock 9
    if [ ! -f "$prefix/.whorlix-fonts" ]; then
      ln -sf /usr/share/wine/fonts/* "$prefix/drive_c/windows/Fonts/" &&
        wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'ＭＳ Ｐゴシック' /t REG_SZ /d IPAPGothic /f \
          >/dev/null 2>&1 9>&- && touch "$prefix/.whorlix-fonts"
    fi
  ) 9>"$prefix.lock"
fi
exec wine "$@"
