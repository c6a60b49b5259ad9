#!/usr/bin/env bash
# Runs every staged test program under Wine; called by tools/test inside the virtual display.
# Expects WINEPREFIX (and the rest of wine_env), $results and $stage.
set -uo pipefail
. "$(dirname "$0")/tally.sh"
suites=(host_tests contract_fake_tests scenario_headless_tests contract_win32_tests win32_tests scenario_win32_tests)
# The keyboard suite needs the desktop tools/run sets up; tools/lib/run-check.sh runs it there.
for exe in "$stage"/e2e_*.exe; do
  [ -e "$exe" ] && [ "$(basename "$exe")" != e2e_keyboard_tests.exe ] && suites+=("$(basename "$exe" .exe)")
done
for suite in "${suites[@]}"; do
  rm -f "$stage/$suite.xml"
  run_suite "wine-$suite" "$stage/$suite.xml" wine "C:\\tests\\$suite.exe" --gtest_output="xml:C:\\tests\\$suite.xml"
  cp "$stage/$suite.xml" "$results/wine-$suite.xml" 2>/dev/null || true
done
