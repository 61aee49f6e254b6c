# kalmor.exe under Wine on our emulated ASPI manager and the default emulated system: the
# start-up chain and its splash (English and German), the tray icon and its menu, the About
# window, a second copy, a start by Windows that applies the settings and ends, and the speed
# lock against a drive whose speed is changed behind the program's back. Sourced by
# tools/wine-tests.sh after gui_start; uses its `check`. Argument: the build folder.

source tools/wine-kalmor.sh

# The texts of the program's visible windows.
kalmor_texts() { wi list KalmorForm 2>/dev/null; }

# kalmor_user_start LANG: a start by the user up to the settings dialog, which is closed again.
kalmor_user_start() {
  local lang=$1 splash dialog
  LANG=$lang LC_ALL=$lang kalmor_start
  splash=$(wi find KalmorForm Kalmor 20000)
  check "kalmor ($lang): the splash window shows" $?
  dialog=$(wi find KalmorForm "$lang_dialog" 60000)
  check "kalmor ($lang): a start by the user opens the settings dialog once the drives are examined" $?
  ! kalmor_texts | grep -q '^hwnd=.* text="Kalmor" '
  check "kalmor ($lang): the splash is hidden then" $?
  # The hidden splash keeps its last texts.
  kalmor_splash_texts=$(wi list -a KalmorForm)
  wi post "$dialog" 0x100 0x1b 0 >/dev/null  # Esc
  wi gone "$dialog" 5000 >/dev/null
}

# kalmor_about NAME: the About window from the tray menu (first item); its texts in $about.
kalmor_about() {
  local window
  kalmor_menu 1
  window=$(wi find KalmorForm "$lang_about" 5000) || return 1
  about=$(wi list KalmorForm)
  gui_shot "$1"
  wi click "$window" 10 >/dev/null
  wi gone "$window" 5000 >/dev/null
}

# Exit from the tray menu (its last item: Up from the top).
kalmor_exit() {
  local main menu
  main=$(kalmor_main)
  wi post "$main" 0x401 1 0x204 >/dev/null
  menu=$(wi find '#32768' - 5000) || return 1
  wi post "$menu" 0x100 0x26 0 >/dev/null
  wi post "$menu" 0x100 0x0d 0 >/dev/null
  kalmor_wait_end 10
}

# A SET CD SPEED to the TEAC drive after the last control line.
kalmor_relocked() { [ "$(kalmor_sent_after_control 0:1 BB)" -ge 1 ]; }

# Factors of the SET CD SPEED commands the log shows for drive HA:ID (KB/s / 176).
kalmor_speeds() {
  awk -v drive="$1:0" 'function hex(t) { return index("0123456789ABCDEF", t) - 1 }
    $1 == drive && $3 == "BB" {
      printf "%d ", int((hex(substr($5, 1, 1)) * 4096 + hex(substr($5, 2, 1)) * 256 + hex(substr($6, 1, 1)) * 16 + hex(substr($6, 2, 1))) / 176)
    }' "$kalmor_log"
}

kalmor_checks() {
  local build=$1 second rc speeds
  kalmor_setup "$build"
  kalmor_forget

  # English user, first start: no detection cache yet.
  lang_dialog='Kalmor developers Kalmor 1.02' lang_about='About...'
  kalmor_user_start C.UTF-8
  grep -q 'text="Version 1.02"' <<<"$kalmor_splash_texts" &&
    grep -q 'text="initialize PLEXTOR PX-40TS"' <<<"$kalmor_splash_texts" &&
    grep -q 'text="Homepage:"' <<<"$kalmor_splash_texts"
  check "kalmor: the splash's texts in English" $?

  # The tray icon: a click on it fetches the settings dialog (virtual desktop 800x600).
  if command -v xdotool >/dev/null; then
    xdotool mousemove 790 590 click 1
    dialog=$(wi find KalmorForm "$lang_dialog" 5000)
    check "kalmor: a click on the tray icon opens the settings dialog" $?
    wi post "$dialog" 0x100 0x1b 0 >/dev/null  # Esc
    wi gone "$dialog" 5000 >/dev/null
  fi

  kalmor_about about-en
  grep -q 'text="Version 1.02"' <<<"$about" && grep -q 'text="https://kalmor.invalid/"' <<<"$about" &&
    grep -q 'text="Homepage:"' <<<"$about"
  check "kalmor: the tray menu's About window shows the version and the homepage" $?

  # A second copy says so and ends with 1; the first keeps running.
  WINEDLLOVERRIDES=wnaspi32=n wine "$build/src/kalmor.exe" </dev/null >/dev/null 2>&1 &
  second=$!
  wi find '#32770' kalmor 10000 >/dev/null && wi list '#32770' | grep -q 'text="kalmor has already been started."'
  check "kalmor: a second copy shows the already-started message" $?
  wi msgbox first >/dev/null
  wait "$second"; rc=$?
  [ "$rc" -eq 1 ]; check "kalmor: the second copy ends with exit code 1 ($rc)" $?
  kill -0 "$kalmor_pid" 2>/dev/null && [ -n "$(kalmor_main)" ]
  check "kalmor: the first copy keeps running" $?

  kalmor_exit && [ "$kalmor_rc" -eq 0 ]
  check "kalmor: Exit in the tray menu ends the program" $?

  # Started by Windows in start mode 1: the TEAC drive's "Default" profile (4x) is applied, then
  # the program ends by itself, never resident in the tray.
  kalmor_set "" Options 1
  kalmor_set 'HA0_ID1\Default' Speed 4
  kalmor_start /StartUp
  kalmor_wait_end 30 && [ "$kalmor_rc" -eq 0 ]
  check "kalmor /StartUp in start mode 1 ends by itself" $?
  speeds=$(kalmor_speeds 0:1)
  [ "$(wc -w <<<"$speeds")" -ge 1 ] && [ "${speeds% }" != "" ] && [ "$(awk '{ print $NF }' <<<"$speeds")" = 4 ]
  check "kalmor /StartUp in start mode 1 sent the profile's SET CD SPEED 4x last ($speeds)" $?

  # Resident with a locked drive: the TEAC drive locked at 16x is set back after someone else
  # switched it to 32x.
  kalmor_set "" Options 0
  kalmor_set 'HA0_ID1\Default' LockSpeed 16
  kalmor_start /StartUp
  gui_until 20 grep -qsE '^0:1:0 CDB BB 00 0B' "$kalmor_log"
  check "kalmor: the first lock tick sets the drive to its lock speed 16x ($(kalmor_speeds 0:1))" $?
  kalmor_do 'speed 0 1 5645'
  gui_wait_file "$kalmor_log" '^# control: speed 0 1 5645' 10 && gui_until 8 kalmor_relocked
  check "kalmor: a drive switched to 32x behind its back is locked again within one tick" $?
  kalmor_exit
  wine reg delete 'HKCU\Software\Brannwick\Kalmor\HA0_ID1\Default' /f >/dev/null 2>&1

  # German user: the same windows in German.
  kalmor_set "" Options 2
  lang_dialog='Kalmor developers Kalmor 1.02' lang_about='Über...'
  kalmor_user_start de_DE.UTF-8
  grep -q 'text="initialisiere PLEXTOR PX-40TS"' <<<"$kalmor_splash_texts" &&
    grep -q 'text="Heimseite:"' <<<"$kalmor_splash_texts"
  check "kalmor: the splash's texts in German" $?
  kalmor_about about-de
  grep -q 'text="Heimseite:"' <<<"$about" && grep -q 'text="Version 1.02"' <<<"$about"
  check "kalmor: the About window in German" $?
  kalmor_exit

  kalmor_teardown
}
