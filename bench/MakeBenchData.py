#!/usr/bin/env python3
"""Writes the input data of scripts/bench, the same bytes on every run (a fixed random seed):
  blob <file> <MiB>              one file of mixed text and random bytes
  tree <folder> <manifest> <n> [bytes]
                                 n small files in <folder> (of that size, else 0.5 to 8 KiB), listed in the
                                 GBK manifest as "data\\fNNNNN.bin" lines, CR LF ended
  zip <archive> <MiB>            an archive with one deflated member "payload.bin" of that size
  log <file> <MiB>               an update log of that size: copy failure records, newest first
"""
import random
import sys
import zipfile
from pathlib import Path

BLOCK = 1 << 16


def blob_bytes(mib, rng):
    """Blocks of three parts text to one part random bytes: inflating it does real work."""
    words = [b"update", b"exam", b"client", b"record", b"version", b"file", b"folder", b"\xce\xc4\xbc\xfe"]
    text = b" ".join(rng.choice(words) + str(rng.randrange(10**6)).encode() for _ in range(BLOCK // 8))
    out = bytearray()
    while len(out) < mib << 20:
        start = rng.randrange(len(text) // 2)
        out += text[start:start + 3 * BLOCK // 4] + rng.randbytes(BLOCK // 4)
    return bytes(out[:mib << 20])


def write_blob(path, mib, rng):
    Path(path).write_bytes(blob_bytes(int(mib), rng))


def write_tree(folder, manifest, count, *rest):
    *size, rng = rest
    folder = Path(folder)
    folder.mkdir(parents=True, exist_ok=True)
    names = [f"f{i:05d}.bin" for i in range(int(count))]
    for name in names:
        left = int(size[0]) if size else rng.randrange(512, 8193)
        with open(folder / name, "wb") as out:
            while left > 0:  # in blocks: one call of randbytes takes less than 256 MiB
                out.write(rng.randbytes(min(left, BLOCK)))
                left -= BLOCK
    Path(manifest).write_bytes(b"".join(b"data\\" + name.encode() + b"\r\n" for name in names))


def write_zip(path, mib, rng):
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as archive:
        archive.writestr("payload.bin", blob_bytes(int(mib), rng))


def write_log(path, mib, rng):
    # 2026/12/10 13:05:13,〖data\fNNNNN.bin〗文件升级失败!
    lines = []
    size = 0
    while size < int(mib) << 20:
        line = (f"2026/12/{rng.randrange(1, 29)} {rng.randrange(24):02d}:{rng.randrange(60):02d}:00,".encode()
                + b"\xa1\xbc" + f"data\\f{rng.randrange(10**5):05d}.bin".encode()
                + b"\xa1\xbd\xce\xc4\xbc\xfe\xc9\xfd\xbc\xb6\xca\xa7\xb0\xdc!\r\n")
        lines.append(line)
        size += len(line)
    Path(path).write_bytes(b"".join(lines))


COMMANDS = {"blob": write_blob, "tree": write_tree, "zip": write_zip, "log": write_log}

if __name__ == "__main__":
    if len(sys.argv) < 2 or sys.argv[1] not in COMMANDS:
        sys.exit(__doc__)
    COMMANDS[sys.argv[1]](*sys.argv[2:], random.Random(20261210))
