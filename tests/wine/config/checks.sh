# The settings dialog of kalmor.exe under Wine on the default emulated system: opened from the
# tray of the resident program and read through wininspect; the speed track bar moved by its
# keys (SET CD SPEED in the emulator's log, the profile in the registry); the lock box ticked
# and the drive set back after its speed was changed behind the program's back; the keyboard
# (Tab, Enter, Esc) and the stored tab; screenshots in English and German. Sourced by
# tools/wine-tests.sh after the kalmor.exe checks (tools/wine-kalmor.sh); uses its `check`.
# Argument: the build folder.

# Control ids of the dialog's view (src/ui/win32/ConfigDlgView.cpp).
config_id_tabs=100 config_id_medium=102 config_id_speedbar=105 config_id_lock=108

# The dialog's window; its caption is the same in both languages.
config_dialog() { wi find KalmorForm 'Kalmor developers Kalmor 1.02' "${1:-5000}"; }

# config_line ID: the dialog's control of that id as wi list prints it; config_ctl ID: its handle.
config_line() { wi list KalmorForm | grep -E "^ +hwnd=.* id=$1 "; }
config_ctl() { config_line "$1" | sed -n 's/^ *hwnd=\(0x[0-9a-f]*\) .*/\1/p'; }

# A key typed into a control of the dialog (through the program's own message loop).
config_key() { wi post "$1" 0x100 "$2" 0 >/dev/null; }

# Opens the dialog from the tray icon (a click on it, or its callback when there is no
# xdotool); clicks are ignored until the start-up chain is over, so this retries.
config_open() {
  local i
  for i in $(seq 20); do
    if command -v xdotool >/dev/null; then
      xdotool mousemove 790 590 click 1
    else
      wi post "$(kalmor_main)" 0x401 1 0x201 >/dev/null
    fi
    config_dialog 1500 && return 0
  done
  return 1
}

# config_reg KEY VALUE: a value below the per-user product key as reg query prints it.
config_reg() {
  wine reg query "HKCU\\Software\\Brannwick\\Kalmor${1:+\\$1}" /v "$2" 2>/dev/null | tr -d '\r' |
    awk -v v="$2" '$1 == v { print $3 }'
}

config_checks() {
  local dialog bar line
  kalmor_setup "$1"
  kalmor_forget
  kalmor_set "" Options 0  # resident after a start by Windows: the dialog waits for the tray
  LANG=C.UTF-8 LC_ALL=C.UTF-8 kalmor_start /StartUp
  dialog=$(config_open)
  check "config: a click on the tray icon opens the settings dialog" $?
  line=$(wi list KalmorForm)
  grep -q 'items=\["TEAC CD-532E","LITEON LTN483","PLEXTOR PX-40TS"\]' <<<"$line" &&
    grep -q 'class="msctls_trackbar32" .* pos=32 min=4 max=32' <<<"$line" &&
    grep -q 'text="Speed: 32X"' <<<"$line" && grep -q 'text=" Lock current speed " .* checked=0' <<<"$line" &&
    grep -q 'text="starts with Windows and remains in the system tray" .* checked=1' <<<"$line" &&
    grep -q 'text=" Media change detection for TEAC CD-532E " .* focus=1' <<<"$line"
  check "config: tabs, track bar over the TEAC's stored steps, speed text, lock box and start mode" $?
  gui_shot config-en

  # Tab moves to the track bar (the per-disc box is hidden, the group box takes no focus);
  # Enter presses no button: the dialog has none.
  config_key "$(config_ctl $config_id_medium)" 0x09
  config_key "$(config_ctl $config_id_medium)" 0x0d
  gui_until 3 eval 'config_line $config_id_speedbar | grep -q "focus=1"'
  check "config: Tab goes from the medium box to the speed track bar" $?
  sleep 0.3
  config_dialog 100 >/dev/null
  check "config: Enter leaves the dialog open (it has no default button)" $?

  # Page Up on the track bar asks for 18x; the TEAC takes its 16x step, which the dialog then
  # shows and stores.
  bar=$(config_ctl $config_id_speedbar)
  kalmor_do '# track bar'
  gui_wait_file "$kalmor_log" '^# control: # track bar' 5
  config_key "$bar" 0x21
  gui_until 5 eval 'config_line $config_id_speedbar | grep -q "pos=16 "'
  check "config: Page Up moves the track bar to the step the drive took (16x)" $?
  [ "$(kalmor_sent_after_control 0:1 BB)" -eq 1 ]
  check "config: the drive received one SET CD SPEED ($(grep -E '^0:1:0 CDB BB' "$kalmor_log" | tail -1 | cut -c1-24))" $?
  [ "$(config_reg 'HA0_ID1\Default' Speed)" = 0x10 ]
  check "config: the profile stores the speed the drive took ($(config_reg 'HA0_ID1\Default' Speed))" $?

  # The lock: stored, not sent; a speed changed behind the program's back is set back by the
  # dialog's own timer.
  wi send "$(config_ctl $config_id_lock)" 0xF5 0 0 >/dev/null  # BM_CLICK
  gui_until 5 eval 'config_line $config_id_lock | grep -q "text=\" locked to 16x \" .* checked=1"'
  check "config: the ticked lock box reads locked to 16x" $?
  [ "$(config_reg 'HA0_ID1\Default' LockSpeed)" = 0x10 ]
  check "config: the profile stores the lock speed 16x" $?
  kalmor_do 'speed 0 1 5645'
  gui_wait_file "$kalmor_log" '^# control: speed 0 1 5645' 10 && gui_until 8 kalmor_relocked
  check "config: the drive switched to 32x behind its back is set to 16x again by the dialog" $?

  # The PLEXTOR's tab by a click on it; Esc closes the dialog, which stores that tab.
  gui_click $(config_line $config_id_tabs | sed -n 's/.*places=\[[^]]*;\([0-9,]*\)\].*/\1/p' | tr , ' ')
  gui_until 5 eval 'config_line $config_id_tabs | grep -q "cursel=2"' && sleep 0.5
  gui_shot config-plextor-en
  config_key "$bar" 0x1b
  wi gone "$dialog" 5000 >/dev/null
  check "config: Esc closes the dialog" $?
  [ "$(config_reg "" TabIndex)" = 0x2 ]
  check "config: closing stores the tab (TabIndex $(config_reg "" TabIndex))" $?
  kalmor_exit
  ! wi list -a KalmorForm | grep -q hwnd
  check "config: no window is left behind when the program ends" $?

  # German: the dialog opens on the stored tab.
  LANG=de_DE.UTF-8 LC_ALL=de_DE.UTF-8 kalmor_start /StartUp
  dialog=$(config_open) && sleep 0.5
  line=$(wi list KalmorForm)
  grep -q 'cursel=2 ' <<<"$line" && grep -q 'text=" CD-Wechsel beim PLEXTOR PX-40TS überwachen "' <<<"$line" &&
    grep -q 'text=" Daddel-Modus "' <<<"$line" && grep -q 'text="Laufwerkseinstellung"' <<<"$line"
  check "config: in German, on the stored PLEXTOR tab with its game mode box" $?
  gui_shot config-plextor-de
  gui_click $(config_line $config_id_tabs | sed -n 's/.*places=\[\([0-9,]*\);.*/\1/p' | tr , ' ')
  gui_until 5 eval 'config_line $config_id_tabs | grep -q "cursel=0"' && sleep 0.5
  gui_shot config-de
  config_key "$(config_ctl $config_id_tabs)" 0x1b
  wi gone "$dialog" 5000 >/dev/null
  kalmor_exit
  kalmor_teardown
}
