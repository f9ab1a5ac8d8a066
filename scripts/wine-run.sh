#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's private, headless prefix, for the test
# runner: its output comes out when it has ended, and its exit status is this script's.
# Usage: wine-run.sh <prefix> <wine loader> <program.exe> [args...]
# $KELPY_WINEPREFIX, when set, overrides the prefix given.
#
# The program writes into a file of its own, not into the runner's pipe: Wine processes that the
# program starts on demand (the desktop process, explorer.exe, which the first window of a
# session needs and which lives as long as any program uses the desktop) inherit its output,
# and CTest would wait for every holder of its pipe to go before it sees the test end - with
# other tests keeping the desktop busy, until the test's time is up.
prefix=$1 loader=$2; shift 2
export WINEPREFIX=${KELPY_WINEPREFIX:-$prefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

output=$(mktemp "${TMPDIR:-/tmp}/kelpy-run.XXXXXX") || exit 125
trap 'rm -f "$output"' EXIT
trap 'kill "$program" 2>/dev/null; exit 143' TERM INT
"$loader" "$@" </dev/null >"$output" 2>&1 &
program=$!
wait "$program"
status=$?
cat "$output"
exit $status
