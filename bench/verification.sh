#!/usr/bin/env bash
# Whole-process verification benchmarks: ruvo.exe started with "-c" and a checksum list, timed
# until its window shows the result caption (bench/win/verify_waiter.exe watches for it, then
# closes the window), against a bare read loop over the same files under the same Wine and
# against md5sum -c natively.
#   (a) a list of one 1 GiB file in the page cache: CRC32, CRC16, MD5
#   (b) a list of 10,000 files of 4 KiB: CRC32 with "処理状況表示" on and off, MD5
#   (c) a list of 100,000 entries whose files do not exist: the cost of a row itself
# Every Wine figure is timed by the waiter from CreateProcess on, and Wine's start-up of a
# do-nothing program (noop.exe, timed the same way in the same run) is taken off.
# The lists are written by Python's zlib, binascii and hashlib, not by ruvo.
# Usage: bench/verification.sh [BENCH_DIR [WIN_DIR]] (or the variables BENCH_DIR and WIN_DIR).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=common.sh
source "$here/common.sh"
bench_start verification ruvo bare_read noop verify_waiter

waiter() { wine "$WIN_DIR/bin/verify_waiter.exe" "$@" | tr -d '\r'; }

# The median of RUNS figures printed by a command, after one warm-up run.
median_of() {
  local values=()
  "$@" >/dev/null 2>&1 || { echo "verification: failed: $*" >&2; exit 1; }
  for _ in $(seq "$RUNS"); do values+=("$("$@")"); done
  median_value "${values[@]}"
}
# The median wall time in seconds of a native command.
wall() {
  local t0 t1
  t0=$(date +%s%N)
  "$@" >/dev/null 2>&1 || { echo "verification: failed: $*" >&2; exit 1; }
  t1=$(date +%s%N)
  awk -v d=$(( t1 - t0 )) 'BEGIN { printf "%.4f\n", d / 1e9 }'
}

# Prints the (a) goals twice, for the whole run and for its work alone (the program's own start-up
# taken off as well). Reads net_a and work_a (seconds per kind and "処理状況表示" setting, as
# "CRC321"), bare_a, gib, openssl_mbps; arguments: the settings in the order to print.
print_goals() {
  local show part
  for show in "$@"; do
    for part in whole work; do
      if [[ $part == whole ]]; then local -n times=net_a; else local -n times=work_a; fi
      printf '  goals, 処理状況表示 %s, %-5s: CRC32 %s and CRC16 %s x bare loop (>= 0.75); MD5 %s x OpenSSL (>= 0.95)\n' \
        "$show" "$part" \
        "$(ratio "$bare_a" "${times[CRC32$show]}")" "$(ratio "$bare_a" "${times[CRC16$show]}")" \
        "$(awk -v b="$gib" -v t="${times[MD5$show]}" -v o="$openssl_mbps" 'BEGIN { printf "%.2f", b / t / 1048576 / o }')"
      unset -n times
    done
  done
}

cp "$WIN_DIR/bin/ruvo.exe" "$work/ruvo.exe"
ruvo_exe=$(winpath "$work/ruvo.exe")
ruvo_ini() {  # ShowProcess
  printf '[Preferences]\r\nShowProcess=%s\r\nDoneBeep=0\r\n\r\n' "$1" >"$work/ruvo.ini"
}
verify() { waiter "$ruvo_exe" -c "$(winpath "$1")"; }
start_up() { waiter --exit "$WIN_DIR/bin/noop.exe"; }
bare() { waiter --exit "$WIN_DIR/bin/bare_read.exe" "$@"; }

echo "verification: preparing data in $work"
mkdir -p "$work/a" "$work/b" "$work/c"
head -c 1073741824 /dev/urandom >"$work/a/big.bin"
head -c $((10000 * 4096)) /dev/urandom | (cd "$work/b" && split -b 4096 -a 5 -d - f)
python3 - "$work" <<'PY'
import binascii, hashlib, os, sys, zlib
work = sys.argv[1]
REV = bytes(int(f"{i:08b}"[::-1], 2) for i in range(256))
def crc16(path):
    # CRC-16/MCRF4XX is the bit-reflected CRC-CCITT: reflect the bytes, run binascii's
    # unreflected CRC, reflect the result.
    reg = 0xFFFF
    with open(path, "rb") as f:
        while chunk := f.read(1 << 22):
            reg = binascii.crc_hqx(chunk.translate(REV), reg)
    return int(f"{reg:016b}"[::-1], 2)
def crc32(path):
    reg = 0
    with open(path, "rb") as f:
        while chunk := f.read(1 << 22):
            reg = zlib.crc32(chunk, reg)
    return reg
def md5(path):
    h = hashlib.md5()
    with open(path, "rb") as f:
        while chunk := f.read(1 << 22):
            h.update(chunk)
    return h.hexdigest()
def table(path, title, rows):  # rows: (name, hash, size)
    nw = max([4] + [len(r[0]) for r in rows]); hw = len(rows[0][1]) if rows else 8
    sw = max([5] + [len(f"{r[2]:,}") for r in rows])
    lines = [f"{'Name':<{nw}}  {title:<{hw}}  Bytes", f"{'-' * nw}  {'-' * hw}  {'-' * sw}"]
    lines += [f"{n:<{nw}}  {h}  {s:>{sw},}" for n, h, s in rows]
    lines += ["-" * (nw + hw + sw + 4), f"Total  {len(rows)} Files  {sum(r[2] for r in rows):,} Bytes"]
    with open(path, "wb") as f:
        f.write("".join(l + "\r\n" for l in lines).encode())
def md5list(path, rows):
    with open(path, "wb") as f:
        f.write("".join(f"{h} {n}\r\n" for n, h in rows).encode())
big = os.path.join(work, "a", "big.bin"); size = os.path.getsize(big)
table(os.path.join(work, "a", "big32.crc"), "CRC32", [("big.bin", f"{crc32(big):08X}", size)])
table(os.path.join(work, "a", "big16.crc"), "CRC", [("big.bin", f"{crc16(big):04X}", size)])
md5list(os.path.join(work, "a", "big.md5"), [("big.bin", md5(big))])
names = sorted(os.listdir(os.path.join(work, "b")))
files = [os.path.join(work, "b", n) for n in names]
table(os.path.join(work, "b", "small.crc"), "CRC32", [(n, f"{crc32(p):08X}", 4096) for n, p in zip(names, files)])
md5list(os.path.join(work, "b", "small.md5"), [(n, md5(p)) for n, p in zip(names, files)])
table(os.path.join(work, "c", "missing.crc"), "CRC32", [(f"none{i:06d}.bin", "00000000", 1) for i in range(100000)])
table(os.path.join(work, "c", "empty.crc"), "CRC32", [])
PY
(cd "$work/a" && md5sum big.bin >gnu.md5)
(cd "$work/b" && md5sum f* >gnu.md5)
# Written back now, not during the first timed runs (a gigabyte of dirty pages competes with them).
sync
cat "$work/a/big.bin" "$work/b"/f* >/dev/null
gib=1073741824

noop=$(median_of start_up)
ruvo_ini 1
empty=$(net "$(median_of verify "$work/c/empty.crc")")
echo "Wine start-up ${noop} s taken off every Wine figure; ruvo's own start-up with an empty list: ${empty} s"

echo
echo "(a) a list of one 1 GiB file in the page cache"
bare_a=$(net "$(median_of bare "$(winpath "$work/a/big.bin")")")
printf '  %-36s %8s s %7s MiB/s\n' "bare read loop (Wine)" "$bare_a" "$(mbps $gib "$bare_a")"
declare -A lists=([CRC16]=big16.crc [CRC32]=big32.crc [MD5]=big.md5)
declare -A net_a work_a
for show in 1 0; do
  ruvo_ini "$show"
  for kind in CRC16 CRC32 MD5; do
    t=$(net "$(median_of verify "$work/a/${lists[$kind]}")")
    net_a[$kind$show]=$t
    h=$(awk -v t="$t" -v e="$empty" 'BEGIN { d = t - e; if (d < 0.001) d = 0.001; printf "%.4f", d }')
    work_a[$kind$show]=$h
    printf '  %-36s %8s s %7s MiB/s  %s x bare loop; less its start-up: %s MiB/s, %s x\n' "ruvo -c $kind (処理状況表示 $show)" "$t" \
      "$(mbps $gib "$t")" "$(ratio "$bare_a" "$t")" "$(mbps $gib "$h")" "$(ratio "$bare_a" "$h")"
  done
done
md5c_a=$(cd "$work/a" && median_of wall md5sum -c --quiet gnu.md5)
printf '  %-36s %8s s %7s MiB/s\n' "md5sum -c (native)" "$md5c_a" "$(mbps $gib "$md5c_a")"
openssl_mbps=$(openssl_speed md5)
printf '  %-36s %19s MiB/s\n' "OpenSSL MD5 in memory (native)" "$openssl_mbps"
print_goals 1 0

echo
echo "(b) a list of 10,000 files of 4 KiB"
bare_b=$(net "$(median_of bare "$(winpath "$work/b")")")
printf '  %-36s %8s s\n' "bare read loop (Wine)" "$bare_b"
for show in 1 0; do
  ruvo_ini "$show"
  t=$(net "$(median_of verify "$work/b/small.crc")")
  printf '  %-36s %8s s  %s x bare loop (goal <= 1.5); less its start-up %s x\n' "ruvo -c CRC32 (処理状況表示 $show)" "$t" \
    "$(ratio "$t" "$bare_b")" "$(awk -v t="$t" -v e="$empty" -v b="$bare_b" 'BEGIN { printf "%.2f", (t - e) / b }')"
done
ruvo_ini 1
t=$(net "$(median_of verify "$work/b/small.md5")")
printf '  %-36s %8s s  %s x bare loop (goal <= 1.5)\n' "ruvo -c MD5 (処理状況表示 1)" "$t" "$(ratio "$t" "$bare_b")"
md5c_b=$(cd "$work/b" && median_of wall md5sum -c --quiet gnu.md5)
printf '  %-36s %8s s\n' "md5sum -c (native)" "$md5c_b"

echo
echo "(c) a list of 100,000 entries naming files that do not exist (every row \"ファイルオープン失敗\")"
ruvo_ini 1
t=$(net "$(median_of verify "$work/c/missing.crc")")
printf '  %-36s %8s s  %s µs per row\n' "ruvo -c CRC32 (処理状況表示 1)" "$t" "$(awk -v t="$t" 'BEGIN { printf "%.1f", t / 100000 * 1e6 }')"
