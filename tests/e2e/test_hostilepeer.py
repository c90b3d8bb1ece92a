"""The hostile test peer speaks the clipboard channel and the HTTP pull as a real sender does.
Run: python3 -m unittest discover -s tests/e2e -p 'test_*.py'
"""
import json
import re
import socket
import sys
import threading
import time
import unittest
import urllib.parse
import urllib.request
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import hostilepeer as hp  # noqa: E402


class Framing(unittest.TestCase):
    def test_header_is_forty_little_endian_bytes(self):
        data = hp.pack_message(hp.CB_HTTP_BEGIN, 0x0102030405060708, 9, 10, 4, b"xyz")
        self.assertEqual(len(data), 43)
        self.assertEqual(data[:4], b"SLCB")
        self.assertEqual(data[4:8], bytes([13, 0, 0, 0]))
        self.assertEqual(data[8:16], bytes([8, 7, 6, 5, 4, 3, 2, 1]))
        self.assertEqual(data[32:36], bytes([3, 0, 0, 0]))  # payloadBytes before c
        self.assertEqual(data[36:40], bytes([4, 0, 0, 0]))
        self.assertEqual(hp.parse_header(data[:40]), (13, 0x0102030405060708, 9, 10, 3, 4))

    def test_header_limits(self):
        cases = [
            ("largest payload", b"SLCB", hp.MAX_PAYLOAD, True),
            ("one byte over", b"SLCB", hp.MAX_PAYLOAD + 1, False),
            ("bad magic", b"SLCX", 0, False),
        ]
        for name, magic, size, ok in cases:
            with self.subTest(name):
                header = hp.HEADER.pack(magic, 8, 1, 0, 0, size, 3)
                if ok:
                    self.assertEqual(hp.parse_header(header)[4], size)
                else:
                    with self.assertRaises(hp.ProtocolError):
                        hp.parse_header(header)

    def test_message_split_across_reads(self):
        left, right = socket.socketpair()
        with left, right:
            data = hp.pack_message(hp.CB_TRANSFER_STATUS, 7, 1, 2, 3, "fehlgeschlagen ✗".encode())
            for i in range(0, len(data), 5):
                left.sendall(data[i:i + 5])
            message = hp.read_message(right, time.monotonic() + 5)
        self.assertEqual((message.kind, message.ident, message.a, message.b, message.c), (8, 7, 1, 2, 3))
        self.assertEqual(message.payload.decode(), "fehlgeschlagen ✗")

    def test_closed_peer_ends_the_read(self):
        left, right = socket.socketpair()
        with right:
            left.sendall(hp.pack_message(hp.CB_TRANSFER_STATUS, 1, payload=b"abcdef")[:45])
            left.close()
            with self.assertRaises(ConnectionError):
                hp.read_message(right, time.monotonic() + 5)


class Payloads(unittest.TestCase):
    def test_begin_payload_lines_and_escapes(self):
        text = hp.begin_payload(5, 10, 2, 4000, "two\nlines", "C:\\Windows", "http://1.2.3.4:4000/manifest?id=5",
                                "overwrite").decode()
        lines = text.split("\n")
        self.assertEqual(len(lines), 10)
        self.assertFalse(text.endswith("\n"))
        self.assertIn("displayName=two\\nlines", lines)
        self.assertIn("targetPath=C:\\\\Windows", lines)
        self.assertEqual(lines[0], "mode=http_manifest")
        self.assertEqual(lines[-1], "conflict=overwrite")

    def test_manifest_names_every_entry_with_its_offer_id(self):
        offer = hp.Offer(77, [("d", None), ('d/{"q"}\\x.txt', b"abc")])
        manifest = json.loads(offer.manifest())
        self.assertEqual((manifest["version"], manifest["mode"]), (2, "path"))
        folder, item = manifest["items"]
        self.assertEqual((folder["dir"], folder["size"]), (1, 0))
        self.assertNotIn("url", folder)
        self.assertEqual(item["path"], 'd/{"q"}\\x.txt')
        self.assertEqual(item["size"], 3)
        query = urllib.parse.parse_qs(urllib.parse.urlsplit(item["url"]).query)
        self.assertEqual(query["id"], ["77"])
        self.assertEqual(query["path"], [item["fullPath"]])
        self.assertEqual(offer.file_at(item["fullPath"]), b"abc")

    def test_hostile_round_holds_the_unsafe_names(self):
        names = [rel for rel, _ in hp.hostile_offer().entries]
        for name in ("..\\..\\evil.txt", "CON", "a:b.txt", "C:\\Windows\\evil2.txt", "trailing-dot."):
            self.assertIn(name, names)


class HttpAnswers(unittest.TestCase):
    def setUp(self):
        self.offer = hp.harmless_offer()
        self.offers = {self.offer.transfer_id: self.offer}

    def answer(self, line: str) -> tuple[int, dict, bytes]:
        response, _ = hp.answer_request(line.encode() + b"\r\nHost: x\r\n\r\n", self.offers)
        head, body = response.split(b"\r\n\r\n", 1)
        status = int(head.split(b" ")[1])
        headers = dict(h.split(": ", 1) for h in head.decode().split("\r\n")[1:])
        return status, headers, body

    def test_manifest_carries_its_length(self):
        status, headers, body = self.answer(f"GET /manifest?id={self.offer.transfer_id} HTTP/1.1")
        self.assertEqual(status, 200)
        self.assertEqual(int(headers["Content-Length"]), len(body))
        self.assertEqual(body, self.offer.manifest())

    def test_requests_the_server_refuses(self):
        item = json.loads(self.offer.manifest())["items"][1]
        cases = [
            ("other offer", "GET /manifest?id=1 HTTP/1.1", 404),
            ("not GET", f"POST /manifest?id={self.offer.transfer_id} HTTP/1.1", 405),
            ("no version", f"GET /manifest?id={self.offer.transfer_id}", 405),
            ("path not offered", f"GET /file?id={self.offer.transfer_id}&path=C%3A%5Cother HTTP/1.1", 404),
            ("offered file", f"GET {item['url']} HTTP/1.1", 200),
        ]
        for name, line, code in cases:
            with self.subTest(name):
                self.assertEqual(self.answer(line)[0], code)


class WholeRun(unittest.TestCase):
    """A stand-in controller on loopback: refuses the first announcement, downloads the second."""

    def test_two_rounds_reported(self):
        lines: list[str] = []
        listening = threading.Event()

        def say(line: str) -> None:
            lines.append(line)
            if line.startswith("LISTENING"):
                listening.set()

        outcome: dict = {}
        runner = threading.Thread(target=lambda: outcome.update(hp.run("127.0.0.1", 0, 0, say, accept_wait=10,
                                                                           status_wait=10)), daemon=True)
        runner.start()
        self.assertTrue(listening.wait(10))
        port = int(re.match(r"LISTENING 127\.0\.0\.1:(\d+) ", lines[0]).group(1))
        downloaded = {}
        with socket.create_connection(("127.0.0.1", port), timeout=10) as conn:
            deadline = time.monotonic() + 20
            self.assertEqual(hp.read_message(conn, deadline).kind, hp.CB_HELLO)
            for answer in (hp.STATUS_ERROR, hp.STATUS_DONE):
                begin = hp.read_message(conn, deadline)
                self.assertEqual(begin.kind, hp.CB_HTTP_BEGIN)
                fields = dict(line.split("=", 1) for line in begin.payload.decode().split("\n"))
                self.assertEqual(fields["targetPath"], "C:\\\\Windows")
                self.assertEqual(int(fields["transferId"]), begin.ident)
                with urllib.request.urlopen(fields["manifestUrl"], timeout=10) as response:
                    manifest = json.loads(response.read())
                if answer == hp.STATUS_DONE:
                    base = fields["manifestUrl"].split("/manifest")[0]
                    for item in manifest["items"]:
                        if not item["dir"]:
                            with urllib.request.urlopen(base + item["url"], timeout=10) as response:
                                downloaded[item["path"]] = response.read()
                conn.sendall(hp.pack_message(hp.CB_TRANSFER_STATUS, begin.ident, c=answer, payload=b"reason"))
        runner.join(15)
        self.assertFalse(runner.is_alive())
        self.assertEqual([r["c"] for r in outcome["rounds"]], [hp.STATUS_ERROR, hp.STATUS_DONE])
        self.assertEqual(outcome["rounds"][0]["requests"], ["manifest"])
        self.assertEqual(len(outcome["rounds"][1]["requests"]), 1 + len(hp.HARMLESS_FILES))
        self.assertEqual(downloaded, hp.HARMLESS_FILES)
        self.assertTrue(any(line.startswith("STATUS id=9100001 c=3") for line in lines))

    def test_no_controller_ends_within_the_wait(self):
        started = time.monotonic()
        result = hp.run("127.0.0.1", 0, 0, lambda line: None, accept_wait=0.5, status_wait=1)
        self.assertIsNone(result["connected"])
        self.assertEqual(result["rounds"], [])
        self.assertLess(time.monotonic() - started, 5)


if __name__ == "__main__":
    unittest.main()
