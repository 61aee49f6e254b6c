# The measurement window and the debug-information window of kalmor.exe under Wine, opened from
# the tray menu on an emulated drive with one 8x CLV step and a disc just long enough to be
# measured (emu/scenarios/measure-one-step.json): a close during a measurement and a whole one
# with its result, the report copied to the clipboard and saved through the save dialog, in English
# and German, with screenshots. Sourced by tools/wine-tests.sh after gui_start; uses its
# `check`. Argument: the build folder.

# The helpers of the program's own checks: kalmor_start, kalmor_menu, kalmor_exit.
source tests/wine/kalmor/checks.sh

# Menu items of this system (no TEAC drive, so no TEAC item).
evaldebug_measure_item=3
evaldebug_debug_item=4

evaldebug_texts() { wi list KalmorForm 2>/dev/null; }
evaldebug_shows() { evaldebug_texts | grep -qE "$1"; }

# evaldebug_start LANG: kalmor.exe resident on the one-step system, as a user of that
# language. Every Wine program started while it runs (wininspect, reg) runs in the same locale:
# one started in another rewrites the user's number format that the program reads.
evaldebug_start() {
  local splash
  export LANG=$1 LC_ALL=$1
  WNASPI32_EMU_SCENARIO="$(winepath -w "$gui_root/emu/scenarios/measure-one-step.json")" kalmor_start /StartUp
  splash=$(wi find KalmorForm Kalmor 20000) && wi gone "$splash" 60000 >/dev/null
}

# evaldebug_open ITEM TITLE: the window of a tray menu item; its handle.
evaldebug_open() {
  kalmor_menu "$1" && wi find KalmorForm "$2" 10000
}

evaldebug_exit() {
  kalmor_exit
  check "evaldebug: Exit ends kalmor.exe ($kalmor_rc)" $?
  [ -z "$(wi list -a KalmorForm 2>/dev/null)" ]
  check "evaldebug: no window is left behind" $?
  export LANG=$evaldebug_lang LC_ALL=$evaldebug_lc_all
}

# evaldebug_report LANG CAPTION: the debug window from the menu after answering No to the
# measurement question; waits for its report. Sets $report (handle) and $report_texts.
evaldebug_report() {
  local box
  kalmor_menu "$evaldebug_debug_item"
  box=$(wi find '#32770' Kalmor 10000) && wi list '#32770' | grep -q "text=\"$1\"" && wi msgbox 7 >/dev/null
  check "debug window ($2): the menu asks \"$1\" first" $?
  report=$(wi find KalmorForm 'Kalmor 1.02 / Debug' 10000)
  check "debug window ($2): opens with its caption" $?
  # The report runs on a worker: the window shows its lines as they come, copy and save wait.
  local i partial=1
  for i in $(seq 600); do
    evaldebug_report_done && break
    evaldebug_shows 'class="RichEdit20A" text=" -{58}\\r\\n' && partial=0
    sleep 0.2
  done
  [ "$partial" -eq 0 ]
  check "debug window ($2): the lines show while the report runs, copy and save wait for it" $?
  evaldebug_report_done
  check "debug window ($2): the report is finished" $?
  report_texts=$(evaldebug_texts)
}

evaldebug_copied() { wi clip | grep -q '^ Kalmor_Version:    1.02'; }

# The copy and save buttons come back once the report is done.
evaldebug_report_done() { evaldebug_texts | grep -E 'id=3 class="Button"' | grep -q ' en=1'; }

# English: the measurement window, a close during its step; the debug window's report to the
# clipboard and into a file.
evaldebug_english() {
  local dir=$1 window texts rtf dialog name clip
  evaldebug_start C.UTF-8
  window=$(evaldebug_open "$evaldebug_measure_item" 'Measure speeds')
  check "measurement window: opens from the tray menu" $?
  texts=$(evaldebug_texts)
  grep -q 'class="Button" text="skip this speed" .* focus=1' <<<"$texts" &&
    grep -q 'class="Button" text="skip this drive"' <<<"$texts" &&
    grep -qE 'class="Button" text="&Close" .* style=0x[0-9a-f]*1 ' <<<"$texts"
  check "measurement window: its buttons, the focus on the first, Close the default button" $?
  gui_until 20 evaldebug_shows 'measuring speed 8x'
  check "measurement window: the step starts" $?
  gui_shot measure-en
  wi post "$window" 0x10 0 0 >/dev/null
  gui_until 5 evaldebug_shows 'text="Measure speeds .. terminated"'
  check "measurement window: a close during a step only asks for the abort" $?
  wi gone "$window" 30000 >/dev/null
  check "measurement window: the window closes once the step has ended" $?
  wine reg query 'HKLM\Software\Brannwick\Kalmor\HA0_ID0' /v Speed_1_data >/dev/null 2>&1
  [ $? -ne 0 ]; check "measurement window: an aborted step stores nothing" $?

  evaldebug_report "Measure actual speeds first?" en
  grep -q 'class="RichEdit20A" text=" -\{58\}\\r\\n Kalmor_Version:    1.02\\r\\n' <<<"$report_texts" &&
    grep -q 'class="Button" text="-> Clip&board"' <<<"$report_texts" &&
    grep -q 'class="Button" text="-> &File"' <<<"$report_texts" &&
    grep -qE 'class="Button" text="&Close" .* style=0x[0-9a-f]*1 ' <<<"$report_texts"
  check "debug window (en): the report and the buttons" $?
  gui_shot debug-en
  wi click "$report" 2 >/dev/null
  gui_until 5 evaldebug_copied
  clip=$(wi clip | tr -d '\r')
  [ "$(head -1 <<<"$clip")" = " $(printf -- '-%.0s' $(seq 58))" ] && grep -q '^ Laufwerk:        "CD-ROM ONE STEP "$' <<<"$clip"
  check "debug window (en): the report copied to the clipboard" $?
  wi clipformats | grep -q 'Rich Text Format'
  check "debug window (en): the clipboard holds it as rich text too" $?
  wi click "$report" 3 >/dev/null
  dialog=$(wi find '#32770' 'Save As' 10000)
  name=$(wi list 'Save As' | grep 'class="Edit"' | head -1)
  grep -q 'text="Kalmor 1.02.rtf"' <<<"$name"
  check "debug window (en): the save dialog proposes Kalmor 1.02.rtf" $?
  rtf=$dir/report.rtf
  wi settext "$(sed 's/ *hwnd=\(0x[0-9a-f]*\).*/\1/' <<<"$name")" "$(winepath -w "$rtf")" >/dev/null
  wi click "$dialog" 1 >/dev/null
  gui_until 10 test -s "$rtf" && grep -q '^{\\rtf1' "$rtf" && grep -q 'Courier' "$rtf" && grep -q 'Kalmor_Version:    1.02' "$rtf"
  check "debug window (en): saved as a rich-text document" $?
  wi click "$report" 4 >/dev/null
  wi gone "$report" 5000 >/dev/null
  check "debug window (en): Close closes it" $?
  evaldebug_exit
}

# German: a whole measurement of the step and its result in the German number format; the
# debug window's texts and a cancelled save.
evaldebug_german() {
  local window texts dialog info
  evaldebug_start de_DE.UTF-8
  window=$(evaldebug_open "$evaldebug_measure_item" 'Geschwindigkeiten messen')
  check "measurement window (de): opens" $?
  gui_until 60 evaldebug_shows ' Fertig\.'
  texts=$(evaldebug_texts)
  grep -qE 'text=" EMULATED ONE STEP :  die verwendete CD sollte eine möglichst hohe Spielzeit haben\.\\r\\n EMULATED ONE STEP :  überprüfe Geschwindigkeit 8x\\r\\n EMULATED ONE STEP :   -> 8(,0)?x/CLV\\r\\n \\r\\n Fertig\."' <<<"$texts"
  check "measurement window (de): the advice, the step and its result 8x CLV, then Fertig." $?
  grep -q 'text="überspringe Stufe"' <<<"$texts" && grep -q 'text="überspringe Laufwerk"' <<<"$texts" &&
    grep -q 'class="msctls_progress32" .* pos=100' <<<"$texts"
  check "measurement window (de): the German buttons, the progress bar full" $?
  info=$(wine reg query 'HKLM\Software\Brannwick\Kalmor\HA0_ID0' 2>/dev/null | tr -d '\r')
  grep -qE 'Speed_1_data +REG_SZ +8(,0)?x/CLV$' <<<"$info" &&
    grep -qE 'Speed_1_data_inf +REG_SZ +s8/q26/z600/n16/i[0-9]+/c[0-9]+/L[0-9],[0-9]{5}/A[0-9],[0-9]{5}/139999$' <<<"$info"
  check "measurement window (de): the result and its parameters stored, in the German number format" $?
  gui_shot measure-de
  wi post "$window" 0x100 0x09 0 >/dev/null
  gui_until 2 evaldebug_shows 'text="überspringe Laufwerk" .* focus=1'
  check "measurement window (de): Tab moves to the next button" $?
  wi post "$window" 0x100 0x09 0 >/dev/null
  gui_until 2 evaldebug_shows 'text="&Schließen" .* focus=1' && wi post "$window" 0x100 0x0d 0 >/dev/null &&
    wi gone "$window" 5000 >/dev/null
  check "measurement window (de): Enter on Close closes it once all is measured" $?

  evaldebug_report "Tatsächliche Geschwindigkeiten vorher messen?" de
  grep -q 'class="Button" text="-> &Ablage"' <<<"$report_texts" && grep -q 'class="Button" text="-> &Text-Datei"' <<<"$report_texts" &&
    grep -q 'class="Button" text="&Schließen"' <<<"$report_texts"
  check "debug window (de): the German buttons" $?
  gui_shot debug-de
  wi click "$report" 3 >/dev/null
  dialog=$(wi find '#32770' - 10000)
  wi list '#32770' | grep 'class="Edit"' | head -1 | grep -q 'text="Kalmor 1.02.rtf"'
  check "debug window (de): the save dialog proposes the same name" $?
  wi click "$dialog" 2 >/dev/null
  wi gone "$dialog" 5000 >/dev/null && wi click "$report" 4 >/dev/null && wi gone "$report" 5000 >/dev/null
  check "debug window (de): a cancelled save and Close" $?
  evaldebug_exit
}

evaldebug_checks() {
  local dir
  dir=$(mktemp -d)
  evaldebug_lang=${LANG:-} evaldebug_lc_all=${LC_ALL:-}
  kalmor_setup "$1"
  kalmor_forget
  evaldebug_english "$dir"
  kalmor_forget
  evaldebug_german
  kalmor_teardown
  rm -rf "$dir"
}
