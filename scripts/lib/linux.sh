# The Linux side: a spoken recording, a private session bus and mpv, which
# answers MPRIS through the mpv-mpris plug-in that mpv loads from
# /etc/mpv/scripts by itself (naming it again with --script would load it
# twice, under two bus names).

MEDIA_DIR="$OUT_DIR/media"

# The recording's sentences, each followed by a pause; changing them makes
# a new recording, otherwise the one made before is used again.
LESSON_LINES=(
  "你好，欢迎来到今天的中文课。"
  "Hello, and welcome to today's lesson."
  "我们先听一段对话，然后一句一句地练习。"
  "Listen to each sentence, then say it again."
  "请问，去火车站怎么走？"
  "Excuse me, how do I get to the railway station?"
  "一直往前走，到第二个路口往左拐。"
  "Go straight on and turn left at the second crossing."
)

# Prints the path of the recording, making it first when needed.
make_lesson() {
  local key out
  key=$(printf '%s\n' "${LESSON_LINES[@]}" | sha1sum | cut -c1-12)
  # The player shows the file name as the track's title.
  out="$MEDIA_DIR/$key/中文课-问路.wav"
  if [[ ! -s $out ]]; then
    say "making a spoken recording with espeak-ng"
    mkdir -p "$MEDIA_DIR/$key"
    local parts=() i line voice part
    for i in "${!LESSON_LINES[@]}"; do
      line=${LESSON_LINES[$i]}
      voice=en
      [[ $line =~ [^[:ascii:]] ]] && voice=zh
      part="$MEDIA_DIR/$key/part-$i.wav"
      espeak-ng -v "$voice" -s 140 -w "$part.raw.wav" "$line" || return 1
      sox "$part.raw.wav" -r 22050 -c 1 "$part" pad 0 1.2 || return 1
      rm -f "$part.raw.wav"
      parts+=("$part")
    done
    sox "${parts[@]}" "$out.tmp.wav" && mv "$out.tmp.wav" "$out" || return 1
    rm -f "${parts[@]}"
  fi
  echo "$out"
}

SESSION_BUS_PID=""

# A session bus of our own, so that only our players are on it.
start_session_bus() {
  local info
  info=$(dbus-daemon --session --fork --print-address=1 --print-pid=1 2>/dev/null) || return 1
  export DBUS_SESSION_BUS_ADDRESS=${info%%$'\n'*}
  SESSION_BUS_PID=${info##*$'\n'}
  [[ -n $DBUS_SESSION_BUS_ADDRESS && $SESSION_BUS_PID =~ ^[0-9]+$ ]]
}

stop_session_bus() {
  [[ -n $SESSION_BUS_PID ]] || return 0
  kill "$SESSION_BUS_PID" 2>/dev/null || true
  SESSION_BUS_PID=""
}

MPV_PID=""

# Starts mpv on the current bus with its IPC socket at $1, playing $2 in a
# loop; further arguments go to mpv. Returns once the socket answers.
start_mpv() {
  local socket=$1 file=$2; shift 2
  rm -f "$socket"
  mpv --no-terminal --loop-file=inf --input-ipc-server="$socket" "$@" "$file" &
  MPV_PID=$!
  local i
  for ((i = 0; i < 100; i++)); do
    [[ -S $socket ]] && return 0
    kill -0 "$MPV_PID" 2>/dev/null || break
    sleep 0.1
  done
  warn "mpv did not start"
  return 1
}

stop_mpv() {
  [[ -n $MPV_PID ]] || return 0
  kill "$MPV_PID" 2>/dev/null || true
  wait "$MPV_PID" 2>/dev/null || true
  MPV_PID=""
}
