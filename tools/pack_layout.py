#!/usr/bin/env python3
"""Packs a window layout source into the binary layout data that the program embeds
(app/layout/LayoutReader.h describes the packed form).

Source form, one item per line; blank lines and text after "#" (outside a string) are ignored:

    object FrmMain: TFrmMain        an object: its name and class; its properties and child objects follow
      Left = 307                    integer (32-bit signed)
      OldCreateOrder = False        boolean: True or False
      Caption = "Marovin"           string: printable ASCII, with \\\\, \\" and \\xHH for any other byte
      Color = clBtnFace             identifier
      BorderIcons = [biSystemMenu, biMinimize]   set of identifiers, [] when empty
      Picture.Data = file "banner.jpg" kind TJPEGImage   picture block built from a file beside the source
    end                             closes the innermost open object

The source is UTF-8 (comments may hold any text); everything outside comments is ASCII.
Picture kinds: TJPEGImage stores a 4-byte little-endian length before the file's bytes, TGIFImage stores
the file's bytes alone. Indentation is for the reader only.

Usage: pack_layout.py SOURCE OUTPUT [--depfile DEPFILE]
"""
import argparse
import os
import re
import struct
import sys

SIGNATURE = b"LYT1"
INTEGER, BOOLEAN, STRING, IDENTIFIER, SET, BINARY = range(1, 7)
IDENT = r"[A-Za-z_][A-Za-z0-9_]*"
PICTURE_KINDS = {
    "TJPEGImage": lambda data: struct.pack("<I", len(data)) + data,
    "TGIFImage": lambda data: data,
}


class LayoutSourceError(Exception):
    pass


def short(text):
    if not 0 < len(text) < 256:
        raise LayoutSourceError(f"name of 1 to 255 bytes expected: {text!r}")
    return bytes([len(text)]) + text


def parse_string(token):
    body = token[1:-1]
    out = bytearray()
    i = 0
    while i < len(body):
        if body[i] != "\\":
            out += body[i].encode("ascii")
            i += 1
        elif body[i + 1:i + 2] in ("\\", '"'):
            out += body[i + 1].encode("ascii")
            i += 2
        elif re.fullmatch(r"x[0-9A-Fa-f]{2}", body[i + 1:i + 4]):
            out.append(int(body[i + 2:i + 4], 16))
            i += 4
        else:
            raise LayoutSourceError(f"bad escape in {token}")
    return bytes(out)


STRING_TOKEN = r'"(?:[ !#-\[\]-~]|\\\\|\\"|\\x[0-9A-Fa-f]{2})*"'


def picture_block(match, folder, dependencies):
    path = os.path.join(folder, parse_string(match.group(1)).decode("ascii"))
    kind = match.group(2)
    if kind not in PICTURE_KINDS:
        raise LayoutSourceError(f"unknown picture kind {kind}")
    with open(path, "rb") as picture:
        data = picture.read()
    dependencies.append(os.path.abspath(path))
    return short(kind.encode("ascii")) + PICTURE_KINDS[kind](data)


def pack_value(text, folder, dependencies):
    if re.fullmatch(r"-?[0-9]+", text):
        number = int(text)
        if not -2**31 <= number < 2**31:
            raise LayoutSourceError(f"integer out of range: {text}")
        return bytes([INTEGER]) + struct.pack("<i", number)
    if text in ("True", "False"):
        return bytes([BOOLEAN, text == "True"])
    if re.fullmatch(STRING_TOKEN, text):
        data = parse_string(text)
        return bytes([STRING]) + struct.pack("<I", len(data)) + data
    if re.fullmatch(IDENT, text):
        return bytes([IDENTIFIER]) + short(text.encode("ascii"))
    members = re.fullmatch(rf"\[\s*((?:{IDENT}\s*(?:,\s*{IDENT}\s*)*)?)\]", text)
    if members:
        names = re.findall(IDENT, members.group(1))
        return bytes([SET, len(names)]) + b"".join(short(n.encode("ascii")) for n in names)
    picture = re.fullmatch(rf"file\s+({STRING_TOKEN})\s+kind\s+({IDENT})", text)
    if picture:
        block = picture_block(picture, folder, dependencies)
        return bytes([BINARY]) + struct.pack("<I", len(block)) + block
    raise LayoutSourceError(f"unreadable value: {text}")


def strip_comment(line):
    """The line without a trailing "#" comment; a "#" inside a string stays."""
    code = re.match(rf'(?:{STRING_TOKEN}|[^"#])*', line).group(0)
    if line[len(code):len(code) + 1] not in ("", "#"):
        raise LayoutSourceError("unterminated or malformed string")
    return code.strip()


class Object:
    def __init__(self, name, class_name):
        self.header = short(name.encode("ascii")) + short(class_name.encode("ascii"))
        self.properties = []
        self.children = []

    def pack(self):
        return (self.header + struct.pack("<H", len(self.properties)) + b"".join(self.properties) +
                struct.pack("<H", len(self.children)) + b"".join(c.pack() for c in self.children))


def parse(source, folder, dependencies):
    root, stack = None, []
    for number, raw in enumerate(source.splitlines(), 1):
        try:
            line = strip_comment(raw)
            if not line:
                continue
            opened = re.fullmatch(rf"object\s+({IDENT})\s*:\s*({IDENT})", line)
            assignment = re.fullmatch(r"([A-Za-z_][A-Za-z0-9_.]*)\s*=\s*(.+)", line)
            if opened:
                obj = Object(*opened.groups())
                if stack:
                    stack[-1].children.append(obj)
                elif root is None:
                    root = obj
                else:
                    raise LayoutSourceError("a second root object")
                stack.append(obj)
            elif line == "end":
                if not stack:
                    raise LayoutSourceError("end without an open object")
                stack.pop()
            elif assignment and stack:
                name, value = assignment.groups()
                packed = short(name.encode("ascii")) + pack_value(value, folder, dependencies)
                stack[-1].properties.append(packed)
            else:
                raise LayoutSourceError(f"unreadable line: {line}")
        except (LayoutSourceError, UnicodeEncodeError, OSError) as error:
            raise LayoutSourceError(f"line {number}: {error}") from None
    if root is None or stack:
        raise LayoutSourceError("the root object is missing or not closed")
    return SIGNATURE + root.pack()


def main():
    arguments = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    arguments.add_argument("source")
    arguments.add_argument("output")
    arguments.add_argument("--depfile")
    options = arguments.parse_args()
    dependencies = [os.path.abspath(options.source)]
    with open(options.source, encoding="utf-8") as source:
        try:
            packed = parse(source.read(), os.path.dirname(options.source), dependencies)
        except LayoutSourceError as error:
            sys.exit(f"{options.source}: {error}")
    with open(options.output, "wb") as output:
        output.write(packed)
    if options.depfile:
        with open(options.depfile, "w") as depfile:
            paths = [path.replace(" ", "\\ ") for path in [os.path.abspath(options.output)] + dependencies]
            depfile.write(paths[0] + ": " + " ".join(paths[1:]) + "\n")


if __name__ == "__main__":
    main()
