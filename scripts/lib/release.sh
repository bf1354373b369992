# The release files: the Windows program in a zip, the Linux program in a
# .deb, both named with the version set in CMakeLists.txt.

DIST_DIR="${MORVANE_DIST:-$REPO_ROOT/dist}"
BUILD_RELEASE="${MORVANE_BUILD_RELEASE:-$REPO_ROOT/build-release}"
# The clean Debian that the .deb is installed into, and its copies: the
# release it was built on, whose FFmpeg libraries it links (Debian 13 has
# other ones). Debian 12 when the build machine does not say.
CLEAN_DEBIAN_SUITE=$(. /etc/os-release 2>/dev/null && echo "${VERSION_CODENAME:-}")
[[ ${CLEAN_DEBIAN_SUITE:-} =~ ^(bookworm|trixie)$ ]] || CLEAN_DEBIAN_SUITE=bookworm
DEBIAN13_DIR="${MORVANE_DEBIAN13:-$OUT_DIR/clean-debian-$CLEAN_DEBIAN_SUITE}"
# What the zip holds, each under this name: the guide as a web page, which
# Windows opens with a double click, beside the pictures it shows; the
# README and the changes; a commented example of each settings file, under
# a name of its own, so that unpacking a new zip over an old one keeps the
# user's keys.ini and settings.ini.
ZIP_FILES=(morvane.exe 使用说明.html screenshot.png screenshot-linux.png README.md CHANGELOG.md
  keys.example.ini settings.example.ini LICENSE NOTICE)
# The icon sizes of the .deb beyond the 32×32 one the window uses.
DEB_ICON_SIZES=(48 64 128 256)

# The project's version, as the build made it.
release_version() {
  sed -n 's/^#define MORVANE_VERSION_TEXT "\(.*\)"$/\1/p' "$BUILD_RELEASE/generated/morvane_version.h"
}

# Builds the Linux program optimised, without its tests' extras, and packs
# both programs into $DIST_DIR. Expects build_windows to have run.
make_release() {
  say "building the Linux program for release in $BUILD_RELEASE"
  configure "$BUILD_RELEASE" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF || return 1
  cmake --build "$BUILD_RELEASE" -j"$(nproc)" --target morvane morvane_guide_html || return 1
  local version
  version=$(release_version)
  [[ -n $version ]] || { warn "the version could not be read"; return 1; }
  mkdir -p "$DIST_DIR"

  local deb="$DIST_DIR/morvane_${version}_amd64.deb"
  rm -f "$deb"
  (cd "$BUILD_RELEASE" && cpack -G DEB -B "$BUILD_RELEASE/package" >/dev/null) || return 1
  cp "$BUILD_RELEASE/package/morvane_${version}_amd64.deb" "$deb" || return 1

  local zip="$DIST_DIR/morvane-$version-windows-x64.zip" stage
  stage=$(mktemp -d)
  cp "$BUILD_WIN/morvane.exe" "$REPO_ROOT/docs/screenshot.png" "$REPO_ROOT/docs/screenshot-linux.png" \
    "$REPO_ROOT/README.md" "$REPO_ROOT/CHANGELOG.md" "$REPO_ROOT/LICENSE" "$REPO_ROOT/NOTICE" "$stage/" || return 1
  "$REPO_ROOT/packaging/guide_html.sh" "$REPO_ROOT/docs/使用说明.md" "$stage/使用说明.html" || return 1
  # For Notepad: a byte-order mark and CR LF, which Morvane reads as well.
  local example
  for example in keys.example.ini settings.example.ini; do
    { printf '\xEF\xBB\xBF' && sed 's/$/\r/' "$REPO_ROOT/packaging/windows/$example"; } >"$stage/$example" || return 1
  done
  rm -f "$zip"
  (cd "$stage" && cmake -E tar cf "$zip" --format=zip "${ZIP_FILES[@]}") || return 1
  rm -rf "$stage"
  echo "$zip"
  echo "$deb"
}

# Checks the release files as a user would meet them; prints ok/FAIL lines
# and returns the number of failures.
check_release() {
  local version failures=0 zip deb scratch
  version=$(release_version)
  zip="$DIST_DIR/morvane-$version-windows-x64.zip"
  deb="$DIST_DIR/morvane_${version}_amd64.deb"
  scratch=$(mktemp -d)
  check() {
    if "$@" >/dev/null 2>&1; then echo "ok - release: $CHECK"; else echo "FAIL - release: $CHECK"; failures=$((failures + 1)); fi
  }

  CHECK="the zip holds exactly ${ZIP_FILES[*]}"
  check diff <(cd "$scratch" && mkdir zip && cd zip && cmake -E tar xf "$zip" && find . -type f | sed 's|^\./||' | sort) \
    <(printf '%s\n' "${ZIP_FILES[@]}" | sort)
  CHECK="every picture the zip's guide shows is in the zip"
  check pictures_present "$scratch/zip/使用说明.html"
  CHECK="the zip's example keys.ini and settings.ini have comments, and a BOM for Notepad"
  check examples_commented "$scratch/zip"
  CHECK="the newest version in the CHANGELOG is $version, the version in the files' names"
  check changelog_names "$REPO_ROOT/CHANGELOG.md" "$version"
  CHECK="the zip's CHANGELOG is the one of this version"
  check changelog_names "$scratch/zip/CHANGELOG.md" "$version"
  CHECK="the .deb unpacks with dpkg-deb -x"
  check dpkg-deb -x "$deb" "$scratch/deb"
  CHECK="the unpacked program prints its version"
  check grep -qx "Morvane $version" <("$scratch/deb/usr/bin/morvane" --version 2>&1)
  CHECK="the guide is installed under /usr/share/doc/morvane"
  check test -s "$scratch/deb/usr/share/doc/morvane/使用说明.md"
  CHECK="the guide is installed as a web page too, with every picture it shows"
  check pictures_present "$scratch/deb/usr/share/doc/morvane/使用说明.html"
  CHECK="the .deb's icons are ${DEB_ICON_SIZES[*]} pixels square as well as 32"
  check icons_present "$scratch/deb/usr/share/icons/hicolor"
  CHECK="Depends covers every Qt library the program links"
  check depends_cover_qt "$deb" "$scratch/deb/usr/bin/morvane"
  CHECK="apt installs the .deb on a clean Debian ($CLEAN_DEBIAN_SUITE), and the program there prints its version"
  check installs_on_debian13 "$deb" "$version"
  rm -rf "$scratch"
  return "$failures"
}

# Each <img> of the page names a file beside it, and there is at least one.
pictures_present() {
  local page=$1 pictures picture
  pictures=$(grep -o '<img [^>]*src="[^"]*"' "$page" | sed 's/.*src="\([^"]*\)"/\1/')
  [[ -n $pictures ]] || return 1
  for picture in $pictures; do [[ -s $(dirname "$page")/$picture ]] || return 1; done
}

# Both examples are in the zip, each with comments and a BOM for Notepad.
examples_commented() {
  local example
  for example in keys.example.ini settings.example.ini; do
    [[ $(head -c3 "$1/$example" | od -An -tx1 | tr -d ' ') == efbbbf ]] || return 1
    grep -q '^; ' "$1/$example" || return 1
  done
}

# The CHANGELOG's first version heading is the version.
changelog_names() {
  [[ $(sed -n 's/^## \([^ ]*\).*/\1/p' "$1" | head -n1) == "$2" ]]
}

# An icon of each size, as big as its folder says.
icons_present() {
  local size
  [[ -s $1/32x32/apps/morvane.png ]] || return 1
  for size in "${DEB_ICON_SIZES[@]}"; do
    [[ $(identify -format '%wx%h' "$1/${size}x${size}/apps/morvane.png" 2>/dev/null) == "${size}x${size}" ]] || return 1
  done
}

# Each libQt6* the program needs belongs to a package that Depends names.
depends_cover_qt() {
  local deb=$1 program=$2 depends lib package
  depends=$(dpkg-deb -f "$deb" Depends)
  local libs
  libs=$(objdump -p "$program" | awk '/NEEDED/ && $2 ~ /^libQt6/ { print $2 }')
  [[ -n $libs ]] || return 1
  for lib in $libs; do
    package=$(dpkg -S "*/$lib" 2>/dev/null | head -n1 | cut -d: -f1)
    local named="(^|[ ,])$package([ ,(]|\$)"
    [[ -n $package && $depends =~ $named ]] || return 1
  done
}

# A minimal Debian made by debootstrap, kept between runs and made
# again after a month; the installs go into copies, so it stays clean.
debian13_base() {
  local base="$DEBIAN13_DIR/base" made="$DEBIAN13_DIR/base.made"
  [[ -d $base && -f $made && -z $(find "$made" -mtime +30) ]] && return 0
  mkdir -p "$DEBIAN13_DIR" || return 1
  as_root rm -rf "$base" "$base.new" "$made"
  as_root debootstrap --variant=minbase "$CLEAN_DEBIAN_SUITE" "$base.new" http://deb.debian.org/debian \
    >"$DEBIAN13_DIR/debootstrap.log" 2>&1 || return 1
  as_root mv "$base.new" "$base" && touch "$made"
}

# apt installs the .deb, with what it depends on, into a fresh copy of the
# clean Debian, and the installed program answers --version there.
installs_on_debian13() {
  local deb=$1 version=$2 root="$DEBIAN13_DIR/try" log="$DEBIAN13_DIR/install.log" rc=0
  debian13_base || return 1
  # Never remove a copy with the running system's /proc still mounted in it.
  if mountpoint -q "$root/proc"; then as_root umount "$root/proc" || return 1; fi
  as_root rm -rf "$root" && as_root cp -a "$DEBIAN13_DIR/base" "$root" || return 1
  as_root cp "$deb" "$root/tmp/morvane.deb" || return 1
  as_root mount -t proc proc "$root/proc" || return 1
  as_root chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin DEBIAN_FRONTEND=noninteractive \
    /bin/sh -c 'apt-get update -q && apt-get install -y -q --no-install-recommends /tmp/morvane.deb && morvane --version' \
    >"$log" 2>&1 || rc=1
  as_root umount "$root/proc" || rc=1
  ((rc == 0)) && [[ $(tail -n1 "$log") == "Morvane $version" ]] && as_root rm -rf "$root"
}
