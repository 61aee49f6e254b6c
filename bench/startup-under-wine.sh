#!/usr/bin/env bash
# Time from starting kalmor.exe under Wine to its tray icon, with ten emulated drives whose
# speed-step detection is cached in the registry (emu/scenarios/ten-drives.json). A start by
# the user opens the settings dialog right after the tray icon is added, so the time until
# that window exists is the figure; a window finder waits for it before the program starts.
# Prints each of five starts and their median. Argument: the Windows build (build/win32).
set -uo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/win32}
export WINEPREFIX=$PWD/$build/wineprefix WINEARCH=win32 WINEDEBUG=-all LANG=C.UTF-8 LC_ALL=C.UTF-8
export WNASPI32_EMU_SCENARIO=$(winepath -w "$PWD/emu/scenarios/ten-drives.json" 2>/dev/null)
source tools/wine-gui.sh
source tools/wine-kalmor.sh
gui_start "$build" || exit 1
kalmor_setup "$build"
trap 'kalmor_teardown; gui_stop' EXIT

# close_and_exit: the settings dialog closed with Esc (it has no button), the program ended
# from its tray menu.
close_and_exit() {
  wi post "$1" 0x100 0x1b 0 >/dev/null
  wi gone "$1" 5000 >/dev/null || echo "the settings dialog did not close" >&2
  local menu
  wi post "$(kalmor_main)" 0x401 1 0x204 >/dev/null
  menu=$(wi find '#32768' - 5000) && wi post "$menu" 0x100 0x26 0 >/dev/null && wi post "$menu" 0x100 0x0d 0 >/dev/null
  kalmor_wait_end 10
}

kalmor_forget
kalmor_start  # fills the detection cache
close_and_exit "$(wi find KalmorForm 'Kalmor 1.02' 120000)"

times=()
for run in 1 2 3 4 5; do
  found=$(mktemp)
  wi find KalmorForm 'Kalmor 1.02' 30000 >"$found" &
  finder=$!
  sleep 1  # the finder is up and polling
  start=$(date +%s%N)
  kalmor_start
  wait "$finder"
  end=$(date +%s%N)
  ms=$(((end - start) / 1000000))
  times+=("$ms")
  echo "start $run: tray icon after $ms ms"
  close_and_exit "$(cat "$found")"
  rm -f "$found"
done
printf '%s\n' "${times[@]}" | sort -n | sed -n 3p | sed 's/^/median: /; s/$/ ms/'
