#!/usr/bin/python3
# check_release.py PROGRAM ZIP: what only the built release program shows, and the
# download made from it.
import sys, zipfile

import pefile


# A PE32 of at most 32 KiB for subsystem 4.0 (2: GUI, 3: console), importing only dlls.
def program_failures(name, data, subsystem, dlls):
    pe = pefile.PE(data=data)
    header, optional = pe.FILE_HEADER, pe.OPTIONAL_HEADER
    yield len(data) <= 32768, f"{name}: at most 32 KiB (is {len(data)} bytes)"
    yield (header.Machine, optional.Magic, optional.Subsystem, optional.MajorSubsystemVersion,
           optional.MinorSubsystemVersion) == (0x14C, 0x10B, subsystem, 4, 0), f"{name}: PE32, 4.0"
    imports = sorted(entry.dll.decode().lower() for entry in pe.DIRECTORY_ENTRY_IMPORT)
    yield imports == dlls, f"{name}: imports {imports}"


# Also the program's stack and resources, and the download: its files, and the readme's
# line ends, files and how to get the rights that renewing needs.
def failures(path, zip_path):
    program = open(path, "rb").read()
    yield from program_failures(path, program, 2, ["kernel32.dll", "msvcrt.dll", "user32.dll"])
    pe = pefile.PE(data=program)
    yield pe.OPTIONAL_HEADER.SizeOfStackReserve == 1048576, "a stack reserve of 1,048,576 bytes"
    resources = sorted((kind.id, str(name.name) if name.name else name.id, language.id)
                       for kind in pe.DIRECTORY_ENTRY_RESOURCE.entries
                       for name in kind.directory.entries for language in name.directory.entries)
    yield resources == [(3, 1, 1041), (4, "MENU2", 0), (5, "DIALOG1", 0), (5, "DIALOG2", 0),
                        (14, "ICON", 1041)], f"resources {resources}"
    download = zipfile.ZipFile(zip_path)
    files = sorted(download.namelist())
    yield files == ["ipconfig.exe", "ipsettings.exe", "readme.txt"], f"the files {files}"
    yield download.read("ipsettings.exe") == program, "this very program"
    yield from program_failures("ipconfig.exe", download.read("ipconfig.exe"), 3,
                                ["kernel32.dll", "msvcrt.dll"])
    readme = download.read("readme.txt")
    yield readme.count(b"\n") == readme.count(b"\r\n") > 0, "the readme's CR LF line ends"
    text = readme.decode("shift_jis")
    yield all(name in text for name in files), f"the readme names each of {files}"
    yield "「管理者として実行」" in text and "管理者のアカウントでログオン" in text, "the rights"


failed = [what for ok, what in failures(*sys.argv[1:3]) if not ok]
print("".join(f"FAIL: {what}\n" for what in failed) + f"{sys.argv[1]}: {len(failed)} checks failed")
sys.exit(1 if failed else 0)
