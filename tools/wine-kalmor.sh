# Helpers for running kalmor.exe under Wine on our emulated ASPI manager; sourced by
# tools/wine-tests.sh and tools/demo.sh after tools/wine-gui.sh (gui_start, wi).
#
#   kalmor_setup build/win32        # our WNASPI32.DLL in the prefix's system directory
#   kalmor_start [ARGS...]          # kalmor.exe in the background: $kalmor_pid, command log in
#                                   # $kalmor_log, control file $kalmor_control
#   kalmor_do 'speed 0 1 5645'      # acts on the emulated system (emu/scenarios/README.md)
#   kalmor_teardown                 # Wine's own ASPI manager back in place

kalmor_build=
kalmor_pid=
kalmor_log=
kalmor_control=

kalmor_setup() {
  kalmor_build=$1
  local system32=$WINEPREFIX/drive_c/windows/system32
  [ -f "$kalmor_build/wnaspi32.builtin" ] || cp "$system32/wnaspi32.dll" "$kalmor_build/wnaspi32.builtin"
  cp "$kalmor_build/emu/WNASPI32.DLL" "$system32/wnaspi32.dll"
  kalmor_log=$PWD/$kalmor_build/kalmor-emu.log
  kalmor_control=$PWD/$kalmor_build/kalmor-emu.control
}

kalmor_teardown() {
  cp "$kalmor_build/wnaspi32.builtin" "$WINEPREFIX/drive_c/windows/system32/wnaspi32.dll"
}

# kalmor_start [ARGS...]: a fresh command log; WNASPI32_EMU_SCENARIO picks another system.
kalmor_start() {
  rm -f "$kalmor_log" "$kalmor_control"
  WINEDLLOVERRIDES=wnaspi32=n WNASPI32_EMU_LOG="$(winepath -w "$kalmor_log")" \
    WNASPI32_EMU_CONTROL="$(winepath -w "$kalmor_control")" \
    wine "$kalmor_build/src/kalmor.exe" "$@" </dev/null >/dev/null 2>&1 &
  kalmor_pid=$!
}

# kalmor_wait_end [SECONDS]: true once kalmor.exe ended; its exit code in $kalmor_rc.
kalmor_wait_end() {
  local i
  for i in $(seq $((${1:-10} * 10))); do
    if ! kill -0 "$kalmor_pid" 2>/dev/null; then
      wait "$kalmor_pid"; kalmor_rc=$?
      return 0
    fi
    sleep 0.1
  done
  return 1
}

kalmor_do() {
  printf '%s\n' "$1" >"$kalmor_control.tmp" && mv "$kalmor_control.tmp" "$kalmor_control"
}

# The registry of a user who never ran Kalmor (the drives' detection cache goes too).
kalmor_forget() {
  wine reg delete 'HKCU\Software\Brannwick' /f >/dev/null 2>&1
  wine reg delete 'HKLM\Software\Brannwick' /f >/dev/null 2>&1
  return 0
}

# kalmor_set KEY VALUE NUMBER: a REG_DWORD below the per-user product key ("" for the key itself).
kalmor_set() {
  wine reg add "HKCU\\Software\\Brannwick\\Kalmor${1:+\\$1}" /v "$2" /t REG_DWORD /d "$3" /f >/dev/null 2>&1
}

# The main window (hidden or not), its handle.
kalmor_main() { wi list -a KalmorForm 2>/dev/null | sed -n 's/^hwnd=\(0x[0-9a-f]*\).*text="Kalmor".*/\1/p' | head -1; }

# kalmor_menu N: opens the tray menu with a right click on the icon and chooses item N (1 =
# About); separators are skipped by the keys.
kalmor_menu() {
  local main menu k
  main=$(kalmor_main)
  wi post "$main" 0x401 1 0x204 >/dev/null
  menu=$(wi find '#32768' - 5000) || return 1
  for k in $(seq "$1"); do wi post "$menu" 0x100 0x28 0 >/dev/null; done
  wi post "$menu" 0x100 0x0d 0 >/dev/null
}

# Commands of the log after the last control line, for one drive (HA:ID) and opcode.
kalmor_sent_after_control() {
  awk -v drive="$1:0" -v op="$2" '/^# control: / { n = 0; next } $1 == drive && $3 == op { n++ } END { print n + 0 }' "$kalmor_log"
}
