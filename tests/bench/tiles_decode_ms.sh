#!/usr/bin/env bash
# The controller's ULTRA picture path per 1080p frame under Wine: TileJpegDecoder (four workers) plus the
# Direct3D 11 renderer drawing into a 1920 x 1080 window on an Xvfb display of its own. Runs
# TilesDecodeBench.exe, which prints
#   BENCH tiles_decode_ms <ms> ms
# The program runs in a network namespace with only loopback and a Wine prefix in a temporary folder;
# everything it made (namespace, display, prefix, processes) goes on exit, also on failure, and every step
# is bounded by a time-out. Needs root (ip netns).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/scripts/lib/sandbox.sh"
exe="${BENCH_WIN:-$root/build/win}/tests/TilesDecodeBench.exe"

if [ "$(id -u)" != 0 ]; then
  echo "tiles_decode_ms: needs root for a network namespace" >&2
  exit 1
fi
if [ ! -f "$exe" ]; then
  echo "tiles_decode_ms: $exe is missing (build the Windows tree first)" >&2
  exit 1
fi

ns="ttd$$"
work=$(mktemp -d /tmp/tsly-tiles-bench.XXXXXX)
display=$(free_display 120)
xvfb_pid=""

cleanup() {
  if ip netns list | grep -qw "$ns"; then
    ip netns exec "$ns" env WINEPREFIX="$work/prefix" timeout 20 wineserver -k >/dev/null 2>&1 || true
  fi
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  ip netns del "$ns" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

ip netns add "$ns"
ip netns exec "$ns" ip link set lo up
ip netns exec "$ns" Xvfb ":$display" -nolisten tcp -screen 0 1920x1080x24 >/dev/null 2>&1 &
xvfb_pid=$!
wait_display "$display"

in_ns() {
  ip netns exec "$ns" env HOME="$work/home" WINEPREFIX="$work/prefix" WINEDEBUG=-all \
    WINEDLLOVERRIDES="mscoree,mshtml=" DISPLAY=":$display" "$@"
}
mkdir -p "$work/home"
in_ns timeout 180 wineboot -i >/dev/null 2>&1 || true
in_ns timeout 300 wine "$(zpath "$exe")" | tr -d '\r' | grep '^BENCH '
