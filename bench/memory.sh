#!/usr/bin/env bash
# A verification page's memory and filling time, whole process under Wine: ruvo.exe is started
# with "-c" and a list, bench/win/fill_waiter.exe notes when the page's list view holds every
# row, and the program's peak memory (VmHWM, the most it ever had resident) is read from /proc
# at that moment, before the run gets far.
#   (a) a table list of 64 MiB: 9.6 million rows "x 1 2". Goal: peak memory above that of a
#       one-row list <= 2 x the list's size + 64 MB.
#   (b) a table list of 100,000 rows. Goals: filled less than 1 s after a one-row list would be;
#       peak memory above that of a one-row list, less the bytes of the names, < 200 bytes a row.
# Usage: bench/memory.sh [BENCH_DIR [WIN_DIR]] (or the variables BENCH_DIR and WIN_DIR).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=common.sh
source "$here/common.sh"
bench_start memory ruvo fill_waiter

cp "$WIN_DIR/bin/ruvo.exe" "$work/ruvo.exe"
ruvo_exe=$(winpath "$work/ruvo.exe")
printf '[Preferences]\r\nShowProcess=1\r\nDoneBeep=0\r\n\r\n' >"$work/ruvo.ini"

# The Unix process of the program (its first argument is the Windows path of ruvo.exe).
ruvo_pid() {
  local p first
  for p in /proc/[0-9]*; do
    # A process may end between the listing and the reading.
    first=$({ tr '\0' '\n' <"$p/cmdline"; } 2>/dev/null | head -n 1) || continue
    if [[ $first == *'\ruvo.exe' ]]; then
      echo "${p#/proc/}"
      return
    fi
  done
}

# fill ROWS LIST: prints the seconds to a filled page and the peak memory then, in KiB.
fill() {
  local seconds pid hwm
  coproc waiter { wine "$WIN_DIR/bin/fill_waiter.exe" "$1" "$ruvo_exe" -c "$(winpath "$2")" 2>/dev/null; }
  read -r seconds <&"${waiter[0]}" || { echo "memory: no filled page for $2" >&2; exit 1; }
  pid=$(ruvo_pid)
  [[ -n $pid ]] || { echo "memory: ruvo.exe's process not found" >&2; exit 1; }
  hwm=$(awk '$1 == "VmHWM:" { print $2 }' "/proc/$pid/status")
  echo >&"${waiter[1]}"
  wait "$waiter_PID" || true
  echo "${seconds%$'\r'} $hwm"
}
# The median of RUNS fills' seconds and the median of their peak memories in KiB, after one
# warm-up.
median_fill() {
  local seconds=() kib=() s k
  fill "$@" >/dev/null
  for _ in $(seq "$RUNS"); do
    read -r s k < <(fill "$@")
    seconds+=("$s")
    kib+=("$k")
  done
  echo "$(median_value "${seconds[@]}") $(median_value "${kib[@]}")"
}

head="Name  CRC32  Bytes"$'\r\n'"-  -  -"$'\r\n'
{ printf '%s' "$head"; printf 'x 1 2\r\n'; } >"$work/one.crc"
{ printf '%s' "$head"; awk 'BEGIN { for (i = 0; i < 9600000; i++) printf "x 1 2\r\n" }'; } >"$work/short.crc"
{ printf '%s' "$head"; seq -f 'none%06g.bin  00000000  1' 0 99999 | sed 's/$/\r/'; } >"$work/rows.crc"
size=$(stat -c %s "$work/short.crc")

echo "(a) a table list of $((size / 1048576)) MiB, 9,600,000 rows \"x 1 2\""
read -r one_s one_kib < <(fill 1 "$work/one.crc")
read -r short_s short_kib < <(fill 9600000 "$work/short.crc")
above=$(( (short_kib - one_kib) * 1024 ))
limit=$(( 2 * size + 64000000 ))
printf '  one-row list: peak %d MiB; this list: peak %d MiB, filled after %s s\n' \
  $((one_kib / 1024)) $((short_kib / 1024)) "$short_s"
goal "$(printf 'peak above the program'"'"'s own %d MB <= %d MB (2 x list + 64 MB)' $((above / 1000000)) $((limit / 1000000)))" \
  $((above <= limit))

echo
echo "(b) a table list of 100,000 rows"
read -r base base_kib < <(median_fill 1 "$work/one.crc")
read -r rows rows_kib < <(median_fill 100000 "$work/rows.crc")
net=$(awk -v r="$rows" -v b="$base" 'BEGIN { printf "%.3f", r - b }')
printf '  one-row list filled after %s s, peak %.0f KiB; this list after %s s, peak %.0f KiB\n' \
  "$base" "$base_kib" "$rows" "$rows_kib"
goal "page filled $net s after a one-row list's (< 1 s)" "$(below "$net" 1)"
names=$(tail -n +3 "$work/rows.crc" | awk '{ n += length($1) } END { print n }')
per_row=$(awk -v r="$rows_kib" -v b="$base_kib" -v n="$names" 'BEGIN { printf "%.0f", ((r - b) * 1024 - n) / 100000 }')
goal "peak above a one-row list's, less the names' $names bytes: $per_row bytes per row (< 200)" \
  "$(below "$per_row" 200)"
exit $status
