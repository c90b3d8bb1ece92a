#!/usr/bin/env python3
"""Adds up the JUnit XML results of every test layer and prints 'N passed, M failed'."""
import sys
import xml.etree.ElementTree as ET
from pathlib import Path


def count(path):
    passed = failed = 0
    root = ET.parse(path).getroot()
    for case in root.iter("testcase"):
        if case.get("status") == "notrun" or case.find("skipped") is not None:
            continue
        if case.find("failure") is not None or case.find("error") is not None:
            failed += 1
        else:
            passed += 1
    return passed, failed


def main():
    folder = Path(sys.argv[1])
    expected = sys.argv[2:]  # result files every run must produce
    passed = failed = 0
    for name in expected:
        if not (folder / name).exists():
            print(f"missing results: {name}")
            failed += 1
    for path in sorted(folder.glob("*.xml")):
        try:
            p, f = count(path)
        except ET.ParseError as error:
            print(f"unreadable results: {path.name}: {error}")
            p, f = 0, 1
        print(f"  {path.name}: {p} passed, {f} failed")
        passed += p
        failed += f
    print(f"{passed} passed, {failed} failed")
    return 0 if failed == 0 and passed > 0 else 1


if __name__ == "__main__":
    sys.exit(main())
