#!/usr/bin/env bash
# Builds the Windows build and runs it under Wine, headless, against our emulated ASPI
# manager. Optional argument: a scenario file (default: the built-in default system).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
tools/install-deps.sh
cmake -S . -B build/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/win32 -j2 --target wnaspi32 aspiprobe >/dev/null

export WINEPREFIX=$root/build/win32/wineprefix WINEARCH=win32 WINEDEBUG=-all
[ -f "$WINEPREFIX/system.reg" ] || wineboot -i >/dev/null 2>&1
system32=$WINEPREFIX/drive_c/windows/system32
[ -f "$root/build/win32/wnaspi32.builtin" ] || cp "$system32/wnaspi32.dll" "$root/build/win32/wnaspi32.builtin"
cp build/win32/emu/WNASPI32.DLL "$system32/wnaspi32.dll"

scenario=
if [ $# -gt 0 ]; then scenario=$(winepath -w "$(realpath "$1")"); fi
WINEDLLOVERRIDES=wnaspi32=n WNASPI32_EMU_SCENARIO="$scenario" wine build/win32/tests/wine/aspiprobe.exe
