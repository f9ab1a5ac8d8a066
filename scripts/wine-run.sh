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
run() {
  "$loader" "$@" </dev/null >"$output" 2>&1 &
  program=$!
  wait "$program"
}
started=$(date +%s%N)
run "$@"
status=$?
# A program that failed within a tenth of a second without writing a byte never ran (the test
# programs write before they can fail): in a fresh prefix the loader very rarely exits so,
# silently. That launch, and only that, is tried once more, and the output says so; a
# program that ran and failed is never run again.
if [ $status -ne 0 ] && [ ! -s "$output" ] && [ $(( ($(date +%s%N) - started) / 1000000 )) -lt 100 ]; then
  echo "wine-run: $1 did not start (status $status, no output); starting it once more"
  run "$@"
  status=$?
fi
# The Wine loader itself killed by a segmentation fault (status 139, a signal that Wine's own
# exception handling did not turn into a Windows exception) after the program had reported that
# all its tests passed: seen once in a fresh prefix, at the end of an x86 test program whose test
# had passed. The crash is the loader's, during its teardown, not the program's (a fault in the
# program is a Windows exception, reported with its own status); the program is run once more,
# and the output says so, so that a pass needs a run that also ends cleanly.
if [ $status -eq 139 ] && grep -q '^\[  PASSED  \]' "$output"; then
  cat "$output"
  echo "wine-run: the Wine loader crashed (status 139) after $1 had passed; running it once more"
  run "$@"
  status=$?
fi
cat "$output"
exit $status
