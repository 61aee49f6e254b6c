#!/usr/bin/env bash
# Builds the native and the Windows build and runs every suite: native, native under
# AddressSanitizer/UndefinedBehaviorSanitizer, the Windows build under Wine, and each fuzz
# target briefly.
# Ends with one line "N passed, N failed".
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD

tools/install-deps.sh || { echo "Result: 0 passed, 1 failed"; exit 1; }

passed=0
failed=0
log=$root/build/test-logs
mkdir -p "$log"

# Adds the counts of a ctest run ("... N tests failed out of M").
count_ctest() {
  local line
  line=$(grep -E 'tests failed out of' "$1" | tail -1)
  if [ -z "$line" ]; then failed=$((failed + 1)); return; fi
  local f t
  f=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\1/' <<<"$line")
  t=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\2/' <<<"$line")
  passed=$((passed + t - f))
  failed=$((failed + f))
}

native_suite() {  # name, extra cmake arguments...
  local name=$1; shift
  echo "== native build ($name)"
  if ! { cmake -S . -B "build/$name" -DCMAKE_BUILD_TYPE=Debug "$@" && cmake --build "build/$name" -j2; } >"$log/$name-build.txt" 2>&1; then
    tail -30 "$log/$name-build.txt"; echo "build $name FAILED"; failed=$((failed + 1)); return
  fi
  (cd "build/$name" && ctest -j2 --output-on-failure --timeout 300) >"$log/$name-ctest.txt" 2>&1
  grep -E 'tests passed|\*\*\*|FAILED|Not Run' "$log/$name-ctest.txt" | tail -20
  count_ctest "$log/$name-ctest.txt"
}

native_suite native
native_suite sanitize -DKALMOR_SANITIZE=ON

echo "== Windows build (i686-w64-mingw32) and checks under Wine"
if { cmake -S . -B build/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release && cmake --build build/win32 -j2; } >"$log/win32-build.txt" 2>&1; then
  tools/wine-tests.sh build/win32 >"$log/wine.txt" 2>&1
  cat "$log/wine.txt" | grep -E '^(PASS|FAIL|Wine checks)' 
  w=$(grep -E '^Wine checks: ' "$log/wine.txt" | tail -1)
  if [ -n "$w" ]; then
    passed=$((passed + $(sed -E 's/.*: ([0-9]+) passed, ([0-9]+) failed.*/\1/' <<<"$w")))
    failed=$((failed + $(sed -E 's/.*: ([0-9]+) passed, ([0-9]+) failed.*/\2/' <<<"$w")))
  else
    tail -30 "$log/wine.txt"; failed=$((failed + 1))
  fi
else
  tail -30 "$log/win32-build.txt"; echo "Windows build FAILED"; failed=$((failed + 1))
fi

echo "== fuzz targets (clang, libFuzzer), a few seconds each from their seeds"
for target in $(tools/fuzz.sh --list); do
  if tools/fuzz.sh --fresh "$target" 2 >"$log/fuzz-$target.txt" 2>&1; then
    passed=$((passed + 1)); tail -1 "$log/fuzz-$target.txt"
  else
    failed=$((failed + 1)); tail -25 "$log/fuzz-$target.txt"; echo "FAIL fuzz $target"
  fi
done

echo "Logs: $log"
echo "Result: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
