#!/usr/bin/env python3
"""Compares our reading of every built fixture with that of an independent reader, Debian's
pefile: machine, kind of header, DLL flag, exported names, imported and delay-loaded DLLs, and
the file version. Exit 0 when they agree, 1 when not (with both readings), 77 without pefile.
   pe_oracle.py TOVREL_PE_DUMP FIXTURES_FOLDER"""
import difflib
import os
import subprocess
import sys

try:
    import pefile
except ImportError:
    print('pefile is not installed (Debian: python3-pefile)')
    sys.exit(77)


def reading(path):
    lines = [f'file: {path}']
    try:
        pe = pefile.PE(path)
    except pefile.PEFormatError:
        return lines + ['program: no']
    names = lambda entries: ','.join(e.dll.decode('latin-1') for e in entries)
    exports = sorted(s.name.decode('latin-1') for s in getattr(pe, 'DIRECTORY_ENTRY_EXPORT', None).symbols
                     if s.name) if hasattr(pe, 'DIRECTORY_ENTRY_EXPORT') else []
    version = 'none'
    if hasattr(pe, 'VS_FIXEDFILEINFO'):
        fixed = pe.VS_FIXEDFILEINFO[0]
        version = '.'.join(str(p) for p in (fixed.FileVersionMS >> 16, fixed.FileVersionMS & 0xFFFF,
                                             fixed.FileVersionLS >> 16, fixed.FileVersionLS & 0xFFFF))
    return lines + [
        'program: yes',
        f'machine: {pe.FILE_HEADER.Machine:#x}',
        'pe32+: ' + ('yes' if pe.OPTIONAL_HEADER.Magic == 0x20B else 'no'),
        'dll: ' + ('yes' if pe.FILE_HEADER.Characteristics & 0x2000 else 'no'),
        'exports: ' + ','.join(exports),
        'imports: ' + names(getattr(pe, 'DIRECTORY_ENTRY_IMPORT', [])),
        'delay: ' + names(getattr(pe, 'DIRECTORY_ENTRY_DELAY_IMPORT', [])),
        f'version: {version}',
    ]


def main(dump, folder):
    files = sorted(os.path.join(root, name) for root, dirs, names in os.walk(folder)
                   for name in names if name.endswith(('.dll', '.ocx')))
    if len(files) < 16:
        print(f'expected the fixtures of both bitnesses in {folder}, found {len(files)} files')
        return 1
    expected = [line for path in files for line in reading(path)]
    ours = subprocess.run([dump] + files, capture_output=True, text=True, check=True).stdout.splitlines()
    if ours != expected:
        sys.stdout.writelines(difflib.unified_diff([l + '\n' for l in expected], [l + '\n' for l in ours],
                                                   'pefile', 'tovrel'))
        return 1
    print(f'{len(files)} files read alike')
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1], sys.argv[2]))
