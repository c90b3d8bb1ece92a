#!/usr/bin/env bash
# Two simulated PCs, each running Tessaly under Wine with its own network namespace, hostname, display
# and Wine prefix, joined by a virtual cable. Runs the end-to-end checks (tests/e2e/twopc.py): PC B takes
# control of PC A and shows A's desktop in its RemoteView; later both restart with auto-connect on and
# connect by themselves. During B's session a text, a picture and files are copied from one PC to the
# other, B's mouse crosses onto A through the virtual screen and B's tray menu is opened. Keeps both PCs up
# for a few seconds, then prints both logs, what crossed between the PCs
# (out/clipboard-arrived.txt) and where the screenshots are: out/b.png (PC B's display) beside out/a.png
# (PC A's).
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

# Debian's python3 carries python3-pil, which the harness reads screenshots with; a python3 earlier on PATH
# may not.
py=python3
[ -x /usr/bin/python3 ] && py=/usr/bin/python3
status=0
"$py" tests/e2e/twopc.py --exe "$exe" --driver "$driver" --out "$out" --junit "$out/e2e-demo.xml" \
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
# What was copied on one PC and found on the other: texts, pictures, files with their sizes.
arrived="$out/clipboard-arrived.txt"
echo "===== Copied between the PCs: $arrived"
if [ -f "$arrived" ]; then
  cat "$arrived"
else
  echo "(nothing arrived)"
fi

echo
# PC B's display with its RemoteView showing PC A's desktop, beside PC A's display at that moment.
for shot in b.png a.png video-h264-b.png video-h264-a.png; do
  if [ -f "$out/$shot" ]; then
    echo "Screenshot: $(cd "$out" && pwd)/$shot"
  else
    echo "Screenshot: $out/$shot not taken"
  fi
done
# The display of the PC that took control by itself once both started with auto-connect on.
for shot in "$out"/auto-connect-*.png; do
  [ -f "$shot" ] && echo "Screenshot (auto-connect): $(cd "$(dirname "$shot")" && pwd)/$(basename "$shot")"
done
if [ "$status" = 0 ]; then
  echo "demo: all checks passed"
else
  echo "demo: some checks failed (exit $status)"
fi
exit "$status"
