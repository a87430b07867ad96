#!/usr/bin/env bash
# "ruvo.exe -q -update LIST" on lists made by the real tools (md5sum, sha256sum, its -b and --tag
# forms, an SFV file, a UTF-8 list with a byte-order mark) and by ruvo.exe itself (its CRC-32
# table and its MD5 lines): a week later one file changed, one is gone and two are new. The run
# names the changed file and exits 1, keeping its old line; once the file is back it exits 0, and
# the list passes md5sum -c / sha256sum -c where the form allows, and ruvo.exe -q -c.
# Usage: update_lists.sh WINENV WINE_HOME RUVO_EXE
set -euo pipefail
winenv=$1 home=$2 exe=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$exe" "$work/ruvo.exe"
printf '[Preferences]\r\nDoneBeep=0\r\nDirList=0\r\nDirRecursive=1\r\n\r\n' >"$work/ruvo.ini"
fail() { echo "update_lists: $*" >&2; exit 1; }
win() { local p=$1; echo "Z:${p//\//\\}"; }
ruvo() {
  local rc=0
  out=$("$winenv" run "$home" "$work/ruvo.exe" "$@" 2>/dev/null) || rc=$?
  return $rc
}

# form: name of the list, how it is made, the checker that reads it ("" for none)
forms=(
  "gnu.md5|md5sum a.txt change.txt gone.txt sub/old.txt|md5sum"
  "gnu.sha256|sha256sum a.txt change.txt gone.txt sub/old.txt|sha256sum"
  "binary.sha256|sha256sum -b a.txt change.txt gone.txt sub/old.txt|sha256sum"
  "tag.sha256|sha256sum --tag a.txt change.txt gone.txt sub/old.txt|sha256sum"
  "bom.md5|printf '\\xEF\\xBB\\xBF'; md5sum a.txt change.txt gone.txt sub/old.txt|"
  "hand.sfv|printf '; made by hand\\r\\n'; for f in a.txt change.txt gone.txt sub/old.txt; do printf '%s %08X\\r\\n' \"\$f\" \"\$(python3 -c 'import sys,zlib;print(zlib.crc32(open(sys.argv[1],\"rb\").read()))' \"\$f\")\"; done|"
  "album.crc|ruvo -t3|"
  "album.md5|ruvo -tm|"
)

for form in "${forms[@]}"; do
  IFS='|' read -r list make checker <<<"$form"
  echo "== $list"
  dir="$work/album"
  rm -rf "$dir"
  mkdir -p "$dir/sub"
  printf abc >"$dir/a.txt"
  printf before >"$dir/change.txt"
  printf gone >"$dir/gone.txt"
  head -c 70000 /dev/zero | tr '\0' 'o' >"$dir/sub/old.txt"
  if [[ $make == ruvo* ]]; then
    ruvo -q ${make#ruvo } "$(win "$dir")" || fail "$list: not made: $out"
  else
    (cd "$dir" && eval "$make") >"$work/made"
    mv "$work/made" "$dir/$list"
  fi
  [[ -f $dir/$list ]] || fail "$list: no list"
  head -c 3 "$dir/$list" >"$work/start"
  eol=$(grep -c $'\r$' "$dir/$list" || true)

  # A week later.
  printf 'after the list' >"$dir/change.txt"
  rm "$dir/gone.txt"
  printf new >"$dir/new.txt"
  head -c 5000 /dev/zero | tr '\0' 'n' >"$dir/sub/new2.txt"

  rc=0; ruvo -q -u8 -update "$(win "$dir/$list")" || rc=$?
  [[ $rc == 1 ]] || fail "$list: exit $rc with a changed file: $out"
  grep -q $'\tchange.txt\t' <<<"$out" || fail "$list: the changed file is not named: $out"
  grep -q 'gone.txt' "$dir/$list" && fail "$list: the missing file stays"
  grep -q 'new.txt' "$dir/$list" || fail "$list: new.txt not added"
  grep -q 'new2.txt' "$dir/$list" || fail "$list: sub/new2.txt not added"
  cmp -s <(head -c 3 "$dir/$list") "$work/start" || fail "$list: its start changed"
  if [[ $eol -gt 0 ]]; then
    [[ $(grep -vc $'\r$' "$dir/$list") == 0 ]] || fail "$list: CR LF lost"
  else
    [[ $(grep -c $'\r$' "$dir/$list") == 0 ]] || fail "$list: CR added"
  fi
  if [[ -n $checker ]]; then
    # The old line of the changed file stays: it alone fails.
    rc=0; (cd "$dir" && "$checker" -c "$list" >"$work/check" 2>&1) || rc=$?
    [[ $rc == 1 ]] || fail "$list: $checker -c exit $rc"
    [[ $(grep -c FAILED "$work/check") == 1 ]] && grep -q 'change.txt: FAILED' "$work/check" ||
      fail "$list: $(cat "$work/check")"
  fi

  # The file as it was: the list is up to date.
  printf before >"$dir/change.txt"
  cp "$dir/$list" "$work/was"
  rc=0; ruvo -q -u8 -update "$(win "$dir/$list")" || rc=$?
  [[ $rc == 0 ]] || fail "$list: exit $rc once up to date: $out"
  cmp -s "$dir/$list" "$work/was" || fail "$list: rewritten though nothing changed"
  if [[ -n $checker ]]; then (cd "$dir" && "$checker" --strict -c "$list" >/dev/null) || fail "$list: $checker -c"; fi
  rc=0; ruvo -q -c "$(win "$dir/$list")" || rc=$?
  [[ $rc == 0 ]] || fail "$list: ruvo -c exit $rc: $out"
done

# A list that is not there, and one that cannot be written: 2.
rc=0; ruvo -q -update "$(win "$work/none.md5")" || rc=$?
[[ $rc == 2 ]] || fail "no list: exit $rc"
printf x >"$work/album/another.txt"
chmod a-w "$work/album/album.md5"
rc=0; ruvo -q -u8 -update "$(win "$work/album/album.md5")" || rc=$?
chmod u+w "$work/album/album.md5"
[[ $rc == 2 ]] || fail "read-only list: exit $rc: $out"
grep -q 'another.txt' "$work/album/album.md5" && fail "read-only list written"
echo "update_lists: every form updated"
