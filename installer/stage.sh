#!/bin/sh
# Collects the files a user installs from dist/ (programs, tools, plug-ins,
# language files; nothing made at run time) into a staging folder, and writes
# the uninstaller's list of them, so that it removes exactly what was put in.
#   stage.sh <dist folder> <staging folder> <uninstall list .nsh>
set -eu
dist=$1 stage=$2 list=$3
rm -rf "$stage"
mkdir -p "$stage"
cd "$dist"
for file in *.exe *.scr Tool/*.dll Tool/*.exe Plugins/*.dll Language/*.ini; do
  [ -f "$file" ] || continue
  mkdir -p "$stage/$(dirname "$file")"
  cp -p "$file" "$stage/$file"
done
cd "$stage"
{
  echo "; Made by stage.sh: the files the setup puts in."
  find . -type f | sed 's|^\./||' | sort | while read -r file; do
    printf 'Delete "$INSTDIR\\%s"\n' "$(echo "$file" | tr / '\\')"
  done
  find . -mindepth 1 -type d | sed 's|^\./||' | sort -r | while read -r folder; do
    printf 'RMDir "$INSTDIR\\%s"\n' "$(echo "$folder" | tr / '\\')"
  done
} > "$list.tmp"
mv "$list.tmp" "$list"
