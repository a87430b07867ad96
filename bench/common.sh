# Sourced by the whole-process benchmarks (creation.sh, verification.sh, memory.sh): their shared set-up
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

# The median of the given numbers, with four decimals.
median_value() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { printf "%.4f\n", v[int((NR + 1) / 2)] }'; }
# One core's in-memory speed of OpenSSL for a digest (md5, sha256) in MiB/s, or with a process
# count, that of so many processes together; OpenSSL's own figure is in thousands of bytes per
# second, for 65536-byte blocks.
openssl_speed() {
  openssl speed ${2:+-multi "$2"} -seconds 2 -bytes 65536 "$1" 2>/dev/null |
    awk -v k="$1" '$1 == k { sub(/k$/, "", $NF); printf "%.0f", $NF * 1000 / 1048576 }'
}

# goal TEXT MET(0/1): prints a goal's line; a missed goal makes the script's exit status 1.
status=0
goal() {
  if (($2)); then printf '  %-72s MET\n' "$1"; else printf '  %-72s MISSED\n' "$1"; status=1; fi
}
# at_least / at_most / below FIGURE LIMIT: 1 when the figure meets the limit, else 0.
at_least() { awk -v f="$1" -v l="$2" 'BEGIN { print (f >= l) ? 1 : 0 }'; }
at_most() { awk -v f="$1" -v l="$2" 'BEGIN { print (f <= l) ? 1 : 0 }'; }
below() { awk -v f="$1" -v l="$2" 'BEGIN { print (f < l) ? 1 : 0 }'; }
