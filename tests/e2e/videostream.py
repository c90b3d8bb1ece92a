"""The controlled PC's video stream as the tests read it: frame headers, the byte-stream cutter, the MF44
tile container with its four JPEG tiles, and Annex-B H.264 access units.

Everything here is strict: it checks what Tessaly's sender must write, not merely what a receiver would
tolerate, so a wrong field fails the end-to-end run. Pure functions and one socket-free class; the
listening process is videoreceiver.py. PIL is needed only to decode tiles.
"""
from __future__ import annotations

import io
import struct
from dataclasses import dataclass

HEADER_SIZE = 60
HEADER_MAGIC = b"YTSL"
HEADER_VERSION = 3
MAX_FRAME_BYTES = 0x10000000
MAX_DIMENSION = 16384
CODEC_H264 = 0
CODEC_TILES = 1
COLOR_SDR_BT709_NV12 = 0
TRANSFER_BT709 = 0
BIT_DEPTH = 8
HDR_FLAGS = (0x100, 0x102)

CONTAINER_SIZE = 36
CONTAINER_MAGIC = b"MF44"
CONTAINER_VERSION = 1
MAX_TILE_BYTES = 0x4000000

_HEADER = struct.Struct("<4sHHIHHIIIIIIIIIII")
_CONTAINER = struct.Struct("<4sHHiiHHIIII")
assert _HEADER.size == HEADER_SIZE and _CONTAINER.size == CONTAINER_SIZE


class StreamError(ValueError):
    """The stream broke a rule of the format; the text says which."""


@dataclass(frozen=True)
class FrameHeader:
    frame_id: int
    reserved: int
    count: int
    frame_bytes: int
    payload_bytes: int
    codec: int
    video_width: int
    video_height: int
    desktop_width: int
    desktop_height: int
    color: int
    transfer: int
    bit_depth: int
    hdr_flags: int


@dataclass(frozen=True)
class Frame:
    header: FrameHeader
    payload: bytes


def pack_header(h: FrameHeader, magic: bytes = HEADER_MAGIC, version: int = HEADER_VERSION,
                header_size: int = HEADER_SIZE) -> bytes:
    return _HEADER.pack(magic, version, header_size, h.frame_id, h.reserved, h.count, h.frame_bytes,
                        h.payload_bytes, h.codec, h.video_width, h.video_height, h.desktop_width,
                        h.desktop_height, h.color, h.transfer, h.bit_depth, h.hdr_flags)


def parse_header(data: bytes) -> FrameHeader:
    """The header at the start of data (at least 60 bytes), checked field by field."""
    (magic, version, header_size, frame_id, reserved, count, frame_bytes, payload_bytes, codec, vw, vh, dw, dh,
     color, transfer, bits, hdr) = _HEADER.unpack_from(data)
    if magic != HEADER_MAGIC or version != HEADER_VERSION or header_size != HEADER_SIZE:
        raise StreamError(f"bad header magic={magic!r} version={version} header={header_size}")
    if count != 1 or not 1 <= frame_bytes <= MAX_FRAME_BYTES or payload_bytes != frame_bytes:
        raise StreamError(f"bad frame sizes id={frame_id} count={count} frame={frame_bytes} payload={payload_bytes}")
    if codec not in (CODEC_H264, CODEC_TILES):
        raise StreamError(f"codec {codec} in frame {frame_id}")
    if reserved != 0:
        raise StreamError(f"reserved field {reserved} in frame {frame_id}")
    for what, w, h in (("video", vw, vh), ("desktop", dw, dh)):
        if not (1 <= w <= MAX_DIMENSION and 1 <= h <= MAX_DIMENSION):
            raise StreamError(f"{what} size {w}x{h} in frame {frame_id}")
    if vw % 2 or vh % 2:
        raise StreamError(f"odd video size {vw}x{vh} in frame {frame_id}")
    if (color, transfer, bits) != (COLOR_SDR_BT709_NV12, TRANSFER_BT709, BIT_DEPTH) or hdr not in HDR_FLAGS:
        raise StreamError(f"colour words color={color} transfer={transfer} bits={bits} hdr=0x{hdr:x} "
                          f"in frame {frame_id}")
    return FrameHeader(frame_id, reserved, count, frame_bytes, payload_bytes, codec, vw, vh, dw, dh, color,
                       transfer, bits, hdr)


def frame_header(frame_id: int, payload: bytes, codec: int, video: tuple[int, int],
                 desktop: tuple[int, int]) -> FrameHeader:
    """A header as Tessaly's sender writes it, for tests."""
    return FrameHeader(frame_id, 0, 1, len(payload), len(payload), codec, *video, *desktop,
                       COLOR_SDR_BT709_NV12, TRANSFER_BT709, BIT_DEPTH, 0x100)


class FrameCutter:
    """Cuts a byte stream into frames. feed() takes any piece of the stream and returns the frames that
    piece completed; a broken header raises StreamError (the connection is then worthless)."""

    def __init__(self):
        self._buffer = bytearray()
        self._header: FrameHeader | None = None

    @property
    def pending(self) -> int:
        return len(self._buffer)

    def feed(self, data: bytes) -> list[Frame]:
        self._buffer += data
        frames = []
        while True:
            if self._header is None:
                if len(self._buffer) < HEADER_SIZE:
                    return frames
                self._header = parse_header(bytes(self._buffer[:HEADER_SIZE]))
                del self._buffer[:HEADER_SIZE]
            if len(self._buffer) < self._header.frame_bytes:
                return frames
            payload = bytes(self._buffer[:self._header.frame_bytes])
            del self._buffer[:self._header.frame_bytes]
            frames.append(Frame(self._header, payload))
            self._header = None


# -- tile container ----------------------------------------------------------------------------------------


def pack_container(width: int, height: int, tiles: list[bytes], magic: bytes = CONTAINER_MAGIC,
                   version: int = CONTAINER_VERSION, header_size: int = CONTAINER_SIZE,
                   grid: tuple[int, int] = (2, 2), sizes: list[int] | None = None) -> bytes:
    sizes = sizes if sizes is not None else [len(t) for t in tiles]
    return _CONTAINER.pack(magic, version, header_size, width, height, *grid, *sizes) + b"".join(tiles)


@dataclass(frozen=True)
class JpegInfo:
    width: int
    height: int
    components: int
    sampling: tuple[int, ...]  # (horizontal << 4 | vertical) per component


def jpeg_info(data: bytes) -> JpegInfo:
    """Frame size and sampling from a baseline or extended JPEG's SOF segment."""
    if data[:2] != b"\xff\xd8":
        raise StreamError("tile does not start with a JPEG SOI marker")
    if data[-2:] != b"\xff\xd9":
        raise StreamError("tile does not end with a JPEG EOI marker")
    pos = 2
    while pos + 4 <= len(data):
        if data[pos] != 0xFF:
            raise StreamError(f"JPEG marker expected at {pos}")
        marker = data[pos + 1]
        if marker == 0xFF:
            pos += 1
            continue
        length = struct.unpack_from(">H", data, pos + 2)[0]
        if length < 2 or pos + 2 + length > len(data):
            raise StreamError(f"JPEG segment 0x{marker:02x} at {pos} runs past the tile")
        if marker in (0xC0, 0xC1, 0xC2):
            if length < 8:
                raise StreamError("JPEG SOF segment too short")
            _, height, width, components = struct.unpack_from(">BHHB", data, pos + 4)
            if length < 8 + 3 * components:
                raise StreamError("JPEG SOF segment too short for its components")
            sampling = tuple(data[pos + 11 + 3 * i] for i in range(components))
            return JpegInfo(width, height, components, sampling)
        if marker == 0xDA:
            break
        pos += 2 + length
    raise StreamError("JPEG tile has no frame header (SOF)")


def split_container(payload: bytes, width: int, height: int) -> list[bytes]:
    """The four JPEG tiles of an MF44 container for a width x height frame, every field checked,
    every tile a 4:4:4 JPEG of its quadrant's size."""
    if len(payload) < CONTAINER_SIZE:
        raise StreamError(f"tile container of {len(payload)} bytes")
    magic, version, header_size, w, h, cols, rows, *sizes = _CONTAINER.unpack_from(payload)
    if magic != CONTAINER_MAGIC or version != CONTAINER_VERSION or header_size != CONTAINER_SIZE:
        raise StreamError(f"bad container magic={magic!r} version={version} header={header_size}")
    if (cols, rows) != (2, 2):
        raise StreamError(f"container grid {cols}x{rows}")
    if (w, h) != (width, height) or w < 2 or h < 2 or w % 2 or h % 2 or max(w, h) > MAX_DIMENSION:
        raise StreamError(f"container size {w}x{h}, frame header says {width}x{height}")
    if not all(1 <= s <= MAX_TILE_BYTES for s in sizes):
        raise StreamError(f"container tile sizes {sizes}")
    if CONTAINER_SIZE + sum(sizes) != len(payload):
        raise StreamError(f"container tiles add up to {CONTAINER_SIZE + sum(sizes)} bytes, frame has {len(payload)}")
    tiles, offset = [], CONTAINER_SIZE
    for index, size in enumerate(sizes):
        tile = payload[offset:offset + size]
        offset += size
        info = jpeg_info(tile)
        if (info.width, info.height) != (w // 2, h // 2):
            raise StreamError(f"tile {index} is {info.width}x{info.height}, expected {w // 2}x{h // 2}")
        if info.components != 3 or any(s != 0x11 for s in info.sampling):
            raise StreamError(f"tile {index} is not 4:4:4 (components={info.components} sampling={info.sampling})")
        tiles.append(tile)
    return tiles


def decode_tiles(payload: bytes, width: int, height: int):
    """The frame of a tile container as an RGB PIL image; tile 1 is the top-right quadrant."""
    from PIL import Image

    tiles = split_container(payload, width, height)
    frame = Image.new("RGB", (width, height))
    for index, tile in enumerate(tiles):
        with Image.open(io.BytesIO(tile)) as image:
            image.load()
            if image.size != (width // 2, height // 2):
                raise StreamError(f"tile {index} decodes to {image.size}")
            frame.paste(image.convert("RGB"), ((index & 1) * width // 2, (index >> 1) * height // 2))
    return frame


# -- H.264 -------------------------------------------------------------------------------------------------

NAL_IDR, NAL_SPS, NAL_PPS = 5, 7, 8


def nal_types(data: bytes) -> list[int]:
    """The NAL unit types of an Annex-B byte stream, in order. The stream must begin with a start code."""
    if not (data.startswith(b"\x00\x00\x01") or data.startswith(b"\x00\x00\x00\x01")):
        raise StreamError("H.264 frame does not begin with a start code")
    types = []
    pos = 0
    while True:
        pos = data.find(b"\x00\x00\x01", pos)
        if pos < 0 or pos + 3 >= len(data):
            return types
        nal = data[pos + 3]
        if nal & 0x80:
            raise StreamError(f"NAL header 0x{nal:02x} has its forbidden bit set")
        types.append(nal & 0x1F)
        pos += 3


def check_h264_frame(payload: bytes, first_of_connection: bool) -> list[int]:
    """NAL types of one access unit; the first one on a connection must be decodable on its own (SPS, PPS
    and an IDR slice), and every IDR frame carries its parameter sets."""
    types = nal_types(payload)
    if not any(t in (1, NAL_IDR) for t in types):
        raise StreamError(f"H.264 frame without a slice (NAL types {types})")
    if (first_of_connection or NAL_IDR in types) and not {NAL_SPS, NAL_PPS, NAL_IDR} <= set(types):
        raise StreamError(f"{'first ' if first_of_connection else ''}IDR frame lacks SPS/PPS/IDR (NAL types {types})")
    return types
