#!/usr/bin/env bash
# The benchmarks: builds the architectures, then prints, for each, the cost of the control's
# rebuild of layer items (bench/rebuild) and of rebuilding and repainting with legends
# (bench/toc_legends), each against a bare tree view holding the same items.
# Usage: scripts/bench.sh [runs]    (median of `runs` timings per figure; default 3)
# $KELPY_BUILD_ROOT and $KELPY_ARCHS choose the build root and the architectures, as for build.sh.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
root=${KELPY_BUILD_ROOT:-$here/build}
runs=${1:-3}

mkdir -p "$root"
log=$root/bench-build.log
if ! "$here/scripts/build.sh" >"$log" 2>&1; then
  tail -n 40 "$log"
  echo "bench: the build failed (whole log: $log)" >&2
  exit 1
fi

# (A server that is already running for the prefix is fine.)
source "$here/scripts/wine-prefix.sh" || true
trap kelpy_wine_stop EXIT

for arch in ${KELPY_ARCHS:-x64 x86}; do
  case $arch in
    x64) loader=/usr/lib/wine/wine64 ;;
    x86) loader=/usr/lib/wine/wine ;;
    *) echo "bench: unknown architecture $arch" >&2; exit 1 ;;
  esac
  echo "== $arch: layer items"
  "$loader" "$root/$arch/bin/rebuild-bench.exe" "$runs" </dev/null
  echo "== $arch: legends"
  "$loader" "$root/$arch/bin/toc-legends-bench.exe" "$runs" </dev/null
done
