# Installs the Debian/Ubuntu packages the build, the tests and the run need.
# One list for both distributions: Debian 12 and Ubuntu 24.04 both have
# these names (on Ubuntu, wine, wine64 and fonts-wine come from "universe").
# Recommends are skipped, so Wine's own fonts (fonts-wine) and clang's
# sanitizer and libFuzzer runtimes (libclang-rt-dev) are named here. VLC
# (with its D-Bus control in vlc-plugin-base), Audacious, Celluloid and
# Chromium are the players the Linux tests drive beside mpv; Ubuntu has
# Chromium only as a snap, which apt does not install, so there it is left
# to the user.

MORVANE_PACKAGES=(
  cmake ninja-build g++ libgtest-dev googletest
  clang libclang-rt-dev
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
  wine wine64 fonts-wine
  xvfb xauth x11-utils x11-xkb-utils imagemagick
  fonts-arphic-uming locales
  qt6-base-dev libxi-dev libx11-dev fonts-wqy-microhei
  dbus mpv mpv-mpris xdotool espeak-ng sox openbox x11-xserver-utils dpkg-dev file
  qt6-translations-l10n debootstrap
  vlc-bin vlc-plugin-base audacious celluloid xdg-desktop-portal
  at-spi2-core python3-gi gir1.2-atspi-2.0 python3-markdown
  pkg-config libavformat-dev libavcodec-dev libswresample-dev libavutil-dev ffmpeg
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-libav
  libwebrtc-audio-processing-dev
)
[[ $(. /etc/os-release 2>/dev/null && echo "${ID:-}") == ubuntu ]] || MORVANE_PACKAGES+=(chromium)

package_installed() {
  [[ $(dpkg-query -W -f='${db:Status-Status}' "$1" 2>/dev/null) == installed ]]
}

# Asks apt only when something is missing, so a ready machine starts at once.
ensure_packages() {
  command -v dpkg-query >/dev/null 2>&1 || die "this script needs a Debian or Ubuntu machine (dpkg/apt)"
  local missing=() pkg
  for pkg in "${MORVANE_PACKAGES[@]}"; do
    package_installed "$pkg" || missing+=("$pkg")
  done
  ((${#missing[@]} == 0)) && return 0
  say "installing: ${missing[*]}"
  as_root env DEBIAN_FRONTEND=noninteractive apt-get update -q || return 1
  as_root env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -q --no-install-recommends "${missing[@]}" || return 1
}
