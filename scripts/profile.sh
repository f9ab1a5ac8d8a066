#!/usr/bin/env bash
# A sampling profile of the control's repaints, first repaints after a rebuild and rebuilds
# (bench/profile): builds x64 (unless $KELPY_ARCHS says otherwise; only x64 walks whole stacks),
# then prints, per scenario, the share of the samples by module and by function.
# Usage: scripts/profile.sh [seconds per scenario] [--only SCENARIO]
# $KELPY_BUILD_ROOT chooses the build root, as for build.sh.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
root=${KELPY_BUILD_ROOT:-$here/build}
export KELPY_ARCHS=${KELPY_ARCHS:-x64}

mkdir -p "$root"
log=$root/profile-build.log
if ! "$here/scripts/build.sh" >"$log" 2>&1; then
  tail -n 40 "$log"
  echo "profile: the build failed (whole log: $log)" >&2
  exit 1
fi
source "$here/scripts/wine-prefix.sh" || true
trap kelpy_wine_stop EXIT
for arch in $KELPY_ARCHS; do
  case $arch in
    x64) loader=/usr/lib/wine/wine64 ;;
    x86) loader=/usr/lib/wine/wine ;;
    *) echo "profile: unknown architecture $arch" >&2; exit 1 ;;
  esac
  echo "== $arch"
  "$loader" "$root/$arch/bin/toc-profile.exe" "$@" </dev/null
done
