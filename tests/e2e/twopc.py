#!/usr/bin/env python3
"""Two simulated PCs on one Linux machine, each running Tessaly.exe under Wine, driven from outside.

Each PC has its own network namespace (the two joined by a veth link, as by the bridge cable), its own
hostname (UTS namespace), Xvfb display, Wine prefix and HOME, and runs its own copy of Tessaly.exe from
its own folder. The harness runs a list of named checks against the two PCs and reports them on stdout
and as JUnit XML. Nothing the harness starts sends traffic from the machine's own network namespace.

Run as root from the repository root after the Windows build:
    python3 tests/e2e/twopc.py --junit out/e2e.xml
New checks are functions taking the Harness; add them to CHECKS in the order they run.

Video: PC B takes control of PC A by its connect button (ControlView, clicked with xdotool); PC A shows a
moving test window (MovingPattern.exe) and, in its prefix, maps the H.264 encoder's class id to the tests'
stand-in encoder (StandInH264Encoder.dll), so both ULTRA (JPEG tiles) and H.264 pictures are checked: the
RemoteView area of a screenshot of B's display against a screenshot of A's. Needs python3-pil and xdotool.

Clipboard and files: during B's session text and pictures are copied on one PC (TessalyDriver clip-*) and read
from the other's clipboard; files copied on A are pasted by Ctrl+V on B over a desktop-class window and compared
by sha256 in B's Desktop folder. A hostile stand-in of A (hostilepeer.py) checks that B keeps what a peer
offers inside its own folder. What crossed is listed in <out>/clipboard-arrived.txt.
"""
from __future__ import annotations

import argparse
import fcntl
import json
import math
import os
import pwd
import re
import select
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import threading
import time
import traceback
import xml.etree.ElementTree as ET
from dataclasses import dataclass, field
from pathlib import Path
from typing import Callable

from PIL import Image

import transferfiles
import videocompare as vc

REPO = Path(__file__).resolve().parents[2]
WINE_BIN_DIR = "/usr/lib/wine"
EXPECTED_VERSION = "20260827.3"
SCREEN = (1600, 1000)      # both displays, unless --screen says otherwise
LINK_NAME = "usb0"  # the adapter name Wine reports on both PCs
PREFIX_BITS = 8
# Bump when the prefix preparation below changes: cached prefixes with another stamp are rebuilt.
PREFIX_LAYOUT = "2"
# No Mono/Gecko install prompts (they would hang on a display nobody looks at), no menu entries in HOME.
WINE_DLL_OVERRIDES = "mscoree,mshtml=;winemenubuilder.exe=d"
PREFIX_SETTINGS = [
    # A crash ends the process instead of opening winedbg's dialog and waiting for a click.
    (r"HKCU\Software\Wine\WineDbg", "ShowCrashDialog", "REG_DWORD", "0"),
    # Wine draws the window frame and caption itself: there is no window manager on the displays.
    (r"HKCU\Software\Wine\X11 Driver", "Managed", "REG_SZ", "N"),
]
PCS = [("a", "pc-a", "10.0.0.1"), ("b", "pc-b", "10.0.0.2")]

START_WAIT_S = 30
DISCOVERY_LIMIT_S = 2.0    # both PCs know each other this soon after discovery started
PEER_EVENT_WAIT_S = 15     # bounded wait for a reaction to show in a log
TESTPEER = Path(__file__).resolve().parent / "testpeer.py"
CONTROL_PORT = 5003
CLIPBOARD_PORT = 5002
SECOND_INSTANCE_EXIT_S = 20
QUIT_EXIT_S = 20
LOG_SETTLE_S = 10

SETTINGS_KEY = r"HKCU\Software\Marlo\Settings"
# CLSID_CMSH264EncoderMFT: Tessaly's H.264 encoder path creates this class; A's prefix maps it to the tests'
# stand-in encoder (tests/tools/dll/StandInH264Encoder.cpp), as Wine 8 has no H.264 encoder of its own.
H264_ENCODER_CLSID = "{6CA50344-051A-4DED-9779-A43305165E35}"
STANDIN_DLL = "StandInH264Encoder.dll"
# The test window on PC A's display (tests/tools/MovingPattern.cpp): x, y, width, height.
PATTERN_RECT = (100, 60, 1200, 800)
REMOTE_VIEW_CLASS = "Tessaly_RemoteView_Wnd"
CONTROL_VIEW_CLASS = "Tessaly_ControlView_Wnd"
FIRST_PICTURE_WAIT_S = 30  # from the click on B's connect button to B's first picture in RemoteView
VIEW_DRAWN_WAIT_S = 10     # from the first picture handed to the render thread to RemoteView not black
# A later screenshot must show the marker elsewhere; under Wine the GDI capture may deliver no fresh picture
# for a second or more on a busy machine, so later screenshots are taken until one differs, within this time.
MOTION_WAIT_S = 8.0
MOTION_POLL_S = 0.5
# Mean difference per channel per block between B's RemoteView and A's screenshot scaled to it. JPEG tiles
# (quality 90 4:4:4) and H.264 of flat blocks stay within about 2 before the renderer's scaling; limited range
# read as full shifts blocks by 16 or more, a BT.601 matrix where BT.709 is meant by 20 or more, swapped red
# and blue by far more, so these bounds catch all of them.
TILE_TOLERANCE = 8
H264_TOLERANCE = 12
# Pause: A's Tessaly is stopped until B's watchdog retries (after 5 s of silence), at most this long.
PAUSE_LIMIT_S = 20
PAUSE_MIN_S = 5.0
RESUME_WAIT_S = 20
RESUME_MIN_RENDERED = 10   # pictures B draws after A resumes


class CheckFailed(Exception):
    """A check found faults; args[0] is the list of findings."""

    def __init__(self, findings: list[str]):
        super().__init__(findings)
        self.findings = findings


class Abort(BaseException):
    """The run must stop now (time limit, signal); BaseException so no check swallows it."""


def progress(text: str) -> None:
    print(f"  .. {text}", file=sys.stderr, flush=True)


def lit(text: str) -> str:
    return re.escape(text)


def win_path(path: Path) -> str:
    return "Z:" + str(path).replace("/", "\\")


# ----------------------------------------------------------------------------------------------------
# Tessaly.log


LOG_LINE = re.compile(rb"\d{4}-\d\d-\d\d (\d\d):(\d\d):(\d\d)\.(\d{3}) tid=\d+ (.*\S.*)\r\n")


class TessalyLog:
    """One Tessaly.log, read in binary. `lines` holds (line number, message after 'tid=N ')."""

    def __init__(self, path: Path, data: bytes, complete: bool):
        self.path = path
        self.lines: list[tuple[int, str]] = []
        self.seconds: list[float] = []  # time of day of each line in `lines`
        self.malformed: list[tuple[int, bytes]] = []
        chunks = data.split(b"\n")
        tail = chunks.pop()
        for number, chunk in enumerate(chunks, 1):
            m = LOG_LINE.fullmatch(chunk + b"\n")
            if m:
                hours, minutes, seconds, millis = (int(g) for g in m.group(1, 2, 3, 4))
                self.lines.append((number, m.group(5).decode("utf-8", "replace")))
                self.seconds.append(hours * 3600 + minutes * 60 + seconds + millis / 1000)
            else:
                self.malformed.append((number, chunk + b"\n"))
        # A live log may end in a line still being written; a finished one must end with CRLF.
        if tail and complete:
            self.malformed.append((len(chunks) + 1, tail))
        self.empty = not data

    @classmethod
    def read(cls, path: Path, complete: bool) -> "TessalyLog":
        try:
            data = path.read_bytes()
        except FileNotFoundError:
            data = b""
        return cls(path, data, complete)

    def find(self, pattern: str) -> list[int]:
        """Indexes into `lines` of the messages that match the whole pattern."""
        rx = re.compile(pattern)
        return [i for i, (_, message) in enumerate(self.lines) if rx.fullmatch(message)]

    def has(self, pattern: str) -> bool:
        return bool(self.find(pattern))

    def format_findings(self, who: str) -> list[str]:
        if self.empty:
            return [f"{who}: {self.path.name} is empty or missing"]
        out = [f"{who}: {self.path.name} line {n} is not 'date time tid=N message' + CRLF: {raw!r}"
               for n, raw in self.malformed[:5]]
        if len(self.malformed) > 5:
            out.append(f"{who}: ... and {len(self.malformed) - 5} more malformed lines")
        return out


def sequence_findings(log: TessalyLog, sequence: list[tuple[str, str]], who: str) -> list[str]:
    """Each (label, pattern) must match exactly one message, and in the order given."""
    out = []
    previous: tuple[str, int] | None = None
    for label, pattern in sequence:
        hits = log.find(pattern)
        if not hits:
            out.append(f"{who}: no '{label}' line (pattern /{pattern}/)")
            continue
        if len(hits) > 1:
            numbers = ", ".join(str(log.lines[i][0]) for i in hits)
            out.append(f"{who}: '{label}' logged {len(hits)} times (lines {numbers})")
        if previous is not None and hits[0] < previous[1]:
            out.append(f"{who}: '{label}' (line {log.lines[hits[0]][0]}) comes before '{previous[0]}' "
                       f"(line {log.lines[previous[1]][0]})")
        if previous is None or hits[0] > previous[1]:
            previous = (label, hits[0])
    return out


def startup_sequence(version: str) -> list[tuple[str, str]]:
    return [
        ("[BUILD] ... mode=user", rf"\[BUILD\] component=Tessaly version={re.escape(version)} .*\bmode=user(?: .*)?"),
        ("Administrator elevation: OK", lit("Administrator elevation: OK")),
        ("SingleInstance: acquired mutex mode=user", lit("SingleInstance: acquired mutex mode=user")),
        ("App start", lit("App start")),
        ("[HW][START]", lit("[HW][START]")),
        ("[DRAG][SERVICE][INIT]", lit("[DRAG][SERVICE][INIT] lazy-start monitor on connection")),
        ("[DIAG] DiagnosticService start", r"\[DIAG\] DiagnosticService start tid=\d+"),
    ]


SHUTDOWN_SEQUENCE = [(text, lit(text)) for text in (
    "[DIAG] DiagnosticService stopped",
    "[HW][STOP]",
    "[STATE] StateManager shutdown",
    "SingleInstance: released mutex",
    "App exit",
    "CrashHandler uninstalled",
)]

BLOCKED_START = lit("App start blocked: existing instance restored")

MODULE_START_ORDER = ["NetworkService", "MouseMonitorDll", "ScreenScaleMonitorDll", "CursorPathMonitorDll",
                      "Discovery", "FileTransferService", "DragVisualOverlay", "TransportChannels", "KvmSessions",
                      "RemoteViewRenderer"]
MODULE_STOP_ORDER = ["Discovery", "KvmSessions", "RemoteViewRenderer", "TransportChannels",
                     "FileTransferService", "DragVisualOverlay", "CursorPathMonitorDll", "ScreenScaleMonitorDll",
                     "MouseMonitorDll", "NetworkService"]


def lifecycle_sequence() -> list[tuple[str, str]]:
    """The ten modules started once each in start order, then stopped once each in stop order."""
    starts = [(f"start {m}", rf"Lifecycle start module={re.escape(m)} ok=1(?: .*)?") for m in MODULE_START_ORDER]
    stops = [(f"stop {m}", rf"Lifecycle stop module={re.escape(m)}(?: .*)?") for m in MODULE_STOP_ORDER]
    return ([("AppLifecycleStartAll begin", lit("AppLifecycleStartAll begin"))] + starts
            + [("AppLifecycleStartAll end ok=1", lit("AppLifecycleStartAll end ok=1")),
               ("AppLifecycleStopAll begin", r"AppLifecycleStopAll begin reason=.* wasStarted=1")] + stops
            + [("AppLifecycleStopAll end", lit("AppLifecycleStopAll end"))])


# ----------------------------------------------------------------------------------------------------
# Processes


@dataclass
class Completed:
    rc: int
    output: str


class Processes:
    """Every process the harness starts, so that all of them can be ended by pid."""

    def __init__(self):
        self._lock = threading.Lock()
        self._procs: list[tuple[str, subprocess.Popen]] = []
        self.closed = False

    def spawn(self, name: str, argv: list[str], *, output: Path, env: dict | None = None,
              cwd: Path | None = None, pass_fds: tuple = ()) -> subprocess.Popen:
        output.parent.mkdir(parents=True, exist_ok=True)
        with self._lock:
            if self.closed:
                raise Abort("harness is shutting down")
            with open(output, "ab") as out:
                # Own session: a Ctrl-C reaches the harness only, which then ends everything in order.
                proc = subprocess.Popen(argv, stdin=subprocess.DEVNULL, stdout=out, stderr=subprocess.STDOUT,
                                        env=env, cwd=cwd, pass_fds=pass_fds, start_new_session=True)
            self._procs.append((name, proc))
        return proc

    def run(self, name: str, argv: list[str], *, timeout: float, output: Path, env: dict | None = None,
            cwd: Path | None = None) -> Completed:
        proc = self.spawn(name, argv, output=output, env=env, cwd=cwd)
        try:
            rc = proc.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            self.stop(proc)
            raise CheckFailed([f"{name} did not finish within {timeout:.0f} s (output in {output})"])
        return Completed(rc, output.read_text("utf-8", "replace"))

    @staticmethod
    def stop(proc: subprocess.Popen, grace: float = 3.0) -> None:
        if proc.poll() is not None:
            return
        try:
            proc.terminate()
            proc.wait(timeout=grace)
        except subprocess.TimeoutExpired:
            proc.kill()
            try:
                proc.wait(timeout=5)
            except subprocess.TimeoutExpired:
                progress(f"pid {proc.pid} survived SIGKILL for 5 s")
        except ProcessLookupError:
            pass

    def stop_all(self, exclude: set[int] = frozenset()) -> None:
        with self._lock:
            self.closed = True
            procs = list(reversed(self._procs))
        for name, proc in procs:
            if proc.pid not in exclude and proc.poll() is None:
                progress(f"stopping {name} (pid {proc.pid})")
                self.stop(proc)


def host_run(argv: list[str], timeout: float = 15, check: bool = True, env: dict | None = None) -> Completed:
    """Short commands in the machine's own namespaces: ip, xwininfo, import, xdotool, wineserver -k/-w."""
    try:
        r = subprocess.run(argv, stdin=subprocess.DEVNULL, capture_output=True, timeout=timeout, env=env)
    except subprocess.TimeoutExpired:
        raise CheckFailed([f"{' '.join(argv)} did not finish within {timeout:.0f} s"])
    out = (r.stdout + r.stderr).decode("utf-8", "replace")
    if check and r.returncode != 0:
        raise CheckFailed([f"{' '.join(argv)} failed with exit code {r.returncode}: {out.strip()}"])
    return Completed(r.returncode, out)


def in_parallel(calls: list[Callable[[], object]], timeout: float) -> list[object]:
    """Runs the calls on threads; returns their results, or raises the first exception one raised."""
    results: list[object] = [None] * len(calls)
    errors: list[BaseException | None] = [None] * len(calls)

    def body(i: int) -> None:
        try:
            results[i] = calls[i]()
        except BaseException as e:  # noqa: BLE001 - handed to the caller
            errors[i] = e

    threads = [threading.Thread(target=body, args=(i,), daemon=True) for i in range(len(calls))]
    for t in threads:
        t.start()
    deadline = time.monotonic() + timeout
    for t in threads:
        t.join(max(0.0, deadline - time.monotonic()))
        if t.is_alive():
            raise CheckFailed([f"parallel step did not finish within {timeout:.0f} s"])
    for e in errors:
        if e is not None:
            raise e
    return results


# ----------------------------------------------------------------------------------------------------
# One simulated PC


@dataclass
class Window:
    id: str
    name: str
    width: int
    height: int


class SimulatedPc:
    def __init__(self, harness: "Harness", key: str, hostname: str, address: str):
        self.h = harness
        self.key = key
        self.hostname = hostname
        self.address = address
        self.label = f"PC {key.upper()}"
        self.netns = f"tsly-{os.getpid()}-{key}"
        self.dir = harness.work / key
        self.home = self.dir / "home"
        self.cable_hid = self.dir / "cable-hid.bin"
        self.prefix: Path | None = None
        self.display: int | None = None
        self.xvfb: subprocess.Popen | None = None
        self.apps: dict[str, subprocess.Popen] = {}
        self.netns_created = False
        self._cache_lock = None
        self._seq = 0

    # -- environment ---------------------------------------------------------------------------------

    def env(self) -> dict:
        user = pwd.getpwuid(os.getuid()).pw_name
        return {
            "PATH": f"{WINE_BIN_DIR}:/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin",
            "HOME": str(self.home),
            "USER": user,
            "LOGNAME": user,
            "LANG": "C.UTF-8",
            "WINEPREFIX": str(self.prefix),
            "WINEDEBUG": "-all",
            "WINEDLLOVERRIDES": WINE_DLL_OVERRIDES,
            "DISPLAY": f":{self.display}",
            # The lifecycle module lines are in the start-up category; the per-second video statistics
            # ("client stat", "host stat", "RemoteView render stat") in the media category.
            "MARLO_DEBUG_STARTUP_LOG": "1",
            "MARLO_DEBUG_MEDIA_LOG": "1",
            # The veth end stands for the cable's network adapter (Wine names adapters after Linux ones).
            "TSLY_SIM_CABLE_ADAPTER": LINK_NAME,
            # The cable's HID interface, simulated: every output report is appended to this file.
            "TSLY_SIM_CABLE_HID": win_path(self.cable_hid),
        }

    def in_pc(self, argv: list[str]) -> list[str]:
        """argv run inside this PC: its network namespace and a UTS namespace with its hostname.
        Wine takes the computer name from the hostname of the process that starts the prefix's
        wineserver, so every Wine process of the PC goes through here."""
        return ["ip", "netns", "exec", self.netns, "unshare", "--uts",
                "sh", "-c", 'hostname "$0" && exec "$@"', self.hostname, *argv]

    def output_file(self, name: str) -> Path:
        self._seq += 1
        return self.dir / "out" / f"{self._seq:02d}-{name}.txt"

    def wine(self, name: str, args: list[str], timeout: float, cwd: Path | None = None) -> Completed:
        return self.h.procs.run(f"{self.label} {name}", self.in_pc(["wine64", *args]), timeout=timeout,
                                output=self.output_file(name), env=self.env(), cwd=cwd or self.dir)

    def wineserver(self, option: str, timeout: float) -> Completed:
        """wineserver -k / -w for this prefix. Both only talk to a running server and never start one,
        so they run outside the namespace (and still work once it is gone)."""
        try:
            r = subprocess.run([shutil.which("wineserver", path=self.env()["PATH"]) or "wineserver", option],
                               env=self.env(), stdin=subprocess.DEVNULL, capture_output=True, timeout=timeout)
            return Completed(r.returncode, (r.stdout + r.stderr).decode("utf-8", "replace"))
        except subprocess.TimeoutExpired:
            raise CheckFailed([f"{self.label}: wineserver {option} did not finish within {timeout:.0f} s"])

    # -- namespaces and display ----------------------------------------------------------------------

    def create_netns(self) -> None:
        host_run(["ip", "netns", "add", self.netns])
        self.netns_created = True
        host_run(["ip", "-n", self.netns, "link", "set", "lo", "up"])

    def configure_link(self) -> None:
        host_run(["ip", "-n", self.netns, "addr", "add", f"{self.address}/{PREFIX_BITS}", "brd", "+",
                  "dev", LINK_NAME])
        host_run(["ip", "-n", self.netns, "link", "set", LINK_NAME, "up"])

    def start_display(self, number: int) -> bool:
        """Starts Xvfb :number inside the namespace; False when that display could not be had."""
        read_end, write_end = os.pipe()
        try:
            proc = self.h.procs.spawn(
                f"{self.label} Xvfb :{number}",
                ["ip", "netns", "exec", self.netns, "Xvfb", f":{number}", "-nolisten", "tcp",
                 "-screen", "0", f"{self.h.screen[0]}x{self.h.screen[1]}x24", "-displayfd", str(write_end)],
                output=self.dir / "out" / f"xvfb-{number}.txt", pass_fds=(write_end,))
        finally:
            os.close(write_end)
        announced = b""
        deadline = time.monotonic() + 15
        try:
            while b"\n" not in announced and time.monotonic() < deadline:
                ready, _, _ = select.select([read_end], [], [], max(0.0, deadline - time.monotonic()))
                if not ready:
                    break
                chunk = os.read(read_end, 64)
                if not chunk:
                    break
                announced += chunk
        finally:
            os.close(read_end)
        if announced.strip() == str(number).encode() and proc.poll() is None:
            self.xvfb = proc
            self.display = number
            return True
        self.h.procs.stop(proc)
        return False

    # -- Wine prefix ---------------------------------------------------------------------------------

    def prepare_prefix(self, cache: Path, wine_version: str) -> str:
        """Uses the cached prefix of this PC, creating it when missing or stale. A prefix the cache
        cannot lend (another run holds it) is made afresh inside the run folder."""
        self.home.mkdir(parents=True, exist_ok=True)
        cache.mkdir(parents=True, exist_ok=True)
        lock = open(cache / f"{self.key}.lock", "w")
        try:
            fcntl.flock(lock, fcntl.LOCK_EX | fcntl.LOCK_NB)
            self._cache_lock = lock
            self.prefix = cache / self.key
        except BlockingIOError:
            lock.close()
            self.prefix = self.dir / "prefix"
            progress(f"{self.label}: cached prefix in use by another run, making a fresh one")

        stamp = f"{wine_version}\nlayout={PREFIX_LAYOUT}\n"
        marker = self.prefix / ".tessaly-e2e-ready"
        if marker.is_file() and marker.read_text() == stamp:
            self._point_user_folders_at_home()
            return f"reused {self.prefix}"

        if self.prefix.exists():
            shutil.rmtree(self.prefix)
        r = self.wine("wineboot", ["wineboot", "-i"], timeout=120)
        if r.rc != 0:
            raise CheckFailed([f"{self.label}: wineboot -i exited with {r.rc}: {r.output.strip()[-500:]}"])
        for key, value, kind, data in PREFIX_SETTINGS:
            r = self.wine("reg-add", ["reg", "add", key, "/v", value, "/t", kind, "/d", data, "/f"], timeout=60)
            if r.rc != 0:
                raise CheckFailed([f"{self.label}: reg add {key} {value} exited with {r.rc}: {r.output.strip()}"])
        self._settle()
        marker.write_text(stamp)
        return f"created {self.prefix}"

    def _settle(self) -> None:
        # Wine's services would linger some 20 s before the server ends by itself; -k saves the
        # registry and ends them now.
        self.wineserver("-k", timeout=15)
        self.wineserver("-w", timeout=15)

    def _point_user_folders_at_home(self) -> None:
        """wineboot links Desktop, Documents, ... to the HOME it ran with. A reused prefix gets them
        pointed at this run's HOME, so no run sees files an earlier run left there."""
        users = self.prefix / "drive_c" / "users"
        for entry in users.glob("*/*"):
            if not entry.is_symlink():
                continue
            target = Path(os.readlink(entry))
            if target.is_absolute() and not target.is_relative_to(self.prefix):
                entry.unlink()
                entry.symlink_to(self.home)

    def identity_findings(self, other: "SimulatedPc") -> list[str]:
        """Wine on this PC must report this PC's name and only this PC's end of the link."""
        r = self.wine("identity", ["cmd", "/c", "hostname & ipconfig"], timeout=60)
        out = []
        lines = [line.strip() for line in r.output.splitlines() if line.strip()]
        if self.hostname.upper() not in [line.upper() for line in lines]:
            out.append(f"{self.label}: Wine reports computer name {lines[:1]}, expected {self.hostname.upper()}")
        if LINK_NAME not in r.output or not re.search(rf"\b{re.escape(self.address)}\b", r.output):
            out.append(f"{self.label}: ipconfig shows no adapter {LINK_NAME} with {self.address}: {r.output!r}")
        if re.search(rf"\b{re.escape(other.address)}\b", r.output):
            out.append(f"{self.label}: ipconfig shows the other PC's address {other.address}")
        return out

    def set_setting(self, name: str, value: int) -> None:
        """Stores one of Tessaly's DWORD settings in this PC's registry; Tessaly reads them at start-up."""
        r = self.wine(f"reg-{name}", ["reg", "add", SETTINGS_KEY, "/v", name, "/t", "REG_DWORD", "/d", str(value),
                                      "/f"], timeout=60)
        if r.rc != 0:
            raise CheckFailed([f"{self.label}: storing {name}={value} failed: {r.output.strip()}"])

    def set_video_quality(self, mode: int) -> None:
        """VideoQualityMode: 0 H264, 1 ULTRA."""
        self.set_setting("VideoQualityMode", mode)

    def register_standin_encoder(self, dll: Path) -> None:
        """Maps the H.264 encoder's class id to the stand-in DLL (one reg import: both values at once)."""
        server = win_path(dll).replace("\\", "\\\\")
        text = ("Windows Registry Editor Version 5.00\r\n\r\n"
                f"[HKEY_CLASSES_ROOT\\CLSID\\{H264_ENCODER_CLSID}\\InprocServer32]\r\n"
                f'@="{server}"\r\n"ThreadingModel"="Both"\r\n')
        reg = self.dir / "standin-encoder.reg"
        reg.write_text(text, encoding="ascii")
        r = self.wine("reg-standin", ["reg", "import", win_path(reg)], timeout=60)
        if r.rc != 0:
            raise CheckFailed([f"{self.label}: registering the stand-in encoder failed: {r.output.strip()}"])

    # -- Tessaly -------------------------------------------------------------------------------------

    def app_dir(self, folder: str) -> Path:
        return self.dir / folder

    def start_app(self, folder: str) -> subprocess.Popen:
        """Copies Tessaly.exe into <pc>/<folder>/ and starts it there (normal start, no switch)."""
        d = self.app_dir(folder)
        d.mkdir(parents=True, exist_ok=True)
        shutil.copy2(self.h.exe, d / "Tessaly.exe")
        proc = self.h.procs.spawn(f"{self.label} Tessaly ({folder})", self.in_pc(["wine64", str(d / "Tessaly.exe")]),
                                  output=self.output_file(f"tessaly-{folder}"), env=self.env(), cwd=d)
        self.apps[folder] = proc
        return proc

    def keep_log(self, tag: str) -> None:
        """A copy of the main log in the output folder before a restart truncates it."""
        src = self.app_dir("app") / "Tessaly.log"
        if src.is_file():
            self.h.out.mkdir(parents=True, exist_ok=True)
            shutil.copyfile(src, self.h.out / f"{self.key}-Tessaly-{tag}.log")

    def log(self, folder: str, complete: bool) -> TessalyLog:
        return TessalyLog.read(self.app_dir(folder) / "Tessaly.log", complete)

    def wait_log(self, folder: str, patterns: list[str], timeout: float) -> TessalyLog:
        """The log once every pattern matches a line, or as it is when the time is up."""
        deadline = time.monotonic() + timeout
        while True:
            log = self.log(folder, complete=False)
            if all(log.has(p) for p in patterns) or time.monotonic() >= deadline:
                return log
            time.sleep(0.2)

    def driver(self, *args: str, timeout: float = 20) -> Completed:
        return self.wine(f"driver-{args[0]}", [str(self.h.driver), *args], timeout=timeout)

    def wait_main_window(self, app: subprocess.Popen, seconds: int) -> str | None:
        """None once the main window exists; otherwise what went wrong. Stops early when the app exits."""
        output = self.output_file("driver-wait-window")
        drv = self.h.procs.spawn(f"{self.label} driver wait-window",
                                 self.in_pc(["wine64", str(self.h.driver), "wait-window", str(seconds * 1000)]),
                                 output=output, env=self.env(), cwd=self.dir)
        deadline = time.monotonic() + seconds + 15
        while time.monotonic() < deadline:
            if drv.poll() is not None:
                if drv.returncode == 0:
                    return None
                return (f"main window did not appear within {seconds} s (driver exit {drv.returncode}: "
                        f"{output.read_text('utf-8', 'replace').strip()})")
            if app.poll() is not None:
                self.h.procs.stop(drv)
                return f"Tessaly exited with code {app.returncode} before its main window appeared"
            time.sleep(0.1)
        self.h.procs.stop(drv)
        return f"driver wait-window did not finish within {seconds + 15} s"

    # -- display -------------------------------------------------------------------------------------

    def viewable_windows(self) -> list[Window]:
        """Top-level windows on this PC's display that are mapped and viewable."""
        tree = host_run(["xwininfo", "-display", f":{self.display}", "-root", "-children"]).output
        found = []
        for m in re.finditer(r'^\s+(0x[0-9a-f]+) "(.*)": .*?(\d+)x(\d+)[+-]\d+[+-]\d+', tree, re.M):
            info = host_run(["xwininfo", "-display", f":{self.display}", "-id", m.group(1)], check=False).output
            if "Map State: IsViewable" in info:
                found.append(Window(m.group(1), m.group(2), int(m.group(3)), int(m.group(4))))
        return found

    def screenshot(self, path: Path) -> None:
        path.parent.mkdir(parents=True, exist_ok=True)
        host_run(["import", "-display", f":{self.display}", "-window", "root", str(path)], timeout=30)

    # -- teardown ------------------------------------------------------------------------------------

    def end_wine(self) -> None:
        if self.prefix is None or not self.prefix.exists():
            return
        self.wineserver("-k", timeout=15)
        self.wineserver("-w", timeout=15)

    def kill_leftovers(self, keep: set[int]) -> None:
        """Processes still in this PC's namespace were all started from it (Wine's own services)."""
        if not self.netns_created:
            return
        r = host_run(["ip", "netns", "pids", self.netns], check=False)
        for pid in (int(p) for p in r.output.split() if p.isdigit()):
            if pid in keep:
                continue
            progress(f"{self.label}: killing leftover pid {pid} in {self.netns}")
            try:
                os.kill(pid, signal.SIGKILL)
            except ProcessLookupError:
                pass

    def delete_netns(self) -> None:
        if self.netns_created:
            host_run(["ip", "netns", "del", self.netns], check=False)
            self.netns_created = False

    def release_cache(self) -> None:
        if self._cache_lock is not None:
            self._cache_lock.close()
            self._cache_lock = None


# ----------------------------------------------------------------------------------------------------
# The harness and its checks


@dataclass
class Result:
    name: str
    passed: bool
    seconds: float
    findings: list[str] = field(default_factory=list)


@dataclass
class Check:
    name: str
    run: Callable[["Harness"], None]
    needs: tuple[str, ...] = ()
    reported: bool = True


class Harness:
    def __init__(self, args: argparse.Namespace):
        self.args = args
        self.out = Path(args.out).resolve()
        self.cache = Path(args.cache).resolve()
        self.version = args.expect_version
        self.screen = args.screen
        self.work = Path(tempfile.mkdtemp(prefix="tsly-e2e-", dir=args.work_root))
        self.procs = Processes()
        self.pcs = [SimulatedPc(self, *pc) for pc in PCS]
        self.link_created = False
        self.auto_controller: SimulatedPc | None = None  # the PC that took control by itself last
        # Copied in: a build writing build/win/ during the run does not change what is tested.
        tools = self.work / "tools"
        tools.mkdir()
        self.exe = tools / "Tessaly.exe"
        self.driver = tools / "TessalyDriver.exe"
        self.wardlet = tools / "Wardlet.exe"
        shutil.copy2(args.exe, self.exe)
        shutil.copy2(Path(args.exe).with_name("Wardlet.exe"), self.wardlet)
        shutil.copy2(args.driver, self.driver)
        self.cable = tools / "SimulatedCable.exe"
        shutil.copy2(Path(args.driver).parent / "SimulatedCable.exe", self.cable)
        self.pattern = tools / "MovingPattern.exe"
        self.probe = tools / "StandInEncoderProbe.exe"
        self.latency_probe = tools / "LatencyProbe.exe"
        self.input_probe = tools / "InputProbe.exe"
        for tool in (self.pattern, self.probe, self.latency_probe, self.input_probe):
            shutil.copy2(Path(args.driver).parent / tool.name, tool)
        # Built only where x264 was found (setup.sh builds it); the H.264 checks report its absence.
        self.standin: Path | None = None
        if (Path(args.driver).parent / STANDIN_DLL).is_file():
            self.standin = tools / STANDIN_DLL
            shutil.copy2(Path(args.driver).parent / STANDIN_DLL, self.standin)

    def pc(self, key: str) -> SimulatedPc:
        return next(p for p in self.pcs if p.key == key)

    # -- set-up --------------------------------------------------------------------------------------

    def setup(self) -> None:
        for pc in self.pcs:
            pc.dir.mkdir(parents=True, exist_ok=True)
            pc.create_netns()
        a, b = self.pcs
        host_run(["ip", "link", "add", LINK_NAME, "netns", a.netns, "type", "veth",
                  "peer", "name", LINK_NAME, "netns", b.netns])
        self.link_created = True
        for pc in self.pcs:
            pc.configure_link()
        progress(f"namespaces {a.netns} ({a.address}) and {b.netns} ({b.address}) joined by {LINK_NAME}")

        number = self.args.display_base
        attempts = 0
        for pc in self.pcs:
            while pc.display is None:
                if attempts >= 8 or number > self.args.display_base + 60:
                    raise CheckFailed([f"{pc.label}: could not start Xvfb (see {pc.dir / 'out'})"])
                busy = Path(f"/tmp/.X{number}-lock").exists() or Path(f"/tmp/.X11-unix/X{number}").exists()
                if not busy:
                    attempts += 1
                    pc.start_display(number)
                number += 1
            progress(f"{pc.label}: display :{pc.display}")

        wine_version = host_run([self.wine64, "--version"]).output.strip()
        notes = in_parallel([lambda pc=pc: pc.prepare_prefix(self.cache, wine_version) for pc in self.pcs],
                            timeout=240)
        for pc, note in zip(self.pcs, notes):
            progress(f"{pc.label}: prefix {note}")

        findings = []
        for results in in_parallel([lambda pc=pc, other=other: pc.identity_findings(other)
                                    for pc, other in ((a, b), (b, a))], timeout=120):
            findings += results
        if findings:
            raise CheckFailed(findings)

        # Each PC has the cable plugged in: a device with the cable's hardware id, registered in its prefix.
        for pc in self.pcs:
            pc.wine("cable-remove", [str(self.cable), "remove"], timeout=60)
            r = pc.wine("cable-add", [str(self.cable), "add"], timeout=60)
            if r.rc != 0:
                raise CheckFailed([f"{pc.label}: SimulatedCable add exited with {r.rc}: {r.output.strip()}"])
        progress("cable plugged in on both PCs")

        # A prefix kept from an earlier run may hold the auto-connect a connect click stored there: each run
        # starts with it off, and only the auto-connect checks turn it on.
        for pc in self.pcs:
            pc.set_setting("AutoConnectEnable", 0)

        # B, the controller, asks for the JPEG-tile (ULTRA) video quality; A maps the H.264 encoder's
        # class id to the stand-in encoder.
        b.set_video_quality(1)
        if self.standin is not None:
            a.register_standin_encoder(self.standin)
            progress("PC A: stand-in H.264 encoder registered")

    @property
    def wine64(self) -> str:
        return shutil.which("wine64", path=f"{WINE_BIN_DIR}:{os.environ.get('PATH', '')}") or "wine64"

    # -- running checks ------------------------------------------------------------------------------

    def run_checks(self, checks: list[Check]) -> list[Result]:
        results: list[Result] = []
        passed: set[str] = set()
        aborted: str | None = None
        for check in checks:
            missing = [n for n in check.needs if n not in passed]
            if aborted or missing:
                if check.reported:
                    why = f"not run: {aborted}" if aborted else f"not run: needs {', '.join(missing)}"
                    results.append(Result(check.name, False, 0.0, [why]))
                    print_result(results[-1])
                continue
            started = time.monotonic()
            try:
                check.run(self)
                passed.add(check.name)
                result = Result(check.name, True, time.monotonic() - started)
            except CheckFailed as e:
                result = Result(check.name, False, time.monotonic() - started, list(e.findings))
            except Abort as e:
                aborted = f"run aborted ({e})"
                result = Result(check.name, False, time.monotonic() - started, [aborted])
            except Exception as e:  # noqa: BLE001 - a harness error fails the check, the run goes on
                detail = traceback.format_exception_only(type(e), e)[-1].strip()
                result = Result(check.name, False, time.monotonic() - started, [f"harness error: {detail}"])
                traceback.print_exc(file=sys.stderr)
            if check.reported:
                results.append(result)
                print_result(result)
        return results

    # -- teardown ------------------------------------------------------------------------------------

    def cleanup(self) -> None:
        """Ends everything the run started, each step on its own: one that fails does not stop the rest."""
        step = _guarded
        xvfb_pids = {pc.xvfb.pid for pc in self.pcs if pc.xvfb is not None}
        step("stop processes", lambda: self.procs.stop_all(exclude=xvfb_pids))
        for pc in self.pcs:
            step(f"{pc.label}: wineserver -k", pc.end_wine)
        for pc in self.pcs:
            step(f"{pc.label}: leftovers", lambda pc=pc: pc.kill_leftovers(keep=xvfb_pids))
        for pc in self.pcs:
            if pc.xvfb is not None:
                step(f"{pc.label}: stop Xvfb", lambda pc=pc: self.procs.stop(pc.xvfb))
        step("copy logs", self.copy_logs)
        if self.link_created:
            step("delete link", lambda: host_run(["ip", "-n", self.pcs[0].netns, "link", "del", LINK_NAME],
                                                 check=False))
        for pc in self.pcs:
            step(f"{pc.label}: delete namespace", pc.delete_netns)
            step(f"{pc.label}: release cache", pc.release_cache)
        if self.args.keep_work:
            progress(f"run folder kept: {self.work}")
        else:
            step("remove run folder", lambda: shutil.rmtree(self.work, ignore_errors=True))

    def copy_logs(self) -> None:
        self.out.mkdir(parents=True, exist_ok=True)
        for pc in self.pcs:
            for folder, name in (("app", f"{pc.key}-Tessaly.log"), ("app2", f"{pc.key}-second-Tessaly.log")):
                src = pc.app_dir(folder) / "Tessaly.log"
                if src.is_file():
                    shutil.copyfile(src, self.out / name)


def _guarded(what: str, fn: Callable[[], object]) -> None:
    try:
        fn()
    except BaseException as e:  # noqa: BLE001 - cleanup goes on whatever one step did
        progress(f"cleanup: {what} failed: {e}")


class Findings:
    def __init__(self):
        self.items: list[str] = []

    def add(self, pc: SimulatedPc | None, text: str) -> None:
        self.items.append(f"{pc.label}: {text}" if pc else text)

    def extend(self, items: list[str]) -> None:
        self.items.extend(items)

    def raise_if_any(self) -> None:
        if self.items:
            raise CheckFailed(self.items)

    @staticmethod
    def of(items: list[str]) -> None:
        if items:
            raise CheckFailed(items)


# -- the checks ------------------------------------------------------------------------------------


def check_setup(h: Harness) -> None:
    h.setup()


def check_start(h: Harness) -> None:
    """Both PCs start Tessaly normally from their own folder; the main window appears."""
    for pc in h.pcs:
        pc.start_app("app")
    problems = in_parallel([lambda pc=pc: pc.wait_main_window(pc.apps["app"], START_WAIT_S) for pc in h.pcs],
                           timeout=START_WAIT_S + 30)
    f = Findings()
    for pc, problem in zip(h.pcs, problems):
        if problem:
            f.add(pc, problem)
        elif pc.apps["app"].poll() is not None:
            f.add(pc, f"Tessaly exited with code {pc.apps['app'].returncode} right after start-up")
    f.raise_if_any()


def check_startup_log(h: Harness) -> None:
    """The start-up lines, once each and in order; every line well formed; the log is this PC's."""
    sequence = startup_sequence(h.version)
    f = Findings()
    for pc in h.pcs:
        log = pc.wait_log("app", [p for _, p in sequence], timeout=LOG_SETTLE_S)
        f.extend(sequence_findings(log, sequence, pc.label))
        f.extend(log.format_findings(pc.label))
        build = log.find(sequence[0][1])
        exe = win_path(pc.app_dir("app") / "Tessaly.exe").lower()
        if build and exe not in log.lines[build[0]][1].lower():
            f.add(pc, f"build line does not name this PC's exe {exe}: {log.lines[build[0]][1]}")
    f.raise_if_any()


def check_single_instance(h: Harness) -> None:
    """A second start on PC A, from another folder, hands over to the running instance and leaves."""
    pc = h.pc("a")
    first = pc.apps["app"]
    second = pc.start_app("app2")
    f = Findings()
    try:
        rc = second.wait(timeout=SECOND_INSTANCE_EXIT_S)
        if rc != 0:
            f.add(pc, f"second instance exited with code {rc}, expected 0")
    except subprocess.TimeoutExpired:
        f.add(pc, f"second instance still running {SECOND_INSTANCE_EXIT_S} s after its start")
        h.procs.stop(second)
    log = pc.log("app2", complete=True)
    f.extend(sequence_findings(log, [("App start blocked: existing instance restored", BLOCKED_START)],
                               f"{pc.label} second instance"))
    for text in ("App start", "SingleInstance: acquired mutex mode=user", "[HW][START]"):
        if log.has(lit(text)):
            f.add(pc, f"second instance logged '{text}': it went on starting")
    f.extend(log.format_findings(f"{pc.label} second instance"))
    if first.poll() is not None:
        f.add(pc, f"first instance ended (code {first.returncode}) when the second one started")
    else:
        r = pc.driver("wait-window", "2000", timeout=30)
        if r.rc != 0:
            f.add(pc, f"first instance's main window is gone after the second start (driver exit {r.rc})")
    f.raise_if_any()


def check_screenshot(h: Harness) -> None:
    """Each display shows exactly one Tessaly main window; a screenshot of it goes to <out>/<pc>-windows.png."""
    f = Findings()
    for pc in h.pcs:
        windows = pc.viewable_windows()
        # The title carries the version whatever else it shows (product word, peer).
        ours = [w for w in windows if h.version in w.name]
        if len(ours) != 1:
            f.add(pc, f"{len(ours)} viewable Tessaly windows on display :{pc.display}, expected 1 "
                      f"(viewable: {[w.name for w in windows]})")
        path = h.out / f"{pc.key}-windows.png"
        pc.screenshot(path)
        data = path.read_bytes()
        if data[:8] != b"\x89PNG\r\n\x1a\n" or data[12:16] != b"IHDR":
            f.add(pc, f"{path} is not a PNG")
            continue
        size = struct.unpack(">II", data[16:24])
        if size != h.screen:
            f.add(pc, f"{path} is {size[0]}x{size[1]}, expected the whole {h.screen[0]}x{h.screen[1]} screen")
        colours = host_run(["identify", "-format", "%k", str(path)]).output.strip()
        if not colours.isdigit() or int(colours) < 2:
            f.add(pc, f"{path} is a single colour: nothing is drawn on display :{pc.display}")
    f.raise_if_any()


def keep_running(h: Harness) -> None:
    seconds = h.args.keep_running_seconds
    if seconds <= 0:
        return
    where = ", ".join(f"{pc.label} on display :{pc.display}" for pc in h.pcs)
    progress(f"both PCs keep running for {seconds} s ({where})")
    time.sleep(seconds)


def check_shutdown(h: Harness) -> None:
    """TessalyDriver quit on each PC: exit code 0 within the time, shutdown lines once each, in order,
    after start-up, and the crash handler's removal is the last line."""
    f = Findings()
    running = [pc for pc in h.pcs if pc.apps.get("app") and pc.apps["app"].poll() is None]
    for pc in h.pcs:
        if pc not in running:
            f.add(pc, "Tessaly was no longer running when it was asked to quit")
    for pc in running:
        r = pc.driver("quit", timeout=30)
        if r.rc != 0:
            f.add(pc, f"driver quit failed with exit code {r.rc}: {r.output.strip()}")
    deadline = time.monotonic() + QUIT_EXIT_S
    for pc in running:
        app = pc.apps["app"]
        try:
            rc = app.wait(timeout=max(0.0, deadline - time.monotonic()))
            if rc != 0:
                f.add(pc, f"Tessaly exited with code {rc}, expected 0")
        except subprocess.TimeoutExpired:
            f.add(pc, f"Tessaly still running {QUIT_EXIT_S} s after quit")
            h.procs.stop(app)
    for pc in h.pcs:
        log = pc.log("app", complete=True)
        f.extend(sequence_findings(log, SHUTDOWN_SEQUENCE, pc.label))
        started = log.find(startup_sequence(h.version)[-1][1])
        stopped = log.find(SHUTDOWN_SEQUENCE[0][1])
        if started and stopped and stopped[0] < started[0]:
            f.add(pc, "shutdown lines come before the end of start-up")
        if log.lines and not re.fullmatch(SHUTDOWN_SEQUENCE[-1][1], log.lines[-1][1]):
            f.add(pc, f"last log line is '{log.lines[-1][1]}', expected '{SHUTDOWN_SEQUENCE[-1][0]}'")
        f.extend(log.format_findings(pc.label))
    f.raise_if_any()


def peer_says(pc: SimulatedPc, bind_ip: str, host: str, text: str) -> str:
    """One TCP control message from inside pc's namespace, sent from bind_ip; the reply text."""
    r = host_run(["ip", "netns", "exec", pc.netns, "python3", str(TESTPEER), "tcp", bind_ip, host,
                  str(CONTROL_PORT), text], timeout=20, check=False)
    if r.rc != 0:
        raise CheckFailed([f"test peer in {pc.label} could not send to {host}: {r.output.strip()[-300:]}"])
    return r.output


def peer_datagram(pc: SimulatedPc, bind_ip: str, host: str, port: int, data: bytes) -> None:
    host_run(["ip", "netns", "exec", pc.netns, "python3", str(TESTPEER), "udp", bind_ip, host, str(port),
              data.hex()], timeout=20)


def control_message(verb: str, sender: SimulatedPc, fields: str = "") -> str:
    """A control message as the sender PC would build it (TCP form)."""
    return (f"{verb};id=TSLY-{sender.hostname.upper()};name={sender.hostname.upper()};ver={EXPECTED_VERSION};"
            f"{fields}end=1;")


HOST_SESSION_ENDED = r"\[DIAG\]\[SESSION\] hostRunning 1 -> 0 .*"
CONTROL_REQUEST_FIELDS = ("req_w=1280;req_h=720;req_fps=30;req_bitrate=8000000;view_hidden=0;view_seq=1;"
                          "req_audio=0;req_quality=0;quality_seq=1;cap_uq=1;")


def wait_for(pc: SimulatedPc, patterns: list[str], after: int = 0,
             seconds: float = PEER_EVENT_WAIT_S) -> tuple[TessalyLog, list[str]]:
    """Waits (bounded) until each pattern matches a line after line index `after`; the missing ones."""
    deadline = time.monotonic() + seconds
    while True:
        log = pc.log("app", complete=False)
        missing = [p for p in patterns if not any(i >= after for i in log.find(p))]
        if not missing or time.monotonic() >= deadline:
            return log, missing
        time.sleep(0.2)


def check_discovery(h: Harness) -> None:
    """Each PC finds the other over the link within 2 s of both discovery services running."""
    f = Findings()
    a, b = h.pcs
    started_pattern = r"Discovery started primary=38999 legacy=58999 local_id=\S+"
    seen: dict[str, float] = {}
    started: dict[str, float] = {}
    for pc, other in ((a, b), (b, a)):
        found = (rf"Discovery found device name={re.escape(other.hostname.upper())} "
                 rf"id=TSLY-{re.escape(other.hostname.upper())} ip={re.escape(other.address)} ver=\S+ ultra=1")
        log, missing = wait_for(pc, [started_pattern, found])
        if missing:
            f.add(pc, f"no line /{missing[0]}/ within {PEER_EVENT_WAIT_S} s")
            continue
        started[pc.key] = log.seconds[log.find(started_pattern)[0]]
        seen[pc.key] = log.seconds[log.find(found)[0]]
    if len(started) == 2:
        both_running = max(started.values())  # the logs share the machine's clock
        for pc in h.pcs:
            if seen[pc.key] - both_running > DISCOVERY_LIMIT_S:
                f.add(pc, f"found the other PC {seen[pc.key] - both_running:.2f} s after both discovery services "
                          f"ran (limit {DISCOVERY_LIMIT_S} s)")
    f.raise_if_any()


def check_control_request(h: Harness) -> None:
    """PC B asks PC A for control over TCP: A becomes the controlled side with a host session running."""
    a, b = h.pcs
    before = len(a.log("app", complete=False).lines)
    reply = peer_says(b, b.address, a.address, control_message("TSLY_CONTROL_REQUEST", b, CONTROL_REQUEST_FIELDS))
    f = Findings()
    if reply:
        f.add(a, f"a control request got a reply: {reply!r}")
    _, missing = wait_for(a, [
        rf"KVM switch to CONTROLLED peer={re.escape(b.address)} name={re.escape(b.hostname.upper())}",
        # Unified state 2 (connecting, controlled) sets role 2 and the host program state together.
        r"\[SESSION\] unifiedState=2 reason=Switching to controlled",
        r"\[DIAG\]\[SESSION\] controlled 0 -> 1 .*",
        r"\[DIAG\]\[SESSION\] mode \S+ -> ConnectingControlled .*",
        r"HostSession started gen=\d+",
    ], after=before)
    for pattern in missing:
        f.add(a, f"no line /{pattern}/ after the control request")
    f.raise_if_any()


def check_control_stop(h: Harness) -> None:
    """PC B's stop ends the session on PC A, which goes back to idle."""
    a, b = h.pcs
    before = len(a.log("app", complete=False).lines)
    peer_says(b, b.address, a.address, control_message("TSLY_CONTROL_STOP", b))
    f = Findings()
    stop = r"KVM stop all sessions reason=.*"
    log, missing = wait_for(a, [stop, r"\[DIAG\]\[SESSION\] mode \S+ -> Idle .*"], after=before)
    # Nothing on B listens for video yet (B's Tessaly is no controller here), so A's host session may have
    # ended on its failed video connection before the stop came; then there is no session to stop.
    stops = [i for i in log.find(stop) if i >= before]
    if not (stops and any(i < stops[0] for i in log.find(HOST_SESSION_ENDED))):
        missing += wait_for(a, [r"HostSession stopped"], after=before)[1]
    for pattern in missing:
        f.add(a, f"no line /{pattern}/ after the control stop")
    f.raise_if_any()


def check_garbage(h: Harness) -> None:
    """Garbage on the control port and on the discovery port leaves PC A answering the next good message."""
    a, b = h.pcs
    peer_says(b, b.address, a.address, "\x01\x02garbage;;;=;" + "x" * 5000)
    peer_datagram(b, b.address, a.address, 38999, bytes(range(256)) * 3)
    peer_datagram(b, b.address, a.address, 38999, b"TSLY_CONTROL_REQUEST;id=;" + b"\xff" * 900)
    reply = peer_says(b, b.address, a.address,
                      control_message("TSLY_VIDEO_VISIBILITY", b, "hidden=0;view_seq=7;"))
    f = Findings()
    if not re.fullmatch(r"TSLY_ACK;verb=TSLY_VIDEO_VISIBILITY;view_seq=\d+;accepted=[01];end=1;", reply):
        f.add(a, f"after garbage, a visibility message got {reply!r}")
    if a.apps["app"].poll() is not None:
        f.add(a, f"Tessaly ended (code {a.apps['app'].returncode}) after garbage")
    f.raise_if_any()


def check_peer_loss(h: Harness) -> None:
    """With PC B controlling PC A, B dies: A notices the loss of its session peer and expires it."""
    a, b = h.pcs
    log = a.log("app", complete=False)
    before = len(log.lines)
    f = Findings()
    # B may still control A from the video checks; then that session is the one B's death ends.
    if not host_session_running(a):
        peer_says(b, b.address, a.address, control_message("TSLY_CONTROL_REQUEST", b, CONTROL_REQUEST_FIELDS))
        session = r"HostSession started gen=\d+"
        deadline = time.monotonic() + PEER_EVENT_WAIT_S
        while not any(i >= before for i in a.log("app", complete=False).find(session)):
            if time.monotonic() >= deadline:
                raise CheckFailed([f"{a.label}: no host session for B's request (/{session}/)"])
            time.sleep(0.2)
    app = b.apps["app"]
    app.kill()
    app.wait(timeout=10)
    _, missing = wait_for(a, [
        rf"Discovery expired device name={re.escape(b.hostname.upper())} id=\S+ ip={re.escape(b.address)} "
        r"reason=tcp-dead fail=\d+",
        rf"KVM peer lost ip={re.escape(b.address)} name=.* reason=.*",
    ], after=before)
    for pattern in missing:
        f.add(a, f"no line /{pattern}/ after PC B was killed")
    # PC B comes back (a fresh log) and the two find each other again.
    b.keep_log("killed")
    # B's connect click stored auto-connect; here B comes back as a user would after a crash, without it.
    b.set_setting("AutoConnectEnable", 0)
    b.start_app("app")
    problem = b.wait_main_window(b.apps["app"], START_WAIT_S)
    if problem:
        f.add(b, f"restart after the kill: {problem}")
    else:
        found = rf"Discovery found device name={re.escape(b.hostname.upper())} .* ip={re.escape(b.address)} .*"
        _, missing = wait_for(a, [found], after=before)
        if missing:
            f.add(a, "PC B not found again after its restart")
    f.raise_if_any()


# -- video -----------------------------------------------------------------------------------------


def loaded_video_quality(pc: SimulatedPc) -> str | None:
    """The VideoQualityMode the PC's Tessaly loaded at start-up ("ULTRA" or "H264"), from its log."""
    log = pc.wait_log("app", [r"\[CONFIG\]\[SERVICE\] load .* videoQuality=\S+ .*"], timeout=LOG_SETTLE_S)
    for i in log.find(r"\[CONFIG\]\[SERVICE\] load .* videoQuality=\S+ .*"):
        return re.search(r"videoQuality=(\S+)", log.lines[i][1]).group(1)
    return None


def show_pattern(h: Harness, key: str = "a") -> None:
    """MovingPattern on the PC's display (PC A's unless told) for the rest of the run, once it is viewable."""
    a = h.pc(key)
    proc = a.apps.get("pattern")
    if proc is None or proc.poll() is not None:
        x, y, w, ht = PATTERN_RECT
        lifetime = h.args.time_limit + h.args.keep_running_seconds
        a.apps["pattern"] = h.procs.spawn(
            f"{a.label} MovingPattern",
            a.in_pc(["wine64", str(h.pattern), str(x), str(y), str(w), str(ht), str(lifetime)]),
            output=a.output_file("moving-pattern"), env=a.env(), cwd=a.dir)
    deadline = time.monotonic() + 20
    while time.monotonic() < deadline:
        if any(w.name == "MovingPattern" for w in a.viewable_windows()):
            return
        if a.apps["pattern"].poll() is not None:
            raise CheckFailed([f"{a.label}: MovingPattern exited with code {a.apps['pattern'].returncode}"])
        time.sleep(0.3)
    raise CheckFailed([f"{a.label}: the MovingPattern window did not become viewable within 20 s"])


def screen_rect(text: str) -> vc.Rect:
    """The driver's "X Y WIDTH HEIGHT" answer as a rectangle."""
    values = [int(v) for v in text.split()]
    if len(values) != 4:
        raise CheckFailed([f"driver answered {text!r}, expected X Y WIDTH HEIGHT"])
    return vc.Rect(*values)


def child_rect(pc: SimulatedPc, window_class: str) -> vc.Rect:
    r = pc.driver("child-rect", window_class, timeout=30)
    if r.rc != 0:
        raise CheckFailed([f"{pc.label}: no visible {window_class} in the main window ({r.output.strip()})"])
    return screen_rect(r.output.strip().splitlines()[-1])


def click(pc: SimulatedPc, x: int, y: int) -> None:
    """A left click at a screen point of the PC's display, as a user's."""
    # No --sync: it waits for a pointer motion, and there is none when the pointer already stands there.
    host_run(["xdotool", "mousemove", str(x), str(y), "sleep", "0.1", "mousedown", "1", "sleep", "0.1", "mouseup", "1"],
             env={**os.environ, "DISPLAY": f":{pc.display}"})


def enlarge_main_window(pc: SimulatedPc) -> None:
    """The main window over the whole display, so that RemoteView is as large as it gets (a test action)."""
    r = pc.driver("place", "0", "0", str(pc.h.screen[0]), str(pc.h.screen[1]), timeout=30)
    if r.rc != 0:
        raise CheckFailed([f"{pc.label}: driver place failed ({r.rc}): {r.output.strip()}"])


def take_control(h: Harness, codec: str) -> int:
    """PC B's user clicks the connect button: B becomes the controller of A, A streams, B shows the first
    picture. Returns B's log index before the click."""
    a, b = h.pcs
    enlarge_main_window(b)
    button = child_rect(b, CONTROL_VIEW_CLASS)
    before_a = len(a.log("app", complete=False).lines)
    before_b = len(b.log("app", complete=False).lines)
    click(b, button.x + button.width // 2, button.y + button.height // 2)
    deadline = time.monotonic() + FIRST_PICTURE_WAIT_S
    wanted_b = [rf"KVM switch to CONTROLLER peer={re.escape(a.address)} name={re.escape(a.hostname.upper())}",
                rf"Client first decoded frame submitted codec={codec} to RemoteView \d+x\d+ visible=\d+x\d+ .*"]
    wanted_a = [rf"KVM switch to CONTROLLED peer={re.escape(b.address)} name=.*",
                rf"Host pipeline rebuild #\d+ codec={codec} .*"]
    while True:
        log_a, log_b = a.log("app", complete=False), b.log("app", complete=False)
        missing = ([(b, p) for p in wanted_b if not any(i >= before_b for i in log_b.find(p))]
                   + [(a, p) for p in wanted_a if not any(i >= before_a for i in log_a.find(p))])
        if not missing:
            return before_b
        if time.monotonic() >= deadline:
            raise CheckFailed([f"{pc.label}: no line /{p}/ within {FIRST_PICTURE_WAIT_S} s of the click on B's "
                               f"connect button" for pc, p in missing])
        time.sleep(0.3)


@dataclass(frozen=True)
class ClientStat:
    """One "client stat" line of the controller: per-period counts and totals since the session began."""
    codec: str
    recv: int
    decode: int
    render: int
    total_recv: int
    total_decode: int
    total_render: int


CLIENT_STAT = re.compile(r"client stat codec=(\S+) recv=(\d+) decode=(\d+) render=(\d+) .*"
                         r"total_recv=(\d+) total_decode=(\d+) total_render=(\d+)")


def client_stats(log: TessalyLog, after: int = 0) -> list[ClientStat]:
    out = []
    for _, message in log.lines[after:]:
        m = CLIENT_STAT.fullmatch(message)
        if m:
            out.append(ClientStat(m.group(1), *(int(g) for g in m.group(2, 3, 4, 5, 6, 7))))
    return out


OFFSCREEN_PARENT = re.compile(r"^(\s*)0x[0-9a-f]+ .*: \(.*\)\s+1x1\+-1\+-1 ")
OFFSCREEN_CHILD = re.compile(r"^\s*(0x[0-9a-f]+) .*: \(.*\)\s+(\d+)x(\d+)\+0\+0 ")


def offscreen_windows(tree: str, width: int, height: int) -> list[str]:
    """X windows of the given size that Wine keeps off screen (children of a 1x1 window at -1,-1): where it
    renders OpenGL, and so Direct3D, for a child window such as RemoteView."""
    found = []
    parent_indent: int | None = None
    for line in tree.splitlines():
        m = OFFSCREEN_PARENT.match(line)
        if m:
            parent_indent = len(m.group(1))
            continue
        c = OFFSCREEN_CHILD.match(line)
        indent = len(line) - len(line.lstrip())
        if parent_indent is not None and c and indent > parent_indent:
            if (int(c.group(2)), int(c.group(3))) == (width, height):
                found.append(c.group(1))
        elif line.strip() and indent <= (parent_indent or 0) + 2 and not line.strip().endswith("child:") \
                and not line.strip().endswith("children:"):
            parent_indent = None
    return found


def controller_screenshot(pc: SimulatedPc, view: vc.Rect, path: Path) -> str:
    """A screenshot of the controller's display. Wine 8 on Xvfb renders Direct3D for a child window into an
    off-screen X window and the RemoteView area of the screen stays black; then the picture of that window is
    pasted where RemoteView is, the plain screenshot is kept beside it, and the note says so."""
    pc.screenshot(path)
    with Image.open(path) as shot:
        if not vc.view_black(shot, view):
            return ""
        tree = host_run(["xwininfo", "-display", f":{pc.display}", "-root", "-tree"]).output
        windows = offscreen_windows(tree, view.width, view.height)
        if len(windows) != 1:
            return ""
        offscreen = path.with_name(path.stem + "-remoteview-offscreen.png")
        host_run(["import", "-display", f":{pc.display}", "-window", windows[0], str(offscreen)], timeout=30)
        plain = path.with_name(path.stem + "-screen.png")
        shot.save(plain)
        composed = shot.convert("RGB")
        with Image.open(offscreen) as picture:
            composed.paste(picture.convert("RGB"), (view.x, view.y))
    composed.save(path)
    return (f"{pc.label}: RemoteView is black on the screen ({plain.name}); its Direct3D picture was taken from "
            f"Wine's off-screen window {windows[0]} ({offscreen.name}) and pasted into {path.name}")


NV12_FIRST_RANGE = r"\[COLOR\]\[{side}\]\[NV12-FIRST\] .* minY=(\d+) maxY=(\d+) "


def decoder_squeezed_range(a: SimulatedPc, b: SimulatedPc) -> bool:
    """A's encoder was fed full-range NV12 (luma below 16 present) and the pictures B's decoder handed out
    stay within limited range: the decoder converted the range. The first-picture colour lines of both
    logs tell."""
    def luma_range(pc: SimulatedPc, side: str) -> tuple[int, int] | None:
        found = None
        for _, line in pc.log("app", complete=False).lines:
            m = re.search(NV12_FIRST_RANGE.format(side=side), line)
            if m:
                found = (int(m.group(1)), int(m.group(2)))
        return found
    sent, shown = luma_range(a, "ENC"), luma_range(b, "RENDER")
    return sent is not None and shown is not None and sent[0] < 16 and shown[0] >= 16 and shown[1] <= 240


def wait_view_drawn(pc: SimulatedPc, view: vc.Rect, path: Path) -> None:
    """Takes the controller's screenshot until RemoteView shows more than black, bounded: the render thread
    draws a moment after the first picture was handed to it."""
    deadline = time.monotonic() + VIEW_DRAWN_WAIT_S
    while True:
        controller_screenshot(pc, view, path)
        with Image.open(path) as shot:
            black = vc.view_black(shot, view)
        if not black or time.monotonic() >= deadline:
            return
        time.sleep(MOTION_POLL_S)


def remote_view_findings(h: Harness, tag: str, tolerance: float, a_path: Path, b_path: Path) -> list[str]:
    """Screenshots of A's and B's displays; B's RemoteView must show A's screen scaled to it, and a later
    screenshot of B must show the test window's marker elsewhere (live video, not a still)."""
    a, b = h.pcs
    view = child_rect(b, REMOTE_VIEW_CLASS)
    window = vc.Rect(*PATTERN_RECT)
    wait_view_drawn(b, view, b_path)
    a.screenshot(a_path)
    note = controller_screenshot(b, view, b_path)
    if note:
        progress(note)
    shown_as = None
    if decoder_squeezed_range(a, b):
        progress(f"{b.label}: {tag}: the decoder handed out limited-range pictures of A's full-range stream "
                 "(Wine's decoder converts to BT.601 limited range); A's colours are compared as they show "
                 "through that")
        shown_as = vc.bt601_limited_read_as_bt709_full
    with Image.open(a_path) as shot_a, Image.open(b_path) as shot_b:
        desktop = shot_a.size
        findings = [f"{tag}: {x}" for x in vc.view_findings(shot_a, shot_b, view, window, tolerance, shown_as)]
        first_marker = vc.marker_x(vc.view_picture(shot_b, view), desktop, window)
    if findings:
        return [f"{b.label}: {x} (see {a_path} and {b_path})" for x in findings]
    if first_marker is None:
        return [f"{b.label}: {tag}: no marker in the test window's track in RemoteView (see {b_path})"]
    later = b_path.with_name(b_path.stem + "-later.png")
    deadline = time.monotonic() + MOTION_WAIT_S
    later_marker = first_marker
    while later_marker is not None and abs(later_marker - first_marker) < 8 and time.monotonic() < deadline:
        time.sleep(MOTION_POLL_S)
        controller_screenshot(b, view, later)
        with Image.open(later) as image:
            later_marker = vc.marker_x(vc.view_picture(image, view), desktop, window)
    if later_marker is None:
        return [f"{b.label}: {tag}: no marker in the test window's track in RemoteView (see {later})"]
    if abs(later_marker - first_marker) < 8:
        return [f"{b.label}: {tag}: the marker stayed at x={first_marker:.0f} for {MOTION_WAIT_S} s: frozen "
                f"RemoteView (see {later})"]
    return []


def check_video_ultra(h: Harness) -> None:
    """With ULTRA stored on PC B, B takes control of A: A streams its desktop as JPEG tiles and B's RemoteView
    shows A's moving test window (out/a.png and out/b.png)."""
    a, b = h.pcs
    if loaded_video_quality(b) != "ULTRA":
        raise CheckFailed([f"{b.label}: did not load VideoQualityMode=1 (ULTRA) stored in its settings"])
    show_pattern(h)
    take_control(h, "ULTRA")
    Findings.of(remote_view_findings(h, "ultra", TILE_TOLERANCE, h.out / "a.png", h.out / "b.png"))


def tessaly_pids(pc: SimulatedPc) -> list[int]:
    """The PC's running Tessaly.exe processes (Wine shows the Windows command line in /proc)."""
    r = host_run(["ip", "netns", "pids", pc.netns], check=False)
    pids = []
    for pid in (int(p) for p in r.output.split() if p.isdigit()):
        try:
            command = Path(f"/proc/{pid}/cmdline").read_bytes().replace(b"\0", b" ").lower()
        except OSError:
            continue
        if b"tessaly.exe" in command and b"tessalydriver" not in command:
            pids.append(pid)
    return pids


def check_video_pause(h: Harness) -> None:
    """PC A's Tessaly is frozen (SIGSTOP) until B's watchdog re-requests control, then thawed: B draws new
    pictures again without a new session."""
    a, b = h.pcs
    pids = tessaly_pids(a)
    if not pids:
        raise CheckFailed([f"{a.label}: no running Tessaly.exe process to pause"])
    a_before_pause = len(a.log("app", complete=False).lines) - 1
    before = len(b.log("app", complete=False).lines)
    retried = [rf"Client runtime recovery: no video for \d+ ms, control request retried peer={re.escape(a.address)}",
               rf"\[VIDEO\]\[WATCHDOG\] schedule in-session reconnect peer={re.escape(a.address)} .*"]
    f = Findings()
    paused_at = time.monotonic()
    for pid in pids:
        os.kill(pid, signal.SIGSTOP)
    try:
        seen = False
        while time.monotonic() - paused_at < PAUSE_LIMIT_S:
            log = b.log("app", complete=False)
            seen = any(any(i >= before for i in log.find(p)) for p in retried)
            if seen and time.monotonic() - paused_at >= PAUSE_MIN_S:
                break
            time.sleep(0.3)
    finally:
        for pid in pids:
            try:
                os.kill(pid, signal.SIGCONT)
            except ProcessLookupError:
                pass
    progress(f"PC A thawed after {time.monotonic() - paused_at:.1f} s")
    if not seen:
        # The retry's log line shares a throttle with the stall lines and may not show; the request itself
        # waits in A's listen queue and is handled once A runs again.
        received = rf"Discovery received TCP control request from {re.escape(b.address)} .*"
        deadline = time.monotonic() + PEER_EVENT_WAIT_S
        while not seen and time.monotonic() < deadline:
            log_a = a.log("app", complete=False)
            seen = any(i > a_before_pause for i in log_a.find(received))
            time.sleep(0.3)
        if not seen:
            f.add(b, f"no control request retried by B's watchdog (/{retried[0]}/ or /{retried[1]}/ on B, or "
                     f"/{received}/ on A) within {PAUSE_LIMIT_S} s of A's pause")
    thawed = len(b.log("app", complete=False).lines)
    deadline = time.monotonic() + RESUME_WAIT_S
    while True:
        log = b.log("app", complete=False)
        stats = client_stats(log, thawed)
        rendered = stats[-1].total_render - stats[0].total_render if len(stats) >= 2 else 0
        # A stat line of the stalled period may come first: count from the first line after the thaw.
        if rendered >= RESUME_MIN_RENDERED or time.monotonic() >= deadline:
            break
        time.sleep(0.5)
    if rendered < RESUME_MIN_RENDERED:
        f.add(b, f"drew {rendered} pictures within {RESUME_WAIT_S} s of A's thaw, expected at least "
                 f"{RESUME_MIN_RENDERED} (client stat lines: {stats[-3:]})")
    if any(i >= before for i in log.find(r"KVM switch to CONTROLLER .*")):
        f.add(b, "the pause started a new controller session instead of resuming the one running")
    f.raise_if_any()


# The input test window on PC A's display (tests/tools/InputProbe.cpp), beside the moving pattern.
PROBE_RECT = (1330, 100, 240, 300)
INPUT_WAIT_S = 10
# Set-1 scan codes of the letters typed on B, as A's window must see them.
SCAN_CODES = {"t": 0x14, "e": 0x12, "s": 0x1F, "a": 0x1E, "l": 0x26, "y": 0x15, "h": 0x23, "i": 0x17, "d": 0x20}
# USB HID keyboard usages of the same letters: 'a' is 4.
HID_USAGES = {c: 4 + ord(c) - ord("a") for c in SCAN_CODES}
TYPED_TCP = "tessaly"
TYPED_HID = "hid"
# The stand-in's own source ports, below the ephemeral range: A's connections to B's control port from any
# other port are refused while B is told that A's desktop is locked, so A's own "unlocked" notices cannot
# undo it.
STANDIN_PORTS = (20480, 20735)


def remote_point(view: vc.Rect, remote: tuple[int, int], point: tuple[int, int]) -> tuple[int, int]:
    """The screen point of B's RemoteView that maps onto A's desktop point (the view stretches A's desktop)."""
    rw, rh = remote
    return (view.x + -(-point[0] * view.width // rw), view.y + -(-point[1] * view.height // rh))


def type_on(pc: SimulatedPc, text: str) -> None:
    host_run(["xdotool", "type", "--delay", "120", text], env={**os.environ, "DISPLAY": f":{pc.display}"})


def probe_lines(path: Path) -> list[str]:
    try:
        return path.read_text(errors="replace").splitlines()
    except OSError:
        return []


def wait_probe(path: Path, wanted: Callable[[list[str]], bool]) -> list[str]:
    deadline = time.monotonic() + INPUT_WAIT_S
    while True:
        lines = probe_lines(path)
        if wanted(lines) or time.monotonic() >= deadline:
            return lines
        time.sleep(0.3)


def scan_codes_down(lines: list[str]) -> list[int]:
    return [int(m.group(1)) for m in (re.match(r"key down vk=\d+ scan=(\d+)", ln) for ln in lines) if m]


def keyboard_usages(report_file: Path) -> list[int]:
    """The key usages of the keyboard frames (command 3) the simulated cable received, key downs only."""
    try:
        data = report_file.read_bytes()
    except OSError:
        return []
    usages = []
    for at in range(0, len(data) - 20, 64):
        frame = data[at + 1:at + 21]
        if frame[:5] == bytes([0x55, 0xAA, 0x00, 0x03, 0x0E]) and frame[5:10] == bytes([0x57, 0xAB, 0x00, 0x02, 0x08]):
            if frame[12]:
                usages.append(frame[12])
    return usages


def in_order(sub: list[int], seq: list[int]) -> bool:
    it = iter(seq)
    return all(any(x == y for y in it) for x in sub)


def set_standin_filter(a: SimulatedPc, on: bool) -> None:
    """While on, A's connections to B's control port are refused unless they come from the stand-in's ports."""
    first, last = STANDIN_PORTS
    rules = [["pref", "100", "ipproto", "tcp", "dport", str(CONTROL_PORT), "sport", f"{first}-{last}", "lookup",
              "main"],
             ["pref", "101", "ipproto", "tcp", "dport", str(CONTROL_PORT), "prohibit"]]
    for rule in rules:
        host_run(["ip", "-n", a.netns, "rule", "add" if on else "del", *rule], check=on)


def report_desktop_state(a: SimulatedPc, b: SimulatedPc, locked: bool, seq: int) -> None:
    peer_says(a, f"{a.address}:{STANDIN_PORTS[0] + seq % 256}", b.address,
              control_message("TSLY_DESKTOP_STATE", a, f"locked={int(locked)};"))


def check_input(h: Harness) -> None:
    """In the running session PC B's user clicks into a test window on A through B's RemoteView and types:
    A's window receives the click at the mapped point and the keys (over the TCP input channel). Then B is
    told that A's desktop is locked: the same typing leaves through the cable's HID interface, as keyboard
    frames in B's simulated cable."""
    a, b = h.pcs
    record = a.dir / "input-probe.txt"
    record.unlink(missing_ok=True)
    x, y, w, ht = PROBE_RECT
    a.apps["input-probe"] = h.procs.spawn(
        f"{a.label} InputProbe",
        a.in_pc(["wine64", str(h.input_probe), str(x), str(y), str(w), str(ht), "300", win_path(record)]),
        output=a.output_file("input-probe"), env=a.env(), cwd=a.dir)
    f = Findings()
    try:
        view = child_rect(b, REMOTE_VIEW_CLASS)
        target = (x + w // 2, y + ht // 2)
        bx, by = remote_point(view, h.screen, target)
        time.sleep(1.5)  # the probe window shown and streamed
        click(b, bx, by)
        lines = wait_probe(record, lambda ls: any(ln.startswith("button L up") for ln in ls))
        downs = [m for m in (re.match(r"button L down x=(-?\d+) y=(-?\d+)", ln) for ln in lines) if m]
        slack = max(h.screen[0] // view.width, h.screen[1] // view.height) + 2
        if not downs:
            f.add(a, f"the test window saw no left click from B's click at {bx},{by} (record: {lines[-5:]})")
        elif any(abs(int(m.group(1)) - target[0]) > slack or abs(int(m.group(2)) - target[1]) > slack for m in downs):
            f.add(a, f"the click landed at {downs[0].group(1)},{downs[0].group(2)}, expected {target} within {slack} px")
        type_on(b, TYPED_TCP)
        wanted = [SCAN_CODES[c] for c in TYPED_TCP]
        lines = wait_probe(record, lambda ls: in_order(wanted, scan_codes_down(ls)))
        if not in_order(wanted, scan_codes_down(lines)):
            f.add(a, f"typed '{TYPED_TCP}' on B: A's window saw scan codes {scan_codes_down(lines)}, expected {wanted} "
                     "in that order")
        if not f.items:
            progress(f"PC A: the test window received B's click and the keys of '{TYPED_TCP}'")
        time.sleep(1.0)  # the typed letters drawn on A
        a.screenshot(h.out / "input-a.png")
        # B shows them once the changed picture has come through.
        shown = (bx - 20, by - 20, bx + 20, by + 20)
        deadline = time.monotonic() + INPUT_WAIT_S
        while True:
            note = controller_screenshot(b, view, h.out / "input-b.png")
            with Image.open(h.out / "input-b.png") as shot:
                letters = any(min(p[:3]) > 200 for p in shot.convert("RGB").crop(shown).getdata())
            if letters or time.monotonic() >= deadline:
                break
            time.sleep(0.5)
        if note:
            progress(note)

        before_b = len(b.log("app", complete=False).lines)
        set_standin_filter(a, True)
        try:
            report_desktop_state(a, b, True, 0)
            _, missing = wait_for(b, [r"\[INPUT\]\[MODE\] network -> hid .*"], after=before_b)
            if missing:
                f.add(b, "did not switch its input to HID after A reported its desktop locked")
            else:
                type_on(b, TYPED_HID)
                wanted = [HID_USAGES[c] for c in TYPED_HID]
                deadline = time.monotonic() + INPUT_WAIT_S
                while not in_order(wanted, keyboard_usages(b.cable_hid)) and time.monotonic() < deadline:
                    time.sleep(0.3)
                got = keyboard_usages(b.cable_hid)
                if not in_order(wanted, got):
                    f.add(b, f"typed '{TYPED_HID}' while A was locked: the cable's keyboard frames carry usages {got}, "
                             f"expected {wanted} in that order")
                else:
                    progress(f"PC B: with A locked the keys of '{TYPED_HID}' left as HID keyboard frames "
                             f"({b.cable_hid.name})")
            report_desktop_state(a, b, False, 1)
        finally:
            set_standin_filter(a, False)
        shutil.copy2(record, h.out / "input-probe.txt")
        if b.cable_hid.is_file():
            shutil.copy2(b.cable_hid, h.out / "b-cable-hid.bin")
    finally:
        proc = a.apps.pop("input-probe", None)
        if proc is not None:
            h.procs.stop(proc)
    f.raise_if_any()


HOST_STAT = re.compile(r"host stat .*\bsend=(\d+) .*\bcontroller_hidden=([01]) .*")
VISIBILITY_WAIT_S = 15
HEARTBEAT_MAX_SENDS = 2   # frames A sends in one second while B's view is hidden (1 fps heartbeat)
VISIBLE_MIN_SENDS = 10    # and once it is shown again


def host_sends(pc: SimulatedPc, after: int, hidden: bool) -> list[int]:
    """Frames sent per second by the PC's host session, from its "host stat" lines with that hidden flag."""
    sends = []
    for _, message in pc.log("app", complete=False).lines[after:]:
        m = HOST_STAT.fullmatch(message)
        if m and m.group(2) == ("1" if hidden else "0"):
            sends.append(int(m.group(1)))
    return sends


def wait_host_sends(pc: SimulatedPc, after: int, hidden: bool, count: int) -> list[int]:
    deadline = time.monotonic() + VISIBILITY_WAIT_S
    while True:
        sends = host_sends(pc, after, hidden)
        if len(sends) >= count or time.monotonic() >= deadline:
            return sends
        time.sleep(0.5)


def driven(pc: SimulatedPc, command: str) -> None:
    r = pc.driver(command)
    if r.rc != 0:
        raise CheckFailed([f"{pc.label}: TessalyDriver {command} exited with {r.rc}: {r.output.strip()}"])


def host_session_running(pc: SimulatedPc) -> bool:
    """The PC's log shows a host session started and not stopped since."""
    log = pc.log("app", complete=False)
    started, stopped = log.find(r"HostSession started gen=\d+"), log.find(r"HostSession stopped.*")
    return bool(started) and not (stopped and max(stopped) > max(started))


def ensure_session(h: Harness) -> None:
    """PC B controls PC A: the session an earlier check left running, or a new one by B's connect button (in
    the video quality B loaded: an earlier check may have stored H264)."""
    if not host_session_running(h.pc("a")):
        take_control(h, loaded_video_quality(h.pc("b")) or "ULTRA")


def check_visibility(h: Harness) -> None:
    """PC B's user minimises Tessaly while controlling A: B tells A its view is hidden, A confirms it and
    drops to its one-frame-a-second heartbeat; shown again, A streams at full rate again."""
    a, b = h.pcs
    ensure_session(h)
    f = Findings()
    before_a, before_b = len(a.log("app", complete=False).lines), len(b.log("app", complete=False).lines)
    driven(b, "minimize")
    hidden_b = [r"\[VIDEO\]\[VISIBILITY\]\[LOCAL\] hidden=1 viewSeq=\d+ role=\d+ clientRunning=1",
                rf"\[VIDEO\]\[VISIBILITY\]\[TX_ACK\] peer={re.escape(a.address)} hidden=1 viewSeq=(\d+) "
                r"ackSeq=\1 accepted=1 confirmed=1 .*"]
    hidden_a = [rf"\[VIDEO\]\[VISIBILITY\]\[RX\] peer={re.escape(b.address)} hidden=1 viewSeq=\d+ "
                r"videoPolicy=HEARTBEAT_1FPS audioPolicy=REALTIME_UNCHANGED"]
    for pc, patterns, after in ((b, hidden_b, before_b), (a, hidden_a, before_a)):
        for pattern in wait_for(pc, patterns, after=after)[1]:
            f.add(pc, f"no line /{pattern}/ after B's main window was minimised")
    f.raise_if_any()
    received = len(a.log("app", complete=False).lines)
    # The stat line of the second in which the policy changed may still count full-rate frames.
    heartbeat = wait_host_sends(a, received, hidden=True, count=4)[1:]
    if len(heartbeat) < 3 or max(heartbeat) > HEARTBEAT_MAX_SENDS:
        f.add(a, f"frames sent per second while B's view is hidden: {heartbeat} (want at most "
                 f"{HEARTBEAT_MAX_SENDS}, at least 3 seconds)")
    before_a, before_b = len(a.log("app", complete=False).lines), len(b.log("app", complete=False).lines)
    driven(b, "restore")
    shown_a = [rf"\[VIDEO\]\[VISIBILITY\]\[RX\] peer={re.escape(b.address)} hidden=0 viewSeq=\d+ "
               r"videoPolicy=NORMAL audioPolicy=REALTIME_UNCHANGED"]
    for pattern in wait_for(a, shown_a, after=before_a)[1]:
        f.add(a, f"no line /{pattern}/ after B's main window was shown again")
    full = wait_host_sends(a, before_a, hidden=False, count=3)[1:]
    if len(full) < 2 or min(full) < VISIBLE_MIN_SENDS:
        f.add(a, f"frames sent per second once B's view is shown again: {full} (want at least {VISIBLE_MIN_SENDS})")
    f.raise_if_any()


def restart_with_settings(h: Harness, pc: SimulatedPc, settings: dict[str, int], tag: str,
                          wait_discovery: bool = True) -> None:
    """Quits the PC's Tessaly, stores the settings and starts it again; with wait_discovery, waits until the
    restarted PC has found the other again (the other may still hold it in its peer table and log nothing
    new). The restarted PC's log starts anew."""
    other = next(p for p in h.pcs if p is not pc)
    app = pc.apps["app"]
    if app.poll() is None:
        pc.driver("quit", timeout=30)
        try:
            app.wait(timeout=QUIT_EXIT_S)
        except subprocess.TimeoutExpired:
            raise CheckFailed([f"{pc.label}: Tessaly still running {QUIT_EXIT_S} s after quit"])
    pc.keep_log(tag)
    for name, value in settings.items():
        pc.set_setting(name, value)
    pc.start_app("app")
    problem = pc.wait_main_window(pc.apps["app"], START_WAIT_S)
    if problem:
        raise CheckFailed([f"{pc.label}: restart: {problem}"])
    if wait_discovery:
        found = rf"Discovery found device name={re.escape(other.hostname.upper())} .* ip={re.escape(other.address)} .*"
        _, missing = wait_for(pc, [found], after=0)
        if missing:
            raise CheckFailed([f"{pc.label}: did not find {other.label} again after its restart"])


def check_video_h264(h: Harness) -> None:
    """With H264 stored on PC B, B takes control again: A encodes through its real H.264 encoder path (served
    by the stand-in encoder registered in its prefix), B decodes with the system's decoder and its RemoteView
    shows A's moving test window."""
    b = h.pc("b")
    if h.standin is None:
        raise CheckFailed([f"{STANDIN_DLL} was not built (x264 missing from .deps/mingw): H.264 mode not tested"])
    restart_with_settings(h, b, {"VideoQualityMode": 0, "AutoConnectEnable": 0}, "before-quality-0")
    if loaded_video_quality(b) != "H264":
        raise CheckFailed([f"{b.label}: did not load VideoQualityMode=0 (H264) stored in its settings"])
    show_pattern(h)
    take_control(h, "H264")
    Findings.of(remote_view_findings(h, "h264", H264_TOLERANCE, h.out / "video-h264-a.png",
                                     h.out / "video-h264-b.png"))


# ULTRA on both: whichever PC takes control, the other can encode its picture (Wine has no H.264 encoder
# and only PC A carries the stand-in).
AUTO_CONNECT_SETTINGS = {"AutoConnectEnable": 1, "AutoConnectPolicyVersion": 1, "VideoQualityMode": 1}
AUTO_CONNECT_WAIT_S = 45   # from both PCs up to a session with a picture, found by themselves
SWITCH_CONTROLLER = r"KVM switch to CONTROLLER peer=(\S+) name=.*"
FIRST_PICTURE = r"Client first decoded frame submitted codec=\S+ to RemoteView .*"


def wait_auto_session(h: Harness, after: dict[str, int], what: str) -> tuple[SimulatedPc, SimulatedPc]:
    """Waits until one PC has made itself the other's controller without a click and shows its picture;
    (controller, controlled)."""
    deadline = time.monotonic() + AUTO_CONNECT_WAIT_S
    while True:
        for pc in h.pcs:
            log = pc.log("app", complete=False)
            attempts = [i for i in log.find(r"\[AUTOCONNECT\] attempting control peer .*") if i >= after[pc.key]]
            pictures = [i for i in log.find(FIRST_PICTURE) if i >= after[pc.key]]
            if attempts and pictures:
                return pc, next(p for p in h.pcs if p is not pc)
        if time.monotonic() >= deadline:
            raise CheckFailed([f"{pc.label}: no control request of its own followed by a picture within "
                               f"{AUTO_CONNECT_WAIT_S} s {what}" for pc in h.pcs])
        time.sleep(0.5)


def check_auto_connect(h: Harness) -> None:
    """With AutoConnectEnable stored on both PCs, the two connect by themselves after start, and again after
    the controlled PC restarts."""
    # Either PC may take control: each shows the moving test window, so the controller's view shows it.
    for pc in h.pcs:
        show_pattern(h, pc.key)
    for pc in h.pcs:
        restart_with_settings(h, pc, AUTO_CONNECT_SETTINGS, "before-auto-connect", wait_discovery=False)
    controller, controlled = wait_auto_session(h, {"a": 0, "b": 0}, "after both started")
    progress(f"{controller.label} took control of {controlled.label} by itself")
    # The controller's display with its view of the other PC, as the user finds it after start.
    enlarge_main_window(controller)
    view = child_rect(controller, REMOTE_VIEW_CLASS)
    shot = h.out / f"auto-connect-{controller.key}.png"
    wait_view_drawn(controller, view, shot)
    note = controller_screenshot(controller, view, shot)
    if note:
        progress(note)
    after = {controller.key: len(controller.log("app", complete=False).lines), controlled.key: 0}
    restart_with_settings(h, controlled, AUTO_CONNECT_SETTINGS, "auto-connect-restart", wait_discovery=False)
    h.auto_controller, _ = wait_auto_session(h, after, f"after {controlled.label} restarted")


# Wine sends no device-removal message: a PC in a session sees the cable gone at its next presence poll (60 s).
CABLE_REMOVAL_WAIT_S = 75
SNAPSHOT_WAIT_S = 65
CABLE_GONE_STATUS = "Marlo hardware: not detected | network: unavailable | remote: waiting for hardware"


def check_cable_removal(h: Harness) -> None:
    """Removing the cable from the controller ends the auto-connected session; it waits for the cable with
    the cable texts, and takes control again once the cable is back."""
    controller = h.auto_controller
    if controller is None:
        raise CheckFailed(["no auto-connected controller to take the cable from"])
    before = len(controller.log("app", complete=False).lines)
    r = controller.wine("cable-remove", [str(h.cable), "remove"], timeout=60)
    if r.rc != 0:
        raise CheckFailed([f"{controller.label}: SimulatedCable remove exited with {r.rc}: {r.output.strip()}"])
    f = Findings()
    removed = [r"\[DIAG\]\[SESSION\] clientRunning 1 -> 0 .*",
               r"\[AUTOCONNECT\] device not inserted; waiting intent=Enabled state=WaitingDevice"]
    for pattern in wait_for(controller, removed, after=before, seconds=CABLE_REMOVAL_WAIT_S)[1]:
        f.add(controller, f"no line /{pattern}/ after the cable was removed")
    # The status is logged with the diagnostic snapshot, once a minute.
    status = r"\[DIAG\]\[SNAPSHOT\] reason=periodic .* status=" + lit(CABLE_GONE_STATUS) + r" .*"
    if wait_for(controller, [status], after=before, seconds=SNAPSHOT_WAIT_S)[1]:
        f.add(controller, f"no snapshot with the status {CABLE_GONE_STATUS!r} after the cable was removed")
    plugged = {pc.key: len(pc.log("app", complete=False).lines) for pc in h.pcs}
    r = controller.wine("cable-add", [str(h.cable), "add"], timeout=60)
    if r.rc != 0:
        f.add(controller, f"SimulatedCable add exited with {r.rc}: {r.output.strip()}")
    f.raise_if_any()
    wait_auto_session(h, plugged, "after the cable was plugged in again")


def nv12_psnr(a: bytes, b: bytes) -> float:
    if len(a) != len(b) or not a:
        return 0.0
    squared = sum((x - y) * (x - y) for x, y in zip(a, b))
    return 99.0 if squared == 0 else 10 * math.log10(255 * 255 * len(a) / squared)


def check_standin_encoder(h: Harness) -> None:
    """PC A's prefix creates the stand-in by the H.264 encoder's class id; driven in the documented call
    order it encodes moving NV12 frames into a stream that decodes back to them (full range, BT.709)."""
    a = h.pc("a")
    if h.standin is None:
        raise CheckFailed([f"{STANDIN_DLL} was not built (x264 missing from .deps/mingw)"])
    width, height, count = 320, 240, 30
    out = a.dir / "standin-probe"
    r = a.wine("standin-probe", [str(h.probe), str(width), str(height), str(count), win_path(out)], timeout=60)
    if r.rc != 0:
        raise CheckFailed([f"{a.label}: StandInEncoderProbe exited with {r.rc}: {r.output.strip()[-500:]}"])
    decoded = a.dir / "standin-probe-decoded.nv12"
    host_run(["ffmpeg", "-nostdin", "-v", "error", "-f", "h264", "-i", f"{out}.h264", "-vf",
              "scale=in_range=full:out_range=full", "-f", "rawvideo", "-pix_fmt", "nv12", "-y", str(decoded)],
             timeout=60)
    probe = host_run(["ffprobe", "-v", "error", "-show_entries", "stream=color_range,color_space", "-of",
                      "compact=p=0:nk=0", f"{out}.h264"]).output.strip()
    source, result = Path(f"{out}.nv12").read_bytes(), decoded.read_bytes()
    f = Findings()
    if "color_range=pc" not in probe or "color_space=bt709" not in probe:
        f.add(a, f"stand-in stream does not signal full-range BT.709: {probe}")
    size = width * height * 3 // 2
    if len(result) != len(source):
        f.add(a, f"decoded {len(result) // size} frames of {len(source) // size}")
    else:
        for i in range(count):
            psnr = nv12_psnr(source[i * size:(i + 1) * size], result[i * size:(i + 1) * size])
            if psnr < 40:
                f.add(a, f"frame {i} decodes at {psnr:.1f} dB PSNR, expected at least 40")
                break
    f.raise_if_any()


# -- clipboard and files ---------------------------------------------------------------------------

CLIPBOARD_WAIT_S = 20      # from a copy on one PC to the content on the other's clipboard
# A PC ignores its own clipboard changes for a second after it placed what the peer sent (no echo back).
ECHO_GUARD_S = 1.5
CLIPBOARD_TEXT = "Grüße 你好 ✓"
CLIPBOARD_IMAGE = (320, 200)
FILES_WAIT_S = 60          # from the paste to every file in place (5 MiB over the veth link, under Wine)
OFFER_WAIT_S = 20
# Where B's main window goes during the paste, and the desktop-class test window beside it, so that the
# cursor on the test window is not over RemoteView (a Ctrl+V there would go to the peer).
PASTE_MAIN_RECT = (0, 0, 900, 700)
DESKTOP_WINDOW_RECT = (1000, 150, 500, 400)
HOSTILE_PEER = Path(__file__).resolve().parent / "hostilepeer.py"
HOSTILE_WAIT_S = 150       # the hostile peer's own waits: a minute for the connect, 40 s per announcement
HOSTILE_CONNECT_WAIT_S = 10
ARRIVED_NOTE = "clipboard-arrived.txt"


def note_arrival(h: Harness, text: str) -> None:
    """One line of what crossed between the PCs, for the demo to print (<out>/clipboard-arrived.txt)."""
    h.out.mkdir(parents=True, exist_ok=True)
    with open(h.out / ARRIVED_NOTE, "a", encoding="utf-8") as f:
        f.write(text + "\n")


def desktop_folder(pc: SimulatedPc) -> Path:
    """The PC's Desktop folder (%USERPROFILE%\\Desktop) as a Linux path: the fallback target of a paste or
    transfer when no Explorer folder is under the cursor."""
    user = pwd.getpwuid(os.getuid()).pw_name
    return (pc.prefix / "drive_c" / "users" / user / "Desktop").resolve()


def wait_driver_output(pc: SimulatedPc, args: list[str], wanted: str, seconds: float) -> str:
    """Runs the driver command until it prints exactly `wanted` (bounded); the last output."""
    deadline = time.monotonic() + seconds
    while True:
        r = pc.driver(*args, timeout=30)
        output = r.output if r.rc == 0 else ""
        if output == wanted or time.monotonic() >= deadline:
            return output
        time.sleep(0.5)


def check_clipboard_text(h: Harness) -> None:
    """While B controls A, a text copied on one PC is on the other's clipboard, both ways, Unicode intact."""
    a, b = h.pcs
    ensure_session(h)
    f = Findings()
    for source, target in ((a, b), (b, a)):
        text = f"{CLIPBOARD_TEXT} {source.label} -> {target.label}"
        r = source.driver("clip-set-text", text)
        if r.rc != 0:
            raise CheckFailed([f"{source.label}: driver clip-set-text exited with {r.rc}: {r.output.strip()}"])
        got = wait_driver_output(target, ["clip-get-text"], text + "\n", CLIPBOARD_WAIT_S)
        if got != text + "\n":
            f.add(target, f"clipboard holds {got.rstrip(chr(10))!r} {CLIPBOARD_WAIT_S} s after {source.label} copied "
                          f"{text!r}")
        else:
            note_arrival(h, f"text {source.label} -> {target.label}: {text}")
        time.sleep(ECHO_GUARD_S)
    f.raise_if_any()


def check_clipboard_image(h: Harness) -> None:
    """While B controls A, a picture copied on one PC is on the other's clipboard with the same colours."""
    a, b = h.pcs
    ensure_session(h)
    f = Findings()
    for seed, (source, target) in enumerate(((a, b), (b, a)), 1):
        width, height = CLIPBOARD_IMAGE
        r = source.driver("clip-set-image", str(width), str(height), str(seed))
        if r.rc != 0:
            raise CheckFailed([f"{source.label}: driver clip-set-image exited with {r.rc}: {r.output.strip()}"])
        sent = source.driver("clip-get-image-hash")
        if sent.rc != 0:
            raise CheckFailed([f"{source.label}: no picture on its own clipboard after clip-set-image"])
        got = wait_driver_output(target, ["clip-get-image-hash"], sent.output, CLIPBOARD_WAIT_S)
        if got != sent.output:
            f.add(target, f"clipboard picture {got.strip() or 'none'} {CLIPBOARD_WAIT_S} s after {source.label} "
                          f"copied {sent.output.strip()} (width height hash)")
        else:
            note_arrival(h, f"picture {source.label} -> {target.label}: {width}x{height}")
        time.sleep(ECHO_GUARD_S)
    f.raise_if_any()


def check_clipboard_files(h: Harness) -> None:
    """Files copied on the controlled PC A (a folder with an empty file, a 5 MiB file and a name with braces
    and a quote, and a loose file) are offered to B; B's user presses Ctrl+V with the cursor on B's desktop
    and they arrive in B's Desktop folder with the same content."""
    a, b = h.pcs
    ensure_session(h)
    offered, expected = transferfiles.make_offer(a.dir / "clip-files")
    target = desktop_folder(b)
    before = len(b.log("app", complete=False).lines)
    r = a.driver("clip-set-files", *[win_path(p) for p in offered])
    if r.rc != 0:
        raise CheckFailed([f"{a.label}: driver clip-set-files exited with {r.rc}: {r.output.strip()}"])
    offer = r"\[CLIPFILE\]\[REMOTE_OFFER\] cached id=\d+ count=\d+ payload=\d+"
    if wait_for(b, [offer], after=before, seconds=OFFER_WAIT_S)[1]:
        raise CheckFailed([f"{b.label}: no line /{offer}/ within {OFFER_WAIT_S} s of A's copy of files"])
    r = b.driver("place", *(str(v) for v in PASTE_MAIN_RECT), timeout=30)
    if r.rc != 0:
        raise CheckFailed([f"{b.label}: driver place failed ({r.rc}): {r.output.strip()}"])
    x, y, w, ht = DESKTOP_WINDOW_RECT
    output = b.output_file("driver-desktop-window")
    desktop = h.procs.spawn(f"{b.label} driver desktop-window",
                            b.in_pc(["wine64", str(h.driver), "desktop-window", str(x), str(y), str(w), str(ht),
                                     str(FILES_WAIT_S + 30)]),
                            output=output, env=b.env(), cwd=b.dir)
    f = Findings()
    try:
        deadline = time.monotonic() + 20
        while "READY" not in output.read_text("utf-8", "replace") and time.monotonic() < deadline:
            if desktop.poll() is not None:
                raise CheckFailed([f"{b.label}: driver desktop-window exited with {desktop.returncode}"])
            time.sleep(0.2)
        paste_at = len(b.log("app", complete=False).lines)
        host_run(["xdotool", "mousemove", str(x + w // 2), str(y + ht // 2), "sleep", "0.3", "key", "ctrl+v"],
                 env={**os.environ, "DISPLAY": f":{b.display}"})
        deadline = time.monotonic() + FILES_WAIT_S
        while transferfiles.arrival_findings(target, expected) and time.monotonic() < deadline:
            time.sleep(0.5)
        findings = transferfiles.arrival_findings(target, expected)
        for finding in findings:
            f.add(b, f"{finding} within {FILES_WAIT_S} s of Ctrl+V")
        if findings:
            # What B made of the Ctrl+V: the hook's decision, the folder it resolved, the paste's result.
            log = b.log("app", complete=False)
            seen = [message for _, message in log.lines[paste_at:]
                    if re.match(r"\[CLIPFILE\]\[(HOOK|CTRLV|TARGET|PASTE|PASTE_ASYNC|LOCAL_CLIP)\]", message)]
            f.add(b, f"its paste lines after Ctrl+V: {seen[-6:] or 'none'}")
        if not findings:
            b.screenshot(h.out / "transfer-b.png")  # B's transfer window with the paste's progress
            note_arrival(h, f"files {a.label} -> {b.label} (Ctrl+V on the desktop): "
                            + ", ".join(f"{rel} ({(target / rel).stat().st_size} bytes)" for rel in expected))
    finally:
        h.procs.stop(desktop)
        enlarge_main_window(b)
    f.raise_if_any()


VSCREEN_WAIT_S = 10
VSCREEN_STEP = 40  # pixels of one relative move: a raw-input motion the virtual cursor follows


def xdo(pc: SimulatedPc, *args: str) -> None:
    host_run(["xdotool", *args], env={**os.environ, "DISPLAY": f":{pc.display}"})


def move_relative(pc: SimulatedPc, dx: int, dy: int) -> None:
    """Relative moves in steps, each a raw motion the virtual screen turns into a cursor move on the peer."""
    steps = max(1, -(-max(abs(dx), abs(dy)) // VSCREEN_STEP))
    done_x = done_y = 0
    for i in range(1, steps + 1):
        sx, sy = dx * i // steps - done_x, dy * i // steps - done_y
        xdo(pc, "mousemove_relative", "--", str(sx), str(sy), "sleep", "0.03")
        done_x, done_y = done_x + sx, done_y + sy


def check_virtual_screen(h: Harness) -> None:
    """With the peer set to the right of PC B (VirtualScreenMode 2), B's mouse pushed past the right edge of
    its desktop goes on moving on A, mapped to A's whole desktop: A's cursor follows it and B's click lands
    there (a test window covering A's desktop records it); moving back past A's left edge returns the mouse
    to B."""
    a, b = h.pcs
    # Auto-connect off, so the session is the one B's connect button starts, not one B started by itself.
    restart_with_settings(h, b, {"VirtualScreenMode": 2, "AutoConnectEnable": 0}, "vscreen")
    take_control(h, loaded_video_quality(b) or "ULTRA")
    f = Findings()
    _, missing = wait_for(b, [r"\[VSCREEN\]\[MODE\] old=\d+ new=2 active=0", r"\[VSCREEN\]\[HOOK\] installed .*"])
    for pattern in missing:
        f.add(b, f"no line /{pattern}/ with VirtualScreenMode 2 stored")
    f.raise_if_any()
    sw, sh = h.screen
    record = a.dir / "vscreen-probe.txt"
    record.unlink(missing_ok=True)
    a.apps["vscreen-probe"] = h.procs.spawn(
        f"{a.label} InputProbe",
        a.in_pc(["wine64", str(h.input_probe), "0", "0", str(sw), str(sh), "300", win_path(record)]),
        output=a.output_file("vscreen-probe"), env=a.env(), cwd=a.dir)
    try:
        # No pointer acceleration on B's display: relative moves stay the size they are asked to be.
        host_run(["xset", "m", "1", "1"], env={**os.environ, "DISPLAY": f":{b.display}"})
        time.sleep(1.5)  # the probe window shown
        before = len(b.log("app", complete=False).lines)
        xdo(b, "mousemove", str(sw - 40), str(sh // 2), "sleep", "0.2")
        move_relative(b, 80, 0)
        enter = (r"\[VSCREEN\]\[ENTER\] reason=\S+ mode=2 local=-?\d+,-?\d+ pin=-?\d+,-?\d+ "
                 r"remote=(-?\d+),(-?\d+) size=(\d+)x(\d+)")
        log, missing = wait_for(b, [enter], after=before, seconds=VSCREEN_WAIT_S)
        if missing:
            seen = [m for _, m in log.lines[before:] if m.startswith("[VSCREEN]")]
            raise CheckFailed([f"{b.label}: the mouse pushed past the right edge did not cross to {a.label} "
                               f"(its virtual-screen lines: {seen[-6:] or 'none'})"])
        m = re.fullmatch(enter, log.lines[next(i for i in log.find(enter) if i >= before)][1])
        rx, ry, rw, rh = (int(v) for v in m.groups())
        if (rw, rh) != (sw, sh):
            f.add(b, f"the virtual screen maps to {rw}x{rh}, not A's desktop {sw}x{sh}")
        progress(f"PC B: the mouse crossed to A at {rx},{ry} (A's desktop {rw}x{rh})")
        # Into the middle of A's desktop, then a click.
        move_relative(b, sw // 2, -(sh // 4))
        time.sleep(0.3)
        xdo(b, "mousedown", "1", "sleep", "0.1", "mouseup", "1")
        lines = wait_probe(record, lambda ls: any(ln.startswith("button L up") for ln in ls))
        downs = [m for m in (re.match(r"button L down x=(-?\d+) y=(-?\d+)", ln) for ln in lines) if m]
        if not downs:
            f.add(a, f"saw no click from B's virtual cursor (record: {lines[-5:]})")
        else:
            cx, cy = int(downs[0].group(1)), int(downs[0].group(2))
            if abs(cx - rx) < sw // 4:
                f.add(a, f"B's click landed at {cx},{cy}, where A's cursor was when B's mouse crossed ({rx},{ry}): "
                         "the cursor did not follow B's moves")
            else:
                progress(f"PC A: the cursor followed B's mouse and B's click landed at {cx},{cy}")
        a.screenshot(h.out / "vscreen-a.png")
        before = len(b.log("app", complete=False).lines)
        move_relative(b, -(sw + 60), 0)
        leave = r"\[VSCREEN\]\[LEAVE\] reason=\S+ restore=(-?\d+),(-?\d+) .*"
        _, missing = wait_for(b, [leave], after=before, seconds=VSCREEN_WAIT_S)
        if missing:
            f.add(b, "the mouse moved back past A's left edge did not return to B")
        else:
            progress("PC B: the mouse came back from A")
    finally:
        proc = a.apps.pop("vscreen-probe", None)
        if proc is not None:
            h.procs.stop(proc)
        if record.is_file():
            shutil.copy2(record, h.out / "vscreen-probe.txt")
        # Later checks move B's mouse freely: its next start reads the setting off again.
        b.set_setting("VirtualScreenMode", 0)
    f.raise_if_any()


def check_tray_menu(h: Harness) -> None:
    """PC B's user right-clicks Tessaly's tray icon: the rounded tray menu opens at the cursor (out/tray-menu-b.png)
    and Escape closes it without a command."""
    b = h.pc("b")
    sw, sh = h.screen
    # The main window smaller, so the cursor at the tray is off RemoteView: there a controller's keys go to
    # the peer, Escape included.
    r = b.driver("place", *(str(v) for v in PASTE_MAIN_RECT), timeout=30)
    if r.rc != 0:
        raise CheckFailed([f"{b.label}: driver place failed ({r.rc}): {r.output.strip()}"])
    try:
        open_and_close_tray_menu(h, b, sw, sh)
    finally:
        enlarge_main_window(b)


def open_and_close_tray_menu(h: Harness, b: SimulatedPc, sw: int, sh: int) -> None:
    before = len(b.log("app", complete=False).lines)
    xdo(b, "mousemove", str(sw - 80), str(sh - 60))
    driven(b, "tray-menu")
    popup = r"\[TRAY\]\[MENU\]\[CUSTOM\] popup hwnd=\S+ parent=\S+ items=\d+ size=\d+x\d+ pos=-?\d+,-?\d+"
    _, missing = wait_for(b, [popup], after=before)
    if missing:
        raise CheckFailed([f"{b.label}: no line /{popup}/ after a right click on the tray icon"])
    time.sleep(0.5)  # drawn
    b.screenshot(h.out / "tray-menu-b.png")
    progress("PC B: the tray menu is open (tray-menu-b.png)")
    xdo(b, "key", "Escape")
    closed = r"\[TRAY\]\[MENU\] closed cmd=0 gle=\d+"
    _, missing = wait_for(b, [closed], after=before)
    if missing:
        raise CheckFailed([f"{b.label}: the tray menu did not close on Escape (no line /{closed}/)"])


def check_hostile_peer(h: Harness) -> None:
    """B controls a hostile stand-in of A (tests/e2e/hostilepeer.py on A's address and clipboard port) that
    announces a transfer with names that leave the target folder and asks for C:\\Windows: B refuses the
    whole transfer, writes nothing, and reports an error; a second announcement of harmless names lands in
    B's own Desktop folder, not in the folder the peer asked for."""
    a, b = h.pcs
    # The clipboard port is no stored setting: the stand-in takes A's address and port while A has no session;
    # A's clipboard host then cannot listen (and retries) for as long as the stand-in runs.
    if host_session_running(a):
        restart_with_settings(h, a, {"AutoConnectEnable": 0}, "before-hostile-peer")
    windows = b.prefix / "drive_c" / "windows"
    roots = [h.work, b.prefix / "drive_c"]
    windows_before = transferfiles.listing(windows)
    since = time.time() - 1
    output = a.output_file("hostile-peer")
    peer = h.procs.spawn(f"{a.label} hostile peer",
                         ["ip", "netns", "exec", a.netns, sys.executable, str(HOSTILE_PEER), a.address,
                          str(CLIPBOARD_PORT), "0"], output=output)
    f = Findings()
    try:
        def text() -> str:
            return output.read_text("utf-8", "replace")

        deadline = time.monotonic() + 10
        while "LISTENING" not in text() and peer.poll() is None and time.monotonic() < deadline:
            time.sleep(0.2)
        if "LISTENING" not in text():
            raise CheckFailed([f"{a.label}: the hostile peer did not listen on {a.address}:{CLIPBOARD_PORT}: "
                               f"{text().strip()[-300:]}"])
        deadline = time.monotonic() + HOSTILE_CONNECT_WAIT_S
        while "CONNECTED" not in text() and peer.poll() is None and time.monotonic() < deadline:
            time.sleep(0.2)
        if "CONNECTED" not in text():
            # B holds no session whose clipboard client would connect by itself.
            ensure_session(h)
        try:
            peer.wait(timeout=HOSTILE_WAIT_S)
        except subprocess.TimeoutExpired:
            f.add(a, f"the hostile peer did not finish within {HOSTILE_WAIT_S} s")
        results = [line[len("RESULT "):] for line in text().splitlines() if line.startswith("RESULT ")]
        if not results:
            raise CheckFailed(f.items + [f"{a.label}: the hostile peer printed no result: {text().strip()[-500:]}"])
        result = json.loads(results[-1])
        rounds = result["rounds"]
        if not result["connected"]:
            f.add(b, f"never connected its clipboard client to the hostile peer on {a.address}:{CLIPBOARD_PORT}")
        else:
            if len(rounds) < 1 or rounds[0]["c"] != 3:
                f.add(b, f"answered the hostile announcement with {rounds[:1]}, expected an error status (c=3)")
            elif rounds[0]["requests"] != ["manifest"]:
                f.add(b, f"fetched {rounds[0]['requests']} of the hostile offer; only its manifest may be read")
            if len(rounds) < 2 or rounds[1]["c"] != 2:
                f.add(b, f"answered the harmless announcement with {rounds[1:2]}, expected done (c=2)")
            for finding in transferfiles.arrival_findings(desktop_folder(b), result["harmless"]):
                f.add(b, finding)
        for path in transferfiles.escaped_writes(roots, since):
            f.add(b, f"{path} was written by the refused transfer")
        new_in_windows = transferfiles.listing(windows) - windows_before
        if new_in_windows:
            f.add(b, f"new in C:\\Windows after the transfers: {sorted(new_in_windows)}")
    finally:
        h.procs.stop(peer)
        shutil.copy2(output, h.out / "hostile-peer.txt")
    f.raise_if_any()


def check_lifecycle_modules(h: Harness) -> None:
    """Each PC started its ten lifecycle modules in start order and stopped them in stop order at exit."""
    f = Findings()
    for pc in h.pcs:
        f.extend(sequence_findings(pc.log("app", complete=True), lifecycle_sequence(), pc.label))
    f.raise_if_any()


# ----------------------------------------------------------------------------------------------------
# Wardlet, the service

SERVICE_WAIT_S = 40        # from a step to the service's (or its Tessaly's) reaction in the logs
SERVICE_QUIET_S = 12       # how long a host that must not come back is watched for
EXIT_REQUEST_EVENT = r"Global\MarloUserHostExitRequested"


def wait_text(path: Path, pattern: str, timeout: float, after: int = 0) -> re.Match | None:
    """The first match of pattern in the file's text from offset after, waiting up to timeout."""
    deadline = time.monotonic() + timeout
    while True:
        text = path.read_bytes().decode("utf-8", "replace") if path.is_file() else ""
        m = re.compile(pattern).search(text, after)
        if m or time.monotonic() >= deadline:
            return m
        time.sleep(0.3)


def text_size(path: Path) -> int:
    return len(path.read_bytes().decode("utf-8", "replace")) if path.is_file() else 0


def check_wardlet_service(h: Harness) -> None:
    """Wardlet installed as a service in PC A's prefix starts Tessaly as its user host; a normal start by
    hand meets that host and leaves; after the user's exit request the host is not restarted, the choice is
    kept in the exit-policy marker, and a Tessaly the user starts again is adopted as the host."""
    pc = h.pc("a")
    f = Findings()
    # Wine ends a prefix's services with its last ordinary program; on a PC something always runs. The pattern
    # window also brings up the desktop (Explorer) before the service looks for it.
    show_pattern(h, "a")
    folder = pc.app_dir("service")
    folder.mkdir(parents=True, exist_ok=True)
    shutil.copy2(h.exe, folder / "Tessaly.exe")
    shutil.copy2(h.wardlet, folder / "Wardlet.exe")
    service_log = folder / "secure_probe.log"
    # %ProgramData% is C:\ProgramData on Windows and C:\users\Public in Wine 8's prefixes.
    markers = [pc.prefix / "drive_c" / where / "Marlo" / "user_host_exit_policy.bin"
               for where in ("ProgramData", "users/Public")]
    for marker in markers:
        marker.unlink(missing_ok=True)
    wardlet = str(folder / "Wardlet.exe")
    started_user = r"\[SESSIONHOST\]\[STARTED\] mode=user pid=(\d+)"
    try:
        r = pc.wine("wardlet-install", [wardlet, "install"], timeout=60)
        if r.rc != 0 or "Installed/started MarloWardlet" not in r.output:
            f.add(pc, f"Wardlet install exited {r.rc}: {r.output.strip()[-300:]}")
            f.raise_if_any()
        if not wait_text(service_log, r"service started probeVersion=", SERVICE_WAIT_S):
            f.add(pc, "the service did not log its start")
            f.raise_if_any()
        host = wait_text(service_log, started_user, SERVICE_WAIT_S)
        if not host:
            f.add(pc, "the service did not start Tessaly as its user host")
            f.raise_if_any()
        if not wait_text(folder / "Tessaly.log", lit("[SESSIONHOST][APP] user host launched by service on Default desktop"),
                         SERVICE_WAIT_S):
            f.add(pc, "the service's Tessaly did not start as the user host")
        if pc.driver("wait-window", "20000", timeout=40).rc != 0:
            f.add(pc, "the user host shows no main window")
        f.raise_if_any()

        # The user starts Tessaly by hand: it meets the service's host and leaves.
        second = pc.start_app("service-manual")
        try:
            rc = second.wait(timeout=SECOND_INSTANCE_EXIT_S)
            if rc != 0:
                f.add(pc, f"the hand start next to the service's host exited with code {rc}")
        except subprocess.TimeoutExpired:
            f.add(pc, "the hand start next to the service's host is still running")
            h.procs.stop(second)
        if not pc.log("service-manual", complete=True).has(BLOCKED_START):
            f.add(pc, "the hand start did not hand over to the running host")
        if pc.driver("wait-window", "2000", timeout=30).rc != 0:
            f.add(pc, "the service's host is gone after the hand start")
        f.raise_if_any()

        # The user exits: the tray's exit request, then the host closes.
        mark = text_size(service_log)
        if pc.driver("signal-event", EXIT_REQUEST_EVENT).rc != 0:
            f.add(pc, "could not signal the service's exit-request event")
            f.raise_if_any()
        if not wait_text(service_log, r"\[SESSIONHOST\]\[USER_EXIT_(PENDING|REQUEST)\]", SERVICE_WAIT_S, mark):
            f.add(pc, "the service did not take the exit request")
        if pc.driver("quit", timeout=30).rc != 0:
            f.add(pc, "could not ask the user host to quit")
        if not wait_text(service_log, r"\[SESSIONHOST\]\[EXIT_SUPPRESSED\] mode=user", SERVICE_WAIT_S, mark):
            f.add(pc, "the service did not log the user host's suppressed exit")
        if not wait_text(service_log, r"persisted=1", SERVICE_WAIT_S, mark):
            f.add(pc, "the exit choice was not persisted")
        if not any(m.is_file() and m.stat().st_size == 24 and m.read_bytes()[:4] == b"MREX" for m in markers):
            f.add(pc, f"no 24-byte exit-policy marker at {' or '.join(map(str, markers))}")
        if wait_text(service_log, started_user, SERVICE_QUIET_S, mark):
            f.add(pc, "the service started a user host again after the user's exit")
        f.raise_if_any()

        # The user opens Tessaly again by hand: the service adopts it once it is 3 s old.
        mark = text_size(service_log)
        reopened = pc.start_app("service-reopen")
        adopted = wait_text(service_log, r"\[SESSIONHOST\]\[USER_REOPEN\] adopted customer-started UI", SERVICE_WAIT_S,
                            mark)
        if not adopted:
            f.add(pc, "the service did not adopt the Tessaly started by hand")
        elif wait_text(service_log, started_user, 0, mark):
            f.add(pc, "the service started its own user host instead of adopting")
        if reopened.poll() is not None:
            f.add(pc, f"the reopened Tessaly ended (code {reopened.returncode})")
        pc.driver("quit", timeout=30)
        try:
            reopened.wait(timeout=QUIT_EXIT_S)
        except subprocess.TimeoutExpired:
            h.procs.stop(reopened)
    finally:
        r = pc.wine("wardlet-uninstall", [wardlet, "uninstall"], timeout=60)
        if r.rc != 0:
            f.add(pc, f"Wardlet uninstall exited {r.rc}: {r.output.strip()[-300:]}")
        # The prefix is kept for the next run, whose service must not find this run's exit.
        for marker in markers:
            marker.unlink(missing_ok=True)
        if service_log.is_file():
            h.out.mkdir(parents=True, exist_ok=True)
            shutil.copyfile(service_log, h.out / "a-secure_probe.log")
    f.raise_if_any()


CHECKS = [
    Check("setup", check_setup),
    Check("standin-encoder", check_standin_encoder, needs=("setup",)),
    Check("start", check_start, needs=("setup",)),
    Check("startup-log", check_startup_log, needs=("start",)),
    Check("discovery", check_discovery, needs=("start",)),
    Check("control-request", check_control_request, needs=("discovery",)),
    Check("control-stop", check_control_stop, needs=("control-request",)),
    Check("video-ultra", check_video_ultra, needs=("control-stop",)),
    Check("video-pause", check_video_pause, needs=("video-ultra",)),
    Check("input", check_input, needs=("video-pause",)),
    Check("visibility", check_visibility, needs=("video-ultra",)),
    Check("clipboard-text", check_clipboard_text, needs=("video-ultra",)),
    Check("clipboard-image", check_clipboard_image, needs=("video-ultra",)),
    Check("clipboard-files", check_clipboard_files, needs=("video-ultra",)),
    Check("virtual-screen", check_virtual_screen, needs=("input",)),
    Check("tray-menu", check_tray_menu, needs=("start",)),
    Check("video-h264", check_video_h264, needs=("control-stop", "standin-encoder")),
    Check("garbage", check_garbage, needs=("start",)),
    Check("single-instance", check_single_instance, needs=("start",)),
    Check("screenshot", check_screenshot, needs=("start",)),
    Check("keep-running", keep_running, needs=("start",), reported=False),
    Check("peer-loss", check_peer_loss, needs=("video-ultra",)),
    Check("hostile-peer", check_hostile_peer, needs=("discovery",)),
    Check("auto-connect", check_auto_connect, needs=("discovery",)),
    Check("cable-removal", check_cable_removal, needs=("auto-connect",)),
    Check("shutdown", check_shutdown, needs=("start",)),
    Check("lifecycle-modules", check_lifecycle_modules, needs=("shutdown",)),
    Check("wardlet-service", check_wardlet_service, needs=("shutdown",)),
]


# ----------------------------------------------------------------------------------------------------
# Reporting and main


def print_result(r: Result) -> None:
    print(f"{'PASS' if r.passed else 'FAIL'}  {r.name}  ({r.seconds:.1f} s)", flush=True)
    for line in r.findings:
        print(f"      {line}", flush=True)


def write_junit(path: Path, results: list[Result], seconds: float) -> None:
    failures = sum(not r.passed for r in results)
    suite = ET.Element("testsuite", name="e2e.twopc", tests=str(len(results)), failures=str(failures),
                       errors="0", time=f"{seconds:.3f}")
    for r in results:
        case = ET.SubElement(suite, "testcase", classname="e2e.twopc", name=r.name, time=f"{r.seconds:.3f}")
        if not r.passed:
            failure = ET.SubElement(case, "failure", message=r.findings[0] if r.findings else "failed")
            failure.text = "\n".join(r.findings)
    root = ET.Element("testsuites")
    root.append(suite)
    path.parent.mkdir(parents=True, exist_ok=True)
    ET.ElementTree(root).write(path, encoding="utf-8", xml_declaration=True)


def screen_size(text: str) -> tuple[int, int]:
    m = re.fullmatch(r"(\d{3,4})x(\d{3,4})", text)
    if not m:
        raise argparse.ArgumentTypeError(f"{text!r} is not WIDTHxHEIGHT")
    return int(m.group(1)), int(m.group(2))


def parse_args(argv: list[str] | None) -> argparse.Namespace:
    p = argparse.ArgumentParser(description="Two simulated PCs running Tessaly.exe under Wine (run as root).")
    p.add_argument("--exe", default=str(REPO / "build/win/Tessaly.exe"), help="Tessaly.exe to test")
    p.add_argument("--driver", default=str(REPO / "build/win/tests/TessalyDriver.exe"), help="TessalyDriver.exe")
    p.add_argument("--out", default="out", help="folder for screenshots and copies of the logs (default: out)")
    p.add_argument("--junit", help="write JUnit XML results here")
    p.add_argument("--keep-running-seconds", type=int, default=0,
                   help="leave both PCs running this long before shutting them down (default 0)")
    p.add_argument("--cache", default=str(REPO / ".deps/wine-e2e"),
                   help="folder of the reusable Wine prefixes, one per PC (default .deps/wine-e2e)")
    p.add_argument("--expect-version", default=EXPECTED_VERSION, help="version the build line must show")
    p.add_argument("--display-base", type=int, default=91, help="first X display number to try (default 91)")
    p.add_argument("--screen", type=screen_size, default=SCREEN,
                   help=f"size of both displays, WIDTHxHEIGHT (default {SCREEN[0]}x{SCREEN[1]})")
    p.add_argument("--time-limit", type=int, default=420,
                   help="seconds after which the run stops, not counting --keep-running-seconds (default 420)")
    p.add_argument("--work-root", default=None, help="where the run folder is made (default: the temp folder)")
    p.add_argument("--only", help="run only these checks (comma-separated) and the checks they need")
    p.add_argument("--keep-work", action="store_true", help="keep the run folder (prefix copies, outputs)")
    args = p.parse_args(argv)
    if not 0 <= args.keep_running_seconds <= 600:
        p.error("--keep-running-seconds must be between 0 and 600")
    return args


def preflight(args: argparse.Namespace) -> list[str]:
    problems = []
    if os.geteuid() != 0:
        problems.append("must run as root (network namespaces)")
    for what, path in (("--exe", args.exe), ("--driver", args.driver),
                       ("Wardlet.exe beside --exe", Path(args.exe).with_name("Wardlet.exe"))):
        if not Path(path).is_file():
            problems.append(f"{what} {path} not found (build first)")
    search = f"{WINE_BIN_DIR}:{os.environ.get('PATH', '')}"
    for tool in ("ip", "unshare", "hostname", "Xvfb", "import", "identify", "xwininfo", "xdotool", "xset", "wine64",
                 "wineserver"):
        if shutil.which(tool, path=search) is None:
            problems.append(f"{tool} not found (scripts/setup.sh installs it)")
    return problems


def run_harness(args: argparse.Namespace, checks: list[Check]) -> list[Result]:
    """Runs the checks against two fresh PCs within the time limit and ends everything the run started;
    one result per reported check, also for those an abort left out."""
    os.environ["PATH"] = f"{WINE_BIN_DIR}:{os.environ.get('PATH', '')}"

    def stop(signum, _frame):
        raise Abort(f"stopped by {signal.Signals(signum).name}")

    def out_of_time(_signum, _frame):
        raise Abort(f"time limit of {args.time_limit + args.keep_running_seconds} s reached")

    for sig in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP):
        signal.signal(sig, stop)
    signal.signal(signal.SIGALRM, out_of_time)

    results: list[Result] = []
    harness: Harness | None = None
    try:
        signal.alarm(args.time_limit + args.keep_running_seconds)
        harness = Harness(args)
        progress(f"run folder {harness.work}")
        results = harness.run_checks(checks)
    except Abort as e:
        print(f"twopc: {e}", file=sys.stderr)
    finally:
        signal.alarm(0)
        for sig in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP):
            signal.signal(sig, signal.SIG_IGN)
        if harness is not None:
            harness.cleanup()
    reported = {r.name for r in results}
    for check in checks:
        if check.reported and check.name not in reported:
            results.append(Result(check.name, False, 0.0, ["not run: run aborted"]))
    return results


def selected_checks(checks: list[Check], only: str | None) -> list[Check]:
    """The checks named (comma-separated) and those they need, in run order; all of them without a name."""
    if not only:
        return checks
    by_name = {c.name: c for c in checks}
    wanted: set[str] = set()
    pending = [name.strip() for name in only.split(",") if name.strip()]
    while pending:
        name = pending.pop()
        if name not in by_name:
            raise SystemExit(f"twopc: no check named {name}")
        if name not in wanted:
            wanted.add(name)
            pending.extend(by_name[name].needs)
    return [c for c in checks if c.name in wanted]


def main(argv: list[str] | None = None) -> int:
    args = parse_args(argv)
    problems = preflight(args)
    if problems:
        for problem in problems:
            print(f"twopc: {problem}", file=sys.stderr)
        return 2
    out = Path(args.out)
    for stale in ("a.png", "b.png", "b-later.png", "a-windows.png", "b-windows.png", "a-Tessaly.log", "b-Tessaly.log",
                  "a-second-Tessaly.log", ARRIVED_NOTE, "hostile-peer.txt", "a-secure_probe.log"):
        (out / stale).unlink(missing_ok=True)
    for stale in [*out.glob("video-*.png"), *out.glob("auto-connect-*.png"), *out.glob("?-Tessaly-*.log")]:
        stale.unlink()

    started = time.monotonic()
    results = run_harness(args, selected_checks(CHECKS, args.only))
    seconds = time.monotonic() - started
    if args.junit:
        write_junit(Path(args.junit), results, seconds)
    passed = sum(r.passed for r in results)
    print(f"run took {seconds:.1f} s; screenshots and log copies in {out.resolve()}")
    print(f"{passed} passed, {len(results) - passed} failed")
    return 0 if passed == len(results) else 1


if __name__ == "__main__":
    sys.exit(main())
