#!/usr/bin/env bash
# Makes the folder of files and of checksum lists written by the real tools (md5sum, sha1sum,
# sha224sum, sha256sum, sha384sum, sha512sum, b2sum, b3sum, cksum, openssl, rhash) that the end-to-end
# tests verify with ruvo.exe.
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
# Kinds beyond the first four: SHA-224, SHA-384 and BLAKE2b of any length, plain and tagged.
sha224sum "${files[@]}" >gnu.sha224
sha384sum "${files[@]}" >gnu.sha384
b2sum "${files[@]}" >B2SUMS
b2sum -l 256 "${files[@]}" >gnu256.b2
b2sum --tag "${files[@]}" >tag.b2
# 128 digits under a name that tells neither SHA-512 nor BLAKE2b: each file tells.
b2sum "${files[@]}" >long.sums
sha512sum "${files[@]}" >>long.sums
cksum -a sha224 "${files[@]}" >cksum.sha224
cksum -a sha384 "${files[@]}" >cksum.sha384
cksum -a blake2b "${files[@]}" >cksum.blake2b
cksum -a blake2b -l 256 "${files[@]}" >cksum256.blake2b
cksum -a sha512 --untagged "${files[@]}" >untagged.sha512
# Blank and comment lines anywhere, CR CR LF line ends, a PGP-signed list.
{ echo '# made by md5sum'; md5sum a.txt; echo; echo '; and more'; md5sum "b c.bin"; echo; md5sum sub/d.txt; } >blanks.md5
sha256sum "${files[@]}" | sed 's/$/\r\r/' >crcrlf.sha256
{
  printf -- '-----BEGIN PGP SIGNED MESSAGE-----\nHash: SHA256\n\n'
  sha256sum "${files[@]}"
  printf -- '-----BEGIN PGP SIGNATURE-----\n\niQEzBAEBCAAdFiEEexample\n=abcd\n-----END PGP SIGNATURE-----\n'
} >signed.sha256
# OpenSSL's "KIND(name)= digest", RHash's padded tags and digest-first CRC-32 lines.
{
  openssl dgst -md5 a.txt
  openssl dgst -sha1 "b c.bin"
  openssl dgst -sha256 sub/d.txt
  openssl dgst -sha384 a.txt
  openssl dgst -sha512 "b c.bin"
  openssl dgst -blake2b512 sub/d.txt
} >openssl.txt
rhash --bsd --md5 --sha1 "${files[@]}" >rhash.bsd
{ rhash --printf '%{crc32} *%p\n' a.txt "b c.bin"; rhash --simple --crc32 sub/d.txt; } >crcfirst.txt
rhash --printf '%{crc32}\n' a.txt >a.txt.crc32
# BLAKE3: b3sum's lists, known by their names (B3SUMS, *.b3), and its digests as tags under any name.
b3sum "${files[@]}" >B3SUMS
b3sum "${files[@]}" >gnu.b3
b3sum "${files[@]}" | sed 's/^\([0-9a-f]*\)  \(.*\)$/BLAKE3 (\2) = \1/' >blake3.tags
# A wrong row after a blank line: the verdict must not be success.
{ md5sum a.txt; echo; echo "00000000000000000000000000000000  b c.bin"; } >late-bad.md5
# Downloads and the lists published beside them: setup.zip has its own, broken.zip changed since
# SHA256SUMS was written.
mkdir -p download
(
  cd download
  printf 'the installer' >setup.zip
  printf 'as published' >broken.zip
  sha256sum setup.zip broken.zip >SHA256SUMS
  md5sum setup.zip >setup.zip.md5
  printf 'changed on the way' >broken.zip
)
