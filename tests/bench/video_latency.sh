#!/usr/bin/env bash
# Latency (PC A's screen to PC B's RemoteView) and drawn ratio of the controller's video over a minute of
# 1920x1080 ULTRA between the two simulated PCs of the end-to-end harness (tests/e2e/videobench.py). Prints
#   BENCH video_drawn_ratio <drawn/received> x
#   BENCH video_latency_p50_ms <ms> ms
#   BENCH video_latency_p99_ms <ms> ms
# Needs root (network namespaces); the harness ends everything it started, also on failure.
# TSLY_BENCH_VIDEO_SECONDS changes the length of the measurement (default 60).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
win="${BENCH_WIN:-$root/build/win}"

if [ "$(id -u)" != 0 ]; then
  echo "video_latency: needs root for network namespaces" >&2
  exit 1
fi
# Debian's python3 carries python3-pil, which the harness reads screenshots with.
py=python3
[ -x /usr/bin/python3 ] && py=/usr/bin/python3
cd "$root"
exec "$py" tests/e2e/videobench.py --exe "$win/Tessaly.exe" --driver "$win/tests/TessalyDriver.exe" \
  --out "$root/out/bench" --seconds "${TSLY_BENCH_VIDEO_SECONDS:-60}"
