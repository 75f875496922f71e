#!/usr/bin/env python3
"""Prints the time stamps a PE file carries: the file header's TimeDateStamp and that of
every resource directory table in .rsrc. A reproducible build has 0 in all of them.
   scripts/pe-stamps.py FILE...   (exit 1 when any stamp is not 0)"""
import struct
import sys


def stamps(path):
    data = open(path, 'rb').read()
    pe = struct.unpack_from('<I', data, 0x3C)[0]
    if data[pe:pe + 4] != b'PE\0\0':
        raise ValueError(f'{path}: not a PE file')
    sections, optional_size = struct.unpack_from('<H', data, pe + 6)[0], struct.unpack_from('<H', data, pe + 20)[0]
    found = {'header': struct.unpack_from('<I', data, pe + 8)[0]}
    table = pe + 24 + optional_size
    for i in range(sections):
        name, _, virtual_address, raw_size, raw_offset = struct.unpack_from('<8sIIII', data, table + 40 * i)
        if name.rstrip(b'\0') != b'.rsrc':
            continue
        # Walk the directory tables; each begins with Characteristics, then TimeDateStamp.
        pending, seen = [0], set()
        while pending:
            offset = pending.pop()
            if offset in seen or offset + 16 > raw_size:
                continue
            seen.add(offset)
            at = raw_offset + offset
            found[f'.rsrc+{offset:#x}'] = struct.unpack_from('<I', data, at + 4)[0]
            named, numbered = struct.unpack_from('<HH', data, at + 12)
            for entry in range(named + numbered):
                target = struct.unpack_from('<I', data, at + 16 + 8 * entry + 4)[0]
                if target & 0x80000000:
                    pending.append(target & 0x7FFFFFFF)
    return found


status = 0
for path in sys.argv[1:]:
    for where, value in stamps(path).items():
        print(f'{path}: {where} {value:#010x}')
        status |= value != 0
sys.exit(status)
