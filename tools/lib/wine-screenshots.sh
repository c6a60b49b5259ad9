#!/usr/bin/env bash
# Runs every staged end-to-end program under Wine; called by tools/screenshots inside the
# virtual display. Expects WINEPREFIX (and the rest of wine_env), MORVANE_SCREENSHOTS and
# $stage. Output goes to a file beside each program, not a pipe (see wine-benches.sh).
set -uo pipefail
for exe in "$stage"/e2e_*_tests.exe; do
  [ -e "$exe" ] || continue
  name=$(basename "$exe" .exe)
  wine "C:\\screens\\$name.exe" --gtest_brief=1 </dev/null >"$stage/$name.log" 2>&1
  echo "-- $name: $(tr -d '\r' <"$stage/$name.log" | grep -E '^\[  (PASSED|FAILED) ' | tr '\n' ' ')"
done
