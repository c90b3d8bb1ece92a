"""The test receiver's checks of the video stream, on crafted streams, and its connection handling on
loopback. Run: python3 -m unittest discover -s tests/e2e -p 'test_*.py' (needs python3-pil).
"""
import io
import json
import random
import socket
import struct
import subprocess
import sys
import tempfile
import time
import unittest
from dataclasses import replace
from pathlib import Path

from PIL import Image

HERE = Path(__file__).resolve().parent
sys.path.insert(0, str(HERE))
import videostream as vs  # noqa: E402

QUADRANTS = [(200, 30, 30), (30, 200, 30), (30, 30, 200), (220, 220, 40)]  # tile 0..3


def quadrant_frame(width: int, height: int) -> Image.Image:
    image = Image.new("RGB", (width, height))
    for index, colour in enumerate(QUADRANTS):
        x, y = (index & 1) * width // 2, (index >> 1) * height // 2
        image.paste(colour, (x, y, x + width // 2, y + height // 2))
    return image


def jpeg(image: Image.Image, subsampling: int = 0) -> bytes:
    out = io.BytesIO()
    image.save(out, "JPEG", quality=90, subsampling=subsampling)
    return out.getvalue()


def tile_container(image: Image.Image) -> bytes:
    w, h = image.size
    tiles = [jpeg(image.crop(((i & 1) * w // 2, (i >> 1) * h // 2, ((i & 1) + 1) * w // 2, ((i >> 1) + 1) * h // 2)))
             for i in range(4)]
    return vs.pack_container(w, h, tiles)


def framed(frame_id: int, payload: bytes, codec: int = vs.CODEC_TILES, video=(64, 32), desktop=(64, 32)) -> bytes:
    return vs.pack_header(vs.frame_header(frame_id, payload, codec, video, desktop)) + payload


class Headers(unittest.TestCase):
    good = vs.frame_header(7, b"x" * 10, vs.CODEC_TILES, (1152, 720), (1600, 1000))

    def test_round_trip(self):
        data = vs.pack_header(self.good)
        self.assertEqual(len(data), 60)
        self.assertEqual(data[:4], b"YTSL")
        self.assertEqual(struct.unpack_from("<I", data, 24)[0], 1)  # codec word at offset 24
        self.assertEqual(vs.parse_header(data), self.good)

    def test_faults_are_refused(self):
        cases = [
            ("magic", vs.pack_header(self.good, magic=b"YTSM")),
            ("version", vs.pack_header(self.good, version=2)),
            ("header size", vs.pack_header(self.good, header_size=64)),
            ("count 2", vs.pack_header(replace(self.good, count=2))),
            ("frame bytes 0", vs.pack_header(replace(self.good, frame_bytes=0, payload_bytes=0))),
            ("frame bytes too large", vs.pack_header(replace(self.good, frame_bytes=0x10000001,
                                                             payload_bytes=0x10000001))),
            ("payload unequal", vs.pack_header(replace(self.good, payload_bytes=11))),
            ("codec 2", vs.pack_header(replace(self.good, codec=2))),
            ("reserved", vs.pack_header(replace(self.good, reserved=1))),
            ("video too wide", vs.pack_header(replace(self.good, video_width=16386))),
            ("video odd", vs.pack_header(replace(self.good, video_height=719))),
            ("video zero", vs.pack_header(replace(self.good, video_width=0))),
            ("desktop zero", vs.pack_header(replace(self.good, desktop_height=0))),
            ("colour mode HDR", vs.pack_header(replace(self.good, color=1))),
            ("bit depth 10", vs.pack_header(replace(self.good, bit_depth=10))),
            ("hdr flags 0", vs.pack_header(replace(self.good, hdr_flags=0))),
        ]
        for name, data in cases:
            with self.subTest(name):
                with self.assertRaises(vs.StreamError):
                    vs.parse_header(data)

    def test_largest_sizes_pass(self):
        big = replace(self.good, video_width=16384, video_height=16384, frame_bytes=0x10000000,
                      payload_bytes=0x10000000, hdr_flags=0x102)
        self.assertEqual(vs.parse_header(vs.pack_header(big)), big)


class Cutting(unittest.TestCase):
    def test_stream_split_anywhere_gives_the_same_frames(self):
        payloads = [bytes([i]) * (1 + 97 * i) for i in range(12)]
        stream = b"".join(framed(100 + i, p) for i, p in enumerate(payloads))
        rng = random.Random(5)
        for _ in range(50):
            cuts = sorted(rng.sample(range(1, len(stream)), rng.randint(1, 40)))
            cutter = vs.FrameCutter()
            frames = []
            for a, b in zip([0] + cuts, cuts + [len(stream)]):
                frames += cutter.feed(stream[a:b])
            self.assertEqual([f.payload for f in frames], payloads)
            self.assertEqual([f.header.frame_id for f in frames], list(range(100, 112)))
            self.assertEqual(cutter.pending, 0)

    def test_incomplete_frame_is_kept(self):
        cutter = vs.FrameCutter()
        data = framed(1, b"abcdef")
        self.assertEqual(cutter.feed(data[:60]), [])
        self.assertEqual(cutter.feed(data[60:-1]), [])
        self.assertEqual([f.payload for f in cutter.feed(data[-1:])], [b"abcdef"])

    def test_bad_header_after_good_frames_raises(self):
        cutter = vs.FrameCutter()
        with self.assertRaises(vs.StreamError):
            cutter.feed(framed(1, b"a") + b"XTSL" + bytes(56))


class Tiles(unittest.TestCase):
    def test_tile_one_is_top_right(self):
        frame = vs.decode_tiles(tile_container(quadrant_frame(64, 32)), 64, 32)
        self.assertEqual(frame.size, (64, 32))
        for (x, y), colour in zip([(16, 8), (48, 8), (16, 24), (48, 24)], QUADRANTS):
            got = frame.getpixel((x, y))
            self.assertTrue(all(abs(a - b) <= 6 for a, b in zip(got, colour)), (x, y, got, colour))

    def test_container_faults_are_refused(self):
        image = quadrant_frame(64, 32)
        good = tile_container(image)
        tiles = vs.split_container(good, 64, 32)
        sizes = [len(t) for t in tiles]
        wrong_size_tile = jpeg(Image.new("RGB", (30, 16)))
        subsampled = jpeg(image.crop((0, 0, 32, 16)), subsampling=2)
        cases = [
            ("short", good[:30], (64, 32)),
            ("magic", vs.pack_container(64, 32, tiles, magic=b"MF45"), (64, 32)),
            ("version", vs.pack_container(64, 32, tiles, version=2), (64, 32)),
            ("grid", vs.pack_container(64, 32, tiles, grid=(4, 1)), (64, 32)),
            ("size differs from frame header", good, (64, 30)),
            ("odd width", vs.pack_container(63, 32, tiles), (63, 32)),
            ("one byte more than the tiles", good + b"\0", (64, 32)),
            ("one byte less than the tiles", good[:-1], (64, 32)),
            ("tile size 0", vs.pack_container(64, 32, tiles, sizes=[0] + sizes[1:]), (64, 32)),
            ("tile size too large", vs.pack_container(64, 32, tiles, sizes=[0x4000001] + sizes[1:]), (64, 32)),
            ("tile of the wrong size", vs.pack_container(64, 32, [wrong_size_tile] + tiles[1:]), (64, 32)),
            ("4:2:0 tile", vs.pack_container(64, 32, [subsampled] + tiles[1:]), (64, 32)),
            ("not a JPEG", vs.pack_container(64, 32, [b"\x00" * 40] + tiles[1:]), (64, 32)),
        ]
        for name, payload, size in cases:
            with self.subTest(name):
                with self.assertRaises(vs.StreamError):
                    vs.split_container(payload, *size)


class H264(unittest.TestCase):
    SPS, PPS, IDR, SLICE = b"\x00\x00\x00\x01\x67\x42", b"\x00\x00\x00\x01\x68\xce", b"\x00\x00\x01\x65\x88", \
        b"\x00\x00\x01\x41\x9a"

    def test_access_units(self):
        self.assertEqual(vs.check_h264_frame(self.SPS + self.PPS + self.IDR, True), [7, 8, 5])
        self.assertEqual(vs.check_h264_frame(self.SLICE, False), [1])
        cases = [
            ("first frame without parameter sets", self.IDR, True),
            ("first frame is not an IDR", self.SPS + self.PPS + self.SLICE, True),
            ("IDR without PPS", self.SPS + self.IDR, False),
            ("no start code", self.SLICE[3:], False),
            ("no slice", self.SPS + self.PPS, False),
            ("forbidden bit", b"\x00\x00\x01\xc1\x00", False),
        ]
        for name, payload, first in cases:
            with self.subTest(name):
                with self.assertRaises(vs.StreamError):
                    vs.check_h264_frame(payload, first)


class ReceiverProcess(unittest.TestCase):
    """videoreceiver.py on loopback: frames counted, a broken frame resets the connection, a drop is a
    reset the sender sees, and the next connection is served."""

    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()
        with socket.socket() as probe:
            probe.bind(("127.0.0.1", 0))
            self.port = probe.getsockname()[1]
        self.proc = subprocess.Popen([sys.executable, str(HERE / "videoreceiver.py"), "127.0.0.1", str(self.port),
                                      self.dir.name, "--peer", "127.0.0.1", "--lifetime", "60"],
                                     stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
        self.assertIn("frames", self.command({"cmd": "status"}))

    def tearDown(self):
        self.command({"cmd": "quit"})
        self.proc.wait(timeout=10)
        self.proc.stdin.close()
        self.proc.stdout.close()
        self.dir.cleanup()

    def command(self, command: dict) -> dict:
        self.proc.stdin.write(json.dumps(command) + "\n")
        self.proc.stdin.flush()
        return json.loads(self.proc.stdout.readline())

    def wait_status(self, done, seconds: float = 5.0) -> dict:
        deadline = time.monotonic() + seconds
        while True:
            status = self.command({"cmd": "status"})
            if done(status) or time.monotonic() > deadline:
                return status
            time.sleep(0.05)

    def connect(self) -> socket.socket:
        return socket.create_connection(("127.0.0.1", self.port), timeout=5)

    def test_frames_drop_and_reconnect(self):
        container = tile_container(quadrant_frame(64, 32))
        first = self.connect()
        self.addCleanup(first.close)
        first.sendall(b"".join(framed(i, container) for i in range(1, 4)))
        status = self.wait_status(lambda s: s["frames"] == 3)
        self.assertEqual(status["frames"], 3)
        self.assertEqual(status["last"]["video"], [64, 32])
        png = Path(self.dir.name) / "last.png"
        self.assertEqual(self.command({"cmd": "save", "path": str(png)})["size"], [64, 32])
        with Image.open(png) as saved:
            top_right = saved.convert("RGB").getpixel((48, 8))
        self.assertTrue(all(abs(a - b) <= 6 for a, b in zip(top_right, QUADRANTS[1])), top_right)

        self.assertEqual(self.command({"cmd": "drop"})["dropped"], 1)
        with self.assertRaises(OSError):
            for _ in range(50):  # the reset shows on a later send
                first.sendall(framed(9, container))
                time.sleep(0.02)

        second = self.connect()
        self.addCleanup(second.close)
        second.sendall(framed(1, container))
        status = self.wait_status(lambda s: s["frames"] == 4)
        self.assertEqual([c["frames"] for c in status["connections"]], [3, 1])
        self.assertEqual(status["errors"], [])

    def test_idr_spacing_is_counted(self):
        idr = H264.SPS + H264.PPS + H264.IDR
        units = [idr, H264.SLICE, H264.SLICE, idr, H264.SLICE, H264.SLICE, H264.SLICE, idr]
        with self.connect() as s:
            s.sendall(b"".join(framed(i, u, codec=vs.CODEC_H264) for i, u in enumerate(units)))
            status = self.wait_status(lambda s: s["frames"] == len(units))
        conn = status["connections"][0]
        self.assertEqual((conn["idr_frames"], conn["longest_without_idr"]), (3, 3))
        self.assertEqual(status["errors"], [])

    def test_broken_frame_is_an_error_and_resets(self):
        with self.connect() as s:
            s.sendall(framed(1, b"\x00\x00\x01\x41\x9a", codec=vs.CODEC_H264))
        status = self.wait_status(lambda s: s["errors"])
        self.assertEqual(len(status["errors"]), 1)
        self.assertIn("IDR frame lacks", status["errors"][0])
        self.assertEqual(status["frames"], 0)


if __name__ == "__main__":
    unittest.main()
