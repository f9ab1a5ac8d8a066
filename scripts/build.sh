#!/usr/bin/env bash
# Configures and builds both architectures: build/x64 and build/x86 (or under
# $KELPY_BUILD_ROOT, when set; $KELPY_ARCHS picks the architectures).
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
root=${KELPY_BUILD_ROOT:-$here/build}
jobs=${KELPY_JOBS:-$(nproc)}
for arch in ${KELPY_ARCHS:-x64 x86}; do
  dir=$root/$arch
  # Ninja: it starts the next compile the moment a core is free, across all targets. A tree
  # configured earlier for another generator is configured again.
  if ! grep -qs '^CMAKE_GENERATOR:INTERNAL=Ninja$' "$dir/CMakeCache.txt"; then
    rm -rf "$dir/CMakeCache.txt" "$dir/CMakeFiles"
    cmake -G Ninja -S "$here" -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-$arch.cmake" \
          -DCMAKE_BUILD_TYPE=${KELPY_BUILD_TYPE:-RelWithDebInfo} >/dev/null
  fi
  echo "build: $arch"
  cmake --build "$dir" -j "$jobs"
done
