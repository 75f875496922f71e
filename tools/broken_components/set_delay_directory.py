#!/usr/bin/env python3
"""Points a linked DLL's delay-import data directory at its delay descriptors.

GNU ld links the descriptors of dlltool's delay-import libraries into the image but leaves the
data directory empty, so no reader of the headers sees the delay-loaded DLLs. This finds the
descriptors by their symbols (__DELAY_IMPORT_DESCRIPTOR_*) in the image's symbol table, checks
that they are contiguous and end with a descriptor of zeros, and writes the directory entry.
   set_delay_directory.py DLL"""
import struct
import sys

DESCRIPTOR = 32
DELAY_IMPORT_ENTRY = 13


def main(path):
    data = bytearray(open(path, 'rb').read())
    pe = struct.unpack_from('<I', data, 0x3C)[0]
    if data[pe:pe + 4] != b'PE\0\0':
        sys.exit(f'{path}: not a PE file')
    sections, symbols_at, symbol_count, optional_size = struct.unpack_from('<2xHxxxxIIH', data, pe + 4)
    optional = pe + 24
    magic = struct.unpack_from('<H', data, optional)[0]
    directories = optional + (96 if magic == 0x10B else 112)
    table = optional + optional_size
    layout = [struct.unpack_from('<8xIIII', data, table + 40 * i) for i in range(sections)]
    if symbols_at == 0:
        sys.exit(f'{path}: no symbol table (linked with -s?)')
    strings = symbols_at + 18 * symbol_count

    def name_of(at):
        raw = data[at:at + 8]
        if raw[:4] == b'\0\0\0\0':
            start = strings + struct.unpack_from('<I', raw, 4)[0]
            return bytes(data[start:data.index(b'\0', start)]).decode()
        return raw.rstrip(b'\0').decode()

    rvas = []
    i = 0
    while i < symbol_count:
        at = symbols_at + 18 * i
        value, section, _, _, aux = struct.unpack_from('<IhHBB', data, at + 8)
        if section > 0 and name_of(at).startswith('__DELAY_IMPORT_DESCRIPTOR_'):
            rvas.append(layout[section - 1][1] + value)
        i += 1 + aux
    if not rvas:
        sys.exit(f'{path}: no delay-import descriptor')
    rvas.sort()
    if rvas != [rvas[0] + DESCRIPTOR * k for k in range(len(rvas))]:
        sys.exit(f'{path}: the delay-import descriptors are not one table')
    end = rvas[-1] + DESCRIPTOR
    for _, address, raw_size, raw_at in layout:
        if address <= end and end + DESCRIPTOR <= address + raw_size:
            at = raw_at + end - address
            if any(data[at:at + DESCRIPTOR]):
                sys.exit(f'{path}: the delay-import table does not end with a descriptor of zeros')
            break
    else:
        sys.exit(f'{path}: the delay-import table lies outside the file')
    struct.pack_into('<II', data, directories + 8 * DELAY_IMPORT_ENTRY, rvas[0], DESCRIPTOR * (len(rvas) + 1))
    open(path, 'wb').write(data)


if __name__ == '__main__':
    main(sys.argv[1])
