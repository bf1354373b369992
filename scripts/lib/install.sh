# Installs the Debian/Ubuntu packages a command needs, in groups, so that
# each command installs only what it uses: `ensure_packages build display
# linux` for the Linux demo, `ensure_packages` with no group for everything
# (the tests, the fuzz targets, the benchmark, the release).
# Debian 12 and Ubuntu 24.04 both have these names (on Ubuntu, wine, wine64
# and fonts-wine come from "universe"). Recommends are skipped, so Wine's
# own fonts (fonts-wine) and clang's sanitizer and libFuzzer runtimes
# (libclang-rt-dev) are named here.

# Both programs and their tests (the demos are built with the tests).
MORVANE_BUILD_PACKAGES=(cmake ninja-build g++ libgtest-dev googletest pkg-config)

# A virtual display for the runs without one.
MORVANE_DISPLAY_PACKAGES=(xvfb xauth x11-utils x11-xkb-utils)

# The Linux program (Qt 6, X11, and the FFmpeg libraries its sentence
# features link) and its demo:
# mpv with its MPRIS plug-in, a spoken recording (espeak-ng, sox), a session
# bus and a window manager on the virtual display.
MORVANE_LINUX_PACKAGES=(
  qt6-base-dev libxi-dev libx11-dev fonts-wqy-microhei qt6-translations-l10n
  libavformat-dev libavcodec-dev libswresample-dev libavutil-dev
  dbus mpv mpv-mpris espeak-ng sox openbox x11-xserver-utils
)

# The Windows program, cross-built with MinGW-w64 and run under Wine with a
# Chinese locale and font; GStreamer's plug-ins decode media for Wine's
# Media Foundation; ImageMagick takes the demo's screenshot.
MORVANE_WINDOWS_PACKAGES=(
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
  wine wine64 fonts-wine fonts-arphic-uming locales imagemagick
  gstreamer1.0-plugins-good gstreamer1.0-plugins-base gstreamer1.0-libav
  # the sample recordings of the decoder's tests are made with ffmpeg
  ffmpeg
)

# The rest of the tests, the fuzz targets and the release: clang for the
# sanitizers and libFuzzer; the players the Linux tests drive beside mpv
# (VLC with its D-Bus control in vlc-plugin-base, Audacious, Celluloid,
# Chromium); the portal, AT-SPI and XTest cases; ffmpeg and the audio
# processing library of the sentence features; the .deb's checks
# (dpkg-dev, file, debootstrap) and its HTML guide (python3-markdown).
# Ubuntu has Chromium only as a snap, which apt does not install, so there
# it is left to the user.
MORVANE_TEST_PACKAGES=(
  clang libclang-rt-dev
  vlc-bin vlc-plugin-base audacious celluloid
  xdg-desktop-portal at-spi2-core python3-gi gir1.2-atspi-2.0 xdotool
  ffmpeg libwebrtc-audio-processing-dev
  dpkg-dev file debootstrap python3-markdown
)
[[ $(. /etc/os-release 2>/dev/null && echo "${ID:-}") == ubuntu ]] || MORVANE_TEST_PACKAGES+=(chromium)

package_installed() {
  [[ $(dpkg-query -W -f='${db:Status-Status}' "$1" 2>/dev/null) == installed ]]
}

# The packages of the named groups (build, display, linux, windows, test);
# every group when none is named.
morvane_packages() {
  local groups=("$@") group
  ((${#groups[@]} > 0)) || groups=(build display linux windows test)
  for group in "${groups[@]}"; do
    case $group in
      build) printf '%s\n' "${MORVANE_BUILD_PACKAGES[@]}" ;;
      display) printf '%s\n' "${MORVANE_DISPLAY_PACKAGES[@]}" ;;
      linux) printf '%s\n' "${MORVANE_LINUX_PACKAGES[@]}" ;;
      windows) printf '%s\n' "${MORVANE_WINDOWS_PACKAGES[@]}" ;;
      test) printf '%s\n' "${MORVANE_TEST_PACKAGES[@]}" ;;
      *) warn "no package group named $group"; return 1 ;;
    esac
  done
}

# Asks apt only when something is missing, so a ready machine starts at once.
ensure_packages() {
  command -v dpkg-query >/dev/null 2>&1 || die "this script needs a Debian or Ubuntu machine (dpkg/apt)"
  local packages missing=() pkg
  packages=$(morvane_packages "$@") || return 1
  for pkg in $packages; do
    package_installed "$pkg" || missing+=("$pkg")
  done
  ((${#missing[@]} == 0)) && return 0
  say "installing: ${missing[*]}"
  as_root env DEBIAN_FRONTEND=noninteractive apt-get update -q || return 1
  as_root env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -q --no-install-recommends "${missing[@]}" || return 1
}
