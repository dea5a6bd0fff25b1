#!/usr/bin/python3
"""Writes the read-me for Windows users: the UTF-8 source with @PROJECT_VERSION@
filled in, as GBK with CR LF line ends, which Notepad on a Chinese system
opens as it is.

    make-readme.py IN OUT VERSION
"""
import os
import sys

text = open(sys.argv[1], encoding="utf-8").read().replace("@PROJECT_VERSION@", sys.argv[3])
os.makedirs(os.path.dirname(os.path.abspath(sys.argv[2])), exist_ok=True)
with open(sys.argv[2], "wb") as out:
    out.write(text.replace("\r\n", "\n").replace("\n", "\r\n").encode("gbk"))
