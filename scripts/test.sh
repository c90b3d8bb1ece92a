#!/usr/bin/env bash
# Sets up, builds and runs every test layer: the native core under sanitizers (with a ThreadSanitizer
# build and the fuzz targets), the Windows tests under Wine, and the two-PC end-to-end run.
# Ends with the line "N passed, M failed".
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
results="$root/out/test-results"
fuzz_seconds=${TSLY_FUZZ_SECONDS:-30}
jobs=$(nproc)
rm -rf "$results" && mkdir -p "$results"

step() { printf '\n== %s\n' "$*"; }
# Records a check that is not a GoogleTest case as a one-case JUnit file.
record() { # name file status(0=pass) [message]
  local failure=""
  [ "$3" = 0 ] || failure="<failure message=\"${4:-failed}\"/>"
  printf '<testsuites><testsuite name="%s"><testcase name="%s" classname="%s">%s</testcase></testsuite></testsuites>\n' \
    "$1" "$1" "$1" "$failure" >"$results/$2.xml"
}

step "setup"
bash scripts/setup.sh || { echo "setup failed"; echo "0 passed, 1 failed"; exit 1; }

step "build: Windows programs and tests"
TSLY_SKIP_SETUP=1 bash scripts/build.sh
record build-windows build-windows $?

step "build: native core (address and undefined-behaviour sanitizers, fuzz targets)"
CC=clang CXX=clang++ cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DTSLY_SANITIZE=ON -DTSLY_FUZZ=ON >/dev/null && cmake --build build/native -j "$jobs"
record build-native build-native $?

step "native core tests"
(cd build/native && ctest -j "$jobs" --timeout 300 --output-on-failure --output-junit "$results/native.xml")

step "native core tests under ThreadSanitizer"
CC=clang CXX=clang++ cmake -S . -B build/tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTSLY_TSAN=ON >/dev/null &&
  cmake --build build/tsan -j "$jobs" --target tsly_core_tests &&
  TSAN_OPTIONS=halt_on_error=1 build/tsan/tests/tsly_core_tests --gtest_brief=1
record thread-sanitizer tsan $?

step "fuzz targets (${fuzz_seconds}s each, side by side)"
fuzz_pids=()
fuzz_names=()
for fuzzer in build/native/tests/Fuzz*; do
  [ -x "$fuzzer" ] || continue
  name=$(basename "$fuzzer")
  corpus="build/native/corpus/$name"
  mkdir -p "$corpus"
  seeds=()
  [ -d "tests/fuzz/seeds/$name" ] && seeds=("tests/fuzz/seeds/$name")
  "$fuzzer" "$corpus" "${seeds[@]}" -max_total_time="$fuzz_seconds" -print_final_stats=0 >"build/native/$name.log" 2>&1 &
  fuzz_pids+=($!)
  fuzz_names+=("$name")
done
for i in "${!fuzz_pids[@]}"; do
  wait "${fuzz_pids[$i]}"
  status=$?
  name=${fuzz_names[$i]}
  echo "$name: $(tail -1 "build/native/$name.log")"
  record "fuzz-$name" "fuzz-$name" $status "see build/native/$name.log"
done

step "Windows tests under Wine"
bash scripts/run-wine-tests.sh build/win "$results"

# Debian's python3 carries python3-pil, which the video checks decode with; a python3 earlier on PATH may not.
py=python3
[ -x /usr/bin/python3 ] && py=/usr/bin/python3

step "end to end: the harness's own rules (logs, picture comparison, benchmark arithmetic)"
"$py" -m unittest discover -s tests/e2e -p 'test_*.py' 2>&1 | tail -3
record e2e-harness-rules e2e-harness-rules ${PIPESTATUS[0]}

step "end to end: two simulated PCs"
"$py" tests/e2e/twopc.py --exe dist/Tessaly.exe --driver build/win/tests/TessalyDriver.exe \
  --out out --junit "$results/e2e.xml"

step "results"
python3 scripts/summarize-results.py "$results" native.xml tsan.xml wine-TessalyWinTests.xml e2e.xml
