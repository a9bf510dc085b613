#!/usr/bin/python3
"""make_readme.py SOURCE TARGET: writes the UTF-8 readme for Windows users in Shift_JIS
with CR LF line ends, as Notepad on a Japanese Windows reads it, old ones included."""
import sys

with open(sys.argv[1], encoding="utf-8") as source:
    text = source.read()
with open(sys.argv[2], "wb") as target:
    target.write(text.replace("\r\n", "\n").replace("\n", "\r\n").encode("shift_jis"))
