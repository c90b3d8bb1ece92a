#!/usr/bin/env bash
# Two simulated PCs, each running Tessaly under Wine with its own network namespace, hostname, display
# and Wine prefix, joined by a virtual cable. Runs the end-to-end checks (tests/e2e/twopc.py), keeps
# both PCs up for a few seconds, then prints both logs and where the screenshots and the received video
# frames are.
#
# Run as root from anywhere, after the build (scripts/build.sh):
#   bash scripts/demo.sh
# Overrides: TSLY_EXE (default dist/Tessaly.exe), TSLY_DRIVER (default build/win/tests/TessalyDriver.exe),
#            TSLY_OUT (default out), TSLY_DEMO_KEEP_SECONDS (default 5).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

exe=${TSLY_EXE:-dist/Tessaly.exe}
driver=${TSLY_DRIVER:-build/win/tests/TessalyDriver.exe}
out=${TSLY_OUT:-out}
keep=${TSLY_DEMO_KEEP_SECONDS:-5}

if [ "$(id -u)" != 0 ]; then
  echo "demo: must run as root (it makes network namespaces)" >&2
  exit 2
fi
for f in "$exe" "$driver"; do
  if [ ! -f "$f" ]; then
    echo "demo: $f not found; build first (scripts/build.sh)" >&2
    exit 2
  fi
done

status=0
python3 tests/e2e/twopc.py --exe "$exe" --driver "$driver" --out "$out" --junit "$out/e2e-demo.xml" \
  --keep-running-seconds "$keep" || status=$?

for pc in a b; do
  log="$out/$pc-Tessaly.log"
  echo
  echo "===== PC ${pc^^}: $log"
  if [ -f "$log" ]; then
    tr -d '\r' <"$log"
  else
    echo "(no log)"
  fi
done

echo
for pc in a b; do
  if [ -f "$out/$pc.png" ]; then
    echo "Screenshot of PC ${pc^^}: $(cd "$out" && pwd)/$pc.png"
  else
    echo "Screenshot of PC ${pc^^}: not taken"
  fi
done
# Frames the test receiver on PC B decoded from PC A's video stream, beside A's screen at that moment.
for frame in "$out"/video-*.png; do
  [ -f "$frame" ] && echo "Video: $(cd "$(dirname "$frame")" && pwd)/$(basename "$frame")"
done
if [ "$status" = 0 ]; then
  echo "demo: all checks passed"
else
  echo "demo: some checks failed (exit $status)"
fi
exit "$status"
