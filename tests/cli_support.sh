# Shared by the end-to-end scripts of the tavro program, which set $tavro before sourcing this.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# expect STATUS PATTERN -- ARGS...: the command exits with STATUS and its output matches PATTERN.
expect() {
  local status=$1 pattern=$2
  shift 3
  local out rc
  out=$("$tavro" "$@" 2>&1)
  rc=$?
  [ "$rc" -eq "$status" ] || fail "tavro $* exited $rc, expected $status: $out"
  grep -qE -- "$pattern" <<<"$out" || fail "tavro $*: no match for '$pattern' in: $out"
}

# guarded STATUS PATTERN -- ARGS...: as expect, and the output files keep.txt and keep.svg (the
# ones the commands name for writing) still hold what they held, with no temporary file left.
guarded() {
  printf 'precious\n' >keep.txt
  printf 'precious\n' >keep.svg
  expect "$@"
  [ "$(cat keep.txt)" = precious ] && [ "$(cat keep.svg)" = precious ] ||
    fail "tavro ${*:4}: an output file was changed"
  ls keep.*.tmp-* >/dev/null 2>&1 && fail "tavro ${*:4}: a temporary file was left behind"
  return 0
}

# near WHAT VALUE EXPECTED TOLERANCE: VALUE is a number within TOLERANCE of EXPECTED.
near() {
  awk -v v="$2" -v e="$3" -v t="$4" 'BEGIN { d = v - e; if (d < 0) d = -d; exit !(v != "" && d <= t) }' ||
    fail "$1 is '$2', expected $3 within $4"
}

# field FILE ROWKEY COLUMN: the value in COLUMN (1-based) of the CSV row whose first field is ROWKEY.
field() { awk -F, -v k="$2" -v c="$3" '$1 == k { print $c; exit }' "$1"; }

# finish NAME: the summary line and the exit status.
finish() {
  if [ "$failures" -gt 0 ]; then
    echo "$failures check(s) failed"
    exit 1
  fi
  echo "all tavro $1 checks passed"
}
