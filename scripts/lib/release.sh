# The release files: the Windows program in a zip, the Linux program in a
# .deb, both named with the version set in CMakeLists.txt.

DIST_DIR="${MORVANE_DIST:-$REPO_ROOT/dist}"
BUILD_RELEASE="${MORVANE_BUILD_RELEASE:-$REPO_ROOT/build-release}"
# What the zip holds, each under this name.
ZIP_FILES=(morvane.exe 使用说明.md LICENSE NOTICE)

# The project's version, as the build made it.
release_version() {
  sed -n 's/^#define MORVANE_VERSION_TEXT "\(.*\)"$/\1/p' "$BUILD_RELEASE/generated/morvane_version.h"
}

# Builds the Linux program optimised, without its tests' extras, and packs
# both programs into $DIST_DIR. Expects build_windows to have run.
make_release() {
  say "building the Linux program for release in $BUILD_RELEASE"
  configure "$BUILD_RELEASE" -DCMAKE_BUILD_TYPE=Release || return 1
  cmake --build "$BUILD_RELEASE" -j"$(nproc)" --target morvane || return 1
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
  cp "$BUILD_WIN/morvane.exe" "$REPO_ROOT/docs/使用说明.md" "$REPO_ROOT/LICENSE" "$REPO_ROOT/NOTICE" "$stage/" || return 1
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
  CHECK="the .deb unpacks with dpkg-deb -x"
  check dpkg-deb -x "$deb" "$scratch/deb"
  CHECK="the unpacked program prints its version"
  check grep -qx "Morvane $version" <("$scratch/deb/usr/bin/morvane" --version 2>&1)
  CHECK="the guide is installed under /usr/share/doc/morvane"
  check test -s "$scratch/deb/usr/share/doc/morvane/使用说明.md"
  CHECK="Depends covers every Qt library the program links"
  check depends_cover_qt "$deb" "$scratch/deb/usr/bin/morvane"
  rm -rf "$scratch"
  return "$failures"
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
