#!/usr/bin/env bash
# Builds the installer (dist/QuorletSetup.exe, 32-bit) and, for each
# architecture named, the tests, stand-in hosts and benchmark.
# Usage: scripts/build.sh [ARCH...]   (default: i686)
set -euo pipefail
source "$(dirname "$0")/lib.sh"

archs=("$@")
[ ${#archs[@]} -gt 0 ] || archs=(i686)
for arch in "${archs[@]}"; do
  dir=$QUORLET_BUILD/$arch
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    cmake -S "$QUORLET_ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$QUORLET_ROOT/cmake/toolchain-$arch-mingw.cmake" >/dev/null
  fi
  cmake --build "$dir" -j"$(nproc)"
done
