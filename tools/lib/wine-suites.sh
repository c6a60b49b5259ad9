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
# The screens' texts, lists and places once more at 120 and 144 dots an inch; a program reads
# the setting when it starts.
for dpi in 120 144; do
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
  rm -f "$stage/win32-$dpi.xml"
  run_suite "wine-win32_tests-${dpi}dpi" "$stage/win32-$dpi.xml" wine 'C:\tests\win32_tests.exe' \
    --gtest_filter='TextsOnWindows*:ScreensOnWindows*' --gtest_output="xml:C:\\tests\\win32-$dpi.xml"
done
wine reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null 2>&1
