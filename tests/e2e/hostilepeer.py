#!/usr/bin/env python3
"""A hostile controlled PC for the end-to-end run: it plays the clipboard channel's host for a controller and
offers files whose names try to leave the receiver's folder.

Run inside the controlled PC's network namespace (the harness does that), where the controller's clipboard
client connects to:
  hostilepeer.py BIND_IP PORT HTTP_PORT
It listens on BIND_IP:PORT (the clipboard channel) and serves its own manifests and files on BIND_IP:HTTP_PORT.
Once a controller connects it sends HELLO, then two HTTP transfer announcements, each naming C:\\Windows as
target folder and asking to overwrite:
  1. a manifest holding hostile names (parent escapes, a device name, an alternate stream, a drive path, a
     trailing dot) beside one harmless file: the receiver must refuse the whole transfer and report an error;
  2. a manifest of harmless names only: the files must arrive in the receiver's own default folder.
After each announcement it waits (bounded) for the receiver's TRANSFER_STATUS of that transfer. It prints
"LISTENING", "CONNECTED ip:port", one "REQUEST ..." line per HTTP request, one "STATUS ..." line per report,
and ends with one line "RESULT <json>": per round the final status (c 2 done, 3 error, 4 cancel, or null when
none came), its text and the HTTP requests; and the harmless files of round 2 with their sha256.
Every wait is bounded; exit code 0 when both rounds got a final status, 1 otherwise.
"""
from __future__ import annotations

import hashlib
import json
import socket
import struct
import sys
import threading
import time
import urllib.parse
from dataclasses import dataclass, field

MAGIC = b"SLCB"
HEADER = struct.Struct("<4sIQQQII")  # magic, type, id, a, b, payloadBytes, c
HEADER_BYTES = HEADER.size
MAX_PAYLOAD = 16 * 1024 * 1024

CB_HELLO = 1
CB_TRANSFER_STATUS = 8
CB_HTTP_BEGIN = 13
STATUS_PROGRESS, STATUS_DONE, STATUS_ERROR, STATUS_CANCEL = 1, 2, 3, 4
FINAL_STATUSES = (STATUS_DONE, STATUS_ERROR, STATUS_CANCEL)

HOSTILE_TARGET = "C:\\Windows"
HTTP_HEAD_LIMIT = 16 * 1024
ACCEPT_WAIT_S = 60.0
STATUS_WAIT_S = 40.0
IO_TIMEOUT_S = 10.0

# Round 1: every name but the first must make the receiver refuse the transfer before it writes anything,
# the harmless one included.
HOSTILE_NAMES = [
    "hostile-round1-harmless.txt",
    "..\\..\\evil.txt",
    "../../evil-slash.txt",
    "CON",
    "nul.txt",
    "a:b.txt",
    "C:\\Windows\\evil2.txt",
    "\\\\server\\share\\evil3.txt",
    "trailing-dot.",
]
# Round 2: a folder with a file, a top-level file, an empty file.
HARMLESS_FILES = {
    "hostile-safe/one.txt": b"first harmless file\n",
    "hostile-safe-two.txt": b"second harmless file\n" * 100,
    "hostile-safe-empty.txt": b"",
}
HARMLESS_DIRS = ["hostile-safe"]
ROUND_IDS = (9100001, 9100002)


class ProtocolError(Exception):
    pass


def pack_message(kind: int, ident: int = 0, a: int = 0, b: int = 0, c: int = 0, payload: bytes = b"") -> bytes:
    return HEADER.pack(MAGIC, kind, ident, a, b, len(payload), c) + payload


@dataclass
class Message:
    kind: int
    ident: int
    a: int
    b: int
    c: int
    payload: bytes


def parse_header(data: bytes) -> tuple[int, int, int, int, int, int]:
    """(type, id, a, b, payloadBytes, c) of a 40-byte header; a bad magic or an oversized payload is refused."""
    if len(data) != HEADER_BYTES:
        raise ProtocolError(f"header of {len(data)} bytes")
    magic, kind, ident, a, b, size, c = HEADER.unpack(data)
    if magic != MAGIC:
        raise ProtocolError(f"bad magic {magic!r}")
    if size > MAX_PAYLOAD:
        raise ProtocolError(f"payload of {size} bytes is over {MAX_PAYLOAD}")
    return kind, ident, a, b, size, c


def recv_exact(sock: socket.socket, count: int, deadline: float) -> bytes:
    data = bytearray()
    while len(data) < count:
        left = deadline - time.monotonic()
        if left <= 0:
            raise TimeoutError(f"{len(data)} of {count} bytes before the deadline")
        sock.settimeout(min(left, IO_TIMEOUT_S))
        try:
            piece = sock.recv(count - len(data))
        except socket.timeout:
            continue
        if not piece:
            raise ConnectionError(f"peer closed after {len(data)} of {count} bytes")
        data += piece
    return bytes(data)


def read_message(sock: socket.socket, deadline: float) -> Message:
    kind, ident, a, b, size, c = parse_header(recv_exact(sock, HEADER_BYTES, deadline))
    return Message(kind, ident, a, b, c, recv_exact(sock, size, deadline) if size else b"")


def escape_value(text: str) -> str:
    return text.replace("\\", "\\\\").replace("\n", "\\n").replace("\r", "\\r")


def begin_payload(transfer_id: int, total: int, count: int, http_port: int, display: str, target: str, url: str,
                  conflict: str) -> bytes:
    """The announcement text: key=value lines, values escaped, no line end after the last."""
    lines = ["mode=http_manifest", f"transferId={transfer_id}", "direction=1", f"totalBytes={total}",
             f"itemCount={count}", f"httpPort={http_port}", f"displayName={escape_value(display)}",
             f"targetPath={escape_value(target)}", f"manifestUrl={escape_value(url)}", f"conflict={conflict}"]
    return "\n".join(lines).encode("utf-8")


@dataclass
class Offer:
    transfer_id: int
    # (relative path, content or None for a directory) in manifest order
    entries: list[tuple[str, bytes | None]]
    requests: list[str] = field(default_factory=list)

    def full_path(self, rel: str) -> str:
        return f"C:\\hostile\\{self.transfer_id}\\{rel}"

    def manifest(self) -> bytes:
        items = []
        for rel, content in self.entries:
            item = {"path": rel, "fullPath": self.full_path(rel), "size": len(content or b""),
                    "dir": 1 if content is None else 0}
            if content is not None:
                quoted = urllib.parse.quote(self.full_path(rel).encode("utf-8"), safe="-._~/")
                item["url"] = f"/file?id={self.transfer_id}&path={quoted}"
            items.append(item)
        text = json.dumps({"version": 2, "mode": "path", "items": items}, separators=(",", ":"), ensure_ascii=False)
        return text.encode("utf-8")

    def total(self) -> int:
        return sum(len(c) for _, c in self.entries if c is not None)

    def file_at(self, full: str) -> bytes | None:
        for rel, content in self.entries:
            if content is not None and self.full_path(rel) == full:
                return content
        return None


def hostile_offer() -> Offer:
    return Offer(ROUND_IDS[0], [(name, b"hostile content\n") for name in HOSTILE_NAMES])


def harmless_offer() -> Offer:
    entries: list[tuple[str, bytes | None]] = [(d, None) for d in HARMLESS_DIRS]
    entries += list(HARMLESS_FILES.items())
    return Offer(ROUND_IDS[1], entries)


def http_response(code: int, reason: str, body: bytes, kind: str = "text/plain") -> bytes:
    head = (f"HTTP/1.1 {code} {reason}\r\nContent-Type: {kind}\r\nContent-Length: {len(body)}\r\n"
            "Cache-Control: no-store\r\nConnection: close\r\n\r\n")
    return head.encode("ascii") + body


def answer_request(head: bytes, offers: dict[int, Offer]) -> tuple[bytes, str]:
    """The response to one request head, and the line to print about it."""
    line = head.split(b"\r\n", 1)[0].decode("latin-1")
    parts = line.split(" ")
    if len(parts) != 3 or parts[0] != "GET":
        return http_response(405, "Method Not Allowed", b"method not allowed"), f"REQUEST refused {line!r}"
    target = urllib.parse.urlsplit(parts[1])
    query = urllib.parse.parse_qs(target.query)
    try:
        offer = offers.get(int(query.get("id", ["0"])[0]))
    except ValueError:
        offer = None
    if offer is None:
        return http_response(404, "Not Found", b"not found"), f"REQUEST unknown {parts[1]}"
    if target.path == "/manifest":
        offer.requests.append("manifest")
        return (http_response(200, "OK", offer.manifest(), "application/json; charset=utf-8"),
                f"REQUEST manifest id={offer.transfer_id}")
    if target.path == "/file":
        full = query.get("path", [""])[0]
        offer.requests.append(full)
        content = offer.file_at(full)
        if content is None:
            return http_response(404, "Not Found", b"file not found"), f"REQUEST missing {full}"
        return (http_response(200, "OK", content, "application/octet-stream"),
                f"REQUEST file id={offer.transfer_id} {full}")
    return http_response(404, "Not Found", b"not found"), f"REQUEST unknown {parts[1]}"


def read_request_head(conn: socket.socket, deadline: float) -> bytes | None:
    """The request head up to its blank line, at most HTTP_HEAD_LIMIT bytes; None when it never completes."""
    data = b""
    while b"\r\n\r\n" not in data:
        if len(data) > HTTP_HEAD_LIMIT or time.monotonic() >= deadline:
            return None
        conn.settimeout(max(0.1, min(IO_TIMEOUT_S, deadline - time.monotonic())))
        try:
            piece = conn.recv(4096)
        except (socket.timeout, OSError):
            return None
        if not piece:
            return None
        data += piece
    return data


class HttpServer:
    """Serves the offers' manifests and files, one connection at a time, on its own thread."""

    def __init__(self, bind_ip: str, port: int, offers: dict[int, Offer], say):
        self.offers = offers
        self.say = say
        self.sock = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        self.sock.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        self.sock.bind((bind_ip, port))
        self.sock.listen(4)
        self.sock.settimeout(0.2)
        self.port = self.sock.getsockname()[1]
        self.stopping = threading.Event()
        self.thread = threading.Thread(target=self._serve, daemon=True)
        self.thread.start()

    def _serve(self) -> None:
        while not self.stopping.is_set():
            try:
                conn, _ = self.sock.accept()
            except (socket.timeout, OSError):
                continue
            with conn:
                head = read_request_head(conn, time.monotonic() + IO_TIMEOUT_S)
                if head is None:
                    continue
                response, line = answer_request(head, self.offers)
                self.say(line)
                try:
                    conn.settimeout(IO_TIMEOUT_S)
                    conn.sendall(response)
                except OSError:
                    pass

    def close(self) -> None:
        self.stopping.set()
        self.thread.join(timeout=5)
        self.sock.close()


def wait_status(conn: socket.socket, transfer_id: int, seconds: float, say) -> Message | None:
    """The first final TRANSFER_STATUS of the transfer within the time; other messages are read and skipped."""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        try:
            message = read_message(conn, deadline)
        except TimeoutError:
            return None
        if message.kind != CB_TRANSFER_STATUS:
            continue
        text = message.payload.decode("utf-8", "replace")
        say(f"STATUS id={message.ident} c={message.c} a={message.a} b={message.b} text={text!r}")
        if message.ident == transfer_id and message.c in FINAL_STATUSES:
            return message
    return None


def run(bind_ip: str, port: int, http_port: int, say, accept_wait: float = ACCEPT_WAIT_S,
        status_wait: float = STATUS_WAIT_S) -> dict:
    offers = {offer.transfer_id: offer for offer in (hostile_offer(), harmless_offer())}
    listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    listener.bind((bind_ip, port))
    listener.listen(1)
    http = HttpServer(bind_ip, http_port, offers, say)
    result: dict = {"connected": None, "rounds": [], "harmless": {}}
    try:
        say(f"LISTENING {bind_ip}:{listener.getsockname()[1]} http={http.port}")
        listener.settimeout(accept_wait)
        try:
            conn, peer = listener.accept()
        except socket.timeout:
            say("no controller connected")
            return result
        result["connected"] = f"{peer[0]}:{peer[1]}"
        say(f"CONNECTED {peer[0]}:{peer[1]}")
        with conn:
            conn.sendall(pack_message(CB_HELLO))
            for offer in offers.values():
                url = f"http://{bind_ip}:{http.port}/manifest?id={offer.transfer_id}"
                payload = begin_payload(offer.transfer_id, offer.total(), len(offer.entries), http.port,
                                        offer.entries[0][0], HOSTILE_TARGET, url, "overwrite")
                conn.sendall(pack_message(CB_HTTP_BEGIN, offer.transfer_id, payload=payload))
                try:
                    status = wait_status(conn, offer.transfer_id, status_wait, say)
                except (ConnectionError, ProtocolError, OSError) as e:
                    say(f"channel lost: {e}")
                    status = None
                result["rounds"].append({
                    "id": offer.transfer_id,
                    "c": status.c if status else None,
                    "text": status.payload.decode("utf-8", "replace") if status else None,
                    "requests": list(offer.requests),
                })
                if status is None:
                    break
    finally:
        http.close()
        listener.close()
    result["harmless"] = {rel: hashlib.sha256(content).hexdigest() for rel, content in HARMLESS_FILES.items()}
    return result


def main(argv: list[str]) -> int:
    if len(argv) != 4:
        print(__doc__, file=sys.stderr)
        return 2

    def say(line: str) -> None:
        print(line, flush=True)

    result = run(argv[1], int(argv[2]), int(argv[3]), say)
    say("RESULT " + json.dumps(result))
    rounds = result["rounds"]
    return 0 if len(rounds) == 2 and all(r["c"] is not None for r in rounds) else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv))
