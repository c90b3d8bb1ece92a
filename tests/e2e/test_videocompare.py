"""The picture comparison of the video checks, on screens drawn here with MovingPattern's layout.
Run: python3 -m unittest discover -s tests/e2e -p 'test_*.py' (needs python3-pil).
"""
import sys
import unittest
from pathlib import Path

from PIL import Image, ImageDraw

sys.path.insert(0, str(Path(__file__).resolve().parent))
import videocompare as vc  # noqa: E402

SCREEN = (1600, 1000)
WINDOW = vc.Rect(100, 60, 1200, 800)
VIDEO = (1152, 720)


def block_colour(index: int) -> tuple[int, int, int]:
    # MovingPattern's BlockColour.
    return 40 + (index * 97) % 200, 40 + (index * 53 + 80) % 200, 40 + (index * 31 + 160) % 200


def screen_with_pattern(marker_left: int) -> Image.Image:
    image = Image.new("RGB", SCREEN, (0, 0, 0))
    draw = ImageDraw.Draw(image)
    w, grid = WINDOW.width, WINDOW.track_top
    for row in range(vc.ROWS):
        for column in range(vc.COLUMNS):
            box = (WINDOW.x + column * w // 6, WINDOW.y + row * grid // 4,
                   WINDOW.x + (column + 1) * w // 6 - 1, WINDOW.y + (row + 1) * grid // 4 - 1)
            draw.rectangle(box, fill=block_colour(row * 6 + column))
    draw.rectangle((WINDOW.x, WINDOW.y + grid, WINDOW.x + w - 1, WINDOW.y + WINDOW.height - 1), fill=(48, 48, 48))
    side = WINDOW.height - grid
    draw.rectangle((WINDOW.x + marker_left, WINDOW.y + grid, WINDOW.x + marker_left + side - 1,
                    WINDOW.y + WINDOW.height - 1), fill=(255, 255, 255))
    return image


class Blocks(unittest.TestCase):
    def test_scaled_frame_of_the_screen_matches(self):
        screen = screen_with_pattern(0)
        frame = screen.resize(VIDEO, Image.NEAREST)
        self.assertEqual(vc.compare_blocks(screen, frame, SCREEN, WINDOW, tolerance=4), [])

    def test_swapped_quadrants_are_found(self):
        screen = screen_with_pattern(0)
        frame = screen.resize(VIDEO)
        w, h = VIDEO
        top_right = frame.crop((w // 2, 0, w, h // 2))
        bottom_left = frame.crop((0, h // 2, w // 2, h))
        frame.paste(bottom_left, (w // 2, 0))
        frame.paste(top_right, (0, h // 2))
        findings = vc.compare_blocks(screen, frame, SCREEN, WINDOW, tolerance=12)
        self.assertGreaterEqual(len(findings), 6, findings)

    def test_frame_of_another_size_than_the_header_says_is_found(self):
        screen = screen_with_pattern(0)
        frame = screen.resize(VIDEO)
        self.assertNotEqual(vc.compare_blocks(screen, frame, (1920, 1080), WINDOW, tolerance=12), [])

    def test_screen_without_the_window_is_a_finding(self):
        black = Image.new("RGB", SCREEN)
        findings = vc.compare_blocks(black, black.resize(VIDEO), SCREEN, WINDOW, tolerance=12)
        self.assertIn("does not show the test pattern", findings[0])


def controller_screen(controlled: Image.Image, view: vc.Rect, size=(1920, 1080)) -> Image.Image:
    """A controller's display: grey desktop, the controlled screen scaled into the view."""
    image = Image.new("RGB", size, (90, 90, 90))
    image.paste(controlled.resize((view.width, view.height)), (view.x, view.y))
    return image


class RemoteView(unittest.TestCase):
    VIEW = vc.Rect(8, 31, 1880, 1000)

    def test_view_showing_the_scaled_screen_matches(self):
        screen = screen_with_pattern(200)
        self.assertEqual(vc.view_findings(screen, controller_screen(screen, self.VIEW), self.VIEW, WINDOW, 6), [])

    def test_faults_of_the_view(self):
        screen = screen_with_pattern(200)
        good = controller_screen(screen, self.VIEW)
        black = good.copy()
        black.paste((0, 0, 0), (self.VIEW.x, self.VIEW.y, self.VIEW.x + self.VIEW.width,
                                self.VIEW.y + self.VIEW.height))
        # The picture drawn at its own size in the view's corner instead of scaled to the view.
        unscaled = Image.new("RGB", good.size, (90, 90, 90))
        unscaled.paste(screen, (self.VIEW.x, self.VIEW.y))
        # Red and blue swapped, as a BGRA picture drawn as RGBA.
        r, g, b = good.split()
        swapped = Image.merge("RGB", (b, g, r))
        cases = [
            ("black view", black, self.VIEW, "is black"),
            ("not scaled", unscaled, self.VIEW, "block"),
            ("channels swapped", swapped, self.VIEW, "block"),
            ("view rectangle off by half its width", good, vc.Rect(self.VIEW.x + 940, self.VIEW.y, 940, 1000),
             "block"),
            ("view outside the screenshot", good, vc.Rect(1000, 31, 1880, 1000), "does not lie within"),
        ]
        for name, shot, view, expected in cases:
            with self.subTest(name):
                findings = vc.view_findings(screen, shot, view, WINDOW, 6)
                self.assertTrue(findings, name)
                self.assertTrue(any(expected in f for f in findings), findings)

    def test_marker_is_found_in_the_view(self):
        screen = screen_with_pattern(333)
        picture = vc.view_picture(controller_screen(screen, self.VIEW), self.VIEW)
        self.assertAlmostEqual(vc.marker_x(picture, SCREEN, WINDOW), WINDOW.x + 333 + 80, delta=4)


class SqueezedRange(unittest.TestCase):
    def test_grey_levels_land_on_the_limited_range(self):
        for level, shown in ((0, 16), (255, 235), (128, 126)):  # grey has no chroma: no matrix difference
            with self.subTest(level=level):
                for channel in vc.bt601_limited_read_as_bt709_full((level, level, level)):
                    self.assertAlmostEqual(channel, shown, delta=1)

    def test_a_squeezed_frame_matches_only_when_the_squeeze_is_expected(self):
        screen = screen_with_pattern(200)
        squeezed = screen.point(lambda c: c)  # a copy, then every pixel squeezed
        squeezed.putdata([tuple(round(c) for c in vc.bt601_limited_read_as_bt709_full(p)) for p in screen.getdata()])
        frame = squeezed.resize(VIDEO)
        self.assertTrue(vc.compare_blocks(screen, frame, SCREEN, WINDOW, 12))
        self.assertEqual(vc.compare_blocks(screen, frame, SCREEN, WINDOW, 12, vc.bt601_limited_read_as_bt709_full), [])


class Marker(unittest.TestCase):
    def test_marker_is_found_where_it_was_drawn(self):
        for left in (0, 333, 1040):
            with self.subTest(left=left):
                frame = screen_with_pattern(left).resize(VIDEO)
                x = vc.marker_x(frame, SCREEN, WINDOW)
                self.assertIsNotNone(x)
                self.assertAlmostEqual(x, WINDOW.x + left + 80, delta=4)

    def test_no_marker_in_a_frame_without_one(self):
        frame = Image.new("RGB", VIDEO, (48, 48, 48))
        self.assertIsNone(vc.marker_x(frame, SCREEN, WINDOW))


if __name__ == "__main__":
    unittest.main()
