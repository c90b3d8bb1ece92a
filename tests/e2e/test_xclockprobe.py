"""The X-side reader of the clock code.
Run: python3 -m unittest discover -s tests/e2e -p 'test_*.py'.
"""
import sys
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import xclockprobe as xp  # noqa: E402


def cells_of(value: int, white: float = 235.0, black: float = 20.0) -> list[list[float]]:
    """The cells MovingPattern --clock draws for the value (ClockCode's CellWhite)."""
    out = []
    for row in range(xp.ROWS):
        line = []
        for column in range(xp.COLUMNS):
            if column < xp.FIRST_BIT_COLUMN:
                on = column == 0
            elif column >= xp.FIRST_BIT_COLUMN + xp.BITS:
                on = column == xp.FIRST_BIT_COLUMN + xp.BITS
            else:
                on = bool((value >> (xp.BITS - 1 - (column - xp.FIRST_BIT_COLUMN))) & 1)
            line.append(white if on == (row == 0) else black)
        out.append(line)
    return out


class Decode(unittest.TestCase):
    def test_values_read_back(self):
        for value in (0, 1, 0x80000000, 0xFFFFFFFF, 0x1234ABCD):
            with self.subTest(value=value):
                self.assertEqual(xp.decode(cells_of(value)), value)

    def test_dim_picture_still_reads(self):
        self.assertEqual(xp.decode(cells_of(0x0F0F00FF, white=150, black=60)), 0x0F0F00FF)

    def test_no_code_or_a_torn_one_reads_nothing(self):
        self.assertIsNone(xp.decode([[128.0] * xp.COLUMNS for _ in range(xp.ROWS)]), "no contrast")
        torn = cells_of(0x12345678)
        torn[1][xp.FIRST_BIT_COLUMN + 5] = torn[0][xp.FIRST_BIT_COLUMN + 5]  # rows disagree on one bit
        self.assertIsNone(xp.decode(torn))


if __name__ == "__main__":
    unittest.main()
