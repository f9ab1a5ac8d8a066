#!/usr/bin/env bash
# Configures and builds both architectures: build/x64 and build/x86.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
jobs=${KELPY_JOBS:-$(nproc)}
for arch in ${KELPY_ARCHS:-x64 x86}; do
  dir=$here/build/$arch
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    cmake -S "$here" -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-$arch.cmake" \
          -DCMAKE_BUILD_TYPE=${KELPY_BUILD_TYPE:-RelWithDebInfo} >/dev/null
  fi
  echo "build: $arch"
  cmake --build "$dir" -j "$jobs"
done
