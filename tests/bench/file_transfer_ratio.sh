#!/usr/bin/env bash
# Throughput of a file transfer over the HTTP pull (the sender's file server offers the file, the receiver
# reads the manifest and downloads the item, as a paste or a drop does) against a raw TCP copy of the same file
# on the same link, measured in the same run between two network namespaces joined by a veth pair (10.0.0.1/8
# serves, 10.0.0.2/8 receives), each side with its own Wine prefix in a temporary folder. The file is 1 GiB of
# random bytes (TSLY_BENCH_TRANSFER_MB overrides); both copies must arrive with its sha256. Each mode runs
# TSLY_BENCH_TRANSFER_ROUNDS times (default 2), alternating; the best of each counts. Prints
#   BENCH file_transfer_http_mbps <MiB/s> MB/s
#   BENCH file_transfer_raw_mbps <MiB/s> MB/s
#   BENCH file_transfer_ratio <http/raw> x
# Needs root (ip netns). Everything it made (namespaces, veth, prefixes, files, processes) goes on exit, also on
# failure; every step is bounded by a time-out.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/scripts/lib/sandbox.sh"
. "$root/scripts/lib/wine-pair.sh"
exe="${BENCH_WIN:-$root/build/win}/tests/TransferBench.exe"
megabytes=${TSLY_BENCH_TRANSFER_MB:-1024}
rounds=${TSLY_BENCH_TRANSFER_ROUNDS:-2}
step_limit=600

if [ "$(id -u)" != 0 ]; then
  echo "file_transfer_ratio: needs root for network namespaces" >&2
  exit 1
fi
if [ ! -f "$exe" ]; then
  echo "file_transfer_ratio: $exe is missing (build the Windows tree first)" >&2
  exit 1
fi

# Files live in memory where the machine has room, so the figures measure the link and the protocol, not
# how fast this machine's disk happens to write back.
scratch=/tmp
[ -d /dev/shm ] && [ "$(df -Pm /dev/shm | awk 'NR == 2 {print $4}')" -gt $((megabytes * 3 + 2048)) ] && scratch=/dev/shm
wine_pair_open "tfb$$" "$(mktemp -d "$scratch/tsly-transfer-bench.XXXXXX")"
result=""

source_file="$work/data/transfer.bin"
mkdir -p "$work/data"
head -c "$((megabytes * 1024 * 1024))" /dev/urandom >"$source_file"
expected=$(sha256sum "$source_file" | cut -d' ' -f1)
winexe=$(zpath "$exe")

# wait_line FILE WORD PID: waits (bounded) until FILE holds a line starting with WORD or the process ended.
wait_line() {
  local i
  for i in $(seq 1 600); do
    grep -q "^$2" "$1" 2>/dev/null && return 0
    kill -0 "$3" 2>/dev/null || break
    sleep 0.1
  done
  grep -q "^$2" "$1" 2>/dev/null
}

# check_copy FILE MODE: the received file must be the source, byte for byte.
check_copy() {
  local got
  got=$(sha256sum "$1" 2>/dev/null | cut -d' ' -f1 || true)
  if [ "$got" != "$expected" ]; then
    echo "file_transfer_ratio: $2 copy differs from the source (sha256 ${got:-missing})" >&2
    return 1
  fi
}

# run_http ROUND: sets result to the receiver's MiB/s over the HTTP pull.
run_http() {
  local out="$work/http-$1" serve_out="$work/serve-$1.out"
  mkdir -p "$out"
  in_side s timeout "$step_limit" wine "$winexe" serve "$(zpath "$source_file")" 10.0.0.1 10.0.0.2 "$step_limit" \
    >"$serve_out" 2>&1 &
  local server=$!
  pids+=($server)
  if ! wait_line "$serve_out" URL "$server"; then
    echo "file_transfer_ratio: the file server made no offer" >&2
    cat "$serve_out" >&2
    return 1
  fi
  local url
  url=$(awk '/^URL / {print $2}' "$serve_out" | tr -d '\r')
  local status=0
  in_side r timeout "$step_limit" wine "$winexe" pull "$url" 10.0.0.1 "$(zpath "$out")" >"$work/pull.out" 2>&1 ||
    status=$?
  kill "$server" 2>/dev/null || true
  wait "$server" 2>/dev/null || true
  pids=("${pids[@]/$server/}")
  if [ "$status" != 0 ]; then
    echo "file_transfer_ratio: the HTTP pull failed ($status)" >&2
    cat "$work/pull.out" >&2
    return 1
  fi
  check_copy "$out/$(basename "$source_file")" http || return 1
  rm -rf "$out"
  result=$(awk '/^MBPS/ {print $2}' "$work/pull.out" | tr -d '\r')
}

# run_raw ROUND PORT: sets result to the receiver's MiB/s over a plain TCP copy.
run_raw() {
  local out="$work/raw-$1.bin" send_out="$work/tcp-send-$1.out"
  in_side s timeout "$step_limit" wine "$winexe" tcp-send "$(zpath "$source_file")" "$2" >"$send_out" 2>&1 &
  local sender=$!
  pids+=($sender)
  if ! wait_line "$send_out" READY "$sender"; then
    echo "file_transfer_ratio: the raw sender did not start" >&2
    cat "$send_out" >&2
    return 1
  fi
  local status=0
  in_side r timeout "$step_limit" wine "$winexe" tcp-recv 10.0.0.1 "$2" "$(zpath "$out")" >"$work/tcp-recv.out" 2>&1 ||
    status=$?
  wait "$sender" 2>/dev/null || true
  pids=("${pids[@]/$sender/}")
  if [ "$status" != 0 ]; then
    echo "file_transfer_ratio: the raw copy failed ($status)" >&2
    cat "$work/tcp-recv.out" >&2
    return 1
  fi
  check_copy "$out" raw || return 1
  rm -f "$out"
  result=$(awk '/^MBPS/ {print $2}' "$work/tcp-recv.out" | tr -d '\r')
}

best_raw=0
best_http=0
for round in $(seq 1 "$rounds"); do
  run_raw "$round" $((7100 + round)) || exit 1
  raw=$result
  run_http "$round" || exit 1
  http=$result
  echo "file_transfer_ratio: round $round raw $raw MB/s, http $http MB/s" >&2
  best_raw=$(awk -v a="$best_raw" -v b="$raw" 'BEGIN {print (b > a) ? b : a}')
  best_http=$(awk -v a="$best_http" -v b="$http" 'BEGIN {print (b > a) ? b : a}')
done
echo "BENCH file_transfer_http_mbps $best_http MB/s"
echo "BENCH file_transfer_raw_mbps $best_raw MB/s"
awk -v h="$best_http" -v r="$best_raw" 'BEGIN {printf "BENCH file_transfer_ratio %.3f x\n", (r > 0) ? h / r : 0}'
