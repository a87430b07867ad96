#!/usr/bin/env bash
# Makes the folder of files and of checksum lists written by the real tools (md5sum, sha1sum,
# sha256sum, sha512sum, cksum) that the end-to-end tests verify with ruvo.exe.
# Usage: make_tool_lists.sh FOLDER
set -euo pipefail
folder=$1
rm -rf "$folder"
mkdir -p "$folder/sub"
cd "$folder"
printf abc >a.txt
head -c 100000 /dev/zero | tr '\0' 'x' >"b c.bin"
printf 'in a folder\n' >sub/d.txt
files=(a.txt "b c.bin" sub/d.txt)
md5sum "${files[@]}" >gnu.md5
sha1sum "${files[@]}" >gnu.sha1
sha256sum "${files[@]}" >gnu.sha256
sha512sum "${files[@]}" >gnu.sha512
sha256sum -b "${files[@]}" >binary.sha256
md5sum --tag "${files[@]}" >tag.md5
sha512sum --tag "${files[@]}" >tag.sha512
cksum -a sha256 "${files[@]}" >cksum.sha256
{ cksum -a sha1 a.txt; cksum -a md5 "b c.bin"; sha256sum --tag sub/d.txt; } >mixed.tags
python3 - "${files[@]}" >hand.sfv <<'PY'
import sys, zlib
print("; made by hand\r")
for name in sys.argv[1:]:
    with open(name, "rb") as f:
        print(f"{name} {zlib.crc32(f.read()):08X}\r")
PY
sha256sum a.txt | cut -d' ' -f1 >a.txt.sha256
