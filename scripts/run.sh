#!/usr/bin/env bash
# The main job: installs what is missing, builds the x64 programs and runs the snapshot tool on
# the sample map in the private Wine prefix. The tool hosts the TOC control in a window through
# the OLE control protocol, binds it to the map of the document, prints the control's tree as
# indented text and writes a PNG picture of the control.
#
#   scripts/run.sh [DOCUMENT.json] [--width N] [--height N] [--set NAME=VALUE]... [--do ACTION]...
#       the snapshot of the sample map (or of DOCUMENT.json); the picture goes to
#       $KELPY_BUILD_ROOT/snapshot.png (default build/snapshot.png). Each --do ACTION is then
#       performed on the control with the mouse, as a person would, and pictured in
#       snapshot-1.png, snapshot-2.png, ... (ACTION: click-check ITEM, drag ITEM TARGET,
#       pick-symbol ITEM #RRGGBB; ITEM is an item's text or a path such as 'Land use/Parks').
#       Each --set NAME=VALUE sets a property of the control's second interface (_TOC2), such as
#       ShowNestedGroups=True, before the map is bound; drags then follow it
#   scripts/run.sh --dpi N [...]
#       the same at a screen resolution of N dots per inch (144 is 150 %), in a prefix of its own
#       set to it ($KELPY_BUILD_ROOT/wineprefix-dpi-N, as the tests at that resolution use)
#   scripts/run.sh --typelib
#       builds both architectures, registers mapmodel.dll and kelpy.dll of each with the
#       prefix's own regsvr32 and prints the registered KELPY type library of each
#   scripts/run.sh --viewer [DOCUMENT.json] [--picture PICTURE.png]
#       the KELPY viewer on the sample map (or on DOCUMENT.json). With a display ($DISPLAY or
#       $WAYLAND_DISPLAY) it runs on the desktop, in a prefix of its own that uses the display
#       ($KELPY_BUILD_ROOT/wineprefix-desktop), until it is closed. Without one it starts and shows
#       in the headless prefix, writes a picture of its window to $KELPY_BUILD_ROOT/viewer.png (or
#       PICTURE.png) and ends; so does --picture on a desktop.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
root=${KELPY_BUILD_ROOT:-$here/build}

mode=snapshot
case "${1:-}" in
  --typelib) mode=typelib; shift ;;
  --viewer) mode=viewer; shift ;;
esac
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

viewer_document=$here/samples/sample-map.json
viewer_picture=
if [ $mode = viewer ]; then
  while [ $# -gt 0 ]; do
    case $1 in
      --picture) viewer_picture=${2:?run: --picture needs a file}; shift 2 ;;
      *) viewer_document=$1; shift ;;
    esac
  done
  if [ -z "$viewer_picture" ] && [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    # On the desktop: a prefix of its own whose windows go to the display.
    export KELPY_WINEPREFIX=$root/wineprefix-desktop
    if [ ! -f "$KELPY_WINEPREFIX/.kelpy-ready" ]; then
      echo "wine: creating the desktop prefix $KELPY_WINEPREFIX"
      mkdir -p "$KELPY_WINEPREFIX"
      WINEPREFIX=$KELPY_WINEPREFIX WINEDEBUG=-all /usr/lib/wine/wine64 wineboot -i </dev/null >/dev/null 2>&1
      WINEPREFIX=$KELPY_WINEPREFIX /usr/lib/wine/wineserver -w
      touch "$KELPY_WINEPREFIX/.kelpy-ready"
    fi
  else
    viewer_picture=${viewer_picture:-$root/viewer.png}
  fi
fi

# --dpi N: the snapshot at that screen resolution, in the prefix of that resolution.
for ((i = 1; i < $#; i++)); do
  if [ "${!i}" = --dpi ] && [ $mode = snapshot ]; then
    j=$((i + 1))
    [[ ${!j} =~ ^[1-9][0-9]{1,2}$ ]] || { echo "run: --dpi needs a resolution from 10 to 999" >&2; exit 2; }
    export KELPY_DPI=${!j} KELPY_WINEPREFIX=$root/wineprefix-dpi-${!j}
  fi
done

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

register() {  # register <loader> <dll>
  if ! "$1" regsvr32 /s "$(windows_path "$2")"; then
    echo "run: regsvr32 could not register $2" >&2
    exit 1
  fi
  echo "registered: $2"
}

if [ $mode = viewer ]; then
  arch=${archs%% *}
  loader=$(loader_of "$arch")
  # A host finds the control and the map model through their registration.
  register "$loader" "$root/$arch/bin/mapmodel.dll"
  register "$loader" "$root/$arch/bin/kelpy.dll"
  echo
  if [ -n "$viewer_picture" ]; then
    "$loader" "$root/$arch/bin/kelpy-viewer.exe" --picture "$(windows_path "$viewer_picture")" \
        "$(windows_path "$viewer_document")"
    echo
    [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] ||
      echo "There is no display here: the viewer started headless and pictured its window."
    echo "The picture of the viewer is at: $viewer_picture"
  else
    echo "The viewer runs on the desktop until you close it."
    "$loader" "$root/$arch/bin/kelpy-viewer.exe" "$(windows_path "$viewer_document")"
  fi
  exit 0
fi

if [ $mode = snapshot ]; then
  arch=${archs%% *}
  # The control makes the map model's objects through the model's registration.
  register "$(loader_of "$arch")" "$root/$arch/bin/mapmodel.dll" >/dev/null
  document=$here/samples/sample-map.json
  args=()
  while [ $# -gt 0 ]; do
    case $1 in
      --width|--height) args+=("$1" "${2:?run: $1 needs a number}"); shift 2 ;;
      --dpi) shift 2 ;;  # the prefix, chosen above
      --do) args+=("$1" "${2:?run: --do needs an action}"); shift 2 ;;
      --set) args+=("$1" "${2:?run: --set needs NAME=VALUE}"); shift 2 ;;
      *) document=$1; shift ;;
    esac
  done
  picture=$root/snapshot.png
  rm -f "$picture" "$root"/snapshot-*.png
  echo
  "$(loader_of "$arch")" "$root/$arch/bin/snapshot.exe" "${args[@]}" \
      --out "$(windows_path "$picture")" "$(windows_path "$document")"
  echo
  steps=$(find "$root" -maxdepth 1 -name 'snapshot-*.png' | wc -l)
  if [ "$steps" -gt 0 ]; then
    echo "The pictures of the control are at: $picture and, after each action, $root/snapshot-1.png to snapshot-$steps.png"
  else
    echo "The picture of the control is at: $picture"
  fi
  exit 0
fi

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
