#!/usr/bin/env bash
# Installs what the build and the tests need on a fresh Debian 12 machine (as root): the
# Windows cross compilers and Wine, the IDL files, JSON, CMake and Ninja, GoogleTest and the
# host C++ compiler that draws the control's pictures at build time, skipping whatever is
# already there. Safe to run again.
set -euo pipefail

need=()
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

packages=(wine64 wine32:i386 g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
          mingw-w64-tools libwine-dev nlohmann-json3-dev cmake ninja-build googletest g++)
for p in "${packages[@]}"; do have "$p" || need+=("$p"); done

if [ ${#need[@]} -gt 0 ]; then
  echo "setup: installing ${need[*]}"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
fi
echo "setup: packages present"
