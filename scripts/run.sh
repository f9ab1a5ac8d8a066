#!/usr/bin/env bash
# The main job: installs what is missing, builds the x64 programs and runs the snapshot tool on
# the sample map in the private Wine prefix. The tool hosts the TOC control in a window through
# the OLE control protocol, binds it to the map of the document, prints the control's tree as
# indented text and writes a PNG picture of the control.
#
#   scripts/run.sh [DOCUMENT.json] [--width N] [--height N] [--do ACTION]...
#       the snapshot of the sample map (or of DOCUMENT.json); the picture goes to
#       $KELPY_BUILD_ROOT/snapshot.png (default build/snapshot.png). Each --do ACTION is then
#       performed on the control with the mouse, as a person would, and pictured in
#       snapshot-1.png, snapshot-2.png, ... (ACTION: click-check ITEM, drag ITEM TARGET,
#       pick-symbol ITEM #RRGGBB; ITEM is an item's text or a path such as 'Land use/Parks')
#   scripts/run.sh --typelib
#       builds both architectures, registers mapmodel.dll and kelpy.dll of each with the
#       prefix's own regsvr32 and prints the registered KELPY type library of each
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
root=${KELPY_BUILD_ROOT:-$here/build}

mode=snapshot
if [ "${1:-}" = "--typelib" ]; then
  mode=typelib
  shift
fi
archs=${KELPY_ARCHS:-$([ $mode = typelib ] && echo "x64 x86" || echo x64)}

"$here/scripts/setup.sh"
mkdir -p "$root"
log=$root/run-build.log
if ! KELPY_ARCHS="$archs" "$here/scripts/build.sh" >"$log" 2>&1; then
  tail -n 40 "$log"
  echo "run: the build failed (whole log: $log)" >&2
  exit 1
fi
echo "build: $archs built (log: $log)"

# (A server that is already running for the prefix is fine: starting another one then fails.)
source "$here/scripts/wine-prefix.sh" || true
trap kelpy_wine_stop EXIT

# The Windows form of an absolute path (the prefix maps drive Z: to /).
windows_path() { local p; p=$(realpath -m "$1"); echo "Z:${p//\//\\}"; }

loader_of() {
  case $1 in
    x64) echo /usr/lib/wine/wine64 ;;
    x86) echo /usr/lib/wine/wine ;;
    *) echo "run: unknown architecture $1" >&2; exit 1 ;;
  esac
}

if [ $mode = snapshot ]; then
  arch=${archs%% *}
  document=$here/samples/sample-map.json
  args=()
  while [ $# -gt 0 ]; do
    case $1 in
      --width|--height) args+=("$1" "${2:?run: $1 needs a number}"); shift 2 ;;
      --do) args+=("$1" "${2:?run: --do needs an action}"); shift 2 ;;
      *) document=$1; shift ;;
    esac
  done
  picture=$root/snapshot.png
  rm -f "$picture" "$root"/snapshot-*.png
  echo
  "$(loader_of "$arch")" "$root/$arch/bin/snapshot.exe" "${args[@]}" \
      --out "$(windows_path "$picture")" "$(windows_path "$document")"
  echo
  steps=$(ls "$root"/snapshot-*.png 2>/dev/null | wc -l)
  if [ "$steps" -gt 0 ]; then
    echo "The pictures of the control are at: $picture and, after each action, $root/snapshot-1.png to snapshot-$steps.png"
  else
    echo "The picture of the control is at: $picture"
  fi
  exit 0
fi

register() {  # register <loader> <dll>
  if ! "$1" regsvr32 /s "$(windows_path "$2")"; then
    echo "run: regsvr32 could not register $2" >&2
    exit 1
  fi
  echo "registered: $2"
}

for arch in $archs; do
  loader=$(loader_of "$arch")
  bin=$root/$arch/bin
  echo
  echo "======== $arch"
  register "$loader" "$bin/mapmodel.dll"
  register "$loader" "$bin/kelpy.dll"
  echo
  "$loader" "$bin/typelib-dump.exe"
done
