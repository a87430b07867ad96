# Sourced by the whole-process benchmarks: prints the (a) goals twice, for the whole run and for
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
        "$(awk -v a="$bare_a" -v b="${times[CRC32$show]}" 'BEGIN { printf "%.2f", a / b }')" \
        "$(awk -v a="$bare_a" -v b="${times[CRC16$show]}" 'BEGIN { printf "%.2f", a / b }')" \
        "$(awk -v b="$gib" -v t="${times[MD5$show]}" -v o="$openssl_mbps" 'BEGIN { printf "%.2f", b / t / 1048576 / o }')"
      unset -n times
    done
  done
}
