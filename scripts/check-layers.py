#!/usr/bin/env python3
"""Checks that the host's folders include each other only downwards:
app -> pages, dialogs -> engine -> desktop, system -> base. A folder may
include its own files and any lower folder, never a higher one.
Usage: check-layers.py [HOST_DIR]; exits 1 and lists every upward include."""
import os, re, sys

LEVEL = {"base": 0, "system": 1, "desktop": 1, "network": 1, "engine": 2, "dialogs": 3, "pages": 3,
         "hotkeys": 4, "screensavers": 4, "plugins": 5, "app": 6}
# Folders of one level include each other only where named here.
SIDEWAYS = {("pages", "dialogs")}

host = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "host")
include = re.compile(r'^\s*#\s*include\s+"([a-z_]+)/[^"]+"')
faults = []
for folder in sorted(os.listdir(host)):
    if folder not in LEVEL:
        continue
    for root, _, files in os.walk(os.path.join(host, folder)):
        for name in sorted(files):
            if not name.endswith((".cpp", ".h")):
                continue
            path = os.path.join(root, name)
            with open(path, encoding="utf-8") as source:
                for number, line in enumerate(source, 1):
                    match = include.match(line)
                    if not match or match.group(1) not in LEVEL or match.group(1) == folder:
                        continue
                    target = match.group(1)
                    if LEVEL[target] > LEVEL[folder] or (LEVEL[target] == LEVEL[folder] and (folder, target) not in SIDEWAYS):
                        faults.append(f"{os.path.relpath(path, host)}:{number}: {folder} includes {target}")
for fault in faults:
    print(fault)
if faults:
    print(f"{len(faults)} include(s) against the layering", file=sys.stderr)
sys.exit(1 if faults else 0)
