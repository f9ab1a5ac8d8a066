#!/usr/bin/env bash
# Creates the project's private, headless Wine prefix (null graphics driver) when it is missing,
# and starts its server, persistent and booted with every standard stream detached, so that
# Wine's background services never hold the caller's output open. Source it: it defines
# kelpy_wine_stop, which stops the server when this script started it (a server that was already
# running belongs to whoever started it, for example another script working in the same prefix).
# With $KELPY_DPI, a prefix that it creates has that screen resolution (dots per inch: the user's
# LogPixels, which Wine reads when the server starts); give such a prefix a place of its own.
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
  if [ -n "${KELPY_DPI:-}" ]; then
    /usr/lib/wine/wine64 reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$KELPY_DPI" /f \
        </dev/null >/dev/null 2>&1
  fi
  /usr/lib/wine/wineserver -w
  touch "$WINEPREFIX/.kelpy-ready"
fi

# A persistent server (-p): one that a program starts by itself stops as soon as no program
# runs, so that the next test would start a new session (and boot it) while the old one ends.
kelpy_wine_started=0
if /usr/lib/wine/wineserver -p </dev/null >/dev/null 2>&1; then
  kelpy_wine_started=1
fi
/usr/lib/wine/wine64 wineboot </dev/null >/dev/null 2>&1 || true

# The desktop, for the whole session. Its process (explorer.exe /desktop, which the boot starts,
# or else the first program that opens a window, with that program's output) ends a moment after
# the last program has left the desktop: between two tests, while the next one starts. A program
# that waits for ever keeps the desktop in use until the server stops: a command interpreter
# reading from a pipe that no one writes to.
kelpy_keep_desktop() {
  local pipe=$WINEPREFIX/.kelpy-desktop-keeper
  [ -p "$pipe" ] || mkfifo "$pipe"
  /usr/lib/wine/wine64 cmd.exe /q /k <>"$pipe" >/dev/null 2>&1 &
  disown
}
if [ "$kelpy_wine_started" = 1 ]; then kelpy_keep_desktop; fi

kelpy_wine_stop() {
  [ "$kelpy_wine_started" = 1 ] || return 0
  /usr/lib/wine/wineserver -k </dev/null >/dev/null 2>&1 || true
  # Gone for good before the caller goes on (a new server cannot start while this one ends).
  /usr/lib/wine/wineserver -w </dev/null >/dev/null 2>&1 || true
  kelpy_wine_started=0
}
