#!/usr/bin/env bash
# Runs a test program under Wine at a screen resolution: in a prefix of its own for that
# resolution (<build root>/wineprefix-dpi-<dpi>, made on the first run by wine-prefix.sh with
# KELPY_DPI, which sets the user's LogPixels before the prefix's server starts), and kept. The
# program learns the resolution from KELPY_TEST_DPI. Runs for the same resolution (of the two
# architectures) take turns.
#
#   at_dpi.sh <dpi> <build root> <runner...> <program> [arguments...]
set -euo pipefail
dpi=$1 root=$2
shift 2
scripts=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../../scripts" && pwd)
export KELPY_DPI=$dpi KELPY_TEST_DPI=$dpi
export KELPY_WINEPREFIX=$root/wineprefix-dpi-$dpi
mkdir -p "$root"
exec 9>"$KELPY_WINEPREFIX.lock"
flock 9
source "$scripts/wine-prefix.sh" >&2
trap kelpy_wine_stop EXIT
"$@"
