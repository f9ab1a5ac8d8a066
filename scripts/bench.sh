#!/usr/bin/env bash
# The benchmarks: builds the architectures, then runs, for each, the cost of the control's
# rebuild of layer items (bench/rebuild), of rebuilding and repainting with legends and the
# memory per item (bench/toc_legends), each against a bare tree view holding the same items (the
# limit); the control as a host has it against the table of contents a host would write itself
# (its peer), its first repaints after a rebuild and what a person waits for after a drop
# (bench/toc_peer); a mouse move during a layer drag against a bare tree view whose host runs its
# own drag (bench/drag_move); and opening GeoJSON/TopoJSON data in the viewer against parsing its
# JSON (bench/geodata).
# Their tables are shown as they come; at the end, one line per figure of every program and
# architecture, exactly
#     figure <arch>.<name> ratio <r> goal <g>     or     figure <arch>.<name> value <v> goal <g>
# Usage: scripts/bench.sh [runs] [--slow]   (runs per figure, at least 5, default 5; --slow adds
# the bare tree laying out after every insert, which takes minutes)
# $KELPY_BUILD_ROOT and $KELPY_ARCHS choose the build root and the architectures, as for build.sh.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
root=${KELPY_BUILD_ROOT:-$here/build}
runs=5
slow=()
for arg in "$@"; do
  case $arg in
    --slow) slow=(--slow) ;;
    *) runs=$arg ;;
  esac
done

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

figures=$(mktemp)
trap 'rm -f "$figures"; kelpy_wine_stop' EXIT
# Runs one benchmark: its table to the screen, its figure lines (named for the architecture)
# kept for the end.
run() {
  local arch=$1
  shift
  "$@" </dev/null | while IFS= read -r line; do
    case $line in
      figure\ *) echo "figure $arch.${line#figure }" >>"$figures" ;;
      *) printf '%s\n' "$line" ;;
    esac
  done
  return "${PIPESTATUS[0]}"
}

for arch in ${KELPY_ARCHS:-x64 x86}; do
  case $arch in
    x64) loader=/usr/lib/wine/wine64 ;;
    x86) loader=/usr/lib/wine/wine ;;
    *) echo "bench: unknown architecture $arch" >&2; exit 1 ;;
  esac
  echo "== $arch: layer items"
  run "$arch" "$loader" "$root/$arch/bin/rebuild-bench.exe" "$runs" "${slow[@]}"
  echo "== $arch: legends"
  run "$arch" "$loader" "$root/$arch/bin/toc-legends-bench.exe" "$runs"
  echo "== $arch: against the peer, first paints, drops"
  run "$arch" "$loader" "$root/$arch/bin/toc-peer-bench.exe" "$runs"
  echo "== $arch: drag moves"
  run "$arch" "$loader" "$root/$arch/bin/drag-move-bench.exe" "$runs"
  echo "== $arch: geographic data"
  run "$arch" "$loader" "$root/$arch/bin/geodata-bench.exe" "$runs"
done
echo "== figures"
cat "$figures"
