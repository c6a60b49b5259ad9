#!/usr/bin/env bash
# Runs every staged benchmark under Wine; called by tools/bench inside the virtual display.
# Expects WINEPREFIX (and the rest of wine_env) and $stage. Each one's output is kept beside it,
# with how long it took and the machine's load before it (the machine may be shared).
# Output goes to a file, not a pipe: the Wine services started by the first run keep their
# standard output open, and a pipe would then never end.
set -uo pipefail
status=0
for exe in "$stage"/bench_*.exe; do
  name=$(basename "$exe" .exe)
  echo "-- $name (load $(cut -d' ' -f1-3 /proc/loadavg))"
  start=$(date +%s)
  wine "C:\\bench\\$name.exe" >"$stage/$name.log" 2>&1 || status=1
  tr -d '\r' <"$stage/$name.log" | grep -v '^wine: could not open working directory' >"$stage/$name.out"
  cat "$stage/$name.out"
  echo "($name took $(($(date +%s) - start)) s)"
done
exit $status
