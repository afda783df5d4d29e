#!/usr/bin/env python3
"""Checks the application manifest that an image carries, read from the image's resources on the build machine.

The manifest must be resource 1 of type RT_MANIFEST (language neutral, the only manifest of the image), hold
exactly the bytes of the manifest source, be well-formed XML, and declare the Windows versions that the program
is written for and nothing else: no execution level, DPI awareness, dependency (common controls 6) or active code
page, each of which would change how Windows elevates the program, draws its window or reads its GBK texts.

Usage: check_manifest.py IMAGE SOURCE    the image's manifest against its source
       check_manifest.py --xml FILE      a manifest file's entries alone
Prints one line per fault and exits 1 when there is any.
"""
import struct
import sys
import xml.etree.ElementTree as ElementTree

RT_MANIFEST = 24
LANG_NEUTRAL = 0
ASSEMBLY = "{urn:schemas-microsoft-com:asm.v1}"
COMPATIBILITY = "{urn:schemas-microsoft-com:compatibility.v1}"
SUPPORTED_OS = {
    "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}": "Windows 7",
    "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}": "Windows 8",
    "{1f676c76-80e1-4239-95bb-83d0f6d0da78}": "Windows 8.1",
    "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}": "Windows 10 and 11",
}
# Every element that the manifest may hold, by its path from the root.
ALLOWED_PATHS = {
    f"{ASSEMBLY}assembly",
    f"{ASSEMBLY}assembly/{COMPATIBILITY}compatibility",
    f"{ASSEMBLY}assembly/{COMPATIBILITY}compatibility/{COMPATIBILITY}application",
    f"{ASSEMBLY}assembly/{COMPATIBILITY}compatibility/{COMPATIBILITY}application/{COMPATIBILITY}supportedOS",
}


def sections(image):
    """[(virtual address, virtual size, file offset)] of the image's sections, and its resource table's address."""
    pe = struct.unpack_from("<I", image, 0x3C)[0]
    if image[pe:pe + 4] != b"PE\0\0":
        raise ValueError("not a PE image")
    count, optional_size = struct.unpack_from("<H", image, pe + 6)[0], struct.unpack_from("<H", image, pe + 20)[0]
    optional = pe + 24
    directories = optional + (96 if struct.unpack_from("<H", image, optional)[0] == 0x10B else 112)
    resource_table = struct.unpack_from("<I", image, directories + 2 * 8)[0]
    table = optional + optional_size
    found = []
    for index in range(count):
        size, address, _, offset = struct.unpack_from("<IIII", image, table + index * 40 + 8)
        found.append((address, size, offset))
    return found, resource_table


def resources(image):
    """{(type, name, language): bytes} of every resource of the image; a name is a number or a text."""
    found, root_address = sections(image)

    def offset(address):
        for start, size, file_offset in found:
            if start <= address < start + size:
                return file_offset + address - start
        raise ValueError(f"address {address:#x} is in no section")

    if root_address == 0:
        return {}
    root = offset(root_address)

    def entries(directory):
        named, numbered = struct.unpack_from("<HH", image, root + directory + 12)
        for index in range(named + numbered):
            name, target = struct.unpack_from("<II", image, root + directory + 16 + index * 8)
            if name & 0x80000000:
                length = struct.unpack_from("<H", image, root + (name & 0x7FFFFFFF))[0]
                start = root + (name & 0x7FFFFFFF) + 2
                name = image[start:start + 2 * length].decode("utf-16-le")
            yield name, target & 0x7FFFFFFF

    table = {}
    for kind, names in entries(0):
        for name, languages in entries(names):
            for language, data in entries(languages):
                address, size = struct.unpack_from("<II", image, root + data)
                table[(kind, name, language)] = image[offset(address):offset(address) + size]
    return table


def entry_faults(text):
    """What is wrong with the manifest's XML: not well-formed, an element it must not hold, a Windows version
    missing or unknown."""
    try:
        root = ElementTree.fromstring(text)
    except ElementTree.ParseError as error:
        return [f"the manifest is not well-formed XML: {error}"]
    faults = []
    if root.tag == f"{ASSEMBLY}assembly" and root.get("manifestVersion") != "1.0":
        faults.append("the assembly's manifestVersion is not 1.0")
    declared = []

    def walk(element, path):
        if path not in ALLOWED_PATHS:
            held = ", ".join(inner.tag.split("}")[-1] for inner in element.iter())
            faults.append(f"the manifest holds {held}, which it must not")
            return
        if path.endswith("supportedOS"):
            declared.append(element.get("Id"))
        for child in element:
            walk(child, f"{path}/{child.tag}")

    walk(root, root.tag)
    faults += [f"the manifest does not declare {name} ({guid})" for guid, name in SUPPORTED_OS.items()
               if guid not in declared]
    faults += [f"the manifest declares the unknown or repeated supportedOS {guid}"
               for index, guid in enumerate(declared) if guid not in SUPPORTED_OS or guid in declared[:index]]
    return faults


def image_faults(image_path, source_path):
    with open(image_path, "rb") as image_file:
        table = resources(image_file.read())
    manifests = {key: data for key, data in table.items() if key[0] == RT_MANIFEST}
    if not manifests:
        return ["no application manifest (no RT_MANIFEST resource)"]
    if list(manifests) != [(RT_MANIFEST, 1, LANG_NEUTRAL)]:
        return [f"the manifests are {sorted(manifests, key=str)}, not resource 1 alone, language neutral"]
    text = manifests[(RT_MANIFEST, 1, LANG_NEUTRAL)]
    with open(source_path, "rb") as source:
        faults = [] if source.read() == text else [f"the manifest is not the bytes of {source_path}"]
    return faults + entry_faults(text)


def main():
    if len(sys.argv) == 3 and sys.argv[1] == "--xml":
        subject = sys.argv[2]
        with open(subject, "rb") as manifest:
            faults = entry_faults(manifest.read())
    elif len(sys.argv) == 3:
        subject = sys.argv[1]
        faults = image_faults(*sys.argv[1:])
    else:
        sys.exit(__doc__)
    for fault in faults:
        print(f"{subject}: {fault}")
    if not faults:
        print(f"{subject}: the manifest declares Windows 7, 8, 8.1 and 10/11 and nothing else")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
