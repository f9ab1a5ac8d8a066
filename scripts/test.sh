#!/usr/bin/env bash
# Installs what is missing, builds both architectures and runs every test of both under Wine.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
root=${KELPY_BUILD_ROOT:-$here/build}
"$here/scripts/setup.sh"
"$here/scripts/build.sh"
source "$here/scripts/wine-prefix.sh"
trap kelpy_wine_stop EXIT
status=0
for arch in ${KELPY_ARCHS:-x64 x86}; do
  echo "test: $arch"
  # Every case runs once: a case that fails is seen, not retried.
  (cd "$root/$arch" && ctest --output-on-failure -j "${KELPY_JOBS:-$(nproc)}" --timeout 300) || status=1
done
exit $status
