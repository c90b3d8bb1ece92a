#!/usr/bin/env bash
# Builds and runs the benchmarks; with names, only those. Each prints lines "BENCH <name> <value> <unit>";
# a ratio against a baseline measured in the same run has the unit "x".
#   bash scripts/bench.sh [NAME...]
# A benchmark is tests/bench/<name>.cpp (a native program, built optimised into build/bench) or
# tests/bench/<name>.sh (a runner for what needs Wine or network namespaces; it gets BENCH_NATIVE and
# BENCH_WIN, the two build folders, in its environment).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
[ "${TSLY_SKIP_SETUP:-0}" = 1 ] || bash scripts/setup.sh >/dev/null

native="$root/build/bench"
cmake -S . -B "$native" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$native" >/dev/null
TSLY_SKIP_SETUP=1 bash scripts/build.sh >/dev/null
export BENCH_NATIVE="$native" BENCH_WIN="$root/build/win"

names=("$@")
if [ ${#names[@]} = 0 ]; then
  for f in tests/bench/*.cpp tests/bench/*.sh; do
    [ -e "$f" ] && names+=("$(basename "${f%.*}")")
  done
fi
status=0
for name in "${names[@]}"; do
  if [ -x "$native/tests/bench_$name" ]; then
    "$native/tests/bench_$name" || status=1
  elif [ -f "tests/bench/$name.sh" ]; then
    bash "tests/bench/$name.sh" || status=1
  else
    echo "bench: no benchmark named $name" >&2
    status=1
  fi
done
exit $status
