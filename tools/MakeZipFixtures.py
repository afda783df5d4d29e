#!/usr/bin/env python3
"""Writes the small archives that the Windows-side archive tests extract (tests/fixtures/zip/) and the
seed corpus of the archive fuzz harness (fuzz/corpus/ZipArchiveFuzz/). Run from the repository root;
the output is byte-for-byte reproducible.
"""
import io
import os
import struct
import zipfile

WHEN = (2020, 1, 2, 3, 4, 6)
LOCAL_CRC, CENTRAL_CRC = 14, 16


class GbkInfo(zipfile.ZipInfo):
    """A member whose name is stored as GBK bytes without the UTF-8 flag, as older Chinese tools do."""

    def _encodeFilenameFlags(self):
        return self.filename.encode("gbk"), self.flag_bits


def archive(members, info=zipfile.ZipInfo):
    buffer = io.BytesIO()
    with zipfile.ZipFile(buffer, "w") as zf:
        for name, data, method in members:
            member = info(name, date_time=WHEN)
            member.compress_type = method
            zf.writestr(member, data)
    return buffer.getvalue()


def with_bad_crc(data):
    """The first member's CRC-32, in its local and central headers, changed to a wrong value."""
    data = bytearray(data)
    central = data.index(b"PK\x01\x02")
    for offset in (LOCAL_CRC, central + CENTRAL_CRC):
        (crc,) = struct.unpack_from("<I", data, offset)
        struct.pack_into("<I", data, offset, crc ^ 0x1)
    return bytes(data)


STORED, DEFLATED = zipfile.ZIP_STORED, zipfile.ZIP_DEFLATED
EXAM_TEXT = "考试资料\r\n".encode("gbk") * 40
FIXTURES = {
    "Stored.zip": archive([("readme.txt", b"stored member\r\n", STORED)]),
    "Deflated.zip": archive([("bin/QeltoExam.exe", b"exam client build 2\n" * 400, DEFLATED)]),
    "Several.zip": archive([
        ("a.txt", b"first", STORED),
        ("Sub/Data.MDB", b"database bytes " * 50, DEFLATED),
        ("b.txt", b"last", DEFLATED),
    ]),
    "NoMatch.zip": archive([("a.txt", b"first", STORED), ("b.txt", b"last", STORED)]),
    "ChineseUtf8.zip": archive([("其他.txt", b"other", STORED), ("资料/考试.txt", EXAM_TEXT, DEFLATED)]),
    "ChineseGbk.zip": archive([("其他.txt", b"other", STORED), ("资料/考试.txt", EXAM_TEXT, DEFLATED)], GbkInfo),
    "BadCrc.zip": with_bad_crc(archive([("readme.txt", b"stored member\r\n", STORED)])),
    "NotAnArchive.zip": b"this is plain text, not an archive\r\n",
}


def write(folder, name, data):
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as out:
        out.write(data)


for name, data in FIXTURES.items():
    write("tests/fixtures/zip", name, data)
    write("fuzz/corpus/ZipArchiveFuzz", name, data)
