#!/usr/bin/python3
"""Checks the built release program: a 32-bit GUI program for subsystem 4.0 with a
1 MiB stack, importing only KERNEL32, USER32 and msvcrt, stripped, at most 32 KiB,
whose resources are exactly the two dialogs, the menu and the one-image icon, each
template as the program's windows need it."""
import os
import struct
import sys

import pefile

WS_POPUP, WS_CHILD, WS_VISIBLE = 0x80000000, 0x40000000, 0x10000000
WS_CAPTION, WS_BORDER, WS_SYSMENU, WS_THICKFRAME = 0x00C00000, 0x00800000, 0x00080000, 0x00040000
WS_VSCROLL, WS_HSCROLL, WS_GROUP, WS_TABSTOP = 0x00200000, 0x00100000, 0x00020000, 0x00010000
WS_MINIMIZEBOX, WS_MAXIMIZEBOX = 0x00020000, 0x00010000
BS_GROUPBOX, SS_RIGHT, SS_CENTER, SS_SUNKEN, CBS_DROPDOWN = 7, 2, 1, 0x1000, 2
ES_MULTILINE, ES_AUTOVSCROLL, ES_AUTOHSCROLL = 4, 0x40, 0x80

GROUP = WS_CHILD | WS_VISIBLE | BS_GROUPBOX
LABEL = WS_CHILD | WS_VISIBLE | WS_GROUP | SS_RIGHT
VALUE = WS_CHILD | WS_VISIBLE | WS_GROUP | SS_SUNKEN | SS_CENTER
BUTTON = WS_CHILD | WS_VISIBLE | WS_TABSTOP

HOST_LABELS = ["ホスト名 :", "DNSサーバー :", "ノードタイプ :", "NetBIOS スコープ ID :",
               "IP ルーティング有効 :", "WINS Proxy 有効 :", "NetBIOS の解決に DNSを使用 :"]
ADAPTER_LABELS = ["アダプタ アドレス :", "IP アドレス :", "サブネット マスク :",
                  "デフォルト ゲートウェイ :", "DHCP サーバー :", "プライマリ WINS サーバー :",
                  "セカンダリ WINS サーバー :", "リース取得日 :", "リース期限 :"]


def main_window_controls():
    rows = [(128, "BUTTON", (4, 4, 276, 100), GROUP, "ホスト情報")]
    for i, label in enumerate(HOST_LABELS):
        y = 16 + 12 * i
        rows.append((129 + 2 * i, "STATIC", (12, y, 128, 12), LABEL, label))
        rows.append((130 + 2 * i, "STATIC", (144, y - 2, 128, 12), VALUE, str(130 + 2 * i)))
    rows.append((143, "BUTTON", (4, 108, 276, 138), GROUP, "Ethernet アダプタ情報"))
    rows.append((144, "COMBOBOX", (12, 118, 260, 80), WS_CHILD | WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWN, "144"))
    for i, label in enumerate(ADAPTER_LABELS):
        y = 134 + 12 * i
        rows.append((145 + 2 * i, "STATIC", (12, y, 128, 12), LABEL, label))
        rows.append((146 + 2 * i, "STATIC", (144, y - 2, 128, 12), VALUE, str(146 + 2 * i)))
    rows.append((163, "BUTTON", (4, 250, 276, 36), GROUP, ""))
    for i, text in enumerate(["書き換え", "解放", "すべて書き換え", "すべて解放", "窓"]):
        rows.append((164 + i, "BUTTON", (12 + 52 * i, 262, 52, 14), BUTTON, text))
    return rows


EXPECTED_DIALOGS = {
    "DIALOG1": dict(style=0x80CA0842, size=(284, 292), menu=None, title="IP 設定",
                    font=(9, "MS UI GOTHIC"), controls=main_window_controls()),
    "DIALOG2": dict(style=0x80CF1042, size=(200, 150), menu="MENU2", title="IP 設定",
                    font=(12, "ＭＳ ゴシック"),
                    controls=[(128, "EDIT", (0, 0, 40, 40),
                               WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP
                               | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL, "")]),
}

EXPECTED_MENU = ("実行", [(256, "アダプタ情報"), (257, "詳細"), (258, "書き換え ... 一行目が設定値"),
                         (259, "解放 ... 一行目が設定値"), (260, "すべて書き換え"), (261, "すべて解放"),
                         (262, "実行 ... 一行目が設定値"), (263, "ヘルプ"), (264, "クリア")])

CLASS_ATOMS = {0x80: "BUTTON", 0x81: "EDIT", 0x82: "STATIC", 0x83: "LISTBOX", 0x84: "SCROLLBAR",
               0x85: "COMBOBOX"}

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)


class Reader:
    def __init__(self, data):
        self.data, self.at = data, 0

    def word(self):
        value, = struct.unpack_from("<H", self.data, self.at)
        self.at += 2
        return value

    def dword(self):
        value, = struct.unpack_from("<I", self.data, self.at)
        self.at += 4
        return value

    def string(self):
        end = self.at
        while self.data[end:end + 2] != b"\0\0":
            end += 2
        text = self.data[self.at:end].decode("utf-16-le")
        self.at = end + 2
        return text

    def name_or_ordinal(self):
        if struct.unpack_from("<H", self.data, self.at)[0] == 0xFFFF:
            self.at += 2
            return self.word()
        return self.string()

    def optional_name(self):
        """A menu or class field: empty (None), an ordinal, or a name."""
        if struct.unpack_from("<H", self.data, self.at)[0] == 0:
            self.at += 2
            return None
        return self.name_or_ordinal()

    def align(self):
        self.at = (self.at + 3) & ~3


def parse_dialog(data):
    r = Reader(data)
    style, exstyle, count = r.dword(), r.dword(), r.word()
    x, y, cx, cy = (r.word() for _ in range(4))
    menu = r.optional_name()
    window_class = r.optional_name()
    title = r.string()
    font = (r.word(), r.string()) if style & 0x40 else None
    controls = []
    for _ in range(count):
        r.align()
        item_style, item_exstyle = r.dword(), r.dword()
        rect = tuple(struct.unpack("<h", struct.pack("<H", r.word()))[0] for _ in range(4))
        ident = r.word()
        item_class = r.name_or_ordinal()
        item_class = CLASS_ATOMS.get(item_class, item_class)
        text = r.name_or_ordinal()
        extra = r.word()
        r.at += extra
        controls.append((ident, str(item_class).upper(), rect, item_style, text, item_exstyle))
    return dict(style=style, exstyle=exstyle, position=(x, y), size=(cx, cy), menu=menu,
                window_class=window_class, title=title, font=font, controls=controls)


def parse_menu(data):
    r = Reader(data)
    check(r.word() == 0 and r.word() == 0, "MENU2 is a plain menu template")
    flags = r.word()
    popup = r.string()
    check(flags == 0x10 | 0x80, f"MENU2 has one drop-down (flags {flags:#x})")
    items = []
    while True:
        item_flags, ident, text = r.word(), r.word(), r.string()
        items.append((item_flags, ident, text))
        if item_flags & 0x80:
            break
    return popup, items


def resource_entries(pe):
    """(type, name, language, data) for every resource."""
    entries = []
    for type_entry in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        for name_entry in type_entry.directory.entries:
            name = str(name_entry.name) if name_entry.name is not None else name_entry.id
            for lang_entry in name_entry.directory.entries:
                rva, size = lang_entry.data.struct.OffsetToData, lang_entry.data.struct.Size
                entries.append((type_entry.id, name, lang_entry.id, pe.get_data(rva, size)))
    return entries


def main():
    path = sys.argv[1]
    pe = pefile.PE(path)
    check(os.path.getsize(path) <= 32 * 1024, f"at most 32 KiB (is {os.path.getsize(path)} bytes)")
    check(pe.FILE_HEADER.Machine == 0x14C, "built for i386")
    check(pe.OPTIONAL_HEADER.Magic == 0x10B, "a PE32 file")
    check(pe.OPTIONAL_HEADER.Subsystem == 2, "Windows GUI subsystem")
    check((pe.OPTIONAL_HEADER.MajorSubsystemVersion, pe.OPTIONAL_HEADER.MinorSubsystemVersion) == (4, 0),
          "subsystem version 4.0")
    check(pe.OPTIONAL_HEADER.SizeOfStackReserve == 1048576, "stack reserve of 1,048,576 bytes")
    check(pe.FILE_HEADER.PointerToSymbolTable == 0 and pe.FILE_HEADER.NumberOfSymbols == 0, "stripped")
    check(not any(s.Name.startswith(b".debug") for s in pe.sections), "no debug sections")
    imports = sorted(entry.dll.decode().lower() for entry in pe.DIRECTORY_ENTRY_IMPORT)
    check(imports == ["kernel32.dll", "msvcrt.dll", "user32.dll"], f"imports only the three DLLs: {imports}")

    entries = resource_entries(pe)
    kinds = sorted((kind, name, language) for kind, name, language, _ in entries)
    check(kinds == [(3, 1, 1041), (4, "MENU2", 0), (5, "DIALOG1", 0), (5, "DIALOG2", 0),
                    (14, "ICON", 1041)], f"exactly DIALOG1, DIALOG2, MENU2 and ICON: {kinds}")
    data = {(kind, name): blob for kind, name, _, blob in entries}

    group = data.get((14, "ICON"), b"")
    if len(group) >= 20:
        reserved, kind, count = struct.unpack_from("<HHH", group)
        width, height, colours, _, planes, bits = struct.unpack_from("<BBBBHH", group, 6)
        check((kind, count, width, height, colours, bits) == (1, 1, 32, 32, 16, 4),
              "one 32 x 32 icon image in 16 colours")
    image = data.get((3, 1), b"")
    if len(image) >= 40:
        size, width, height, planes, bits = struct.unpack_from("<IiiHH", image)
        check((width, height, bits) == (32, 64, 4), "the icon image is a 32 x 32, 4-bit bitmap")

    for name, expected in EXPECTED_DIALOGS.items():
        if (5, name) not in data:
            continue
        dialog = parse_dialog(data[(5, name)])
        check(dialog["style"] == expected["style"], f"{name} style {dialog['style']:#x}")
        check(dialog["exstyle"] == 0, f"{name} has no extended style")
        check(dialog["size"] == expected["size"], f"{name} size {dialog['size']}")
        check(dialog["menu"] == expected["menu"], f"{name} menu {dialog['menu']}")
        check(dialog["window_class"] is None, f"{name} has no class")
        check(dialog["title"] == expected["title"], f"{name} title {dialog['title']!r}")
        check(dialog["font"] == expected["font"], f"{name} font {dialog['font']}")
        actual = [c[:5] for c in dialog["controls"]]
        check(len(actual) == len(expected["controls"]), f"{name} has {len(actual)} controls")
        for got, want in zip(actual, expected["controls"]):
            check(got == want, f"{name} control {want[0]}: {got} instead of {want}")
        check(all(c[5] == 0 for c in dialog["controls"]), f"{name} controls have no extended style")

    if (4, "MENU2") in data:
        popup, items = parse_menu(data[(4, "MENU2")])
        check(popup == EXPECTED_MENU[0], f"the drop-down is {popup!r}")
        check([(i, t) for _, i, t in items] == EXPECTED_MENU[1], f"menu items {items}")
        check([f for f, _, _ in items] == [0] * 8 + [0x80], "no separators, greyed or marked items")

    for failure in failures:
        print("FAIL:", failure)
    print(f"release program {path}: {os.path.getsize(path)} bytes, "
          f"{'all checks passed' if not failures else f'{len(failures)} checks failed'}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
