#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's private, headless prefix.
# Usage: wine-run.sh <wine loader> <program.exe> [args...]
# The prefix is $KELPY_WINEPREFIX, else build/wineprefix beside this script's repository.
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX=${KELPY_WINEPREFIX:-$here/build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
loader=$1; shift
exec "$loader" "$@"
