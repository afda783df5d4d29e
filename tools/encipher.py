#!/usr/bin/env python3
"""Enciphers a plain text into the upper-case hexadecimal form that the program deciphers with
DecipherText (common/Decipher.h). This inverse lives only here, never in the program.

Usage: tools/encipher.py KEY TEXT
  KEY   the 16-bit key, decimal or 0x-prefixed hexadecimal
  TEXT  the plain text; its bytes (UTF-8 of the argument) are enciphered as they are

The stored constants of common/UnitPublic.cpp were made with key 0xB7A5 from these plain texts:
  LaunchParameters   "/FromUpdate"
  ServerAddressCode  "10.0.0.8"
  DatabaseUserCode   "qexam1"
  CatalogCode        "Initial Catalog=QeltoExam"
  ServicePathCode    "/ExamService/Update.asmx"
e.g. tools/encipher.py 0xB7A5 /FromUpdate

Deciphering maps an enciphered byte c under mask m (the key's top four bits) to c when c == m and to
c ^ m otherwise. Enciphering therefore writes p ^ m, which the decoder reads back as p; only a NUL byte
under a non-zero mask has no enciphered form (both 0 and m decipher to m), and it is refused.
"""
import sys


def next_key(key, addend):
    return ((key + addend) * 19 + 17) & 0xFFFF


def encipher(plain, key):
    out = bytearray()
    for p in plain:
        mask = key >> 12
        c = p ^ mask
        if c == mask and mask != 0:
            raise ValueError("a NUL byte cannot be enciphered under mask %X" % mask)
        out.append(c)
        key = next_key(key, 0 if c == mask else c)
    return out.hex().upper()


def main(argv):
    if len(argv) != 3:
        sys.exit(__doc__)
    print(encipher(argv[2].encode("utf-8"), int(argv[1], 0)))


if __name__ == "__main__":
    main(sys.argv)
