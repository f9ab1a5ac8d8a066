#!/usr/bin/env bash
# The main job: installs what is missing, builds both architectures, registers both libraries
# in the private Wine prefix with the prefix's own regsvr32 and prints the registered KELPY type
# library of each architecture, read back through the registry as a host reads it.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
root=${KELPY_BUILD_ROOT:-$here/build}

"$here/scripts/setup.sh"
mkdir -p "$root"
log=$root/run-build.log
if ! "$here/scripts/build.sh" >"$log" 2>&1; then
  tail -n 40 "$log"
  echo "run: the build failed (whole log: $log)" >&2
  exit 1
fi
echo "build: both architectures built (log: $log)"

# (A server that is already running for the prefix is fine: starting another one then fails.)
source "$here/scripts/wine-prefix.sh" || true
trap kelpy_wine_stop EXIT

# The Windows form of an absolute path (the prefix maps drive Z: to /).
windows_path() { local p=$1; echo "Z:${p//\//\\}"; }

register() {  # register <loader> <dll>
  if ! "$1" regsvr32 /s "$(windows_path "$2")"; then
    echo "run: regsvr32 could not register $2" >&2
    exit 1
  fi
  echo "registered: $2"
}

for arch in ${KELPY_ARCHS:-x64 x86}; do
  case $arch in
    x64) loader=/usr/lib/wine/wine64 ;;
    x86) loader=/usr/lib/wine/wine ;;
    *) echo "run: unknown architecture $arch" >&2; exit 1 ;;
  esac
  bin=$root/$arch/bin
  echo
  echo "======== $arch"
  # KELPY's type library imports the map model's: with mapmodel.dll not built yet, its
  # generated type library is registered instead, so that the imported types resolve.
  dump_args=()
  if [ -f "$bin/mapmodel.dll" ]; then
    register "$loader" "$bin/mapmodel.dll"
  else
    dump_args=(--register "$(windows_path "$root/$arch/generated/mapmodel.tlb")")
    echo "mapmodel.dll is not built: typelib-dump registers $root/$arch/generated/mapmodel.tlb"
  fi
  register "$loader" "$bin/kelpy.dll"
  echo
  "$loader" "$bin/typelib-dump.exe" "${dump_args[@]}"
done
