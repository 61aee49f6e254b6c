# The TEAC EEPROM window of kalmor.exe under Wine: offered in the tray menu only for a drive of
# the five models, its texts and middle button per model, a button that sends the vendor
# command (seen in the emulator's command log) and the information box; screenshots in the
# English and the German user setting. Sourced by tools/wine-tests.sh after the kalmor checks
# (tools/wine-kalmor.sh loaded, gui_start done); uses its `check`. Argument: the build folder.

# Ids of the window's controls (src/ui/win32/TeacEEPROMView.cpp).
teac_exit_id=2 teac_group_id=1 teac_button32_id=14 teac_button16_id=15 teac_button4_id=16

# Resident: the main window hidden after the drives were examined, which showed its homepage
# line (WS_VISIBLE in the label's own style).
teac_resident() {
  local list style
  list=$(wi list -a KalmorForm) && grep -q '^hwnd=.* text="Kalmor" .* vis=0' <<<"$list" || return 1
  style=$(sed -nE 's/.* text="(Homepage|Heimseite):" .* style=(0x[0-9a-f]+) .*/\2/p' <<<"$list" | head -1)
  [ -n "$style" ] && ((style & 0x10000000))
}

# teac_run LANG SCENARIO NAME: kalmor.exe resident on the scenario's drives; the TEAC window is
# opened from the tray menu (third item), listed into $teac_list, shot as NAME.
teac_run() {
  local scenario
  scenario=$(winepath -w "$PWD/emu/scenarios/$2")
  LANG=$1 LC_ALL=$1 WNASPI32_EMU_SCENARIO="$scenario" kalmor_start /StartUp
  teac_list=
  gui_until 60 teac_resident &&
    kalmor_menu 3 && teac_window=$(wi find KalmorForm 'Einstellungen - Teac' 5000) || return 1
  teac_list=$(wi list KalmorForm)
  gui_shot "$3"
}

# teac_press ID: presses a button of the window; the message box that follows in $teac_box.
teac_press() {
  wi click "$teac_window" "$1" >/dev/null
  wi find '#32770' - 5000 >/dev/null && teac_box=$(wi list '#32770')
}

# The vendor CDB of drive HA:ID with the given code after the last control line: "CA 00 54 ..".
teac_sent() { grep -cE "^$1:0 CDB $2 00 54 45 41 43 04 00 00 00 $3 00( |$)" "$kalmor_log"; }

teac_close() {
  wi click "$teac_window" "$teac_exit_id" >/dev/null
  wi gone "$teac_window" 5000 >/dev/null
}

teac_checks() {
  local left top right bottom
  kalmor_setup "$1"
  kalmor_forget
  kalmor_set "" Options 0  # resident after /StartUp, no settings dialog of its own

  # English user; the last of the five models found is the CD-532E-B 3.0B at adapter 1, id 4.
  teac_run C.UTF-8 teac-eeprom-drives.json teac-en
  check "teac: the tray menu's third item opens \"Einstellungen - Teac\"" $?
  grep -q "id=$teac_group_id class=\"Button\" text=\"TEAC    CD-532E-B       \"" <<<"$teac_list" &&
    grep -q "id=$teac_button16_id class=\"Button\" text=\"10x CAV\"" <<<"$teac_list" &&
    grep -q 'class="Static" text="Festlegen der maximalen DAE-Geschwindigkeit"' <<<"$teac_list" &&
    grep -q 'class="Static" text="Die Einstellung wird im nicht-flüchtigen Speicher des Laufwerks"' <<<"$teac_list" &&
    grep -q "id=$teac_exit_id class=\"Button\" text=\"Schließen\" .* focus=1" <<<"$teac_list"
  check "teac: the CD-532E-B 3.0B's group box, its 10x CAV button, the texts, the focus on Schließen" $?
  read -r left top right bottom < <(sed -nE 's/.*text="Einstellungen - Teac" rect=([0-9]+),([0-9]+),([0-9]+),([0-9]+) .*/\1 \2 \3 \4/p' <<<"$teac_list")
  [ "$((right - left))x$((bottom - top))" = 379x407 ]
  check "teac: the window is 379 x 407 ($((right - left))x$((bottom - top)))" $?

  teac_press "$teac_button16_id"
  grep -q 'text="Die neue Einstellung wird erst nach dem nächsten Neustart aktiv"' <<<"$teac_box"
  check "teac: the middle button's write ends with the information box" $?
  gui_shot teac-info-en
  wi msgbox 1 >/dev/null
  gui_wait_file "$kalmor_log" '^1:4:0 CDB CA ' 5 && [ "$(teac_sent 1:4 CA 04)" -eq 1 ]
  check "teac: the command log holds the vendor CDB CA \"TEAC\" 04 .. 04 for the CD-532E-B" $?
  teac_close
  check "teac: Schließen closes the window" $?
  kalmor_exit

  # German user, the CD-532S 3.0A: 16x PCAV and command byte F2.
  teac_run de_DE.UTF-8 teac-cd532s.json teac-de
  check "teac (German user): the window opens for the CD-532S" $?
  grep -q "id=$teac_button16_id class=\"Button\" text=\"16x PCAV\"" <<<"$teac_list"
  check "teac: the CD-532S's middle button reads 16x PCAV" $?
  teac_press "$teac_button4_id" && wi msgbox 1 >/dev/null
  gui_wait_file "$kalmor_log" '^0:2:0 CDB F2 ' 5 && [ "$(teac_sent 0:2 F2 02)" -eq 1 ]
  check "teac: 4x CLV sends F2 \"TEAC\" 04 .. 02 to the CD-532S" $?
  wi post "$teac_window" 0x100 0x1b 0 >/dev/null
  wi gone "$teac_window" 5000 >/dev/null
  check "teac: Esc closes the window" $?
  kalmor_exit

  kalmor_teardown
}
