# The Linux part of scripts/bench: the real `morvane` against mpv, VLC and
# Audacious in turn, on a private X display and session bus, measured by
# bench/linux's driver beside its references. Its tables become the
# "## Linux" section of the results file; what stands above that heading is
# left as it is. Expects common.sh, build.sh, linux.sh and xvfb.sh.

BUILD_BENCH="${MORVANE_BUILD_BENCH:-$REPO_ROOT/build-bench}"
BENCH_LINUX_TIMEOUT_S=900
BENCH_LINUX_PROGRAMS=(morvane morvane-bench-linux bench-reference-window bench-reference-timer bench-key-listener)
BENCH_PLAYERS=(mpv vlc audacious)
# VLC refuses to run as root; the players run as this plain user.
BENCH_PLAYER_USER=morvane-player

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

# A session bus that the players' plain user can reach too, its socket in
# `dir`; otherwise a session bus like the tests' own.
start_shared_bus() {
  local dir=$1 info
  mkdir -p "$dir" && chmod 755 "$dir" || return 1
  cat >"$dir/bus.conf" <<EOF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:path=$dir/bus</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow user="*"/>
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
EOF
  info=$(dbus-daemon --config-file="$dir/bus.conf" --fork --print-address=1 --print-pid=1 2>/dev/null) || return 1
  export DBUS_SESSION_BUS_ADDRESS=${info%%$'\n'*}
  SESSION_BUS_PID=${info##*$'\n'}
  [[ $SESSION_BUS_PID =~ ^[0-9]+$ ]] && chmod 666 "$dir/bus"
}

ensure_player_user() {
  id "$BENCH_PLAYER_USER" >/dev/null 2>&1 && return 0
  say "creating the user $BENCH_PLAYER_USER, which the players run as"
  as_root useradd --system --no-create-home --shell /usr/sbin/nologin "$BENCH_PLAYER_USER"
}

# Runs a command as the players' user on the shared bus, with $1 as HOME.
as_player() {
  local home=$1; shift
  as_root runuser -u "$BENCH_PLAYER_USER" -- \
    env HOME="$home" DBUS_SESSION_BUS_ADDRESS="$DBUS_SESSION_BUS_ADDRESS" "$@"
}

# Audacious without a sound card: its SDL output (on SDL's dummy driver)
# as the only output, repeating the file. A first start writes the
# plug-in list, which is then edited.
prepare_audacious_home() {
  local home=$1 registry=$1/.config/audacious/plugin-registry
  mkdir -p "$home/.config/audacious"
  printf '[audacious]\nrepeat=TRUE\n' >"$home/.config/audacious/config"
  chown -R "$BENCH_PLAYER_USER" "$home"
  if [[ ! -s $registry ]]; then
    as_player "$home" SDL_AUDIODRIVER=dummy audacious -H >/dev/null 2>&1 &
    local starter=$! i
    for ((i = 0; i < 100; i++)); do
      pgrep -u "$BENCH_PLAYER_USER" -x audacious >/dev/null && [[ -s $registry ]] && break
      sleep 0.1
    done
    local first
    first=$(pgrep -u "$BENCH_PLAYER_USER" -x audacious | head -n1)
    [[ -z $first ]] || kill "$first" 2>/dev/null || true
    wait "$starter" 2>/dev/null || true
  fi
  [[ -s $registry ]] || return 1
  awk '/^[a-z]+ \// { plugin = $2 }
       /^enabled / { if (plugin ~ /\/Output\/sdlout\.so$/) $0 = "enabled 1"; else if (plugin ~ /\/Output\//) $0 = "enabled 0" }
       { print }' "$registry" >"$registry.new" && mv "$registry.new" "$registry" && chown "$BENCH_PLAYER_USER" "$registry"
}

BENCH_PLAYER_PID=""

# Starts player $1 playing file $2 in a loop, silently, and waits for its
# MPRIS name; BENCH_PLAYER_PID is then the player's own process. mpv runs
# as in the tests, its IPC socket at $3.
start_bench_player() {
  local name=$1 file=$2 socket=$3 home="$BENCH_PLAYER_DIR/home-$1"
  BENCH_PLAYER_PID=""
  case $name in
    mpv)
      start_mpv "$socket" "$file" --ao=null || return 1
      BENCH_PLAYER_PID=$MPV_PID
      ;;
    vlc)
      mkdir -p "$home" && chown "$BENCH_PLAYER_USER" "$home"
      as_player "$home" vlc -I dummy --control dbus --aout adummy --no-video --loop "$file" \
        >"$BENCH_PLAYER_DIR/vlc.log" 2>&1 &
      ;;
    audacious)
      prepare_audacious_home "$home" || { warn "Audacious's plug-in list could not be written"; return 1; }
      as_player "$home" SDL_AUDIODRIVER=dummy audacious -H "$file" >"$BENCH_PLAYER_DIR/audacious.log" 2>&1 &
      ;;
  esac
  local i
  for ((i = 0; i < 100; i++)); do
    [[ -n $BENCH_PLAYER_PID ]] || BENCH_PLAYER_PID=$(pgrep -u "$BENCH_PLAYER_USER" -x "$name" | head -n1)
    if [[ -n $BENCH_PLAYER_PID ]] && dbus-send --session --print-reply --dest=org.freedesktop.DBus \
      /org/freedesktop/DBus org.freedesktop.DBus.ListNames 2>/dev/null | grep -q "org.mpris.MediaPlayer2.$name"; then
      return 0
    fi
    sleep 0.1
  done
  warn "$name did not start"
  return 1
}

stop_bench_player() {
  if [[ $1 == mpv ]]; then
    stop_mpv
  elif [[ -n $BENCH_PLAYER_PID ]]; then
    kill "$BENCH_PLAYER_PID" 2>/dev/null || true
    local i
    for ((i = 0; i < 50; i++)); do
      kill -0 "$BENCH_PLAYER_PID" 2>/dev/null || break
      sleep 0.1
    done
  fi
  BENCH_PLAYER_PID=""
}

bench_linux() {
  local commit=${BENCH_COMMIT:-$(bench_commit)}
  build_bench_linux || die "the Linux build failed"
  local program
  for program in "${BENCH_LINUX_PROGRAMS[@]}"; do
    [[ -x $BUILD_BENCH/$program ]] || die "$BUILD_BENCH/$program was not built"
  done
  ensure_player_user || die "the players' user could not be made"

  local out="$OUT_DIR/bench-linux" lesson
  rm -rf "$out"
  BENCH_PLAYER_DIR="$out/players"
  mkdir -p "$BENCH_PLAYER_DIR" && chmod 755 "$out" "$BENCH_PLAYER_DIR" || die "$out could not be made"
  lesson=$(make_lesson) || die "the recording could not be made"
  # Where the players' user can read it, under a plain name.
  install -m 644 "$lesson" "$BENCH_PLAYER_DIR/lesson.wav" || die "the recording could not be copied"
  start_xvfb || die "Xvfb did not start"
  start_shared_bus "$out/bus" || die "no session bus could be started"

  local load_before started=$SECONDS rc=0 player
  load_before=$(cut -d' ' -f1-3 /proc/loadavg)
  say "measuring the Linux program against ${BENCH_PLAYERS[*]} (about four minutes each)"
  for player in "${BENCH_PLAYERS[@]}"; do
    mkdir -p "$out/$player"
    if ! start_bench_player "$player" "$BENCH_PLAYER_DIR/lesson.wav" "$out/mpv.sock"; then
      stop_bench_player "$player"
      rc=1
      printf '| Figure | Morvane | Reference (same run) | Goal | Result |\n|---|---|---|---|---|\n| all | %s did not start | - | - | **not measured** |\n' \
        "$player" >"$out/$player/table.md"
      continue
    fi
    local extra=()
    [[ $player == mpv ]] && extra=(--socket "$out/mpv.sock" --listener "$BUILD_BENCH/bench-key-listener")
    say "  against $player"
    timeout --kill-after=10 "$BENCH_LINUX_TIMEOUT_S" "$BUILD_BENCH/morvane-bench-linux" \
      --morvane "$BUILD_BENCH/morvane" --reference-window "$BUILD_BENCH/bench-reference-window" \
      --reference "$BUILD_BENCH/bench-reference-timer" --player "$player" --player-pid "$BENCH_PLAYER_PID" \
      "${extra[@]}" --out "$out/$player" "$@" </dev/null >"$out/$player/driver.log" 2>&1 || rc=$?
    stop_bench_player "$player"
    [[ -f $out/$player/table.md ]] || { warn "no table for $player; see $out/$player/driver.log"; rc=1; }
  done
  local load_after
  load_after=$(cut -d' ' -f1-3 /proc/loadavg)
  stop_session_bus
  stop_xvfb

  local cpu memory above
  cpu=$(grep -m1 '^model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//' || true)
  memory=$(awk '/^MemTotal:/ { printf "%.1f GiB", $2 / 1048576 }' /proc/meminfo)
  above=$(results_above_linux "$RESULTS")
  # The sentence finder's section, written by its own part, stays at the end.
  local sentences=""
  [[ -f $RESULTS ]] && sentences=$(sed -n '/^## Sentences$/,$p' "$RESULTS")
  {
    printf '%s\n\n' "$above"
    echo "## Linux"
    echo
    echo "Written by the Linux part of \`scripts/bench\` (alone: \`scripts/bench linux\`) in $((SECONDS - started)) s: the native program against each player in turn, on the same file. Every figure is measured beside its reference in the same run."
    echo
    echo "- CPU: ${cpu:-unknown}, $(nproc) cores"
    echo "- Memory: $memory"
    echo "- System: $(uname -sr); $(. /etc/os-release 2>/dev/null && echo "$PRETTY_NAME")"
    echo "- Qt $(dpkg-query -W -f='${Version}' libqt6core6 2>/dev/null | cut -d+ -f1), on Xvfb and a private session bus"
    echo "- $(mpv --version | head -n1 | cut -d' ' -f1-2) with mpv-mpris, --ao=null"
    echo "- VLC $(dpkg-query -W -f='${Version}' vlc-bin 2>/dev/null | cut -d- -f1), -I dummy --control dbus --aout adummy, as the user $BENCH_PLAYER_USER"
    echo "- Audacious $(dpkg-query -W -f='${Version}' audacious 2>/dev/null | cut -d- -f1), -H with its SDL output on SDL_AUDIODRIVER=dummy, as the user $BENCH_PLAYER_USER"
    echo "- Load average (1, 5, 15 min) before: $load_before; after: $load_after"
    echo "- Date: $(date -u '+%Y-%m-%d %H:%M UTC')"
    echo "- Commit: $commit"
    for player in "${BENCH_PLAYERS[@]}"; do
      printf '\n### %s\n\n' "$player"
      cat "$out/$player/table.md"
    done
    [[ -z $sentences ]] || printf '\n%s\n' "$sentences"
  } >"$RESULTS.tmp"
  mv "$RESULTS.tmp" "$RESULTS"
  sed -n '/^## Linux$/,$p' "$RESULTS"
  echo "results: $RESULTS"
  ((rc == 0)) || die "some Linux figures could not be measured (exit code $rc); see $out/*/driver.log"
}
