#!/usr/bin/python3
# check_release.py PROGRAM ZIP: what only the built release program shows, and the
# download made from it.
import os, struct, sys, zipfile

import pefile

# The one fact in the readme that a user acts on: the classic-form ipconfig arrives in
# the program's own folder, where the program finds it first.
BUNDLED = "ipconfig.exe は ipsettings.exe と同じフォルダーに入っています"


def failures(path, zip_path):
    pe, size = pefile.PE(path), os.path.getsize(path)
    header, optional = pe.FILE_HEADER, pe.OPTIONAL_HEADER
    yield size <= 32768, f"at most 32 KiB (is {size} bytes)"
    yield (header.Machine, optional.Magic, optional.Subsystem, optional.MajorSubsystemVersion,
           optional.MinorSubsystemVersion) == (0x14C, 0x10B, 2, 4, 0), "a PE32 GUI program, 4.0"
    yield optional.SizeOfStackReserve == 1048576, "a stack reserve of 1,048,576 bytes"
    yield header.NumberOfSymbols == 0 and not any(s.Name.startswith(b".debug")
                                                  for s in pe.sections), "stripped"
    imports = sorted(entry.dll.decode().lower() for entry in pe.DIRECTORY_ENTRY_IMPORT)
    yield imports == ["kernel32.dll", "msvcrt.dll", "user32.dll"], f"imports {imports}"
    resources = {(kind.id, str(name.name) if name.name else name.id, language.id):
                 pe.get_data(language.data.struct.OffsetToData, language.data.struct.Size)
                 for kind in pe.DIRECTORY_ENTRY_RESOURCE.entries
                 for name in kind.directory.entries for language in name.directory.entries}
    yield sorted(resources) == [(3, 1, 1041), (4, "MENU2", 0), (5, "DIALOG1", 0),
                                (5, "DIALOG2", 0), (14, "ICON", 1041)], f"resources {resources}"
    group = resources.get((14, "ICON", 1041), bytes(20))
    image = resources.get((3, 1, 1041), bytes(40))
    yield (struct.unpack_from("<HHHBBB", group), struct.unpack_from("<IiiHH", image)[1:]) == (
        (0, 1, 1, 32, 32, 16), (32, 64, 1, 4)), "one 32 x 32 icon image in 16 colours"
    for name, style, controls in (("DIALOG1", 0x80CA0842, 41), ("DIALOG2", 0x80CF1042, 1)):
        template = struct.unpack_from("<IIH", resources.get((5, name, 0), bytes(10)))
        yield template == (style, 0, controls), f"{name}: its style and {controls} controls"
    with zipfile.ZipFile(zip_path) as download:
        files = sorted(download.namelist())
        yield files == ["ipconfig.exe", "ipsettings.exe", "readme.txt"], f"the files {files}"
        yield download.read("ipsettings.exe") == open(path, "rb").read(), "this very program"
        readme = download.read("readme.txt")
        yield readme.count(b"\n") == readme.count(b"\r\n") > 0, "the readme's CR LF line ends"
        yield BUNDLED in readme.decode("shift_jis"), "the readme says where ipconfig.exe is"


failed = [what for ok, what in failures(sys.argv[1], sys.argv[2]) if not ok]
print("".join(f"FAIL: {what}\n" for what in failed) + f"{sys.argv[1]}: {len(failed)} checks failed")
sys.exit(1 if failed else 0)
