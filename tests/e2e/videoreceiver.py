#!/usr/bin/env python3
"""A test receiver for the controlled PC's video: listens where the controller's video receiver would,
takes one connection at a time, checks every frame (videostream.py) and keeps what the harness asks for.

Run inside the controller PC's network namespace (the harness does that):
    videoreceiver.py BIND_IP PORT OUT_DIR [--peer IP] [--lifetime S]
It answers one JSON command per stdin line with one JSON line on stdout:
    {"cmd": "status"}                    counts, connections, errors
    {"cmd": "drop"}                      resets the current connection (RST), as a controller that went away
    {"cmd": "save", "path": P}           the newest frame as PNG at P (tiles: decoded here; H.264: by ffmpeg
                                         from the current connection's stream)
    {"cmd": "quit"}
A frame that breaks the format is an error: it is recorded and the connection is reset. A connection from
an address other than --peer is recorded as an error and closed. The process ends by itself after
--lifetime seconds.
"""
from __future__ import annotations

import argparse
import json
import select
import socket
import struct
import subprocess
import sys
import threading
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import videostream as vs  # noqa: E402

RECV_BYTES = 1 << 16
FFMPEG_TIMEOUT_S = 60


class Connection:
    def __init__(self, number: int, sock: socket.socket, peer: str, out_dir: Path):
        self.number = number
        self.sock = sock
        self.peer = peer
        self.cutter = vs.FrameCutter()
        self.frames = 0
        self.first_id: int | None = None
        self.last_id: int | None = None
        self.codecs: set[int] = set()
        self.h264_path = out_dir / f"conn-{number}.h264"
        self.h264_file = None
        self.last_tiles: tuple[bytes, int, int] | None = None
        self.idr_frames = 0
        self.since_idr = 0
        self.longest_without_idr = 0  # H.264: most frames in a row without an IDR slice
        self.closed_reason: str | None = None

    def summary(self) -> dict:
        return {"number": self.number, "peer": self.peer, "frames": self.frames, "first_id": self.first_id,
                "last_id": self.last_id, "codecs": sorted(self.codecs), "pending_bytes": self.cutter.pending,
                "idr_frames": self.idr_frames, "longest_without_idr": self.longest_without_idr,
                "closed": self.closed_reason}


class Receiver:
    def __init__(self, bind_ip: str, port: int, out_dir: Path, peer: str | None):
        self.out_dir = out_dir
        self.peer = peer
        self.lock = threading.Lock()
        self.stopping = threading.Event()
        self.drop_requested = threading.Event()
        self.dropped = threading.Event()
        self.connections: list[Connection] = []
        self.current: Connection | None = None
        self.errors: list[str] = []
        self.last_header: vs.FrameHeader | None = None
        self.last_frame_time = 0.0
        self.listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        self.listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        self.listener.bind((bind_ip, port))
        self.listener.listen(1)
        self.listener.settimeout(0.1)
        self.thread = threading.Thread(target=self._serve, daemon=True)
        self.thread.start()

    # -- the network side (its own thread) -------------------------------------------------------------

    def _serve(self) -> None:
        while not self.stopping.is_set():
            with self.lock:
                conn = self.current
            if self.drop_requested.is_set():
                if conn is not None:
                    self._close(conn, "dropped by the test", reset=True)
                self.drop_requested.clear()
                self.dropped.set()
            elif conn is None:
                self._accept()
            else:
                self._read(conn)

    def _accept(self) -> None:
        try:
            sock, (address, port) = self.listener.accept()
        except (socket.timeout, OSError):
            return
        with self.lock:
            if self.peer is not None and address != self.peer:
                self.errors.append(f"connection from {address}:{port}, expected only {self.peer}")
                sock.close()
                return
            sock.settimeout(0.1)
            conn = Connection(len(self.connections) + 1, sock, f"{address}:{port}", self.out_dir)
            self.connections.append(conn)
            self.current = conn

    def _read(self, conn: Connection) -> None:
        try:
            data = conn.sock.recv(RECV_BYTES)
        except socket.timeout:
            return
        except OSError as e:
            self._close(conn, f"recv failed: {e}")
            return
        if not data:
            self._close(conn, "peer closed")
            return
        try:
            frames = conn.cutter.feed(data)
            for frame in frames:
                self._take(conn, frame)
        except vs.StreamError as e:
            with self.lock:
                self.errors.append(f"connection {conn.number} frame {conn.frames + 1}: {e}")
            self._close(conn, f"stream error: {e}", reset=True)

    def _take(self, conn: Connection, frame: vs.Frame) -> None:
        h = frame.header
        nal_types = []
        if h.codec == vs.CODEC_TILES:
            vs.split_container(frame.payload, h.video_width, h.video_height)
        else:
            nal_types = vs.check_h264_frame(frame.payload, first_of_connection=conn.frames == 0)
        with self.lock:
            if h.codec == vs.CODEC_TILES:
                conn.last_tiles = (frame.payload, h.video_width, h.video_height)
            else:
                if vs.NAL_IDR in nal_types:
                    conn.idr_frames += 1
                    conn.since_idr = 0
                else:
                    conn.since_idr += 1
                    conn.longest_without_idr = max(conn.longest_without_idr, conn.since_idr)
                if conn.h264_file is None:
                    conn.h264_file = open(conn.h264_path, "wb")
                conn.h264_file.write(frame.payload)
            conn.frames += 1
            conn.codecs.add(h.codec)
            conn.first_id = h.frame_id if conn.first_id is None else conn.first_id
            conn.last_id = h.frame_id
            self.last_header = h
            self.last_frame_time = time.monotonic()

    def _close(self, conn: Connection, reason: str, reset: bool = False) -> None:
        if reset:
            try:
                conn.sock.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
            except OSError:
                pass
        conn.sock.close()
        with self.lock:
            conn.closed_reason = reason
            if conn.h264_file is not None:
                conn.h264_file.close()
                conn.h264_file = None
            if self.current is conn:
                self.current = None

    # -- commands (main thread) ------------------------------------------------------------------------

    def status(self) -> dict:
        with self.lock:
            h = self.last_header
            return {
                "frames": sum(c.frames for c in self.connections),
                "connections": [c.summary() for c in self.connections],
                "current": self.current.number if self.current else None,
                "errors": list(self.errors),
                "last": None if h is None else {
                    "id": h.frame_id, "codec": h.codec, "video": [h.video_width, h.video_height],
                    "desktop": [h.desktop_width, h.desktop_height], "hdr_flags": h.hdr_flags,
                    "age_s": round(time.monotonic() - self.last_frame_time, 3)},
            }

    def drop(self) -> dict:
        """Has the network thread reset the current connection (it owns the socket) and waits for it."""
        with self.lock:
            conn = self.current
        if conn is None:
            return {"dropped": None}
        self.dropped.clear()
        self.drop_requested.set()
        if not self.dropped.wait(timeout=5):
            return {"error": "the network thread did not drop the connection within 5 s"}
        return {"dropped": conn.number, "frames": conn.frames}

    def save(self, path: Path) -> dict:
        with self.lock:
            conn = self.connections[-1] if self.connections else None
            tiles = conn.last_tiles if conn else None
            h264 = conn.h264_path if conn and conn.frames and 0 in conn.codecs else None
            if conn is not None and conn.h264_file is not None:
                conn.h264_file.flush()
        if tiles is not None:
            image = vs.decode_tiles(*tiles)
            image.save(path)
            return {"saved": str(path), "size": list(image.size), "codec": vs.CODEC_TILES}
        if h264 is not None:
            return save_last_h264_picture(h264, path)
        return {"error": "no frame to save"}

    def stop(self) -> None:
        self.stopping.set()
        self.thread.join(timeout=5)
        with self.lock:
            conn = self.current
        if conn is not None:
            self._close(conn, "receiver stopped")
        self.listener.close()


def save_last_h264_picture(stream: Path, path: Path) -> dict:
    """Decodes an Annex-B stream with ffmpeg and keeps its last picture, converted as the controller's
    renderer does (full-range BT.709)."""
    argv = ["ffmpeg", "-nostdin", "-v", "error", "-f", "h264", "-i", str(stream),
            "-vf", "scale=in_color_matrix=bt709:in_range=full:out_range=full,format=rgb24",
            "-update", "1", "-y", str(path)]
    try:
        r = subprocess.run(argv, capture_output=True, timeout=FFMPEG_TIMEOUT_S)
    except subprocess.TimeoutExpired:
        return {"error": f"ffmpeg did not finish within {FFMPEG_TIMEOUT_S} s"}
    if r.returncode != 0 or not path.is_file():
        return {"error": f"ffmpeg exit {r.returncode}: {r.stderr.decode('utf-8', 'replace')[-400:]}"}
    decode_errors = r.stderr.decode("utf-8", "replace").strip()
    return {"saved": str(path), "codec": vs.CODEC_H264, "stream_bytes": stream.stat().st_size,
            "decoder_messages": decode_errors[-400:]}


def serve_commands(receiver: Receiver, lifetime: float) -> None:
    deadline = time.monotonic() + lifetime
    stdin = sys.stdin
    while time.monotonic() < deadline:
        ready, _, _ = select.select([stdin], [], [], min(1.0, max(0.0, deadline - time.monotonic())))
        if not ready:
            continue
        line = stdin.readline()
        if not line:
            return
        try:
            command = json.loads(line)
            name = command.get("cmd")
            if name == "status":
                reply = receiver.status()
            elif name == "drop":
                reply = receiver.drop()
            elif name == "save":
                reply = receiver.save(Path(command["path"]))
            elif name == "quit":
                print(json.dumps({"bye": True}), flush=True)
                return
            else:
                reply = {"error": f"unknown command {name!r}"}
        except Exception as e:  # noqa: BLE001 - a bad command or a failed decode is a reply, not a crash
            reply = {"error": f"{type(e).__name__}: {e}"}
        print(json.dumps(reply), flush=True)


def main(argv: list[str]) -> int:
    p = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    p.add_argument("bind_ip")
    p.add_argument("port", type=int)
    p.add_argument("out_dir")
    p.add_argument("--peer", help="the only address allowed to connect")
    p.add_argument("--lifetime", type=float, default=300.0, help="seconds after which the receiver ends")
    args = p.parse_args(argv)
    out_dir = Path(args.out_dir)
    out_dir.mkdir(parents=True, exist_ok=True)
    receiver = Receiver(args.bind_ip, args.port, out_dir, args.peer)
    try:
        serve_commands(receiver, args.lifetime)
    finally:
        receiver.stop()
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
