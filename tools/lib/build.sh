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

build_side() {
  local side=$1; shift
  local dir="build/$side"
  configure_side "$side" || return 1
  local targets=()
  for t in "$@"; do targets+=(--target "$t"); done
  # Only warnings and errors reach the terminal.
  local status
  cmake --build "$dir" -j "$(nproc)" "${targets[@]}" >"$dir/last-build.log" 2>&1
  status=$?
  grep -vE '^\[ *[0-9]+%\]|^-- |^$|^gmake|Consolidate compiler generated dependencies' "$dir/last-build.log" | head -60
  return $status
}
