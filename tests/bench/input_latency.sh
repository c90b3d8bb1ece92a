#!/usr/bin/env bash
# Input latency over the input channel, from the controller's enqueue to SendInput on the controlled PC,
# over 10,000 packets between two network namespaces joined by a veth pair (10.0.0.1/8 the controller,
# 10.0.0.2/8 the controlled PC), each side with its own Wine prefix in a temporary folder and the controlled
# side with its own Xvfb display for SendInput. Prints
#   BENCH input_latency_p50_ms <ms> ms
#   BENCH input_latency_p99_ms <ms> ms
# Needs root (ip netns). Everything it made (namespaces, veth, prefixes, processes) goes on exit, also on
# failure; every step is bounded by a time-out.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/scripts/lib/sandbox.sh"
exe="${BENCH_WIN:-$root/build/win}/tests/InputLatencyBench.exe"
count=${TSLY_BENCH_INPUT_PACKETS:-10000}
port=5000

if [ "$(id -u)" != 0 ]; then
  echo "input_latency: needs root for network namespaces" >&2
  exit 1
fi
if [ ! -f "$exe" ]; then
  echo "input_latency: $exe is missing (build the Windows tree first)" >&2
  exit 1
fi

tag="til$$"
client_ns="${tag}c"
host_ns="${tag}h"
work=$(mktemp -d /tmp/tsly-input-bench.XXXXXX)
pids=()
xvfb_pid=""

cleanup() {
  local pid
  for pid in "${pids[@]}"; do [ -n "$pid" ] && kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do [ -n "$pid" ] && wait "$pid" 2>/dev/null || true; done
  for side in c h; do
    local ns="${tag}${side}"
    if ip netns list | grep -qw "$ns"; then
      ip netns exec "$ns" env WINEPREFIX="$work/$side" timeout 20 wineserver -k >/dev/null 2>&1 || true
    fi
  done
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true; fi
  for side in c h; do ip netns del "${tag}${side}" 2>/dev/null || true; done
  ip link del "${tag}vc" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

join_namespaces "$client_ns" "${tag}vc" "$host_ns" "${tag}vh"

display=$(free_display 150)
ip netns exec "$host_ns" Xvfb ":$display" -nolisten tcp -screen 0 1024x768x24 >/dev/null 2>&1 &
xvfb_pid=$!
wait_display "$display"

# in_side c|h COMMAND...: runs a command in that side's namespace with its own Wine prefix and home.
in_side() {
  local side=$1
  shift
  local ns="${tag}${side}" shown=""
  [ "$side" = h ] && shown=":$display"
  mkdir -p "$work/$side-home"
  ip netns exec "$ns" env HOME="$work/$side-home" WINEPREFIX="$work/$side" WINEDEBUG=-all \
    WINEDLLOVERRIDES="mscoree,mshtml=" DISPLAY="$shown" "$@"
}

for side in c h; do
  (in_side "$side" timeout 180 wineboot -i >/dev/null 2>&1 || true) &
  pids+=($!)
done
for pid in "${pids[@]}"; do wait "$pid" || true; done
pids=()

winexe=$(zpath "$exe")
in_side h timeout 180 wine "$winexe" host "$port" 10.0.0.1 "$count" >"$work/host.out" 2>"$work/host.err" &
host_pid=$!
pids+=($host_pid)
for i in $(seq 1 300); do
  grep -q READY "$work/host.out" 2>/dev/null && break
  kill -0 "$host_pid" 2>/dev/null || break
  sleep 0.1
done
if ! grep -q READY "$work/host.out" 2>/dev/null; then
  echo "input_latency: host did not start" >&2
  cat "$work/host.err" >&2 || true
  exit 1
fi
in_side c timeout 180 wine "$winexe" client 10.0.0.2 "$port" "$count" >"$work/client.out" 2>"$work/client.err" ||
  { echo "input_latency: client failed" >&2; cat "$work/client.err" >&2; exit 1; }
wait "$host_pid" || { echo "input_latency: host failed" >&2; cat "$work/host.err" >&2; exit 1; }
pids=()
cat "$work/host.err" >&2 || true

python3 - "$work/client.out" "$work/host.out" "$count" <<'PY'
import sys

def times(path):
    out = {}
    with open(path, encoding="ascii", errors="replace") as f:
        for line in f:
            parts = line.split()
            if len(parts) == 3 and parts[0] == "T":
                out[int(parts[1])] = float(parts[2])
    return out

sent, injected, count = times(sys.argv[1]), times(sys.argv[2]), int(sys.argv[3])
latencies = sorted((injected[s] - sent[s]) / 1000.0 for s in sent if s in injected)
if len(latencies) != count:
    sys.exit("input_latency: %d of %d packets measured" % (len(latencies), count))
if latencies[0] < 0:
    sys.exit("input_latency: negative latency %.3f ms: the two clocks differ" % latencies[0])

def percentile(p):
    return latencies[min(len(latencies) - 1, int(p / 100.0 * len(latencies)))]

print("BENCH input_latency_p50_ms %.3f ms" % percentile(50))
print("BENCH input_latency_p99_ms %.3f ms" % percentile(99))
PY
