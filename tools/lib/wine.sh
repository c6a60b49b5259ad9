# Wine prefixes that cannot reach the developer's files. Source this file, then:
#   wine_env DIR     exports WINEPREFIX=DIR and a HOME beside it (DIR.home, with the XDG folders,
#                    among them the Recycle Bin's trash) for every later wine call
#   wine_prefix DIR [test]
#                    boots DIR when new, makes it safe, and refuses (returns 1) when it is not;
#                    "test" also leaves windows unmanaged (for Xvfb without a window manager)
#
# A new prefix maps Z: to the Linux root and links the profile folders (Desktop, Documents,
# Downloads, Music, Pictures, Videos, Templates) to the home folder. A purge there would reach
# real files, so Z: and every other drive letter but C: are removed and every link that leaves
# the prefix becomes a real empty folder.

wine_env() {
  local dir
  dir=$(realpath -m "$1")
  export WINEPREFIX="$dir"
  export HOME="$dir.home"
  export WINEDEBUG=-all
  export WINEARCH=win64
  # No Mono or Gecko installers, no menu entries written into HOME.
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  export XDG_CONFIG_HOME="$HOME/.config" XDG_DATA_HOME="$HOME/.local/share" XDG_CACHE_HOME="$HOME/.cache"
  unset XDG_DESKTOP_DIR XDG_DOCUMENTS_DIR XDG_DOWNLOAD_DIR XDG_MUSIC_DIR XDG_PICTURES_DIR XDG_VIDEOS_DIR
}

# Prints every link inside the prefix whose target lies outside it. Serial port links into
# /dev (Wine remakes com1 at every start) hold no files and are let through.
wine_escaping_links() {
  local dir=$1 link target
  find "$dir" -type l 2>/dev/null | while IFS= read -r link; do
    target=$(realpath -m "$link")
    case "$target" in
      "$dir"/* | /dev/tty*) ;;
      *) printf '%s -> %s\n' "$link" "$target" ;;
    esac
  done
}

wine_prefix() {
  wine_env "$1"
  local dir=$WINEPREFIX
  # The Recycle Bin of a Wine program is the XDG trash below XDG_DATA_HOME, which Wine makes only
  # when the folder above it is there: every prefix gets a bin of its own below build/.
  mkdir -p "$HOME" "$XDG_DATA_HOME"
  if [ ! -f "$dir/system.reg" ]; then
    wineboot -i >/dev/null 2>&1 || { echo "wine_prefix: wineboot failed for $dir" >&2; return 1; }
    wineserver -w
  fi
  # Every drive letter but C: goes (Z: is the Linux root).
  local entry
  for entry in "$dir"/dosdevices/*; do
    [ -e "$entry" ] || [ -L "$entry" ] || continue
    case "$(basename "$entry")" in
      c: | com* | lpt*) ;;
      *) rm -f "$entry" ;;
    esac
  done
  # Profile folders linked to HOME become real folders of the prefix.
  local link
  while IFS= read -r link; do
    link=${link%% -> *}
    rm -f "$link" && mkdir -p "$link"
  done < <(wine_escaping_links "$dir")
  # Wine's own fonts (Marlett draws the caption buttons, Tahoma the menus): Debian's Wine does
  # not find them where fonts-wine installs them, so the prefix gets copies of its own.
  if [ -d /usr/share/wine/fonts ] && [ -d "$dir/drive_c/windows/Fonts" ]; then
    cp -n /usr/share/wine/fonts/*.ttf "$dir/drive_c/windows/Fonts/" 2>/dev/null || true
  fi
  if [ ! -f "$dir/.morvane-settings" ]; then
    # No crash dialog and no debugger that waits for someone. Without a window manager (Xvfb)
    # unmanaged windows hide at once instead of after 2 s.
    {
      if [ "${2:-}" = test ]; then wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f; fi
      wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f
      wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Auto /d 1 /f
      wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /d 'false' /f
    } >/dev/null 2>&1
    wineserver -w
    touch "$dir/.morvane-settings"
  fi
  # Refuse a prefix that still reaches outside itself.
  local left
  left=$(wine_escaping_links "$dir")
  if [ -n "$left" ] || [ -e "$dir/dosdevices/z:" ] || [ -L "$dir/dosdevices/z:" ]; then
    echo "wine_prefix: $dir still reaches outside itself:" >&2
    printf '%s\n' "$left" >&2
    return 1
  fi
}
