# Configures and builds one side. Source this file, then: build_side host|asan|win32 [targets...]
# (configure_side SIDE only configures, where that has not been done). "asan" is the host side
# built with AddressSanitizer, UndefinedBehaviorSanitizer and leak detection, "tsan" the host side
# built with ThreadSanitizer.
configure_side() {
  local side=$1
  local dir="build/$side" args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
  [ "$side" = win32 ] && args+=(-DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake)
  if [ "$side" = asan ]; then
    # Unoptimised with line tables only: it builds in half the time, and the reports still name
    # the file and line.
    local sanitize="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
    args=(-DCMAKE_BUILD_TYPE=Debug "-DCMAKE_CXX_FLAGS_DEBUG=-O0 -g1" "-DCMAKE_C_FLAGS_DEBUG=-O0 -g1"
          "-DCMAKE_CXX_FLAGS=$sanitize" "-DCMAKE_C_FLAGS=$sanitize" "-DCMAKE_EXE_LINKER_FLAGS=$sanitize")
  fi
  if [ "$side" = tsan ]; then
    # The clean's work runs on a thread of its own beside the windows: ThreadSanitizer watches
    # the two meet (optimised a little, since it slows everything down).
    local sanitize="-fsanitize=thread -fno-omit-frame-pointer"
    args=(-DCMAKE_BUILD_TYPE=Debug "-DCMAKE_CXX_FLAGS_DEBUG=-O1 -g1" "-DCMAKE_C_FLAGS_DEBUG=-O1 -g1"
          "-DCMAKE_CXX_FLAGS=$sanitize" "-DCMAKE_C_FLAGS=$sanitize" "-DCMAKE_EXE_LINKER_FLAGS=$sanitize")
  fi
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    cmake -S . -B "$dir" "${args[@]}" >/dev/null || return 1
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
  show_lines "$dir/last-build.log" '^\[ *[0-9]+%\]|^-- |^$|^gmake(\[[0-9]+\])?: (Entering|Leaving)|Consolidate compiler generated dependencies' 60
  return $status
}
