#!/usr/bin/env python3
"""Checks a built Windows image from its headers, as objdump shows them, without running it.

A 32-bit fault often shows only when the image runs under 32-bit Windows: a stdcall export decorated as
Name@12 that GetProcAddress cannot find, a 64-bit image, a runtime DLL that a user's machine lacks. These
checks read the same facts from the file itself, so a machine that cannot run 32-bit code still catches them.

Usage: check_pe.py OBJDUMP IMAGE [--machine i386] [--kind gui|dll] [--imports-only-from NAME,...]
                   [--not-imports-from NAME,...] [--exports NAME,...] [--imports NAME.dll:NAME,...]
                   [--file-alignment BYTES] [--large-address-aware] [--windows-version 0xMMNN]
Prints one line per failed check and exits 1 when any failed.
"""
import argparse
import re
import subprocess
import sys

# The DLLs that every Windows installation has; anything else would have to ship beside the program.
SYSTEM_DLLS = {
    "advapi32.dll", "bcrypt.dll", "comctl32.dll", "gdi32.dll", "kernel32.dll", "msimg32.dll", "msvcrt.dll",
    "ole32.dll", "oleaut32.dll", "shell32.dll", "user32.dll", "winmm.dll",
}

IMAGE_FILE_LARGE_ADDRESS_AWARE = 0x20
IMAGE_FILE_DLL = 0x2000
SUBSYSTEM_WINDOWS_GUI = 2
MACHINES = {"i386": "pei-i386", "x86-64": "pei-x86-64"}
OPTIONAL_HEADER_MAGIC = {"i386": 0x10B, "x86-64": 0x20B}  # PE32, PE32+


def headers(objdump, image):
    """objdump's view of the image's headers; exits with its complaint when it cannot read the image (one
    of another machine, or no image at all)."""
    done = subprocess.run([objdump, "-p", image], capture_output=True, text=True)
    if done.returncode != 0:
        sys.exit(f"{image}: {objdump} cannot read it: {done.stderr.strip()}")
    return done.stdout


def field(text, name):
    match = re.search(rf"^{re.escape(name)}\s+(?:0x)?([0-9a-fA-F]+)", text, re.MULTILINE)
    return int(match.group(1), 16) if match else None


def decimal_field(text, name):
    match = re.search(rf"^{re.escape(name)}\s+(\d+)$", text, re.MULTILINE)
    return int(match.group(1)) if match else None


def declared_versions(text):
    """The Windows versions that the header declares: (what it is, major, minor) for the operating system and
    the subsystem, the two that decide whether a Windows starts the image at all."""
    return [(what, decimal_field(text, f"Major{name}Version"), decimal_field(text, f"Minor{name}Version"))
            for what, name in (("operating-system", "OSystem"), ("subsystem", "Subsystem"))]


def imported(text):
    """{dll name in lower case: [imported names]} from the import tables."""
    tables, current = {}, None
    for line in text.splitlines():
        dll = re.match(r"\s*DLL Name: (\S+)", line)
        if dll:
            current = tables.setdefault(dll.group(1).lower(), [])
            continue
        entry = re.match(r"\s+[0-9a-fA-F]+\s+([0-9a-fA-F]+\s+)?(\S+)$", line)
        if current is not None and entry and not line.strip().startswith(("vma:", "Hint")):
            current.append(entry.group(2))
        if not line.strip():
            current = None
    return tables


def exported(text):
    section = text.split("[Ordinal/Name Pointer] Table", 1)
    if len(section) < 2:
        return set()
    names = set()
    for line in section[1].splitlines()[1:]:
        entry = re.match(r"\s+\[\s*\d+\]\s+(\S+)$", line)
        if not entry:
            break
        names.add(entry.group(1))
    return names


def names(value):
    return [n for n in (value or "").split(",") if n]


def names_in_file(image, name):
    """Whether the image's bytes hold the name, as ANSI or UTF-16 text, in any letter case."""
    with open(image, "rb") as file:
        data = file.read().lower()
    return name.lower().encode() in data or name.lower().encode("utf-16-le") in data


def check(args):
    text = headers(args.objdump, args.image)
    faults = []
    fmt = re.search(r"file format (\S+)", text)
    if not fmt or fmt.group(1) != MACHINES[args.machine]:
        faults.append(f"image type {fmt.group(1) if fmt else 'unknown'}, not {MACHINES[args.machine]}")
    magic = field(text, "Magic")
    if magic != OPTIONAL_HEADER_MAGIC[args.machine]:
        faults.append(f"optional header magic {magic:#x}, not {OPTIONAL_HEADER_MAGIC[args.machine]:#x}")
    characteristics = field(text, "Characteristics") or 0
    if args.kind == "dll" and not characteristics & IMAGE_FILE_DLL:
        faults.append("not a DLL")
    if args.kind == "gui" and (characteristics & IMAGE_FILE_DLL or field(text, "Subsystem") != SUBSYSTEM_WINDOWS_GUI):
        faults.append(f"not a Windows GUI program (subsystem {field(text, 'Subsystem')})")
    if args.large_address_aware and not characteristics & IMAGE_FILE_LARGE_ADDRESS_AWARE:
        faults.append("not large-address-aware (2 GiB of address space instead of 4 under 64-bit Windows)")
    tables = imported(text)
    allowed = SYSTEM_DLLS | {n.lower() for n in names(args.imports_only_from)}
    faults += [f"imports {dll}, which is neither a system DLL nor ours" for dll in sorted(set(tables) - allowed)]
    faults += [f"binds {dll} at load time" for dll in names(args.not_imports_from) if dll.lower() in tables]
    found = exported(text)
    faults += [f"does not export {name} undecorated" for name in names(args.exports) if name not in found]
    faults += [f"exports the decorated name {name}" for name in sorted(found) if "@" in name]
    alignment = field(text, "FileAlignment")
    if args.file_alignment and alignment != args.file_alignment:
        faults.append(f"sections aligned to {alignment} bytes in the file, not {args.file_alignment}")
    if args.windows_version is not None:
        wanted = (args.windows_version >> 8, args.windows_version & 0xFF)
        faults += [f"declares {what} version {major}.{minor}, not {wanted[0]}.{wanted[1]} as compiled for"
                   for what, major, minor in declared_versions(text) if (major, minor) != wanted]
    faults += [f"names {name}" for name in names(args.not_naming) if names_in_file(args.image, name)]
    for wanted in names(args.imports):
        dll, name = wanted.split(":")
        if name not in tables.get(dll.lower(), []):
            faults.append(f"does not import {name} from {dll} by that name")
    return faults


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("objdump")
    parser.add_argument("image")
    parser.add_argument("--machine", choices=sorted(MACHINES), default="i386")
    parser.add_argument("--kind", choices=("gui", "dll"), required=True)
    parser.add_argument("--imports-only-from", help="our own DLLs that the image may import besides system DLLs")
    parser.add_argument("--not-imports-from", help="DLLs that must not be bound at load time (loaded at first use)")
    parser.add_argument("--exports", help="names that must be exported exactly so")
    parser.add_argument("--not-naming", help="names that the image must not hold anywhere (test-only libraries)")
    parser.add_argument("--imports", help="DLL:name pairs that must be imported by exactly that name")
    parser.add_argument("--file-alignment", type=int, help="where sections must start in the file (a page: mapped, not read)")
    parser.add_argument("--large-address-aware", action="store_true",
                        help="the image must be able to use addresses above 2 GiB (a program's flag)")
    parser.add_argument("--windows-version", type=lambda v: int(v, 0),
                        help="the API level the code is compiled for (_WIN32_WINNT, as 0x0601), which the header's "
                             "operating-system and subsystem versions must declare")
    args = parser.parse_args()
    faults = check(args)
    for fault in faults:
        print(f"{args.image}: {fault}")
    if not faults:
        print(f"{args.image}: {args.machine} {args.kind} image, imports and exports as required")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
