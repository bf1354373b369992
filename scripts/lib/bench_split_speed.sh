# The speed and memory part of scripts/bench (alone: scripts/bench
# sentences-speed): Morvane's search for sentences on an hour-long MP3 beside
# FFmpeg's silencedetect on the same file, and the growth of its peak memory
# on a three-hour one (bench/linux/split_speed.cpp). Its table becomes the
# "## Sentences: speed and memory" section of the results file, after the
# accuracy section or at the end; the rest is left as it is. Expects
# common.sh and build.sh; uses BUILD_BENCH and bench_commit from
# bench_linux.sh. About two minutes on two busy cores; the first run takes
# one to three more to encode the files, which are kept for the next.

BENCH_SPLIT_SPEED_HEADING="## Sentences: speed and memory"
BENCH_SPLIT_SPEED_ROUNDS=3
BENCH_SPLIT_SPEED_TIMEOUT_S=1200

# A lesson in English and Mandarin spoken by espeak-ng, pauses of 0.4 to
# 2 s between its sentences, repeated for an hour as a 64 kbit/s mono MP3
# at 44.1 kHz, and that hour three times over without re-encoding. Made
# once into `dir`.
make_split_speed_files() {
  local dir=$1
  [[ -s $dir/hour.mp3 && -s $dir/three-hours.mp3 ]] && return 0
  local work="$dir/making"
  rm -rf "$work" && mkdir -p "$work" || return 1
  espeak-ng -m -v en-us -w "$work/en.wav" '<speak>Good morning, everyone. <break time="700ms"/>
    Today we read a short story about a fisherman and his small boat. <break time="400ms"/>
    He went out before the sun came up. <break time="1200ms"/> The sea was calm, and the air was cold.
    <break time="500ms"/> Listen, then say each sentence after me. <break time="2s"/></speak>' || return 1
  espeak-ng -m -v cmn -w "$work/zh.wav" '<speak>大家早上好。<break time="800ms"/>今天我们读一个关于渔夫的小故事。
    <break time="400ms"/>他在太阳出来之前就出海了。<break time="1500ms"/>海面很平静，空气很冷。<break time="600ms"/>
    请听，然后跟我读每一句。<break time="2s"/></speak>' || return 1
  ffmpeg -nostdin -v error -y -i "$work/en.wav" -i "$work/zh.wav" -filter_complex '[0:a][1:a]concat=n=2:v=0:a=1' \
    "$work/lesson.wav" || return 1
  nice ffmpeg -nostdin -v error -y -stream_loop -1 -i "$work/lesson.wav" -t 3600 -ac 1 -ar 44100 \
    -c:a libmp3lame -b:a 64k "$work/hour.mp3" || return 1
  ffmpeg -nostdin -v error -y -stream_loop 2 -i "$work/hour.mp3" -c copy "$work/three-hours.mp3" || return 1
  mv "$work/three-hours.mp3" "$work/hour.mp3" "$dir/" && rm -rf "$work"
}

bench_split_speed() {
  local commit=${BENCH_COMMIT:-$(bench_commit)}
  say "building the speed benchmark of the sentence search in $BUILD_BENCH"
  configure "$BUILD_BENCH" -DCMAKE_BUILD_TYPE="${MORVANE_BUILD_TYPE:-Release}" || die "the configuration failed"
  cmake --build "$BUILD_BENCH" -j"$(nproc)" --target morvane-bench-split-speed ||
    die "the speed benchmark of the sentence search was not built"

  local out="$OUT_DIR/bench-split-speed" files="$OUT_DIR/bench-split-speed-files" started=$SECONDS
  rm -rf "$out"
  mkdir -p "$out" "$files" || die "$out could not be made"
  say "making the hour-long and three-hour MP3s (once; kept in $files)"
  make_split_speed_files "$files" || die "the MP3s could not be made"

  local load_before load_after
  load_before=$(cut -d' ' -f1-3 /proc/loadavg)
  say "measuring the search beside ffmpeg's silencedetect"
  timeout --kill-after=10 "$BENCH_SPLIT_SPEED_TIMEOUT_S" "$BUILD_BENCH/morvane-bench-split-speed" \
    --hour "$files/hour.mp3" --three-hours "$files/three-hours.mp3" --rounds "$BENCH_SPLIT_SPEED_ROUNDS" \
    --out "$out" </dev/null >"$out/driver.log" 2>&1 || die "the speed benchmark failed; see $out/driver.log"
  load_after=$(cut -d' ' -f1-3 /proc/loadavg)

  local cpu section
  cpu=$(grep -m1 '^model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//' || true)
  section=$(
    echo "$BENCH_SPLIT_SPEED_HEADING"
    echo
    echo "Written by \`scripts/bench sentences-speed\` in $((SECONDS - started)) s. Morvane's own search (the FFmpeg decoder to 16 kHz mono and the sentence finder, as 自动分句 runs it) on a lesson in English and Mandarin spoken by espeak-ng, repeated for an hour, as a 64 kbit/s mono MP3 at 44.1 kHz; the 3-hour file is that hour three times. The search and the reference alternate, $BENCH_SPLIT_SPEED_ROUNDS times each, in the same run."
    echo
    echo "- CPU: ${cpu:-unknown}, $(nproc) cores, shared with other work; load average (1, 5, 15 min) before: $load_before; after: $load_after"
    echo "- System: $(uname -sr); $(. /etc/os-release 2>/dev/null && echo "$PRETTY_NAME"); $(ffmpeg -version 2>/dev/null | head -n1 | cut -d' ' -f1-3)"
    echo "- Date: $(date -u '+%Y-%m-%d %H:%M UTC'); commit: $commit"
    echo
    cat "$out/table.md"
  )
  # The section, without its earlier copy, right after the accuracy section
  # ("## Sentences") when there is one, which the Linux part keeps with
  # what follows it; else at the end.
  [[ -s $RESULTS ]] || echo "# Benchmark results" >"$RESULTS"
  SECTION="$section" awk -v heading="$BENCH_SPLIT_SPEED_HEADING" '
    function put() { lines[++n] = ENVIRON["SECTION"]; lines[++n] = ""; placed = 1 }
    $0 == heading { skipping = 1; next }
    /^## / { skipping = 0; if (after_accuracy) put(); after_accuracy = ($0 == "## Sentences") }
    !skipping { lines[++n] = $0 }
    END {
      while (n > 0 && lines[n] == "") n--
      if (!placed) { lines[++n] = ""; lines[++n] = ENVIRON["SECTION"] }
      while (n > 0 && lines[n] == "") n--
      for (i = 1; i <= n; i++) print lines[i]
    }' "$RESULTS" >"$RESULTS.tmp"
  mv "$RESULTS.tmp" "$RESULTS"
  printf '%s\n' "$section"
  echo "results: $RESULTS"
}
