#!/usr/bin/env bash
# Runs the Windows test executables under Wine with Xvfb, inside a network namespace that has only
# loopback. Usage: run-wine-tests.sh BUILD_DIR RESULTS_DIR
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/lib/sandbox.sh"
build=$(realpath "${1:-$root/build/win}")
results=$(realpath -m "${2:-$root/out/test-results}")
state="$build/wine-prefix" # prefix and home, kept between runs of this build; its own wineserver
mkdir -p "$results" "$state/home"

ns="tsly-wt-$$"
display=$(free_display 80)
xvfb_pid=""
# A private PulseAudio server with a null sink gives Wine a default render endpoint for the audio tests.
pulse_dir=$(mktemp -d /tmp/tsly-pulse-XXXXXX)
pulse_pid=""
cleanup() {
  ip netns exec "$ns" env WINEPREFIX="$state/prefix" wineserver -k >/dev/null 2>&1 || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null || true
  [ -n "$pulse_pid" ] && kill "$pulse_pid" 2>/dev/null || true
  ip netns del "$ns" 2>/dev/null || true
  rm -rf "$pulse_dir"
}
trap cleanup EXIT

ip netns add "$ns"
ip netns exec "$ns" ip link set lo up
# A cable-link address on loopback, so tests can talk to the program from a 10.x sender; it cannot leave
# this namespace.
link_address=10.77.0.1
ip netns exec "$ns" ip addr add "$link_address/8" dev lo
ip netns exec "$ns" Xvfb ":$display" -nolisten tcp -screen 0 1280x800x24 >/dev/null 2>&1 &
xvfb_pid=$!
wait_display "$display"
if command -v pulseaudio >/dev/null; then
  ip netns exec "$ns" env XDG_RUNTIME_DIR="$pulse_dir" HOME="$pulse_dir" pulseaudio --daemonize=yes \
    --exit-idle-time=-1 -n --load=module-native-protocol-unix --load="module-null-sink sink_name=nullsink" \
    >/dev/null 2>&1 || true
  for _ in $(seq 1 50); do
    [ -S "$pulse_dir/pulse/native" ] && [ -s "$pulse_dir/pulse/pid" ] && break
    sleep 0.1
  done
  pulse_pid=$(cat "$pulse_dir/pulse/pid" 2>/dev/null || true)
fi
[ -n "$pulse_pid" ] || echo "run-wine-tests: no PulseAudio server, so Wine has no audio endpoint" >&2

in_sandbox() {
  ip netns exec "$ns" env HOME="$state/home" WINEPREFIX="$state/prefix" WINEDEBUG=-all XDG_RUNTIME_DIR="$pulse_dir" \
    WINEDLLOVERRIDES="mscoree,mshtml=" DISPLAY=":$display" TSLY_TEST_LINK_ADDRESS="$link_address" "$@"
}
if [ ! -f "$state/prefix/system.reg" ]; then
  in_sandbox wineboot -i >/dev/null 2>&1
  in_sandbox wineserver -w
fi
# A crash must fail the test, not wait for someone to close a dialog.
in_sandbox wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1

rc=0
for exe in "$build"/tests/*Tests.exe; do
  name=$(basename "$exe" .exe)
  echo "== $name (Wine)"
  xml="$results/wine-$name.xml"
  rm -f "$xml"
  in_sandbox timeout 900 wine "$exe" --gtest_output="xml:$(zpath "$xml")" || rc=1
  # GoogleTest writes its report as it ends: none means the run was cut short (a killed wineserver may
  # still leave exit code 0).
  if [ ! -s "$xml" ]; then
    echo "run-wine-tests: $name ended without its report" >&2
    rc=1
  fi
done
exit $rc
