#!/usr/bin/env bash
# Runs a test program under Wine in a prefix of its own rather than in the shared one, where the
# other test programs run side by side. Each prefix has its own server, and so its own screen,
# mouse pointer, keyboard focus and registry.
#
#   own_prefix.sh --desktop <build root> <runner...> <program> [arguments...]
#     Alone on a desktop: for programs that drive the system's input queue (any other program's
#     window could take the focus or lie under the pointer) or change the libraries'
#     registration, which the others rely on. It takes the first free one of the prefixes
#     <build root>/wineprefix-desktop-1 and -2, so two such programs run at once, each alone.
#   own_prefix.sh --dpi <dpi> <build root> <runner...> <program> [arguments...]
#     At a screen resolution: in <build root>/wineprefix-dpi-<dpi>, whose user's LogPixels is set
#     before its server first starts (Wine reads it then). The program learns the resolution from
#     KELPY_TEST_DPI. Runs for the same resolution (of the two architectures) take turns.
#
# A prefix is made on its first use (wine-prefix.sh) and kept; its server runs for one program.
set -euo pipefail
scripts=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../scripts" && pwd)
case $1 in
  --desktop)
    root=$2
    shift 2
    mkdir -p "$root"
    take() {  # takes the prefix $1 when no other program has it, or waits for it with --wait
      KELPY_WINEPREFIX=$root/wineprefix-desktop-$1
      exec 9>"$KELPY_WINEPREFIX.lock"
      flock ${2:-} 9
    }
    take 1 -n || take 2 -n || take 1
    ;;
  --dpi)
    dpi=$2 root=$3
    shift 3
    export KELPY_DPI=$dpi KELPY_TEST_DPI=$dpi
    KELPY_WINEPREFIX=$root/wineprefix-dpi-$dpi
    mkdir -p "$root"
    exec 9>"$KELPY_WINEPREFIX.lock"
    flock 9
    ;;
  *)
    echo "usage: own_prefix.sh --desktop|--dpi <dpi> <build root> <runner...> <program> [arguments...]" >&2
    exit 2
    ;;
esac
export KELPY_WINEPREFIX
source "$scripts/wine-prefix.sh" >&2
trap kelpy_wine_stop EXIT
"$@"
