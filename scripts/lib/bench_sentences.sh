# The sentence finder's part of scripts/bench: a set of lessons spoken by
# espeak-ng with known pauses, in eight listening conditions
# (bench/sentences/make_set.py), and the finder's accuracy on it beside
# FFmpeg's silencedetect and WebRTC's voice activity detector. Its tables
# become the "## Sentences" section of the results file, at its end; the
# rest of the file is left as it is. Expects common.sh and build.sh; uses
# BUILD_BENCH from bench_linux.sh. About five minutes on two cores.

BENCH_SENTENCES_TIMEOUT_S=1800

bench_sentences() {
  local commit=${BENCH_COMMIT:-$(bench_commit)}
  say "building the sentence benchmark in $BUILD_BENCH"
  configure "$BUILD_BENCH" -DCMAKE_BUILD_TYPE="${MORVANE_BUILD_TYPE:-Release}" || die "the configuration failed"
  cmake --build "$BUILD_BENCH" -j"$(nproc)" --target morvane-bench-sentences || die "the sentence benchmark was not built"
  [[ -x $BUILD_BENCH/morvane-bench-sentences ]] ||
    die "$BUILD_BENCH/morvane-bench-sentences was not built (is libwebrtc-audio-processing-dev installed?)"

  local out="$OUT_DIR/bench-sentences" started=$SECONDS
  rm -rf "$out"
  mkdir -p "$out" || die "$out could not be made"
  say "making the set of lessons (espeak-ng, sox, ffmpeg)"
  /usr/bin/python3 "$REPO_ROOT/bench/sentences/make_set.py" "$out/set" >"$out/make_set.log" 2>&1 ||
    die "the set could not be made; see $out/make_set.log"
  say "measuring the finder and the references"
  timeout --kill-after=10 "$BENCH_SENTENCES_TIMEOUT_S" "$BUILD_BENCH/morvane-bench-sentences" \
    --set "$out/set" --out "$out" </dev/null >"$out/driver.log" 2>&1 || die "the sentence benchmark failed; see $out/driver.log"

  local cpu before="" after=""
  cpu=$(grep -m1 '^model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//' || true)
  if [[ -s $RESULTS ]]; then
    before=$(sed '/^## Sentences$/,/^## /{/^## Sentences$/d;/^## /!d}' "$RESULTS")
  else
    before=$(printf '# Benchmark results\n')
  fi
  {
    printf '%s\n\n' "$before"
    echo "## Sentences"
    echo
    echo "Written by \`scripts/bench sentences\` in $((SECONDS - started)) s. A generated set: lessons of ten sentences each, spoken by espeak-ng in Mandarin, English and German with several voices, speeds and pitches, joined by pauses of 250 ms, 400 ms, 700 ms, 1.2 s and 2 s after a lead-in of 1.5 s, commas inside the sentences; then the same lessons with white and pink noise at 20 and 10 dB below the speech, a bed of synthesised chords 15 dB below it, a room's reverberation (sox reverb 60), and as a 32 kbit/s mono MP3. The truth is each sentence's first sample above 1/1000 of full scale in its own render. One lesson a language is the tuning part, its texts spoken nowhere else; the three others are scored. A start counts when it lies within 100 ms of a true start, one to one; it cuts speech when it lies more than 50 ms after the start nearest it. The references turn their silences into starts by the same minimum pause."
    echo
    echo "- CPU: ${cpu:-unknown}, $(nproc) cores; $(ffmpeg -version 2>/dev/null | head -n1 | cut -d' ' -f1-3); libwebrtc-audio-processing $(dpkg-query -W -f='${Version}' libwebrtc-audio-processing1 2>/dev/null); espeak-ng $(dpkg-query -W -f='${Version}' espeak-ng 2>/dev/null)"
    echo "- Date: $(date -u '+%Y-%m-%d %H:%M UTC'); commit: $commit"
    echo
    cat "$out/table.md"
  } >"$RESULTS.tmp"
  mv "$RESULTS.tmp" "$RESULTS"
  sed -n '/^## Sentences$/,$p' "$RESULTS"
  echo "results: $RESULTS"
}
