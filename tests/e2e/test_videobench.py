"""The arithmetic of the video benchmark, on small inputs that show each fault.
Run: python3 -m unittest discover -s tests/e2e -p 'test_*.py' (needs python3-pil).
"""
import sys
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import twopc  # noqa: E402
import videobench as vb  # noqa: E402
import videocompare as vc  # noqa: E402


def stat(recv: int, render: int) -> twopc.ClientStat:
    return twopc.ClientStat("ULTRA", 30, 30, 30, recv, recv, render)


class Arithmetic(unittest.TestCase):
    def test_percentiles_by_nearest_rank(self):
        values = list(range(100, 0, -1))  # 1..100, unordered
        cases = [(0.5, 50), (0.99, 99), (1.0, 100), (0.01, 1), (0.0, 1)]
        for fraction, expected in cases:
            with self.subTest(fraction=fraction):
                self.assertEqual(vb.percentile(values, fraction), expected)
        self.assertEqual(vb.percentile([7], 0.99), 7)

    def test_probe_output_with_wine_line_ends(self):
        output = "LATENCY 41\r\nLATENCY -3\r\nnoise LATENCY 5\r\nPROBE grabs=3 read=3 values=2\r\n"
        self.assertEqual(vb.probe_latencies(output), [41, -3])

    def test_drawn_ratio_counts_between_first_and_last_line(self):
        ratio, received, drawn = vb.drawn_ratio([stat(100, 90), stat(400, 360), stat(1900, 1740)])
        self.assertEqual((received, drawn), (1800, 1650))
        self.assertAlmostEqual(ratio, 1650 / 1800)
        self.assertEqual(vb.drawn_ratio([stat(5, 5), stat(5, 5)])[0], 0.0)

    def test_frames_trimmed_from_a_backlog_count_as_arrived_not_drawn(self):
        log = ["[VIDEO][LOW_LATENCY] dropped stale tile frames=7 bytes=90000 complete_frames=8 remain=12000",
               "[VIDEO][LOW_LATENCY] dropped stale compressed backlog bytes=1 complete_frames=4 resume_at_idr=1 "
               "remain=2", "[VIDEO][LOW_LATENCY] dropped stale tile frames=3 bytes=1 complete_frames=4 remain=1"]
        trimmed = vb.trimmed_frames(log)
        self.assertEqual(trimmed, 10)
        ratio, received, drawn = vb.drawn_ratio([stat(100, 100), stat(190, 190)], trimmed)
        self.assertEqual((received, drawn), (100, 90))
        self.assertAlmostEqual(ratio, 0.9)

    def test_backlog_growth(self):
        steady = [40, 50, 60, 50] * 25
        growing = list(range(40, 440, 4))
        self.assertEqual(vb.backlog_growth(steady), 0)
        self.assertGreater(vb.backlog_growth(growing), vb.BACKLOG_GROWTH_LIMIT_MS)

    def test_clock_band_mapped_into_the_view(self):
        view = vc.Rect(8, 31, 1904, 1041)
        self.assertEqual(vb.scaled(vc.Rect(0, 880, 1920, 200), view, (1920, 1080)), vc.Rect(8, 879, 1904, 193))


if __name__ == "__main__":
    unittest.main()
