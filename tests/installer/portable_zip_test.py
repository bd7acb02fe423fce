#!/usr/bin/env python3
"""The portable zip holds exactly the files the setup installs, byte for
byte, in one folder "Dravonel": usage portable_zip_test.py <zip> <stage>."""
import os
import sys
import zipfile

archive, stage = sys.argv[1], sys.argv[2]
with zipfile.ZipFile(archive) as z:
    packed = {n: z.read(n) for n in z.namelist() if not n.endswith('/')}
staged = {}
for folder, _, files in os.walk(stage):
    for name in files:
        path = os.path.join(folder, name)
        with open(path, 'rb') as f:
            staged['Dravonel/' + os.path.relpath(path, stage).replace(os.sep, '/')] = f.read()

problems = sorted('missing from the zip: ' + n for n in staged.keys() - packed.keys())
problems += sorted('not installed by the setup: ' + n for n in packed.keys() - staged.keys())
problems += sorted('differs: ' + n for n in staged.keys() & packed.keys() if staged[n] != packed[n])
for line in problems:
    print(line)
print('%d files checked' % len(staged))
sys.exit(1 if problems or not staged else 0)
