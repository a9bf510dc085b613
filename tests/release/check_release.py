#!/usr/bin/python3
# check_release.py PROGRAM ZIP: what only the built release program shows, and the
# download made from it.
import os, struct, sys, zipfile

import pefile


def skip_text(data, at):  # past a name or ordinal: 0xFFFF and a number, or UTF-16 up to a NUL
    if data[at:at + 2] == b"\xff\xff":
        return at + 4
    while at < len(data) and data[at:at + 2] != b"\0\0":
        at += 2
    return at + 2


def dialog_end(data):
    style, _, count = struct.unpack_from("<IIH", data)
    at = skip_text(data, skip_text(data, skip_text(data, 18)))  # menu, class, title
    if style & 0x40:  # DS_SETFONT: a point size and a face name
        at = skip_text(data, at + 2)
    for _ in range(count):  # each control: aligned header, class, text, extra bytes
        at = skip_text(data, skip_text(data, ((at + 3) & ~3) + 18))
        at += 2 + struct.unpack_from("<H", data, at)[0]
    return at


def menu_end(data, at=4):
    while True:
        flags, = struct.unpack_from("<H", data, at)
        at = skip_text(data, at + (2 if flags & 0x10 else 4))  # a drop-down has no id
        if flags & 0x10:
            at = menu_end(data, at)
        if flags & 0x80:
            return at


def failures(path, zip_path):
    pe, size = pefile.PE(path), os.path.getsize(path)
    header, optional = pe.FILE_HEADER, pe.OPTIONAL_HEADER
    yield size <= 32768, f"at most 32 KiB (is {size} bytes)"
    yield (header.Machine, optional.Magic, optional.Subsystem, optional.MajorSubsystemVersion,
           optional.MinorSubsystemVersion) == (0x14C, 0x10B, 2, 4, 0), "an i386 PE32 GUI program for subsystem 4.0"
    yield optional.SizeOfStackReserve == 1048576, "a stack reserve of 1,048,576 bytes"
    yield header.NumberOfSymbols == 0 and not any(s.Name.startswith(b".debug") for s in pe.sections), "stripped"
    imports = sorted(entry.dll.decode().lower() for entry in pe.DIRECTORY_ENTRY_IMPORT)
    yield imports == ["kernel32.dll", "msvcrt.dll", "user32.dll"], f"imports {imports}"
    resources = {(kind.id, str(name.name) if name.name else name.id, language.id):
                 pe.get_data(language.data.struct.OffsetToData, language.data.struct.Size)
                 for kind in pe.DIRECTORY_ENTRY_RESOURCE.entries for name in kind.directory.entries
                 for language in name.directory.entries}
    yield sorted(resources) == [(3, 1, 1041), (4, "MENU2", 0), (5, "DIALOG1", 0), (5, "DIALOG2", 0),
                                (14, "ICON", 1041)], f"resources, no manifest among them: {sorted(resources)}"
    group, image = resources.get((14, "ICON", 1041), bytes(20)), resources.get((3, 1, 1041), bytes(40))
    yield (struct.unpack_from("<HHHBBB", group), struct.unpack_from("<IiiHH", image)[1:]) == (
        (0, 1, 1, 32, 32, 16), (32, 64, 1, 4)), "one 32 x 32 icon image in 16 colours: a bitmap of 4 bits"
    for name in ("DIALOG1", "DIALOG2"):
        data = resources.get((5, name, 0), bytes(20))
        yield dialog_end(data) == len(data), f"{name} is a well-formed template"
    menu = resources.get((4, "MENU2", 0), bytes(6))
    yield menu_end(menu) == len(menu), "MENU2 is a well-formed menu"
    with zipfile.ZipFile(zip_path) as download:
        yield sorted(download.namelist()) == ["ipconfig.exe", "ipsettings.exe", "readme.txt"], "the download's files"
        yield download.read("ipsettings.exe") == open(path, "rb").read(), "the download holds this very program"
        readme = download.read("readme.txt")
        yield readme.count(b"\n") == readme.count(b"\r\n") > 0, "the readme has CR LF line ends"
        yield "ipconfig.exe" in readme.decode("shift_jis"), "the readme is in Shift_JIS"


failed = [what for ok, what in failures(sys.argv[1], sys.argv[2]) if not ok]
print("\n".join(f"FAIL: {what}" for what in failed) + f"\n{sys.argv[1]}: {len(failed)} checks failed")
sys.exit(1 if failed else 0)
