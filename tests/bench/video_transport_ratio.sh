#!/usr/bin/env bash
# Throughput of the video transport (TcpVideoSender -> TcpVideoReceiver, 256 KiB frames) against a raw TCP
# copy of the same bytes on the same link, measured in the same run between two network namespaces joined
# by a veth pair (10.0.0.1/8 sends, 10.0.0.2/8 receives), each side with its own Wine prefix in a temporary
# folder. Each mode runs three times, alternating; the best of each counts. Prints
#   BENCH video_transport_mbps <MB/s> MB/s
#   BENCH raw_tcp_mbps <MB/s> MB/s
#   BENCH video_transport_ratio <video/raw> x
# Needs root (ip netns). Everything it made (namespaces, veth, prefixes, processes) goes on exit, also on
# failure; every step is bounded by a time-out.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/scripts/lib/sandbox.sh"
. "$root/scripts/lib/wine-pair.sh"
exe="${BENCH_WIN:-$root/build/win}/tests/VideoTransportBench.exe"
frames=${TSLY_BENCH_VIDEO_FRAMES:-1500}
frame_bytes=$((256 * 1024))
rounds=${TSLY_BENCH_VIDEO_ROUNDS:-3}

if [ "$(id -u)" != 0 ]; then
  echo "video_transport_ratio: needs root for network namespaces" >&2
  exit 1
fi
if [ ! -f "$exe" ]; then
  echo "video_transport_ratio: $exe is missing (build the Windows tree first)" >&2
  exit 1
fi

wine_pair_open "tvb$$" "$(mktemp -d /tmp/tsly-video-bench.XXXXXX)"

winexe=$(zpath "$exe")
# run_once MODE PORT: prints the receiver's MB/s.
run_once() {
  local mode=$1 port=$2 out="$work/recv-$1-$2.out"
  in_side r timeout 120 wine "$winexe" recv "$mode" "$port" 10.0.0.1 "$frames" "$frame_bytes" >"$out" 2>"$out.err" &
  local receiver=$!
  pids+=($receiver)
  local i
  for i in $(seq 1 300); do
    grep -q READY "$out" 2>/dev/null && break
    kill -0 "$receiver" 2>/dev/null || break
    sleep 0.1
  done
  if ! grep -q READY "$out" 2>/dev/null; then
    echo "video_transport_ratio: $mode receiver did not start" >&2
    cat "$out.err" >&2 || true
    return 1
  fi
  in_side s timeout 120 wine "$winexe" send "$mode" 10.0.0.2 "$port" "$frames" "$frame_bytes" \
    >"$work/send.out" 2>&1 || { echo "video_transport_ratio: $mode sender failed" >&2; cat "$work/send.out" >&2; }
  wait "$receiver" || { echo "video_transport_ratio: $mode receiver failed" >&2; cat "$out.err" >&2; return 1; }
  pids=("${pids[@]/$receiver/}")
  awk '/^MBPS/ {print $2}' "$out" | tr -d '\r'
}

best_raw=0
best_video=0
port=6000
for round in $(seq 1 "$rounds"); do
  raw=$(run_once raw "$port"); port=$((port + 1))
  video=$(run_once video "$port"); port=$((port + 1))
  echo "video_transport_ratio: round $round raw $raw MB/s, video $video MB/s" >&2
  best_raw=$(awk -v a="$best_raw" -v b="$raw" 'BEGIN {print (b > a) ? b : a}')
  best_video=$(awk -v a="$best_video" -v b="$video" 'BEGIN {print (b > a) ? b : a}')
done
echo "BENCH video_transport_mbps $best_video MB/s"
echo "BENCH raw_tcp_mbps $best_raw MB/s"
awk -v v="$best_video" -v r="$best_raw" 'BEGIN {printf "BENCH video_transport_ratio %.3f x\n", (r > 0) ? v / r : 0}'
