# Sourced by the whole-process benchmarks (creation.sh, verification.sh): their shared set-up
# and arithmetic. The sourcing script sets `here` (its folder) first; its arguments are
# [BENCH_DIR [WIN_DIR]] (or the variables BENCH_DIR and WIN_DIR).
repo=$(cd "$here/.." && pwd)
BENCH_DIR=${BENCH_DIR:-${1:-build/bench}}
WIN_DIR=$(cd "${WIN_DIR:-${2:-build/win}}" && pwd)
RUNS=${RUNS:-3}
winenv=$repo/tools/winenv

# bench_start NAME EXE...: checks the helper programs, makes the scratch folder `work` (removed
# at exit) and brings up the test display and Wine (stopped at exit if this run started them).
bench_start() {
  bench_name=$1
  shift
  local exe
  for exe in "$@"; do
    [[ -f $WIN_DIR/bin/$exe.exe ]] || { echo "$bench_name: $WIN_DIR/bin/$exe.exe missing (build the Windows tree first)" >&2; exit 1; }
  done
  mkdir -p "$repo/build"
  work=$(mktemp -d "$repo/build/bench-$bench_name.XXXXXX")
  started_wine=0
  trap bench_cleanup EXIT
  trap "exit 130" INT TERM
  if [[ ! -f $WIN_DIR/wine/xvfb.pid ]] || ! kill -0 "$(cat "$WIN_DIR/wine/xvfb.pid")" 2>/dev/null; then
    started_wine=1
  fi
  # A wineserver that already runs for the prefix makes "start" fail; that one serves as well.
  "$winenv" start "$WIN_DIR/wine" >/dev/null 2>&1 || true
  eval "$("$winenv" env "$WIN_DIR/wine")"
  export WINEPREFIX WINEDEBUG WINEDLLOVERRIDES LANG LC_ALL DISPLAY
}
bench_cleanup() {
  rm -rf "$work"
  if ((started_wine)); then "$winenv" stop "$WIN_DIR/wine" >/dev/null 2>&1 || true; fi
}

# Wine sees the Unix root as drive Z:.
winpath() { printf 'Z:%s' "${1//\//\\}"; }
# Seconds less Wine's start-up (`noop`, set by the script), never below a millisecond.
net() { awk -v t="$1" -v n="$noop" 'BEGIN { d = t - n; if (d < 0.001) d = 0.001; printf "%.4f", d }'; }
mbps() { awk -v b="$1" -v t="$2" 'BEGIN { printf "%.0f", b / t / 1048576 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

# Prints the (a) goals twice, for the whole run and for
# its work alone (the program's own start-up taken off as well), since the program's windows take
# longer to come up than the bare loop takes to read 1 GiB from the page cache.
# Reads net_a and work_a (seconds per kind and "処理状況表示" setting, as "CRC321"), bare_a, gib,
# openssl_mbps; arguments: the settings in the order to print.
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
