"""Files for the transfer checks of the two-PC run: the sample tree a PC offers, and the evidence of where a
transfer wrote (what arrived, with which content, and anything that landed outside the receiver's folder).
"""
from __future__ import annotations

import hashlib
import os
import random
from pathlib import Path

BIG_FILE_BYTES = 5 * 1024 * 1024
PART_SUFFIX = ".tsly_part"
# Names (lower case) that only a transfer that left its folder could have written.
ESCAPE_MARKERS = ("evil", "hostile-round1", "trailing-dot")
# Whole names (lower case) a refused transfer must not have written anywhere: device names and a stream.
ESCAPE_NAMES = ("con", "nul.txt", "a:b.txt")


def sha256_file(path: Path) -> str:
    digest = hashlib.sha256()
    with open(path, "rb") as f:
        for block in iter(lambda: f.read(1 << 20), b""):
            digest.update(block)
    return digest.hexdigest()


def make_offer(root: Path) -> tuple[list[Path], dict[str, str]]:
    """Writes the offered items below root: a folder holding an empty file, a 5 MiB file and a subfolder with
    a name of braces and a quote, and one loose file. Returns the offered top-level paths and the sha256 of
    every file by its path relative to the receiver's folder ("/" separators)."""
    tree = root / "tree"
    (tree / "sub").mkdir(parents=True, exist_ok=True)
    contents = {
        "tree/empty.bin": b"",
        "tree/big.bin": random.Random(20261211).randbytes(BIG_FILE_BYTES),
        "tree/sub/it's {braced}.txt": "braces, a quote and ümlauts\n".encode(),
        "note {1}.txt": b"a loose file beside the folder\n",
    }
    for rel, data in contents.items():
        (root / rel).write_bytes(data)
    return [tree, root / "note {1}.txt"], {rel: hashlib.sha256(data).hexdigest() for rel, data in contents.items()}


def arrival_findings(folder: Path, expected: dict[str, str]) -> list[str]:
    """What is missing or different in folder against the expected sha256 by relative path, and temporary
    files left behind."""
    out = []
    for rel, digest in expected.items():
        path = folder / rel
        if not path.is_file():
            out.append(f"{rel} did not arrive in {folder}")
        elif sha256_file(path) != digest:
            out.append(f"{rel} arrived with other content ({path.stat().st_size} bytes)")
    for rel in expected:
        part = folder / (rel + PART_SUFFIX)
        if part.exists():
            out.append(f"temporary file {part.name} left in {part.parent}")
    return out


def escaped_writes(roots: list[Path], since: float) -> list[Path]:
    """Files and folders below the roots, changed at or after `since`, whose name only a transfer that left
    its folder writes (symbolic links are not followed)."""
    found = []
    for root in roots:
        for dirpath, dirnames, filenames in os.walk(root):
            for name in dirnames + filenames:
                path = Path(dirpath) / name
                lowered = name.lower()
                if lowered not in ESCAPE_NAMES and not any(marker in lowered for marker in ESCAPE_MARKERS):
                    continue
                try:
                    changed = path.lstat().st_mtime
                except OSError:
                    continue
                if changed >= since:
                    found.append(path)
    return sorted(found)


def listing(folder: Path) -> set[str]:
    """The names directly inside folder (empty when it does not exist)."""
    try:
        return set(os.listdir(folder))
    except OSError:
        return set()
