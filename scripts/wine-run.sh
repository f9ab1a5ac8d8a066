#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's private, headless prefix.
# Usage: wine-run.sh <prefix> <wine loader> <program.exe> [args...]
# $KELPY_WINEPREFIX, when set, overrides the prefix given.
prefix=$1 loader=$2; shift 2
export WINEPREFIX=${KELPY_WINEPREFIX:-$prefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
exec "$loader" "$@"
