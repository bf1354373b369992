# The native checks beside the unit tests: the unit tests again under
# AddressSanitizer and UndefinedBehaviorSanitizer (g++), and the libFuzzer
# targets (clang). Each has a build folder of its own.

BUILD_ASAN="${MORVANE_BUILD_ASAN:-$REPO_ROOT/build-asan}"
BUILD_FUZZ="${MORVANE_BUILD_FUZZ:-$REPO_ROOT/build-fuzz}"
FUZZ_TARGETS=(parse_stamp format_sec mark_file mark_formats sentence_finder)

# A sanitizer report fails the test that caused it; leaks count as well.
# asan.supp and lsan.supp name the only system libraries excused, and why.
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:strict_string_checks=1:suppressions=$REPO_ROOT/scripts/lib/asan.supp}"
export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$REPO_ROOT/scripts/lib/lsan.supp}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"

build_asan() {
  say "building the unit tests and the Linux program's tests with AddressSanitizer and UBSan in $BUILD_ASAN"
  # Everything native: the portable code, the Qt front end, the MPRIS link
  # and the X11 keys, with their tests against the real players.
  configure "$BUILD_ASAN" -DMORVANE_SANITIZE=ON || return 1
  cmake --build "$BUILD_ASAN" -j"$(nproc)" || return 1
}

build_fuzz() {
  say "building the fuzz targets with clang in $BUILD_FUZZ"
  CC=clang CXX=clang++ configure "$BUILD_FUZZ" -DMORVANE_FUZZ=ON -DMORVANE_QT=OFF || return 1
  local targets=() target
  for target in "${FUZZ_TARGETS[@]}"; do targets+=("${target}_fuzz"); done
  cmake --build "$BUILD_FUZZ" -j"$(nproc)" --target "${targets[@]}" || return 1
}

# Runs one target for $2 seconds on its corpus (kept in the build folder,
# seeded from fuzz/seeds). Prints "ok - NAME ..." or "FAIL - NAME ..." and
# returns non-zero when the fuzzer found a crash or could not run. A crashing
# input is kept in $3 as NAME-crash-<hash>.
run_fuzzer() {
  local name=$1 seconds=$2 out=$3
  local exe="$BUILD_FUZZ/fuzz/${name}_fuzz" corpus="$BUILD_FUZZ/corpus/$name"
  local log="$out/$name.log"
  mkdir -p "$corpus" "$out"
  if [[ ! -x $exe ]]; then
    echo "FAIL - fuzz $name: $exe was not built"
    return 1
  fi
  local rc=0
  "$exe" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$out/$name-" "$corpus" "$REPO_ROOT/fuzz/seeds/$name" </dev/null >"$log" 2>&1 || rc=$?
  local runs
  runs=$(grep -aoE '^stat::number_of_executed_units: *[0-9]+' "$log" | grep -oE '[0-9]+$' || echo "?")
  if ((rc == 0)); then
    echo "ok - fuzz $name: $runs inputs in $seconds s, corpus $(find "$corpus" -type f | wc -l) files"
    return 0
  fi
  local crash
  crash=$(ls -t "$out/$name"-crash-* "$out/$name"-leak-* "$out/$name"-timeout-* "$out/$name"-oom-* 2>/dev/null | head -n1 || true)
  echo "FAIL - fuzz $name: exit code $rc${crash:+, input kept in $crash}; see $log"
  grep -aE 'ERROR: |SUMMARY: |runtime error' "$log" | head -n5 >&2 || true
  return 1
}
