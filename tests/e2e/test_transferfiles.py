"""The evidence rules of the transfer checks: what counts as arrived, and what counts as written outside.
Run: python3 -m unittest discover -s tests/e2e -p 'test_*.py'
"""
import os
import shutil
import sys
import tempfile
import time
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import transferfiles as tf  # noqa: E402


class Arrival(unittest.TestCase):
    def setUp(self):
        self.dir = Path(tempfile.mkdtemp())
        self.source, self.target = self.dir / "source", self.dir / "target"
        self.offered, self.expected = tf.make_offer(self.source)

    def tearDown(self):
        shutil.rmtree(self.dir)

    def copy_offer(self) -> None:
        for path in self.offered:
            if path.is_dir():
                shutil.copytree(path, self.target / path.name)
            else:
                self.target.mkdir(parents=True, exist_ok=True)
                shutil.copy2(path, self.target / path.name)

    def test_offer_holds_the_edge_files(self):
        sizes = {rel: (self.source / rel).stat().st_size for rel in self.expected}
        self.assertEqual(sizes["tree/empty.bin"], 0)
        self.assertEqual(sizes["tree/big.bin"], tf.BIG_FILE_BYTES)
        self.assertTrue(any("{" in rel and "'" in rel for rel in self.expected))
        self.assertEqual([p.name for p in self.offered], ["tree", "note {1}.txt"])

    def test_complete_copy_has_no_findings(self):
        self.copy_offer()
        self.assertEqual(tf.arrival_findings(self.target, self.expected), [])

    def test_faults_are_named(self):
        cases = [
            ("missing", lambda: (self.target / "tree/empty.bin").unlink(), "tree/empty.bin did not arrive"),
            ("cut short", lambda: os.truncate(self.target / "tree/big.bin", 1000), "tree/big.bin arrived with other"),
            ("temporary left", lambda: (self.target / "note {1}.txt.tsly_part").write_bytes(b"x"),
             "temporary file note {1}.txt.tsly_part"),
        ]
        for name, damage, finding in cases:
            with self.subTest(name):
                shutil.rmtree(self.target, ignore_errors=True)
                self.copy_offer()
                damage()
                findings = tf.arrival_findings(self.target, self.expected)
                self.assertEqual(len(findings), 1, findings)
                self.assertIn(finding, findings[0])


class Escapes(unittest.TestCase):
    def setUp(self):
        self.dir = Path(tempfile.mkdtemp())

    def tearDown(self):
        shutil.rmtree(self.dir)

    def test_only_new_escape_names_count(self):
        old = self.dir / "windows" / "evil-old.txt"
        old.parent.mkdir()
        old.write_text("from an earlier run")
        past = time.time() - 3600
        os.utime(old, (past, past))
        since = time.time() - 1
        for name in ("evil.txt", "CON", "nul.txt", "trailing-dot", "hostile-round1-harmless.txt.tsly_part"):
            (self.dir / "windows" / name).write_text("x")
        for name in ("config.ini", "hostile-safe-two.txt", "console.log"):
            (self.dir / name).write_text("harmless")
        found = sorted(p.name for p in tf.escaped_writes([self.dir], since))
        self.assertEqual(found, sorted(["CON", "evil.txt", "hostile-round1-harmless.txt.tsly_part", "nul.txt",
                                        "trailing-dot"]))

    def test_listing_of_missing_folder_is_empty(self):
        self.assertEqual(tf.listing(self.dir / "none"), set())


if __name__ == "__main__":
    unittest.main()
