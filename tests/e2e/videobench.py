#!/usr/bin/env python3
"""Latency and drawn ratio of the controller's video between the two simulated PCs of twopc.py.

PC A (1920x1080 display) shows the moving test window and, in a band along the bottom, the wall-clock time
as a clock code (MovingPattern --clock); PC B takes control in ULTRA mode with its main window over its
whole display. LatencyProbe on B reads the code out of B's RemoteView at a high rate; both PCs share this
machine's clock, so each new value read is a latency from A's screen to B's. B's "client stat" lines give
the frames received and drawn. Prints
    BENCH video_drawn_ratio <drawn/received> x
    BENCH video_latency_p50_ms <ms> ms
    BENCH video_latency_p99_ms <ms> ms
Before it measures, the probe is checked on A's own display, where it must read the code within a few
milliseconds. Run as root after the Windows build (tests/bench/video_latency.sh does).
"""
from __future__ import annotations

import argparse
import re
import sys
import time
from pathlib import Path

from PIL import Image

sys.path.insert(0, str(Path(__file__).resolve().parent))
import twopc  # noqa: E402
import videocompare as vc  # noqa: E402

SCREEN = (1920, 1080)
CLOCK_RECT = vc.Rect(0, 880, 1920, 200)  # below the test window (PATTERN_RECT ends at y=860)
SELF_CHECK_S = 5
SELF_CHECK_MAX_P50_MS = 40   # the probe on the display that draws the code: redraw + grab period + one grab
WARM_UP_S = 5
# Latency of the last quarter against the first: more than this is a backlog building up.
BACKLOG_GROWTH_LIMIT_MS = 150
MIN_VALUES = 50


def probe_latencies(output: str) -> list[int]:
    return [int(m.group(1)) for m in re.finditer(r"^LATENCY (-?\d+)\r?$", output, re.M)]


def percentile(values: list[int], fraction: float) -> int:
    """Nearest-rank percentile of a non-empty list."""
    ordered = sorted(values)
    rank = max(1, -(-int(fraction * 1000) * len(ordered) // 1000))
    return ordered[min(rank, len(ordered)) - 1]


def backlog_growth(latencies: list[int]) -> int:
    """Median latency of the last quarter minus that of the first: grows when frames queue up."""
    quarter = max(1, len(latencies) // 4)
    return percentile(latencies[-quarter:], 0.5) - percentile(latencies[:quarter], 0.5)


TILE_TRIM = re.compile(r"\[VIDEO\]\[LOW_LATENCY\] dropped stale tile frames=(\d+) ")


def trimmed_frames(messages: list[str]) -> int:
    """Frames the receiver dropped from a stale tile backlog: they arrived but never reach the stat lines."""
    return sum(int(m.group(1)) for m in map(TILE_TRIM.match, messages) if m)


def drawn_ratio(stats: list[twopc.ClientStat], trimmed: int = 0) -> tuple[float, int, int]:
    """(drawn / arrived, arrived, drawn) between the first and the last stat line, where the frames that
    arrived are those received plus those trimmed from a backlog."""
    received = stats[-1].total_recv - stats[0].total_recv + trimmed
    drawn = stats[-1].total_render - stats[0].total_render
    return (drawn / received if received > 0 else 0.0), received, drawn


def scaled(rect: vc.Rect, view: vc.Rect, desktop: tuple[int, int]) -> vc.Rect:
    """Where a rectangle of the controlled desktop is drawn in the controller's RemoteView."""
    sx, sy = view.width / desktop[0], view.height / desktop[1]
    return vc.Rect(view.x + round(rect.x * sx), view.y + round(rect.y * sy), round(rect.width * sx),
                   round(rect.height * sy))


def run_probe(pc: twopc.SimulatedPc, h: twopc.Harness, rect: vc.Rect, seconds: int) -> tuple[list[int], str]:
    r = pc.wine("latency-probe", [str(h.latency_probe), str(rect.x), str(rect.y), str(rect.width),
                                  str(rect.height), str(seconds)], timeout=seconds + 60)
    summary = re.search(r"^PROBE .*$", r.output, re.M)
    return probe_latencies(r.output), summary.group(0).strip() if summary else f"exit {r.rc}: {r.output[-300:]}"


def run_x_probe(pc: twopc.SimulatedPc, window: str, rect: vc.Rect, seconds: int) -> tuple[list[int], str]:
    """The clock code read out of the X window in which Wine draws RemoteView's Direct3D picture."""
    r = twopc.host_run([sys.executable, str(Path(__file__).resolve().parent / "xclockprobe.py"), f":{pc.display}",
                        window, str(rect.x), str(rect.y), str(rect.width), str(rect.height), str(seconds)],
                       timeout=seconds + 60, check=False)
    summary = re.search(r"^PROBE .*$", r.output, re.M)
    return probe_latencies(r.output), summary.group(0).strip() if summary else f"exit {r.rc}: {r.output[-300:]}"


def remote_view_window(h: twopc.Harness, pc: twopc.SimulatedPc, view: vc.Rect) -> str | None:
    """Wine's off-screen X window of RemoteView when the screen shows RemoteView black, else None."""
    shot = h.out / "bench-b-screen.png"
    pc.screenshot(shot)
    with Image.open(shot) as image:
        if not vc.view_black(image, view):
            return None
    tree = twopc.host_run(["xwininfo", "-display", f":{pc.display}", "-root", "-tree"]).output
    windows = twopc.offscreen_windows(tree, view.width, view.height)
    return windows[0] if windows else None


def start_clock(h: twopc.Harness) -> None:
    a = h.pc("a")
    lifetime = h.args.time_limit
    c = CLOCK_RECT
    a.apps["clock"] = h.procs.spawn(
        f"{a.label} MovingPattern --clock",
        a.in_pc(["wine64", str(h.pattern), "--clock", str(c.x), str(c.y), str(c.width), str(c.height), str(lifetime)]),
        output=a.output_file("clock"), env=a.env(), cwd=a.dir)


def measure(h: twopc.Harness, seconds: int) -> None:
    a, b = h.pcs
    twopc.show_pattern(h)
    start_clock(h)
    time.sleep(2)
    own, summary = run_probe(a, h, CLOCK_RECT, SELF_CHECK_S)
    if len(own) < 10 or percentile(own, 0.5) > SELF_CHECK_MAX_P50_MS:
        raise twopc.CheckFailed([f"{a.label}: the probe on A's own display read {len(own)} values, p50 "
                                 f"{percentile(own, 0.5) if own else '-'} ms ({summary}): it cannot be trusted"])
    print(f"video_latency: probe on PC A's own display: p50 {percentile(own, 0.5)} ms, p99 {percentile(own, 0.99)} "
          f"ms ({summary})", file=sys.stderr)

    twopc.take_control(h, "ULTRA")
    time.sleep(WARM_UP_S)
    view = twopc.child_rect(b, twopc.REMOTE_VIEW_CLASS)
    before = len(b.log("app", complete=False).lines)
    offscreen = remote_view_window(h, b, view)
    if offscreen is None:
        latencies, summary = run_probe(b, h, scaled(CLOCK_RECT, view, h.screen), seconds)
    else:
        # Wine keeps a child window's Direct3D picture in an off-screen X window: read the code there.
        print(f"video_latency: RemoteView is black on B's screen; the code is read from Wine's off-screen "
              f"window {offscreen}", file=sys.stderr)
        inside = vc.Rect(0, 0, view.width, view.height)
        latencies, summary = run_x_probe(b, offscreen, scaled(CLOCK_RECT, inside, h.screen), seconds)
    log = b.log("app", complete=False)
    stats = twopc.client_stats(log, before)
    trimmed = trimmed_frames([message for _, message in log.lines[before:]])
    findings = []
    if len(latencies) < MIN_VALUES:
        findings.append(f"{b.label}: the probe read {len(latencies)} clock values in RemoteView {view} ({summary})")
    if len(stats) < 2:
        findings.append(f"{b.label}: {len(stats)} client stat lines during the measurement")
    if findings:
        raise twopc.CheckFailed(findings)
    ratio, received, drawn = drawn_ratio(stats, trimmed)
    growth = backlog_growth(latencies)
    print(f"video_latency: {seconds} s, RemoteView {view.width}x{view.height}, B received {received} frames "
          f"({trimmed} trimmed from a backlog), drew {drawn}, {len(latencies)} clock values read ({summary}), "
          f"latency growth {growth} ms "
          f"(last stat: {stats[-1]})", file=sys.stderr)
    print(f"BENCH video_drawn_ratio {ratio:.3f} x")
    print(f"BENCH video_latency_p50_ms {percentile(latencies, 0.5)} ms")
    print(f"BENCH video_latency_p99_ms {percentile(latencies, 0.99)} ms", flush=True)
    if growth > BACKLOG_GROWTH_LIMIT_MS:
        raise twopc.CheckFailed([f"{b.label}: latency grew by {growth} ms over the run: frames queue up"])


def main(argv: list[str] | None = None) -> int:
    p = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    p.add_argument("--exe", required=True)
    p.add_argument("--driver", required=True)
    p.add_argument("--out", default="out/bench")
    p.add_argument("--seconds", type=int, default=60, help="length of the measurement (default 60)")
    args = p.parse_args(argv)
    run = twopc.parse_args(["--exe", args.exe, "--driver", args.driver, "--out", args.out, "--screen",
                            f"{SCREEN[0]}x{SCREEN[1]}", "--time-limit", str(args.seconds + 360)])
    problems = twopc.preflight(run)
    if problems:
        for problem in problems:
            print(f"video_latency: {problem}", file=sys.stderr)
        return 2
    checks = [
        twopc.Check("setup", twopc.check_setup),
        twopc.Check("start", twopc.check_start, needs=("setup",)),
        twopc.Check("discovery", twopc.check_discovery, needs=("start",)),
        twopc.Check("measure", lambda h: measure(h, args.seconds), needs=("discovery",)),
        twopc.Check("shutdown", twopc.check_shutdown, needs=("start",)),
    ]
    results = twopc.run_harness(run, checks)
    return 0 if all(r.passed for r in results) else 1


if __name__ == "__main__":
    sys.exit(main())
