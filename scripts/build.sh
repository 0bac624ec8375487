#!/usr/bin/env bash
# Configures and builds the host and the win32 builds (incrementally).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
jobs=${JOBS:-2}
what=${1:-all}

if [ "$what" = all ] || [ "$what" = host ]; then
  cmake -S "$top" -B "$top/build/host" -DCMAKE_BUILD_TYPE=Debug >/dev/null
  cmake --build "$top/build/host" -j"$jobs"
fi
if [ "$what" = all ] || [ "$what" = asan ]; then
  cmake -S "$top" -B "$top/build/asan" -DCMAKE_BUILD_TYPE=Debug -DMORROWICK_SANITIZE=ON >/dev/null
  cmake --build "$top/build/asan" -j"$jobs"
fi
if [ "$what" = all ] || [ "$what" = win32 ]; then
  win32=${MORROWICK_WIN32_BUILD:-$top/build/win32}
  cmake -S "$top" -B "$win32" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-i686.cmake" >/dev/null
  cmake --build "$win32" -j"$jobs"
fi
