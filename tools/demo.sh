#!/usr/bin/env bash
# Builds the Windows build and runs kalmor.exe under Wine on our emulated ASPI manager and the
# default emulated system (or the scenario file given as the argument). With a display it
# opens the program there (a Wine desktop of 800x600 with its tray) and waits until you end
# it from the tray menu. Without one it runs headless under Xvfb: it shows the splash, the
# settings dialog, the About window, the measurement window and the debug window in English
# and in German (the last two on a drive of one speed step), and the TEAC EEPROM window on the
# TEAC drives' system, saves screenshots of them under build/screenshots/ and prints a summary
# of the commands the emulated drives received.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=build/win32
tools/install-deps.sh
cmake -S . -B $build -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null 2>&1
cmake --build $build -j2 --target kalmor wnaspi32 wininspect >/dev/null

export WINEPREFIX=$root/$build/wineprefix WINEARCH=win32 WINEDEBUG=-all
if [ $# -gt 0 ]; then export WNASPI32_EMU_SCENARIO=$(winepath -w "$(realpath "$1")" 2>/dev/null); fi
visible=${DISPLAY:-}
set +e
source tools/wine-gui.sh
source tools/wine-kalmor.sh
source tests/wine/evaldebug/checks.sh
gui_start $build || { echo "Wine or the X server did not start" >&2; exit 1; }
kalmor_setup $build
trap 'kalmor_teardown; gui_stop' EXIT

if [ -n "$visible" ]; then
  echo "Kalmor runs in the Wine desktop window; end it with Exit in its tray menu (bottom right)."
  kalmor_start
  wait "$kalmor_pid"
  exit 0
fi

# show LANG NAME: a first start (no stored settings), its splash and the About window.
show() {
  local dialog about
  kalmor_forget
  LANG=$1 LC_ALL=$1 kalmor_start
  # A moment for the controls to paint.
  wi find KalmorForm Kalmor 20000 >/dev/null && sleep 0.3 && gui_shot "splash-$2" && echo "build/screenshots/splash-$2.png"
  # The settings dialog opens by itself after a start by the user; Esc closes it.
  dialog=$(wi find KalmorForm 'Kalmor 1.02' 60000) && sleep 0.5 && gui_shot "config-$2" && echo "build/screenshots/config-$2.png"
  wi post "$dialog" 0x100 0x1b 0 >/dev/null && wi gone "$dialog" 5000 >/dev/null
  kalmor_menu 1
  about=$(wi find KalmorForm "$3" 5000) && gui_shot "about-$2" && echo "build/screenshots/about-$2.png"
  wi list KalmorForm | sed -n 's/.* class="Static" text="\([^"]\+\)".*/    \1/p'
  wi click "$about" 10 >/dev/null
  quit
}

# Exit from the tray menu (its last item).
quit() {
  local menu
  wi post "$(kalmor_main)" 0x401 1 0x204 >/dev/null
  menu=$(wi find '#32768' - 5000) && wi post "$menu" 0x100 0x26 0 >/dev/null && wi post "$menu" 0x100 0x0d 0 >/dev/null
  kalmor_wait_end 10
}

# windows LANG NAME TITLE DONE: the measurement window's whole run of the one step of
# emu/scenarios/measure-one-step.json, then the debug window with its report. It sets the
# locale for every Wine program it starts: run it in a subshell.
windows() {
  local window report
  kalmor_forget
  evaldebug_start "$1"
  window=$(evaldebug_open "$evaldebug_measure_item" "$3") && gui_until 60 evaldebug_shows "$4" &&
    gui_shot "measure-$2" && echo "build/screenshots/measure-$2.png"
  wi click "$window" 6 >/dev/null && wi gone "$window" 5000 >/dev/null
  kalmor_menu "$evaldebug_debug_item" && wi find '#32770' Kalmor 10000 >/dev/null && wi msgbox 7 >/dev/null
  report=$(wi find KalmorForm 'Kalmor 1.02 / Debug' 10000) && gui_until 120 evaldebug_report_done &&
    gui_shot "debug-$2" && echo "build/screenshots/debug-$2.png"
  wi click "$report" 4 >/dev/null && wi gone "$report" 5000 >/dev/null
  kalmor_exit
}

echo "Measurement and debug windows:"
(windows C.UTF-8 en 'Measure speeds' ' Done\.')
(windows de_DE.UTF-8 de 'Geschwindigkeiten messen' ' Fertig\.')

# teac LANG NAME: the TEAC EEPROM window on a system with the five TEAC models, the middle
# button's limit written and its information box.
source tests/wine/teac/checks.sh
teac() {
  kalmor_set "" Options 0
  if teac_run "$1" teac-eeprom-drives.json "teac-$2"; then
    echo "build/screenshots/teac-$2.png"
    teac_press "$teac_button16_id" && gui_shot "teac-info-$2" && echo "build/screenshots/teac-info-$2.png"
    wi msgbox 1 >/dev/null
    teac_close
  fi
  quit
}

echo "English user:"
show C.UTF-8 en 'About...'
echo "German user:"
show de_DE.UTF-8 de 'Über...'
echo "The TEAC EEPROM window (German only), English and German user:"
teac C.UTF-8 en
teac de_DE.UTF-8 de

echo "Commands the emulated drives received in the last run (host adapter:target:LUN, opcode):"
awk '
  BEGIN {
    split("00 TEST-UNIT-READY 12 INQUIRY 15 MODE-SELECT(6) 1A MODE-SENSE(6) 1B START-STOP-UNIT 1E PREVENT-ALLOW 25 READ-CAPACITY 28 READ(10) 43 READ-TOC 46 GET-CONFIGURATION 55 MODE-SELECT(10) 5A MODE-SENSE(10) AC GET-PERFORMANCE BB SET-CD-SPEED BD MECHANISM-STATUS BE READ-CD", t, " ")
    for (i = 1; i < 32; i += 2) name[t[i]] = t[i + 1]
  }
  /^#/ { next }
  { n[$1 " " $3]++ }
  END { for (k in n) { split(k, p, " "); printf "  %-7s %-2s %-18s %5d\n", p[1], p[2], (p[2] in name ? name[p[2]] : ""), n[k] } }
' "$kalmor_log" | sort
