#!/usr/bin/env bash
# The Windows-side checks, headless under Wine: the GoogleTest programs of tests/wine, and
# the ASPI probe against three ASPI managers (ours from the system directory, Wine's
# built-in one, none at all) and the SCSI pass-through. Ends with "Wine checks: N passed,
# N failed".
set -uo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/win32}
root=$PWD

export WINEPREFIX=$root/$build/wineprefix WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES=
# The host's optical drives stay out of Wine (its mount manager finds them over D-Bus): the
# checks know every CD-ROM device there is.
export DBUS_SYSTEM_BUS_ADDRESS=unix:path=/nonexistent
source tools/wine-gui.sh
gui_start "$build"
gui_ready=$?
system32=$WINEPREFIX/drive_c/windows/system32

passed=0
failed=0
check() {  # description, condition result
  if [ "$2" -eq 0 ]; then echo "PASS $1"; passed=$((passed + 1)); else echo "FAIL $1"; failed=$((failed + 1)); fi
}

# GoogleTest programs: every test counts.
for exe in "$build"/tests/wine/wine_tests.exe; do
  [ -f "$exe" ] || continue
  out=$(LANG=C.UTF-8 LC_ALL=C.UTF-8 wine "$exe" 2>&1)
  echo "$out" | grep -E '^\[  (FAILED|PASSED) ' 
  p=$(sed -nE 's/^\[  PASSED  \] ([0-9]+) tests?\..*/\1/p' <<<"$out" | tail -1)
  f=$(sed -nE 's/^\[  FAILED  \] ([0-9]+) tests?, listed below.*/\1/p' <<<"$out" | tail -1)
  if [ -z "$p" ] && [ -z "$f" ]; then echo "FAIL $(basename "$exe") did not run"; echo "$out" | tail -20; failed=$((failed + 1)); continue; fi
  passed=$((passed + ${p:-0}))
  failed=$((failed + ${f:-0}))
done

# The user's language (LANG of a German, Swiss German, French or English locale).
tests=$build/tests/wine/wine_tests.exe
for pair in de_DE.UTF-8:0407 de_CH.UTF-8:0807 fr_FR.UTF-8:040C C.UTF-8:0409; do
  lang=${pair%%:*}; id=${pair##*:}
  out=$(LANG=$lang LC_ALL=$lang KALMOR_EXPECT_LANGID=$id wine "$tests" --gtest_filter='Win32Language.*' 2>&1)
  grep -q '^\[  PASSED  \] 1 test' <<<"$out"; check "user language $lang gives $id and its texts" $?
done

# The ASPI probe loads WNASPI32.DLL from the system directory through LoadASPI32.
probe=$build/tests/wine/aspiprobe.exe
if [ -f "$probe" ]; then
  out=$(WINEDLLOVERRIDES=wnaspi32=b wine "$probe" 2>&1 | tr -d '\r')
  [ "$out" = "ASPI status: SS_NO_ADAPTERS" ]; check "Wine's built-in ASPI manager reports exactly SS_NO_ADAPTERS ($out)" $?

  out=$(WINEDLLOVERRIDES=wnaspi32=d wine "$probe" 2>&1 | tr -d '\r')
  [ "$out" = "ASPI status: not LoadASPI32" ]; check "without an ASPI manager and without CD-ROM devices the status is not LoadASPI32 ($out)" $?

  # Ours goes where Wine keeps its built-in placeholder; the placeholder comes back after.
  cp "$system32/wnaspi32.dll" "$root/$build/wnaspi32.builtin"
  cp "$build/emu/WNASPI32.DLL" "$system32/wnaspi32.dll"
  scenario=$(winepath -w "$root/emu/scenarios/two-adapters.json" 2>/dev/null)

  out=$(WINEDLLOVERRIDES=wnaspi32=n WNASPI32_EMU_SCENARIO="$scenario" wine "$probe" 2>&1 | tr -d '\r')
  echo "$out"
  expected=$(tr -d '\r' < tests/wine/probe/two-adapters.expected)
  [ "$out" = "$expected" ]; check "our WNASPI32.DLL lists the adapters and targets of a scenario" $?

  out=$(WINEDLLOVERRIDES=wnaspi32=n WNASPI32_EMU_SCENARIO='C:\no\such\scenario.json' wine "$probe" 2>&1 | tr -d '\r')
  grep -q 'ASPI status: SS_FAILED_INIT' <<<"$out"; check "an unreadable scenario makes our manager fail its initialisation" $?
  grep -q 'scenario.json' <<<"$out"; check "the scenario error names the file" $?

  # A measurement through our manager sleeps for every read: real time, like a drive.
  scenario=$(winepath -w "$root/emu/scenarios/spinning-clv-8x.json" 2>/dev/null)
  out=$(WINEDLLOVERRIDES=wnaspi32=n WNASPI32_EMU_SCENARIO="$scenario" wine "$build/tests/wine/measureprobe.exe" 2>&1 | tr -d '\r')
  ms=$(sed -nE 's/^(7[.,]9|8|8[.,][01])x\/CLV, [0-9]+ samples in ([0-9]+) ms$/\2/p' <<<"$out")
  [ -n "$ms" ] && [ "$ms" -ge 4000 ]; check "a measurement of an 8x CLV step takes real time and finds 8x CLV ($out)" $?

  cp "$root/$build/wnaspi32.builtin" "$system32/wnaspi32.dll"
else
  check "ASPI probe built" 1
fi

# The diagnostics: Windows versions, the ASPI repair, a report on our manager.
. tests/wine/diag/checks.sh

# The Win32 view base (tests/wine/viewdemo/checks.sh).
[ "$gui_ready" -eq 0 ]; check "GUI checks: X server, prefix and wineserver ready" $?
if [ "$gui_ready" -eq 0 ] && [ -f "$build/tests/wine/viewdemo.exe" ]; then
  source tests/wine/viewdemo/checks.sh
  viewdemo_checks "$build"
fi

source tests/wine/spti/checks.sh
spti_checks "$build"

# The program (tests/wine/kalmor/checks.sh).
if [ "$gui_ready" -eq 0 ] && [ -f "$build/src/kalmor.exe" ]; then
  source tests/wine/kalmor/checks.sh
  kalmor_checks "$build"
  source tests/wine/config/checks.sh
  config_checks "$build"
  source tests/wine/evaldebug/checks.sh
  evaldebug_checks "$build"
  source tests/wine/teac/checks.sh
  teac_checks "$build"
fi

gui_stop
echo "Wine checks: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
