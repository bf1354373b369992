# Configures and builds the native (unit-tested) and the Windows build.

# Ninja when present; an existing build folder keeps the generator it was made with.
configure() {
  local build_dir=$1; shift
  local generator=()
  if [[ ! -f $build_dir/CMakeCache.txt ]] && command -v ninja >/dev/null 2>&1; then
    generator=(-G Ninja)
  fi
  cmake -S "$REPO_ROOT" -B "$build_dir" "${generator[@]}" "$@"
}

build_native() {
  say "building the native code and unit tests in $BUILD_NATIVE"
  configure "$BUILD_NATIVE" || return 1
  cmake --build "$BUILD_NATIVE" -j"$(nproc)" || return 1
}

build_windows() {
  say "building the Windows programs in $BUILD_WIN"
  # Optimised, as shipped: an unoptimised build spends several times longer
  # in the list operations (sorting, reading and writing 32 767 entries).
  configure "$BUILD_WIN" -DCMAKE_TOOLCHAIN_FILE="$REPO_ROOT/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE="${MORVANE_BUILD_TYPE:-Release}" || return 1
  cmake --build "$BUILD_WIN" -j"$(nproc)" || return 1
  local exe
  for exe in morvane.exe standin-player.exe; do
    [[ -f $BUILD_WIN/$exe ]] || { warn "$BUILD_WIN/$exe was not built"; return 1; }
  done
}
