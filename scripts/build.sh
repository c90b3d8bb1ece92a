#!/usr/bin/env bash
# Builds the Windows programs (and the Windows tests) into build/win and puts the programs into dist/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
[ "${TSLY_SKIP_SETUP:-0}" = 1 ] || bash scripts/setup.sh
cmake -S . -B build/win -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" -DCMAKE_PREFIX_PATH="$root/.deps/mingw" >/dev/null
cmake --build build/win
mkdir -p dist
cp build/win/Tessaly.exe build/win/Wardlet.exe dist/
echo "built: dist/Tessaly.exe"
echo "built: dist/Wardlet.exe"
