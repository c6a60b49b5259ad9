# Configures and builds one side. Source this file, then: build_side host|win32 [targets...]
# (configure_side host|win32 only configures, where that has not been done).
configure_side() {
  local side=$1
  local dir="build/$side" args=()
  [ "$side" = win32 ] && args+=(-DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake)
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${args[@]}" >/dev/null || return 1
  fi
}

# Prints at most MAX lines of FILE that do not match the extended regex SKIP; always succeeds.
show_lines() {
  # The pattern goes through the environment: -v would read its backslashes as escapes.
  SKIP=$2 awk -v max="$3" '$0 !~ ENVIRON["SKIP"] && shown < max { print; shown++ }' "$1" 2>/dev/null || true
}

build_side() {
  local side=$1; shift
  local dir="build/$side"
  configure_side "$side" || return 1
  local targets=()
  for t in "$@"; do targets+=(--target "$t"); done
  # Only warnings and errors reach the terminal. The filter is awk, which ends with 0 whether or
  # not it found a line, so a quiet (successful) build stays a success under `set -e -o pipefail`.
  local status=0
  cmake --build "$dir" -j "$(nproc)" "${targets[@]}" >"$dir/last-build.log" 2>&1 || status=$?
  show_lines "$dir/last-build.log" '^\[ *[0-9]+%\]|^-- |^$|^gmake|Consolidate compiler generated dependencies' 60
  return $status
}
