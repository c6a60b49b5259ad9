#!/usr/bin/env bash
# The README's run command, run as a user runs it, in a prefix of its own (build/run-check-wine):
#   tools/run A   with a Clean.ini that chooses Temp and a file placed in that prefix's Temp
#                 must end with 0 and remove the file;
#   tools/run     on a first start must show, in the Wine desktop window it opens on this
#                 display, the task bar with its notification area and the start page;
#   then, on that desktop, e2e_keyboard_tests: from a click on the icon to a clean and back
#                 with the keyboard alone, keys and clicks as X delivers them (xdotool).
# Called by tools/test inside the virtual display; records "run-command passed failed" and the
# keyboard suite in $results/tally. Expects $results and DISPLAY.
set -uo pipefail
cd "$(dirname "$0")/../.."
. tools/lib/wine.sh
. tools/lib/tally.sh

prefix=build/run-check-wine
log=$results/run-command.log
: >"$log"
passed=0 failed=0
check() {  # check NAME STATUS
  if [ "$2" = 0 ]; then passed=$((passed + 1)); echo "run-command: $1: ok" >>"$log"
  else failed=$((failed + 1)); echo "run-command: $1: FAILED" | tee -a "$log"; fi
}

# wine_prefix exports WINEPREFIX and HOME for the wine calls below; tools/run makes the same
# prefix safe again before it starts the program.
rm -rf "$prefix" "$prefix.home"
if ! (wine_prefix "$prefix" test) >>"$log" 2>&1; then
  check "prefix" 1
  echo "run-command $passed $failed" >>"$results/tally"; exit 0
fi
wine_env "$prefix"
export MORVANE_WINEPREFIX=$prefix

program=$WINEPREFIX/drive_c/Morvane
mkdir -p "$program"
temp_win=$(wine cmd /c 'echo %TEMP%' 2>/dev/null | tr -d '\r')
temp_unix=$(winepath -u "$temp_win" 2>/dev/null)
case "$(realpath -m "$temp_unix")" in
  "$WINEPREFIX"/drive_c/*) ;;
  *) temp_unix="" ;;  # never place or delete anything outside the prefix
esac

# 1. The unattended clean.
if [ -n "$temp_unix" ]; then
  mkdir -p "$temp_unix"
  printf 'placed by tools/test\n' >"$temp_unix/run-check.txt"
  printf '[Delete]\r\nUser=No\r\nTemp=Yes\r\nTemporary Internet Files=No\r\n' >"$program/Clean.ini"
  timeout 300 tools/run A >>"$log" 2>&1
  status=$?
  echo "tools/run A ended with $status" >>"$log"
  check "tools/run A ends with 0" "$status"
  [ ! -e "$temp_unix/run-check.txt" ]; check "tools/run A removes the file in Temp" $?
else
  echo "the prefix's Temp folder was not found (got '$temp_win')" >>"$log"
  check "tools/run A" 1
fi

# 2. The resident start on a first run: a Wine desktop window appears on this display, and in it
# the task bar (whose notification area holds the icon) and the start page; the windows inside
# are Wine's own, so a program of the prefix asks for them.
rm -f "$program/Clean.ini"
timeout 300 tools/run >>"$log" 2>&1 &
runner=$!
desktop=1
for _ in $(seq 1 240); do
  if xwininfo -root -tree 2>/dev/null | grep -q 'Morvane - Wine desktop'; then desktop=0; break; fi
  kill -0 "$runner" 2>/dev/null || break
  sleep 0.5
done
check "tools/run opens a Wine desktop window" "$desktop"
# Whether the desktop shows a top-level window of a class, holding a control whose text begins
# with the text given (winedbg lists the desktop's windows, their texts cut to 14 characters).
shows() {  # shows CLASS [TEXT]
  local _
  for _ in $(seq 1 30); do
    timeout 60 wine winedbg --command 'info wnd' 2>/dev/null | tr -d '\r' | awk -v class="$1" -v text="${2:-}" '
      /^ [0-9a-f]/ { top = $2 == class && $3 ~ /^[13579bdf]/; if (top && text == "") found = 1 }
      /^  [0-9a-f]/ && top && text != "" && index($0, text) { found = 1 }
      END { exit !found }' && return 0
    sleep 1
  done
  return 1
}
shows Shell_TrayWnd
check "the desktop has a task bar with a notification area" $?
shows MorvaneForm "Go to the View"  # the start page's instruction
check "tools/run shows the start page" $?
wineserver -k >/dev/null 2>&1
wait "$runner" 2>/dev/null

# 3. The keyboard alone on the desktop tools/run set up: the prefix now starts every program in it.
stage=$WINEPREFIX/drive_c/tests
mkdir -p "$stage"
cp build/win32/tests/e2e/e2e_keyboard_tests.exe build/win32/app/Morvane.exe "$stage/"
run_suite run-keyboard "$stage/keyboard.xml" wine 'C:\tests\e2e_keyboard_tests.exe' --gtest_output='xml:C:\tests\keyboard.xml'
cp "$stage/keyboard.xml" "$results/run-keyboard.xml" 2>/dev/null
# Skipped means it found no task bar: the desktop was not there.
! grep -q '<skipped' "$stage/keyboard.xml" 2>/dev/null; check "the keyboard test ran on the desktop" $?
wineserver -k >/dev/null 2>&1

echo "run-command $passed $failed" >>"$results/tally"
printf '%-30s %5d passed, %d failed\n' "run-command" "$passed" "$failed"
