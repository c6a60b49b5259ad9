# Records one gtest run in $results/tally from its XML report: "name passed failed". A run that
# died without a report, or exited non-zero with no failure recorded, counts as one failure.
tally() {
  local name=$1 xml=$2 status=$3 tests=0 fails=0 errors=0 disabled=0 skipped=0
  if [ -s "$xml" ]; then
    local head; head=$(grep -m1 '<testsuites' "$xml" || true)
    tests=$(sed -n 's/.* tests="\([0-9]*\)".*/\1/p' <<<"$head")
    fails=$(sed -n 's/.* failures="\([0-9]*\)".*/\1/p' <<<"$head")
    errors=$(sed -n 's/.* errors="\([0-9]*\)".*/\1/p' <<<"$head")
    disabled=$(sed -n 's/.* disabled="\([0-9]*\)".*/\1/p' <<<"$head")
    skipped=$(grep -c '<skipped' "$xml" || true)
  fi
  local bad=$((${fails:-0} + ${errors:-0}))
  if [ "$status" != 0 ] && [ "$bad" = 0 ]; then bad=1; fi
  local good=$((${tests:-0} - bad - ${disabled:-0} - skipped))
  [ "$good" -lt 0 ] && good=0
  echo "$name $good $bad" >>"$results/tally"
  printf '%-30s %5d passed, %d failed\n' "$name" "$good" "$bad"
}

# Runs one test program (the command after the name) with a time limit and tallies it.
run_suite() {
  local name=$1 xml=$2; shift 2
  timeout 900 "$@" >"$results/$name.log" 2>&1
  local status=$?
  tally "$name" "$xml" $status
  if [ $status != 0 ]; then awk '/^\[  FAILED|Failure|rror/ && shown++ < 20' "$results/$name.log" || true; fi
}
