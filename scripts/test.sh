#!/usr/bin/env bash
# Installs what is missing, builds both architectures and runs every test of both under Wine.
# The tests of one architecture run while the next one builds: most of a test run waits on Wine
# and on windows, so the compiler has the cores it leaves free.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
root=${KELPY_BUILD_ROOT:-$here/build}
"$here/scripts/setup.sh"
read -r -a archs <<< "${KELPY_ARCHS:-x64 x86}"
KELPY_ARCHS=${archs[0]} "$here/scripts/build.sh"
source "$here/scripts/wine-prefix.sh"
builder=
trap '[ -n "$builder" ] && kill "$builder" 2>/dev/null; kelpy_wine_stop' EXIT
status=0
for i in "${!archs[@]}"; do
  arch=${archs[$i]}
  next=${archs[$((i + 1))]:-}
  if [ -n "$next" ]; then
    mkdir -p "$root"
    KELPY_ARCHS=$next "$here/scripts/build.sh" > "$root/build-$next.log" 2>&1 &
    builder=$!
  fi
  echo "test: $arch"
  # Every case runs once: a case that fails is seen, not retried.
  (cd "$root/$arch" && ctest --output-on-failure -j "${KELPY_JOBS:-$(nproc)}" --timeout 300) || status=1
  if [ -n "$next" ]; then
    if ! wait "$builder"; then
      builder=
      cat "$root/build-$next.log"
      echo "build: $next failed" >&2
      exit 1
    fi
    builder=
    cat "$root/build-$next.log"
  fi
done
exit $status
