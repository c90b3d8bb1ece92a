"""The log rules of the two-PC harness, on small logs that show each fault.
Run: python3 -m unittest discover -s tests/e2e -p 'test_*.py'
"""
import sys
import tempfile
import unittest
import xml.etree.ElementTree as ET
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import twopc  # noqa: E402

TS = b"2026-08-27 10:11:12.345 tid=42 "


def log_of(*lines: bytes, tail: bytes = b"", complete: bool = True) -> twopc.TessalyLog:
    data = b"".join(TS + line + b"\r\n" for line in lines) + tail
    return twopc.TessalyLog(Path("Tessaly.log"), data, complete)


STARTUP = [
    b"[LOG][PROFILE] runtime-slim all=0",
    b"CrashHandler installed mainLogOnly=1",
    b"[BUILD] component=Tessaly version=20260827.3 flavor=X compiled=Aug 27 2026 10:00:00 arch=x64 pid=32 "
    b"session=1 mode=user exeCommand=\"Z:\\run\\a\\app\\Tessaly.exe\"",
    b"Administrator elevation: OK",
    b"SingleInstance: acquired mutex mode=user",
    b"App start",
    b"[HW][START]",
    b"[DRAG][SERVICE][INIT] lazy-start monitor on connection",
    b"[DIAG] DiagnosticService start tid=268",
]
SHUTDOWN = [
    b"[DIAG] DiagnosticService stopped",
    b"[HW][STOP]",
    b"[STATE] StateManager shutdown",
    b"SingleInstance: released mutex",
    b"App exit",
    b"CrashHandler uninstalled",
]


class LineFormat(unittest.TestCase):
    def test_well_formed_log_has_no_findings(self):
        self.assertEqual(log_of(*STARTUP, *SHUTDOWN).format_findings("PC A"), [])

    def test_faulty_lines_are_found_by_number(self):
        cases = [
            ("LF without CR", TS + b"App start\n"),
            ("no tid", b"2026-08-27 10:11:12.345 App start\r\n"),
            ("tid not a number", b"2026-08-27 10:11:12.345 tid=x App start\r\n"),
            ("no milliseconds", b"2026-08-27 10:11:12 tid=1 App start\r\n"),
            ("blank message", TS + b"   \r\n"),
            ("empty message", TS[:-1] + b"\r\n"),
            ("no space before tid", b"2026-08-27 10:11:12.345tid=1 App start\r\n"),
            ("empty line", b"\r\n"),
        ]
        for name, bad in cases:
            with self.subTest(name):
                log = twopc.TessalyLog(Path("Tessaly.log"), TS + b"App start\r\n" + bad + TS + b"App exit\r\n", True)
                findings = log.format_findings("PC A")
                self.assertEqual(len(findings), 1, findings)
                self.assertIn("line 2 ", findings[0])
                # The good lines around the bad one still count.
                self.assertEqual([m for _, m in log.lines], ["App start", "App exit"])

    def test_unterminated_last_line_is_a_fault_only_in_a_finished_log(self):
        self.assertEqual(len(log_of(b"App start", tail=TS + b"App ex", complete=True).format_findings("PC A")), 1)
        self.assertEqual(log_of(b"App start", tail=TS + b"App ex", complete=False).format_findings("PC A"), [])

    def test_empty_or_missing_log_is_a_fault(self):
        self.assertEqual(len(twopc.TessalyLog(Path("Tessaly.log"), b"", True).format_findings("PC A")), 1)
        with tempfile.TemporaryDirectory() as d:
            missing = twopc.TessalyLog.read(Path(d) / "Tessaly.log", complete=True)
            self.assertEqual(len(missing.format_findings("PC A")), 1)

    def test_message_is_what_follows_the_tid(self):
        log = log_of(b"[DIAG] DiagnosticService start tid=268")
        self.assertEqual(log.lines, [(1, "[DIAG] DiagnosticService start tid=268")])


class Sequences(unittest.TestCase):
    startup = twopc.startup_sequence("20260827.3")

    def test_complete_run_passes_both_sequences(self):
        log = log_of(*STARTUP, *SHUTDOWN)
        self.assertEqual(twopc.sequence_findings(log, self.startup, "PC A"), [])
        self.assertEqual(twopc.sequence_findings(log, twopc.SHUTDOWN_SEQUENCE, "PC A"), [])

    def test_startup_faults(self):
        build = STARTUP[2]
        cases = [
            ("line missing", [l for l in STARTUP if l != b"[HW][START]"], "no '[HW][START]'"),
            ("line twice", STARTUP + [b"App start"], "'App start' logged 2 times"),
            ("out of order", STARTUP[:3] + [STARTUP[4], STARTUP[3]] + STARTUP[5:],
             "'SingleInstance: acquired mutex mode=user' (line 4) comes before 'Administrator elevation: OK'"),
            ("other version", [build.replace(b"20260827.3", b"20260827.2")] + STARTUP[3:], "no '[BUILD]"),
            ("other mode", [build.replace(b"mode=user ", b"mode=userhost ")] + STARTUP[3:], "no '[BUILD]"),
            ("diag tid not a number", STARTUP[:-1] + [b"[DIAG] DiagnosticService start tid="],
             "no '[DIAG] DiagnosticService start'"),
            ("blocked start is no start", [l for l in STARTUP if l != b"App start"]
             + [b"App start blocked: existing instance restored"], "no 'App start'"),
        ]
        for name, lines, expected in cases:
            with self.subTest(name):
                findings = twopc.sequence_findings(log_of(*lines), self.startup, "PC A")
                self.assertEqual(len(findings), 1, findings)
                self.assertIn(expected, findings[0])

    def test_shutdown_out_of_order(self):
        swapped = [SHUTDOWN[1], SHUTDOWN[0]] + SHUTDOWN[2:]
        findings = twopc.sequence_findings(log_of(*STARTUP, *swapped), twopc.SHUTDOWN_SEQUENCE, "PC B")
        self.assertEqual(findings, ["PC B: '[HW][STOP]' (line 10) comes before '[DIAG] DiagnosticService stopped' "
                                    "(line 11)"])

    def test_each_missing_shutdown_line_is_named(self):
        for i, missing in enumerate(SHUTDOWN):
            with self.subTest(missing.decode()):
                log = log_of(*STARTUP, *(SHUTDOWN[:i] + SHUTDOWN[i + 1:]))
                findings = twopc.sequence_findings(log, twopc.SHUTDOWN_SEQUENCE, "PC A")
                self.assertEqual(len(findings), 1, findings)
                self.assertIn(f"no '{missing.decode()}'", findings[0])


class ClientStats(unittest.TestCase):
    LINE = (b"client stat codec=ULTRA recv=29 decode=29 render=27 recv_kbps=5120 decode_avg_ms=7.250 "
            b"decode_max_ms=12.000 stream=1920x1080 total_recv=%d total_decode=%d total_render=%d")

    def test_totals_are_read_from_the_lines_after_the_index(self):
        log = log_of(self.LINE % (10, 10, 9), b"App start", self.LINE % (40, 39, 36))
        self.assertEqual([(s.total_recv, s.total_decode, s.total_render) for s in twopc.client_stats(log)],
                         [(10, 10, 9), (40, 39, 36)])
        later = twopc.client_stats(log, after=1)
        self.assertEqual(len(later), 1)
        self.assertEqual((later[0].codec, later[0].recv, later[0].render, later[0].total_render),
                         ("ULTRA", 29, 27, 36))

    def test_other_lines_are_not_stats(self):
        log = log_of(b"client stat codec=H264 recv=1", b"host stat codec=ULTRA capture=30 encode=30 send=30",
                     (self.LINE % (1, 1, 1)).replace(b"total_render=1", b"total_render=x"))
        self.assertEqual(twopc.client_stats(log), [])


class OffscreenWindows(unittest.TestCase):
    # xwininfo -root -tree of a controller display under Wine 8: the RemoteView's Direct3D output is the
    # 1912x1053 window under the 1x1 one at -1,-1; the main window of the same size is on screen.
    TREE = """
  Root window id: 0x50d (the root window) (has no name)
     17 children:
     0xe00003 "DXGI device window": ("tessaly.exe" "tessaly.exe")  116x27+0+0  +0+0
        1 child:
        0x8000c9 (has no name): ()  110x2+3+22  +3+22
     0x8000bf (has no name): ()  1x1+-1+-1  +-1+-1
        1 child:
        0x8000e4 (has no name): ()  1912x1053+0+0  +-1+-1
     0xc00001 (has no name): ("tessaly.exe" "tessaly.exe")  1x1+0+0  +0+0
     0xa00001 "Marlo  20260827.3": ("tessaly.exe" "tessaly.exe")  1912x1053+0+0  +0+0
"""

    def test_only_the_offscreen_window_of_that_size(self):
        self.assertEqual(twopc.offscreen_windows(self.TREE, 1912, 1053), ["0x8000e4"])
        self.assertEqual(twopc.offscreen_windows(self.TREE, 110, 2), [])
        self.assertEqual(twopc.offscreen_windows(self.TREE, 1600, 1000), [])


class Junit(unittest.TestCase):
    def test_one_case_per_check_with_failures(self):
        results = [twopc.Result("start", True, 1.5), twopc.Result("shutdown", False, 20.0, ["PC A: exit 3", "PC B: x"])]
        with tempfile.TemporaryDirectory() as d:
            path = Path(d) / "r.xml"
            twopc.write_junit(path, results, 21.5)
            suite = ET.parse(path).getroot().find("testsuite")
        self.assertEqual((suite.get("tests"), suite.get("failures")), ("2", "1"))
        cases = {c.get("name"): c for c in suite.findall("testcase")}
        self.assertIsNone(cases["start"].find("failure"))
        failure = cases["shutdown"].find("failure")
        self.assertEqual(failure.get("message"), "PC A: exit 3")
        self.assertEqual(failure.text, "PC A: exit 3\nPC B: x")


if __name__ == "__main__":
    unittest.main()
