#!/usr/bin/env bash
# Creates the project's private, headless Wine prefix (null graphics driver) when it is missing,
# and starts its server booted with every standard stream detached, so that Wine's background
# services never hold the caller's output open. Source it: it defines kelpy_wine_stop.
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX=${KELPY_WINEPREFIX:-${KELPY_BUILD_ROOT:-$here/build}/wineprefix}
export KELPY_WINEPREFIX=$WINEPREFIX
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

if [ ! -f "$WINEPREFIX/.kelpy-ready" ]; then
  echo "wine: creating the prefix $WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  /usr/lib/wine/wine64 wineboot -i </dev/null >/dev/null 2>&1
  /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f </dev/null >/dev/null 2>&1
  /usr/lib/wine/wineserver -w
  touch "$WINEPREFIX/.kelpy-ready"
fi

/usr/lib/wine/wineserver -p </dev/null >/dev/null 2>&1 || true  # 2 when one already runs
/usr/lib/wine/wine64 wineboot </dev/null >/dev/null 2>&1 || true

kelpy_wine_stop() { /usr/lib/wine/wineserver -k </dev/null >/dev/null 2>&1 || true; }
