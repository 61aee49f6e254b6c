# Helpers for GUI checks under Wine; sourced by tools/wine-tests.sh and tools/demo.sh.
#
#   export WINEPREFIX=... WINEARCH=win32 WINEDEBUG=-all
#   source tools/wine-gui.sh
#   gui_start build/win32       # prefix ready for GUIs, an X server, a running wineserver;
#                               # an EXIT trap stops both (gui_stop)
#   wi list -a KalmorForm       # wininspect.exe of that build
#   gui_wait_file LOG 'regex' 5 # waits up to 5 s for a line in a file
#   gui_until 5 COMMAND...      # retries a command for up to 5 s
#   gui_click 10 20 110 45      # an X click in the middle of a rectangle
#   gui_shot name               # build/screenshots/name.png of the virtual desktop
#
# The prefix gets Wine's own fonts (bitmap "Courier", "MS Sans Serif"), "Comic Sans MS" drawn
# as Comic Neue, and one virtual desktop ("Default", 800x600) for every program, so windows
# have frames, tools see them without naming a desktop and a tray exists. An X server is
# started only when DISPLAY is unset: on KALMOR_DISPLAY (e.g. :73) when given, else on the
# first free display.

gui_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
gui_desktop_size=800x600
gui_xvfb_pid=
gui_inspect=

# The GUI settings of the prefix, made once.
gui_prefix() {
  [ -f "$WINEPREFIX/kalmor-gui" ] && return 0
  mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
  cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
  wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Comic Sans MS' /d 'Comic Neue' /f >/dev/null 2>&1 &&
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1 &&
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "$gui_desktop_size" /f >/dev/null 2>&1 &&
    touch "$WINEPREFIX/kalmor-gui"
}

# One wineserver for the whole run. A server still running for the prefix cannot be made
# persistent: wait for it to end first.
gui_server() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot -i >/dev/null 2>&1
  fi
  wineserver -p 2>/dev/null && return 0
  timeout 20 wineserver -w
  wineserver -p 2>/dev/null || true
}

gui_xserver() {
  [ -n "${DISPLAY:-}" ] && return 0
  local fd_file
  fd_file=$(mktemp)
  if [ -n "${KALMOR_DISPLAY:-}" ]; then
    Xvfb "$KALMOR_DISPLAY" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    gui_xvfb_pid=$!
    echo "${KALMOR_DISPLAY#:}" >"$fd_file"
  else
    Xvfb -displayfd 9 -screen 0 1024x768x24 -nolisten tcp 9>"$fd_file" >/dev/null 2>&1 &
    gui_xvfb_pid=$!
  fi
  local i
  for i in $(seq 100); do  # up to 10 s for the server to answer
    if [ -s "$fd_file" ] && xdpyinfo -display ":$(head -1 "$fd_file")" >/dev/null 2>&1; then
      export DISPLAY=":$(head -1 "$fd_file")"
      rm -f "$fd_file"
      return 0
    fi
    kill -0 "$gui_xvfb_pid" 2>/dev/null || break
    sleep 0.1
  done
  rm -f "$fd_file"
  echo "no X server" >&2
  return 1
}

gui_stop() {
  wineserver -k 2>/dev/null
  if [ -n "$gui_xvfb_pid" ]; then
    kill "$gui_xvfb_pid" 2>/dev/null
    wait "$gui_xvfb_pid" 2>/dev/null
    gui_xvfb_pid=
  fi
}

# gui_start BUILD: everything a GUI check needs, stopped again when the shell exits. The
# first program starts Wine's services and the desktop; they live as long as the persistent
# wineserver, so they must not inherit a pipe that a caller's $(wine ...) waits on.
gui_start() {
  gui_inspect=$1/tests/wine/wininspect.exe
  trap gui_stop EXIT
  gui_xserver && gui_server && gui_prefix && wine "$gui_inspect" list </dev/null >/dev/null 2>&1
}

wi() { wine "$gui_inspect" "$@"; }

# gui_until SECONDS COMMAND...: runs COMMAND every 0.1 s until it succeeds; false on time-out.
gui_until() {
  local tenths=$(($1 * 10)) i
  shift
  for i in $(seq "$tenths"); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}

# gui_wait_file FILE REGEX [SECONDS]: true once a line of FILE matches (default 5 s).
gui_wait_file() {
  gui_until "${3:-5}" grep -qE "$2" "$1"
}

# gui_click L T R B: an X click in the middle of a rectangle (as wi list prints it; in the
# virtual desktop Windows and X coordinates are the same).
gui_click() {
  [ $# -eq 4 ] || return 1
  xdotool mousemove $((($1 + $3) / 2)) $((($2 + $4) / 2)) click 1
}

# gui_shot NAME: the virtual desktop as build/screenshots/NAME.png.
gui_shot() {
  mkdir -p "$gui_root/build/screenshots"
  import -window root -crop "$gui_desktop_size+0+0" +repage "$gui_root/build/screenshots/$1.png"
}
