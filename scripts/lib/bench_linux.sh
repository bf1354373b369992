# The Linux part of scripts/bench: the real `morvane` against mpv on a
# private X display and session bus, measured by bench/linux's driver
# beside its references. Its table becomes the "## Linux" section of the
# results file; what stands above that heading is left as it is.
# Expects common.sh, build.sh, linux.sh and xvfb.sh.

BUILD_BENCH="${MORVANE_BUILD_BENCH:-$REPO_ROOT/build-bench}"
BENCH_LINUX_TIMEOUT_S=900
BENCH_LINUX_PROGRAMS=(morvane morvane-bench-linux bench-reference-timer bench-key-listener)

# Optimised, as shipped, like the Windows programs.
build_bench_linux() {
  say "building the Linux program and its benchmark in $BUILD_BENCH"
  configure "$BUILD_BENCH" -DCMAKE_BUILD_TYPE="${MORVANE_BUILD_TYPE:-Release}" || return 1
  cmake --build "$BUILD_BENCH" -j"$(nproc)" --target "${BENCH_LINUX_PROGRAMS[@]}"
}

# The results file without its Linux section.
results_above_linux() {
  if [[ -s $1 ]]; then
    sed '/^## Linux$/,$d' "$1"
  else
    printf '# Benchmark results\n\n'
  fi
}

# The commit measured. Read before any results are written, which would
# count as a local change; scripts/bench reads it first when both parts run.
bench_commit() {
  echo "$(git -C "$REPO_ROOT" rev-parse --short HEAD 2>/dev/null || echo unknown)$(
    git -C "$REPO_ROOT" diff --quiet HEAD 2>/dev/null || echo ' (with local changes)')"
}

bench_linux() {
  local commit=${BENCH_COMMIT:-$(bench_commit)}
  build_bench_linux || die "the Linux build failed"
  local program
  for program in "${BENCH_LINUX_PROGRAMS[@]}"; do
    [[ -x $BUILD_BENCH/$program ]] || die "$BUILD_BENCH/$program was not built"
  done

  local out="$OUT_DIR/bench-linux" lesson
  mkdir -p "$out"
  rm -f "$out"/table.md "$out"/driver.log
  lesson=$(make_lesson) || die "the recording could not be made"
  start_xvfb || die "Xvfb did not start"
  start_session_bus || die "no session bus could be started"
  # No sound card needed; mpv keeps time by itself.
  start_mpv "$out/mpv.sock" "$lesson" --ao=null || die "mpv did not start"

  local load_before started=$SECONDS rc=0
  load_before=$(cut -d' ' -f1-3 /proc/loadavg)
  say "measuring the Linux program (about four minutes)"
  timeout --kill-after=10 "$BENCH_LINUX_TIMEOUT_S" "$BUILD_BENCH/morvane-bench-linux" \
    --morvane "$BUILD_BENCH/morvane" --reference "$BUILD_BENCH/bench-reference-timer" \
    --listener "$BUILD_BENCH/bench-key-listener" --socket "$out/mpv.sock" --mpv-pid "$MPV_PID" \
    --out "$out" "$@" </dev/null >"$out/driver.log" 2>&1 || rc=$?
  local load_after
  load_after=$(cut -d' ' -f1-3 /proc/loadavg)
  stop_mpv
  stop_session_bus
  stop_xvfb
  [[ -f $out/table.md ]] || die "the Linux driver wrote no table (exit code $rc); see $out/driver.log"

  local cpu memory above
  cpu=$(grep -m1 '^model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//' || true)
  memory=$(awk '/^MemTotal:/ { printf "%.1f GiB", $2 / 1048576 }' /proc/meminfo)
  above=$(results_above_linux "$RESULTS")
  {
    printf '%s\n\n' "$above"
    echo "## Linux"
    echo
    echo "Written by the Linux part of \`scripts/bench\` (alone: \`scripts/bench linux\`) in $((SECONDS - started)) s: the native program against mpv. Every figure is measured beside its reference in the same run."
    echo
    echo "- CPU: ${cpu:-unknown}, $(nproc) cores"
    echo "- Memory: $memory"
    echo "- System: $(uname -sr); $(. /etc/os-release 2>/dev/null && echo "$PRETTY_NAME")"
    echo "- Qt $(dpkg-query -W -f='${Version}' libqt6core6 2>/dev/null | cut -d+ -f1), $(mpv --version | head -n1 | cut -d' ' -f1-2) with mpv-mpris (--ao=null), on Xvfb and a private session bus"
    echo "- Load average (1, 5, 15 min) before: $load_before; after: $load_after"
    echo "- Date: $(date -u '+%Y-%m-%d %H:%M UTC')"
    echo "- Commit: $commit"
    echo
    cat "$out/table.md"
  } >"$RESULTS.tmp"
  mv "$RESULTS.tmp" "$RESULTS"
  sed -n '/^## Linux$/,$p' "$RESULTS"
  echo "results: $RESULTS"
  ((rc == 0)) || die "some Linux figures could not be measured (exit code $rc); see $out/driver.log"
}
