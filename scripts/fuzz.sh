#!/usr/bin/env bash
# The reliability suites in full, on both architectures: builds, then runs every section (or the
# sections named) for each architecture. Each suite prints its figures (`figure <name> value <v>
# goal <g>`), the random ones their seed and what to run to replay a failing case; the script
# fails when a suite misses a goal. The normal test run has a short run of each.
#
# Usage: scripts/fuzz.sh [section...]
# Sections:
#   documents   the map-document fuzz suite: 10,000 mutated documents opened by the map model
#   messages    the message fuzz: 100,000 random inputs and map changes on the hosted control
#   faults      a person's clicks, drops and symbol picks, and a rebuild, each with every one of
#               its map-model calls failing in turn (about 10,000 runs: the longest section)
#   resources   1,000 rebuilds and 1,000 drags: live objects, windows and private bytes
# $KELPY_BUILD_ROOT and $KELPY_ARCHS choose the build root and the architectures, as for
# build.sh; $KELPY_FUZZ_SEED runs every suite with that seed instead of a new one.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
root=${KELPY_BUILD_ROOT:-$here/build}
all_sections=(documents messages faults resources)

mkdir -p "$root"
log=$root/fuzz-build.log
if ! "$here/scripts/build.sh" >"$log" 2>&1; then
  tail -n 40 "$log"
  echo "fuzz: the build failed (whole log: $log)" >&2
  exit 1
fi

# (A server that is already running for the prefix is fine.)
source "$here/scripts/wine-prefix.sh" || true
trap kelpy_wine_stop EXIT

# Runs a program of an architecture's build in its bin folder (where its libraries are).
run_program() {  # <arch> <program.exe> [args...]
  local arch=$1 loader
  shift
  case $arch in
    x64) loader=/usr/lib/wine/wine64 ;;
    x86) loader=/usr/lib/wine/wine ;;
    *) echo "fuzz: unknown architecture $arch" >&2; return 1 ;;
  esac
  (cd "$root/$arch/bin" && "$loader" "$@" </dev/null)
}

# ---- section: documents
fuzz_documents() {  # <arch>
  local args=(--documents 10000)
  [ -z "${KELPY_FUZZ_SEED:-}" ] || args+=(--seed "$KELPY_FUZZ_SEED")
  run_program "$1" document-fuzz.exe "${args[@]}"
}

# ---- section: messages
fuzz_messages() {  # <arch>
  local args=(--steps 100000)
  [ -z "${KELPY_FUZZ_SEED:-}" ] || args+=(--seed "$KELPY_FUZZ_SEED")
  run_program "$1" message-fuzz.exe "${args[@]}"
}

# ---- section: faults
fuzz_faults() {  # <arch>
  run_program "$1" model-faults.exe
}

# ---- section: resources
fuzz_resources() {  # <arch>
  run_program "$1" resources.exe --operations 1000
}

sections=("$@")
[ ${#sections[@]} -gt 0 ] || sections=("${all_sections[@]}")
status=0
for section in "${sections[@]}"; do
  if ! declare -F "fuzz_$section" >/dev/null; then
    echo "fuzz: unknown section $section (sections: ${all_sections[*]})" >&2
    exit 2
  fi
  for arch in ${KELPY_ARCHS:-x64 x86}; do
    echo "== $arch: $section"
    "fuzz_$section" "$arch" || status=1
  done
done
exit $status
