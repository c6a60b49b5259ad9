#!/usr/bin/env bash
# Runs every staged benchmark under Wine; called by tools/bench inside the virtual display.
# Expects WINEPREFIX (and the rest of wine_env) and $stage. Each one's output is kept beside it.
# Output goes to a file, not a pipe: the Wine services started by the first run keep their
# standard output open, and a pipe would then never end.
set -uo pipefail
status=0
for exe in "$stage"/bench_*.exe; do
  name=$(basename "$exe" .exe)
  args=()
  # bench_purge leaves one more identical tree for tools/bench to time `rm -rf` on.
  [ "$name" = bench_purge ] && args=('C:\bench\rm-tree')
  echo "-- $name"
  wine "C:\\bench\\$name.exe" "${args[@]}" >"$stage/$name.log" 2>&1 || status=1
  tr -d '\r' <"$stage/$name.log" >"$stage/$name.out"
  cat "$stage/$name.out"
done
exit $status
