#!/usr/bin/env bash
# The BLAKE3 lists that ruvo.exe creates ("-tb3", saved automatically) pass b3sum --check, names in
# folders and beyond ASCII among them; a list of ASCII names is plain ASCII, one of other names
# UTF-8 with a byte-order mark, which b3sum refuses: ruvo.exe reads both back.
# Usage: b3sum_accepts.sh WINENV WINE_HOME RUVO_EXE
set -euo pipefail
winenv=$1 home=$2 exe=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$exe" "$work/ruvo.exe"
mkdir -p "$work/album/sub" "$work/names"
printf abc >"$work/album/a.txt"
head -c 70000 /dev/urandom >"$work/album/b c.bin"
head -c 3073 /dev/urandom >"$work/album/sub/d.bin"
printf '' >"$work/album/empty"
printf x >"$work/names/写真.txt"
printf y >"$work/names/b.txt"
# Binary mode asks for "*" before names in the other digest lists; b3sum's form has none.
for binary in 0 1; do
  printf '[Preferences]\r\nAutoSaveDir=1\r\nAutoSaveFile=1\r\nAutoSaveClose=1\r\nDoneBeep=0\r\nDirRecursive=1\r\nDirList=0\r\nMD5BinaryMode=%s\r\nUpperMD5=1\r\n\r\n' \
    "$binary" >"$work/ruvo.ini"
  rm -f "$work/album/album.b3"
  "$winenv" run "$home" "$work/ruvo.exe" -tb3 "Z:${work//\//\\}\\album" >/dev/null 2>&1
  [[ -f $work/album/album.b3 ]] || { echo "no list written (binary mode $binary)" >&2; exit 1; }
  (cd "$work/album" && b3sum --check album.b3)
  grep -q 'sub/d.bin$' "$work/album/album.b3" || { echo "no sub/d.bin line" >&2; exit 1; }
  if LC_ALL=C grep -q '[^ -~]' "$work/album/album.b3"; then echo "an ASCII list holds other bytes" >&2; exit 1; fi
done
rm -f "$work/names/names.b3"
"$winenv" run "$home" "$work/ruvo.exe" -tb3 "Z:${work//\//\\}\\names" >/dev/null 2>&1
[[ $(head -c 3 "$work/names/names.b3" | od -An -tx1 | tr -d ' ') == efbbbf ]] || { echo "no byte-order mark" >&2; exit 1; }
(cd "$work/names" && tail -c +4 names.b3 | b3sum --check)
# And back: ruvo.exe verifies both lists without a window.
"$winenv" run "$home" "$work/ruvo.exe" -q -c "Z:${work//\//\\}\\album\\album.b3" >/dev/null 2>&1
"$winenv" run "$home" "$work/ruvo.exe" -q -c "Z:${work//\//\\}\\names\\names.b3" >/dev/null 2>&1
