#!/usr/bin/env python3
"""Writes data/cp932-glibc.txt: every code of code page 932 that glibc's CP932 converter
reads, one a line, as "<code in hex> <UTF-16 code unit in hex>". The codec tests compare
the Windows build's reading with it, so that a data file means the same on both systems.

Usage: make-cp932-table.py > data/cp932-glibc.txt (on Linux, with glibc)."""
import ctypes
import ctypes.util

libc = ctypes.CDLL(ctypes.util.find_library("c"), use_errno=True)
libc.iconv_open.restype = ctypes.c_void_p
libc.iconv_open.argtypes = [ctypes.c_char_p, ctypes.c_char_p]
libc.iconv.restype = ctypes.c_size_t
libc.iconv.argtypes = [ctypes.c_void_p] + [ctypes.POINTER(ctypes.c_char_p), ctypes.POINTER(ctypes.c_size_t)] * 2
cd = libc.iconv_open(b"UTF-16LE", b"CP932")


def decode(code):
    libc.iconv(cd, None, None, None, None)
    out = ctypes.create_string_buffer(16)
    inp, inleft = ctypes.c_char_p(code), ctypes.c_size_t(len(code))
    outp, outleft = ctypes.c_char_p(ctypes.addressof(out)), ctypes.c_size_t(16)
    if libc.iconv(cd, ctypes.byref(inp), ctypes.byref(inleft), ctypes.byref(outp), ctypes.byref(outleft)) == ctypes.c_size_t(-1).value or inleft.value:
        return None
    return out.raw[:16 - outleft.value].decode("utf-16-le")


codes = [bytes([b]) for b in range(0x100)]
codes += [bytes([lead, trail]) for lead in list(range(0x81, 0xA0)) + list(range(0xE0, 0xFD))
          for trail in range(0x40, 0xFD) if trail != 0x7F]
for code in codes:
    text = decode(code)
    if text is not None:
        assert len(text) == 1
        print(f"{code.hex().upper()} {ord(text):04X}")
