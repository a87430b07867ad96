#!/usr/bin/env bash
# Whole-process creation benchmarks: ruvo.exe started with a command line, saving its list
# automatically and closing by itself, against a bare read loop over the same files under the
# same Wine, and against md5sum, rhash and OpenSSL natively.
#   (a) one 1 GiB file in the page cache: CRC32, CRC16, MD5
#   (b) 10,000 files of 4 KiB in one folder: CRC32 with "処理状況表示" on and off
# Wine's own start-up (a do-nothing program timed in the same run) is taken off every Wine figure;
# for the program, that start-up includes showing and hiding one window, since without a window
# manager (Xvfb) Wine waits about 2 s for a hidden window's withdrawal, a cost of the test display.
# The program's own fixed cost (its windows, settings, list file) is measured on a 3-byte file and
# shown apart, so the ratios compare the work per byte and per file.
# Usage: bench/creation.sh [BENCH_DIR [WIN_DIR]] (or the variables BENCH_DIR and WIN_DIR).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=common.sh
source "$here/common.sh"
bench_start creation ruvo bare_read noop

# The median wall time in seconds of RUNS runs after one warm-up run; `prepare` runs untimed
# before each.
prepare=:
median() {
  local times=() t0 t1
  eval "$prepare"; "$@" >/dev/null 2>&1 || true
  for _ in $(seq "$RUNS"); do
    eval "$prepare"
    t0=$(date +%s%N)
    "$@" >/dev/null 2>&1 || { echo "creation: failed: $*" >&2; exit 1; }
    t1=$(date +%s%N)
    times+=("$(( t1 - t0 ))")
  done
  printf '%s\n' "${times[@]}" | sort -n | awk '{ v[NR] = $1 } END { printf "%.4f\n", v[int((NR + 1) / 2)] / 1e9 }'
}

# ruvo.exe in its own folder, so that its ruvo.ini is this benchmark's.
cp "$WIN_DIR/bin/ruvo.exe" "$work/ruvo.exe"
ruvo_ini() {  # ShowProcess
  printf '[Preferences]\r\nAutoSaveDir=1\r\nAutoSaveFile=1\r\nAutoSaveForceOverwrite=1\r\nAutoSaveClose=1\r\nDirList=1\r\nDirRecursive=0\r\nShowProcess=%s\r\nDoneBeep=0\r\n\r\n' "$1" >"$work/ruvo.ini"
}
ruvo() { wine "$work/ruvo.exe" "$@"; }

echo "creation: preparing data in $work"
mkdir -p "$work/a" "$work/b"
head -c 1073741824 /dev/urandom >"$work/a/big.bin"
head -c $((10000 * 4096)) /dev/urandom | (cd "$work/b" && split -b 4096 -a 5 -d - f)
# Written back now, not during the first timed runs (a gigabyte of dirty pages competes with them).
sync
cat "$work/a/big.bin" >/dev/null
cat "$work/b"/* >/dev/null
big=$(winpath "$work/a/big.bin")
small=$(winpath "$work/b")
gib=1073741824

# Wine's start-up alone (for the console read loop), and with one window shown and hidden (for
# the program, whose own start-up is then measured on a 3-byte file).
noop=$(median wine "$WIN_DIR/bin/noop.exe")
noop_window=$(median wine "$WIN_DIR/bin/noop.exe" window)
net_ruvo() { awk -v t="$1" -v n="$noop_window" 'BEGIN { d = t - n; if (d < 0.001) d = 0.001; printf "%.4f", d }'; }

# The list a run wrote must hold the same checksum as the native tool.
check_list() {  # file expected-hex
  local got
  got=$(tr -d '\r' <"$1" | awk '$1 == "big.bin" { print $2; exit } $2 == "big.bin" { print $1; exit }')
  [[ ${got,,} == "${2,,}" ]] || { echo "creation: $1 holds $got, expected $2" >&2; exit 1; }
}

echo
echo "(a) one 1 GiB file in the page cache; Wine start-up ${noop} s (console) / ${noop_window} s (with a window) taken off"
printf abc >"$work/a/tiny.txt"
ruvo_ini 0
fixed=$(net_ruvo "$(median ruvo -t3 "$(winpath "$work/a/tiny.txt")")")
printf '  %-34s %8s s\n' "ruvo on a 3-byte file (own start-up)" "$fixed"
bare_a=$(net "$(median wine "$WIN_DIR/bin/bare_read.exe" "$big")")
printf '  %-34s %8s s %7s MiB/s\n' "bare read loop (Wine)" "$bare_a" "$(mbps $gib "$bare_a")"
declare -A kinds=([CRC32]=t3 [CRC16]=t1 [MD5]=tm)
declare -A net_a work_a
for show in 0 1; do
  ruvo_ini "$show"
  for kind in CRC16 CRC32 MD5; do  # CRC32 last: its big.crc is checked below
    t=$(net_ruvo "$(median ruvo "-${kinds[$kind]}" "$big")")
    work_t=$(awk -v t="$t" -v f="$fixed" 'BEGIN { d = t - f; if (d < 0.001) d = 0.001; printf "%.4f", d }')
    net_a[$kind$show]=$t
    work_a[$kind$show]=$work_t
    printf '  %-34s %8s s, less own start-up %8s s %7s MiB/s  %s x bare loop\n' "ruvo $kind (処理状況表示 $show)" "$t" \
      "$work_t" "$(mbps $gib "$work_t")" "$(ratio "$bare_a" "$work_t")"
  done
done
check_list "$work/a/big.md5" "$(md5sum "$work/a/big.bin" | cut -d' ' -f1)"
check_list "$work/a/big.crc" "$(rhash --crc32 --simple "$work/a/big.bin" | cut -d' ' -f1)"
md5sum_t=$(median md5sum "$work/a/big.bin")
rhash_t=$(median rhash --crc32 "$work/a/big.bin")
printf '  %-34s %8s s %7s MiB/s\n' "md5sum (native)" "$md5sum_t" "$(mbps $gib "$md5sum_t")"
printf '  %-34s %8s s %7s MiB/s\n' "rhash --crc32 (native)" "$rhash_t" "$(mbps $gib "$rhash_t")"
# OpenSSL's figure is in thousands of bytes per second, for 65536-byte blocks.
openssl_kbps=$(openssl speed -seconds 2 -bytes 65536 md5 2>/dev/null | awk '$1 == "md5" { sub(/k$/, "", $NF); print $NF }')
openssl_mbps=$(awk -v k="$openssl_kbps" 'BEGIN { printf "%.0f", k * 1000 / 1048576 }')
printf '  %-34s %19s MiB/s\n' "OpenSSL MD5 in memory (native)" "$openssl_mbps"
print_goals 0 1

echo
echo "(b) 10,000 files of 4 KiB in one folder; Wine start-up taken off"
bare_b=$(net "$(median wine "$WIN_DIR/bin/bare_read.exe" "$small")")
printf '  %-34s %8s s\n' "bare read loop (Wine)" "$bare_b"
# The list lands in the folder itself; remove it so that every run sees the same 10,000 files.
prepare='rm -f "$work/b/b.crc"'
for show in 1 0; do
  ruvo_ini "$show"
  t=$(net_ruvo "$(median ruvo -t3 "$small")")
  work_t=$(awk -v t="$t" -v f="$fixed" 'BEGIN { d = t - f; if (d < 0.001) d = 0.001; printf "%.4f", d }')
  printf '  %-34s %8s s, less own start-up %8s s  %s x bare loop (goal <= 1.5)\n' "ruvo CRC32 (処理状況表示 $show)" "$t" \
    "$work_t" "$(ratio "$work_t" "$bare_b")"
done
[[ $(tr -d '\r' <"$work/b/b.crc" | wc -l) -eq 10004 ]] || { echo "creation: b.crc does not hold 10,000 rows" >&2; exit 1; }
prepare=:
md5sum_b=$(cd "$work/b" && median md5sum -- f*)
printf '  %-34s %8s s\n' "md5sum (native)" "$md5sum_b"
