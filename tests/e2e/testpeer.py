#!/usr/bin/env python3
"""A stand-in peer for the end-to-end run: sends one control message the way a PC on the cable link does.

Run inside a simulated PC's network namespace (the harness does that):
  testpeer.py tcp BIND_IP HOST PORT TEXT   one TCP message (the connection's whole write), prints the reply
  testpeer.py udp BIND_IP HOST PORT HEX    one datagram of the given bytes
BIND_IP may carry a source port as IP:PORT (a filter can then tell the stand-in from the PC's own traffic).
Bounded: every wait ends within a few seconds.
"""
import socket
import sys


def source(bind: str) -> tuple[str, int]:
    ip, _, port = bind.partition(":")
    return ip, int(port or 0)


def send_tcp(bind_ip: str, host: str, port: int, data: bytes) -> bytes:
    with socket.socket(socket.AF_INET, socket.SOCK_STREAM) as s:
        s.settimeout(3.0)
        # A fixed source port is reused at once by the next message.
        s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        s.bind(source(bind_ip))
        s.connect((host, port))
        reply = b""
        try:
            s.sendall(data)
            s.shutdown(socket.SHUT_WR)
            while len(reply) < 8192:
                piece = s.recv(1024)
                if not piece:
                    break
                reply += piece
        except (socket.timeout, ConnectionResetError, BrokenPipeError):
            # A receiver may drop a message it will not take (too long, garbage) without a reply.
            pass
        return reply


def send_udp(bind_ip: str, host: str, port: int, data: bytes) -> None:
    with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as s:
        s.bind(source(bind_ip))
        s.sendto(data, (host, port))


def main(argv: list[str]) -> int:
    if len(argv) != 6 or argv[1] not in ("tcp", "udp"):
        print(__doc__, file=sys.stderr)
        return 2
    kind, bind_ip, host, port, payload = argv[1], argv[2], argv[3], int(argv[4]), argv[5]
    if kind == "tcp":
        sys.stdout.write(send_tcp(bind_ip, host, port, payload.encode("latin-1")).decode("latin-1"))
    else:
        send_udp(bind_ip, host, port, bytes.fromhex(payload))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
