# The view base under Wine: viewdemo.exe shows a form with every kind of control; wininspect
# reads what it shows, input goes in as a user's would (an X click, keys posted to the
# controls, button clicks), and the demo's log shows what reached the form's state and
# handlers. Sourced by tools/wine-tests.sh after gui_start; uses its `check`.
# Arguments: the build folder.

viewdemo_shows() { wi list KalmorForm | grep -qE "$1"; }

viewdemo_checks() {
  local build=$1 dir log rtf app win list
  dir=$(mktemp -d)
  log=$dir/viewdemo.log
  rtf=$dir/viewdemo.rtf
  wine "$build/tests/wine/viewdemo.exe" "$(winepath -w "$log")" "$(winepath -w "$rtf")" >/dev/null 2>&1 &
  app=$!
  win=$(wi find KalmorForm 'View demo' 15000)
  check "view demo: the window opens" $?
  [ -n "$win" ] || { kill "$app"; return; }
  gui_wait_file "$log" '^timer$' 5
  check "view demo: a main-loop timer runs inside the modal loop" $?

  # Every kind of control, with the state the form gave it.
  list=$(wi list KalmorForm)

  while IFS='|' read -r what pattern; do
    grep -qE "$pattern" <<<"$list"; check "view demo shows $what" $?
  done <<'EOF'
panels, nested|^    hwnd=[^ ]* .* class="KalmorPanel"
labels on a panel on a panel|^      .*class="Static" text="Kalmor" 
a right-aligned label|class="Static" text="300 ms" .* style=0x[0-9a-f]*2 
a check box in a group box|^      .*class="Button" text="Allow close" .* checked=0
a spin edit's box|class="Edit" text="5" 
a spin edit's arrows|class="msctls_updown32" .* pos=5
a tab control with its tabs|class="SysTabControl32" .* cursel=0 items=\["Drive A","Drive B"\]
a track bar on the tab control|^      .*class="msctls_trackbar32" .* pos=1 min=1 max=9
a drop-down list|class="ComboBox" text="Normal" .* sel=1 count=3 \[0\]="Slow" \[1\]="Normal" \[2\]="Fast"
a radio group with its choice|class="Button" text="Manual" .* checked=1
a progress bar the timer moved|class="msctls_progress32" .* pos=50
a memo|class="Edit" text="first line\\r\\nsecond line"
a rich edit in CP1252|class="RichEdit20A" text="Prüfbericht\\r\\nZeile 2\\r\\ntimer"
a default button|class="Button" text="Apply" .* style=0x[0-9a-f]*1 
the focus on the first control of the tab order|class="Button" text="Allow close" .* en=1 focus=1
EOF
  wi post "$win" 0x100 0x09 0
  gui_until 2 viewdemo_shows 'id=19 class="Edit" .* focus=1'
  check "view demo: Tab moves the focus to the next control of the table" $?

  gui_shot viewdemo
  [ -s "$gui_root/build/screenshots/viewdemo.png" ]; check "view demo: screenshot build/screenshots/viewdemo.png" $?

  # A real click of the X server on the check box, and its hint while the pointer rests there.
  gui_click $(sed -nE 's/.*text="Allow close" rect=([0-9]+),([0-9]+),([0-9]+),([0-9]+) .*/\1 \2 \3 \4/p' <<<"$list")
  gui_wait_file "$log" '^check 1$' 5 && viewdemo_shows 'text="Allow close" .* checked=1'
  check "view demo: a click on the check box reaches Checked and its handler" $?
  wi find tooltips_class32 'Closing is refused' 5000 >/dev/null
  check "view demo: the check box shows its hint" $?

  # Keys posted to a control reach it through the modal loop's IsDialogMessage.
  local id key expect
  while read -r id key expect; do
    wi post "$(wi ctl "$win" "$id")" 0x100 "$key" 0
    gui_wait_file "$log" "^$expect\$" 5; check "view demo: key $key on control $id gives \"$expect\"" $?
  done <<'EOF'
21 0x27 track 3
19 0x26 spin 6
22 0x28 combo 2
EOF
  gui_click $(sed -nE 's/.*SysTabControl32.* places=\[[^;]*;([0-9]+),([0-9]+),([0-9]+),([0-9]+)\].*/\1 \2 \3 \4/p' <<<"$list")
  gui_wait_file "$log" '^tab 1$' 5; check "view demo: a click on the second tab reaches TabIndex" $?
  viewdemo_shows 'class="Edit" text="first line\\r\\nsecond line\\r\\nspeed 3"'
  check "view demo: a line appended to the memo by the track bar's handler" $?
  viewdemo_shows 'class="RichEdit20A" text="Prüfbericht\\r\\nZeile 2, speed 3\\r\\ntimer"'
  check "view demo: a line of the rich edit replaced by the track bar's handler" $?

  wi click "$(wi ctl "$win" 23)" 1; gui_wait_file "$log" '^radio 0$' 5
  check "view demo: a radio button click reaches ItemIndex" $?
  wi post "$(wi ctl "$win" 14)" 0x201 0 0; gui_wait_file "$log" '^link click$' 5
  check "view demo: a click on a label" $?
  wi post "$(wi ctl "$win" 11)" 0x202 0 0; gui_wait_file "$log" '^banner click$' 5
  check "view demo: a click on a panel" $?
  wi post "$(wi ctl "$win" 21)" 0x100 0x0d 0; gui_wait_file "$log" '^apply$' 5
  check "view demo: Enter presses the default button" $?

  wi click "$win" 28; gui_wait_file "$log" '^copied$' 5
  [ "$(wi clip | head -1 | tr -d '\r')" = "Prüfbericht" ]; check "view demo: the rich edit's own copy" $?
  wi click "$win" 29; gui_wait_file "$log" '^saved$' 5 && grep -q "^{\\\\rtf1.*" "$rtf" && grep -q "Pr\\\\'fcfbericht" "$rtf"
  check "view demo: the rich edit streamed out as RTF" $?

  local menu
  wi click "$win" 30
  menu=$(wi find '#32768' - 5000) && for key in 0x28 0x28 0x0d; do wi post "$menu" 0x100 $key 0; done
  gui_wait_file "$log" '^menu 2$' 5 && grep -q '^second chosen$' "$log"
  check "view demo: the popup menu skips hidden items and separators and runs the chosen one" $?

  # The system close asks the form, which refuses while "Allow close" is off.
  wi click "$win" 18; gui_wait_file "$log" '^check 0$' 5
  wi post "$win" 0x10 0 0; gui_wait_file "$log" '^close query refused$' 5 && ! wi gone "$win" 500
  check "view demo: a refused close keeps the window" $?
  wi click "$win" 18; gui_wait_file "$log" '^check 1$' 5
  wi post "$win" 0x100 0x1b 0; gui_wait_file "$log" '^close query allowed$' 5 && wi gone "$win" 5000
  check "view demo: Esc closes the window" $?
  wait "$app"
  grep -q '^modal result 0 size 50[0-9]x4[0-9][0-9]$' "$log"; check "view demo: the modal run ends; the form has the window's outer size" $?
  cat "$log"
  rm -rf "$dir"
}
