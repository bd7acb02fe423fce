#!/usr/bin/env python3
"""Each portable zip holds exactly the files the setup installs for its kind,
byte for byte, in one folder named as the staging folder ("Dravonel",
"Dravonel-x64"), and every program and module in it is of the folder's
kind (x64 in "-x64", 32-bit otherwise): usage portable_zip_test.py <zip> <stage> [<zip> <stage>...]."""
import os
import sys
import struct
import zipfile

I386, AMD64 = 0x14C, 0x8664


def machine(image):
    """The PE machine field of a program or module, or None."""
    if len(image) < 0x40 or image[:2] != b'MZ':
        return None
    offset = struct.unpack_from('<I', image, 0x3C)[0]
    if offset + 6 > len(image) or image[offset:offset + 4] != b'PE\0\0':
        return None
    return struct.unpack_from('<H', image, offset + 4)[0]


def problems_of(archive, stage):
    folder = os.path.basename(os.path.normpath(stage))
    with zipfile.ZipFile(archive) as z:
        packed = {n: z.read(n) for n in z.namelist() if not n.endswith('/')}
    staged = {}
    for root, _, files in os.walk(stage):
        for name in files:
            path = os.path.join(root, name)
            with open(path, 'rb') as f:
                staged[folder + '/' + os.path.relpath(path, stage).replace(os.sep, '/')] = f.read()
    problems = sorted('missing from the zip: ' + n for n in staged.keys() - packed.keys())
    problems += sorted('not installed by the setup: ' + n for n in packed.keys() - staged.keys())
    problems += sorted('differs: ' + n for n in staged.keys() & packed.keys() if staged[n] != packed[n])
    if not staged:
        problems.append('nothing staged in ' + stage)
    kind = AMD64 if folder.endswith('-x64') else I386
    for name, image in packed.items():
        if name.lower().endswith(('.exe', '.dll', '.scr')) and machine(image) != kind:
            problems.append('not a %s program: %s' % ('x64' if kind == AMD64 else '32-bit', name))
    print('%s: %d files checked' % (os.path.basename(archive), len(staged)))
    return problems


pairs = sys.argv[1:]
problems = []
for i in range(0, len(pairs) - 1, 2):
    problems += problems_of(pairs[i], pairs[i + 1])
for line in problems:
    print(line)
sys.exit(1 if problems or len(pairs) < 2 else 0)
