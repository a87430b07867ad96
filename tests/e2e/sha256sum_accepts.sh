#!/usr/bin/env bash
# The SHA-256 lists that ruvo.exe creates ("-t256", saved automatically) pass sha256sum -c.
# Usage: sha256sum_accepts.sh WINENV WINE_HOME RUVO_EXE
set -euo pipefail
winenv=$1 home=$2 exe=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$exe" "$work/ruvo.exe"
mkdir -p "$work/album"
printf abc >"$work/album/a.txt"
head -c 70000 /dev/urandom >"$work/album/b c.bin"
printf '' >"$work/album/empty"
# Binary mode's "*" form as well as the plain one.
for binary in 0 1; do
  printf '[Preferences]\r\nAutoSaveDir=1\r\nAutoSaveClose=1\r\nDoneBeep=0\r\nMD5BinaryMode=%s\r\n\r\n' "$binary" \
    >"$work/ruvo.ini"
  rm -f "$work/album/album.sha256"
  "$winenv" run "$home" "$work/ruvo.exe" -t256 "Z:${work//\//\\}\\album" >/dev/null 2>&1
  [[ -f $work/album/album.sha256 ]] || { echo "no list written (binary mode $binary)" >&2; exit 1; }
  (cd "$work/album" && sha256sum --strict -c album.sha256)
done
