#!/usr/bin/env python3
"""Checks the release zip as a user receives it: entries, read-me text and checksum file, and
that its name and its read-me carry the version the build was made with.

    check_zip.py ZIP VERSION
"""
import hashlib
import os
import struct
import sys
import zipfile

EXPECTED_ENTRIES = [
    "TarvelloRounding.exe",
    "README.txt",
    "standin/TarvelloStandin.exe",
    "standin/README.txt",
    "standin/sample-quote.csv",
    "policy/tarvello-rounding.admx",
    "policy/en-US/tarvello-rounding.adml",
]
# What a Windows user must find in the read-me, word for word.
README_MUST_SAY = [
    "Tarvello must be running",
    "HKEY_CURRENT_USER\\Software\\Tarvello Rounding Utility\\frmMain",
    'reg delete "HKCU\\Software\\Tarvello Rounding Utility" /f',
    "Delete the folder",
]
# 2026-01-01 00:00 UTC: the release's one time stamp, also in the executables' PE headers, so
# that packing the same executables again gives the same bytes.
RELEASE_EPOCH = 1767225600


def pe_time_stamp(image):
    header = struct.unpack_from("<I", image, 0x3C)[0]
    if image[header:header + 4] != b"PE\0\0":
        return None
    return struct.unpack_from("<I", image, header + 8)[0]


def fail(message):
    print("check_zip: " + message)
    sys.exit(1)


def main():
    path, version = sys.argv[1], sys.argv[2]
    problems = []
    if os.path.basename(path) != "tarvello-rounding-%s-win64.zip" % version:
        problems.append("the zip is named %s, not for version %s" % (os.path.basename(path), version))
    with zipfile.ZipFile(path) as z:
        names = [i.filename for i in z.infolist()]
        if names != EXPECTED_ENTRIES:
            fail("entries differ\n  expected: %s\n  actual:   %s" % (EXPECTED_ENTRIES, names))
        for info in z.infolist():
            if info.extra:
                problems.append("%s carries extra fields" % info.filename)
        for name in ("TarvelloRounding.exe", "standin/TarvelloStandin.exe"):
            image = z.read(name)
            if image[:2] != b"MZ":
                problems.append("%s is not a Windows executable" % name)
            elif pe_time_stamp(image) != RELEASE_EPOCH:
                problems.append("%s has the PE time stamp %s, not %d" %
                                (name, pe_time_stamp(image), RELEASE_EPOCH))
        for name in ("README.txt", "standin/README.txt"):
            text = z.read(name)
            if b"\n" in text.replace(b"\r\n", b""):
                problems.append("%s has line ends other than CRLF" % name)
        readme = z.read("README.txt").decode("ascii", errors="replace")
        first_line = readme.splitlines()[0] if readme else ""
        if first_line != "Tarvello Rounding Utility %s" % version:
            problems.append("README.txt begins %r, not with version %s" % (first_line, version))
        for phrase in README_MUST_SAY:
            if phrase not in readme:
                problems.append("README.txt does not say: %s" % phrase)

    with open(path + ".sha256", encoding="ascii") as f:
        line = f.read()
    with open(path, "rb") as f:
        digest = hashlib.sha256(f.read()).hexdigest()
    if line != "%s  %s\n" % (digest, os.path.basename(path)):
        problems.append("checksum file says %r, the zip's SHA-256 is %s" % (line, digest))

    if problems:
        fail("\n  ".join(["problems:"] + problems))
    print("check_zip: %s is as expected" % os.path.basename(path))


if __name__ == "__main__":
    main()
