# The Wine side: a Chinese locale, a private prefix inside the Windows build
# folder, and the environment every Wine command of these scripts runs with.

WINE_PREFIX_DIR="$BUILD_WIN/wineprefix"
WINE_LOCALE_DIR="$BUILD_WIN/locale"
# Bump when the prefix settings below change, so existing prefixes are remade.
WINE_PREFIX_VERSION=6
# The virtual desktop of headless runs.
WINE_DESKTOP=morvane
WINE_DESKTOP_SIZE=1280x800

# LANG alone is not enough when the caller has LC_ALL set; LOCPATH serves the
# locale generated into the build folder, so the system's locales stay as they are.
# Bash itself cannot load that locale (it does not see LOCPATH) and would warn.
wine_env() {
  export WINEPREFIX="$WINE_PREFIX_DIR" WINEARCH=win64
  export WINEDLLOVERRIDES="mscoree,mshtml="
  export WINEDEBUG="${MORVANE_WINEDEBUG:--all}"
  { export LOCPATH="$WINE_LOCALE_DIR" LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8; } 2>/dev/null
}

# Runs one Wine program with that environment, leaving the caller's shell as it was.
run_wine() {
  ( wine_env; exec "$(wine_cmd)" "$@" )
}

wine_cmd() {
  if command -v wine >/dev/null 2>&1; then echo wine; else echo wine64; fi
}

# Converts an absolute Unix path into the path Wine sees through drive Z:.
wine_path() {
  local p=$1
  printf 'Z:%s' "${p//\//\\}"
}

make_locale() {
  [[ -f $WINE_LOCALE_DIR/zh_CN.UTF-8/LC_CTYPE ]] && return 0
  say "generating the zh_CN.UTF-8 locale into $WINE_LOCALE_DIR"
  mkdir -p "$WINE_LOCALE_DIR"
  # localedef exits with 1 on mere warnings; the files decide.
  localedef -i zh_CN -f UTF-8 "$WINE_LOCALE_DIR/zh_CN.UTF-8" || true
  [[ -f $WINE_LOCALE_DIR/zh_CN.UTF-8/LC_CTYPE ]] || { warn "localedef failed"; return 1; }
}

# The Ming face that stands in for the program's Song faces: its Latin letters
# are half as wide as its Chinese ones, as in the originals, and it draws clean
# strokes at 9 pt where the Hei faces' small bitmaps break up under Wine.
CJK_FACE="AR PL UMing CN"
CJK_FILE=uming.ttc

# Font replacements for the program's faces and the system's (and a
# fallback for the Chinese characters of "MS Sans Serif"); no crash dialog
# that would wait for a click; the test driver and the programs it starts
# on a virtual desktop, where Wine draws the window frames itself (on bare
# Xvfb nobody would). Written as UTF-16LE with a BOM so the Chinese value
# names reach the registry intact.
write_prefix_reg() {
  local reg=$1
  {
    printf '\xef\xbb\xbf'
    printf 'Windows Registry Editor Version 5.00\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
    printf '"宋体"="%s"\r\n' "$CJK_FACE"
    printf '"新宋体"="%s"\r\n' "$CJK_FACE"
    # Their English names: a Chinese prefix's "MS Shell Dlg" (captions,
    # message boxes, dialogs) is SimSun, as on Chinese Windows.
    printf '"SimSun"="%s"\r\n' "$CJK_FACE"
    printf '"NSimSun"="%s"\r\n\r\n' "$CJK_FACE"
    printf '[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink]\r\n'
    printf '"MS Sans Serif"=hex(7):%s\r\n\r\n' "$(multi_sz_hex "$CJK_FILE,$CJK_FACE")"
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]\r\n'
    printf '"ShowCrashDialog"=dword:00000000\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]\r\n'
    printf '"%s"="%s"\r\n\r\n' "$WINE_DESKTOP" "$WINE_DESKTOP_SIZE"
    local exe
    for exe in morvane-e2e.exe morvane-window-tests.exe morvane-demo.exe; do
      printf '[HKEY_CURRENT_USER\\Software\\Wine\\AppDefaults\\%s\\Explorer]\r\n' "$exe"
      printf '"Desktop"="%s"\r\n\r\n' "$WINE_DESKTOP"
    done
  } | iconv -f UTF-8 -t UTF-16LE >"$reg"
}

# A REG_MULTI_SZ of one string as a .reg hex(7) value: UTF-16LE, two NULs.
multi_sz_hex() {
  { printf '%s' "$1" | iconv -f UTF-8 -t UTF-16LE; printf '\0\0\0\0'; } | od -An -v -tx1 | tr -s ' \n' ',' | sed 's/^,//; s/,$//'
}

prefix_ready() {
  [[ -f $WINE_PREFIX_DIR/.morvane-prefix && -f $WINE_PREFIX_DIR/system.reg &&
     $(cat "$WINE_PREFIX_DIR/.morvane-prefix") == "$WINE_PREFIX_VERSION" ]]
}

# Makes the prefix once; later runs find the stamp and go on at once.
# Needs DISPLAY to point at a running X server.
make_prefix() {
  make_locale || return 1
  prefix_ready && return 0
  say "preparing the Wine prefix in $WINE_PREFIX_DIR"
  rm -rf "$WINE_PREFIX_DIR"
  mkdir -p "$WINE_PREFIX_DIR"
  (
    wine_env
    "$(wine_cmd)" wineboot -i || exit 1
    wineserver -w
    # Debian's Wine does not find its own fonts (Marlett draws the title-bar
    # buttons), so the prefix gets copies of them.
    cp /usr/share/wine/fonts/*.ttf "$WINE_PREFIX_DIR/drive_c/windows/Fonts/" || exit 1
    local reg="$WINE_PREFIX_DIR/morvane.reg"
    write_prefix_reg "$reg"
    "$(wine_cmd)" reg import "$(wine_path "$reg")" || exit 1
    wineserver -w
  ) || { warn "making the Wine prefix failed"; return 1; }
  # The registry file stores non-ASCII names as \x escapes.
  if ! grep -qF "\"\\x5b8b\\x4f53\"=\"$CJK_FACE\"" "$WINE_PREFIX_DIR/user.reg" ||
    ! grep -qF "\"\\x65b0\\x5b8b\\x4f53\"=\"$CJK_FACE\"" "$WINE_PREFIX_DIR/user.reg"; then
    warn "the font replacements did not reach the prefix's registry"
    return 1
  fi
  echo "$WINE_PREFIX_VERSION" >"$WINE_PREFIX_DIR/.morvane-prefix"
}

# Ends every process of our own prefix, and only those.
stop_wine() {
  [[ -d $WINE_PREFIX_DIR ]] || return 0
  ( wine_env; wineserver -k 2>/dev/null || true; wineserver -w 2>/dev/null || true )
}

# Starts a Windows program on the virtual desktop of headless runs.
run_wine_on_desktop() {
  local exe=$1; shift
  run_wine explorer "/desktop=$WINE_DESKTOP,$WINE_DESKTOP_SIZE" "$(wine_path "$exe")" "$@"
}
