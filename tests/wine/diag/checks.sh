# Sourced by tools/wine-tests.sh (uses its $build, $root, $system32 and check): the Windows
# version as the diagnostics read it, the ASPI repair against the real Wine registry, and a
# drive report built on our WNASPI32.DLL. Leaves the Wine version and the registry as found.
diag=$build/tests/wine/diagcheck.exe
if [ ! -f "$diag" ]; then check "diagcheck built" 1; return; fi

wine_key='HKCU\Software\Wine'
aspi_key='HKLM\SYSTEM\CurrentControlSet\Services\Aspi32'
params="$aspi_key\\Parameters"
reg_value() {  # key, value name: the data as reg query shows it
  wine reg query "$1" /v "$2" </dev/null 2>/dev/null | tr -d '\r' | sed -nE "s/^ +$2 +REG_[A-Z_]+ +(.*)\$/\\1/p"
}
saved_version=$(reg_value "$wine_key" Version)
aspi_key_existed=0
wine reg query "$aspi_key" </dev/null >/dev/null 2>&1 && aspi_key_existed=1

set_version() {
  if [ -n "$1" ]; then wine reg add "$wine_key" /v Version /d "$1" /f </dev/null >/dev/null 2>&1
  else wine reg delete "$wine_key" /v Version /f </dev/null >/dev/null 2>&1; fi
}
set_list() {  # data, type
  wine reg add "$params" /v ExcludeMiniports /t "${2:-REG_SZ}" /d "$1" /f </dev/null >/dev/null 2>&1
}
repair() {  # answers, loaded miniports...
  local answers=$1; shift
  KALMOR_ANSWERS=$answers wine "$diag" repair "$@" </dev/null 2>&1 | tr -d '\r'
}

# Wine version | OS version text and code | whether the repair examines the exclusion list.
# The service-pack text follows the build number unchanged: Wine's Windows 98 says " A ".
while IFS='|' read -r version text code examined; do
  name=${version:-default}
  set_version "$version"
  out=$(wine "$diag" os </dev/null 2>&1 | tr -d '\r')
  [ "$out" = "$text|$code" ]; check "Windows version $name: OS text and code $out" $?

  set_list 'atapi;SCSIPORT'
  out=$(repair yes,yes atapi FASTCDMP)
  asked=$(grep -c '^asked: ' <<<"$out")
  if [ "$examined" = yes ]; then
    [ "$asked" -eq 2 ] && grep -q '^changed: 1$' <<<"$out" && [ "$(reg_value "$params" ExcludeMiniports)" = 'SCSIPORT;FASTCDMP' ]
    check "Windows version $name: two corrections after Yes edit ExcludeMiniports to SCSIPORT;FASTCDMP" $?
  else
    [ "$asked" -eq 0 ] && grep -q '^changed: 0$' <<<"$out" && [ "$(reg_value "$params" ExcludeMiniports)" = 'atapi;SCSIPORT' ]
    check "Windows version $name: the repair asks nothing and writes nothing" $?
  fi
done <<'VERSIONS'
nt40|4.0.1381Service Pack 6a|5|yes
win98|4.10.2222 A |4|no
win2k|5.0.2195Service Pack 4|8|no
|6.1.7601Service Pack 1|8|no
VERSIONS

set_version nt40
set_list 'atapi;SCSIPORT'
out=$(repair no,no atapi FASTCDMP)
[ "$(grep -c '^asked: ' <<<"$out")" -eq 2 ] && grep -q '^changed: 0$' <<<"$out" &&
  [ "$(reg_value "$params" ExcludeMiniports)" = 'atapi;SCSIPORT' ]
check "Windows NT 4.0: answering No twice leaves ExcludeMiniports as it was" $?
set_list 'atapi;SCSIPORT' REG_EXPAND_SZ
out=$(repair yes,yes atapi FASTCDMP)
[ "$(grep -c '^asked: ' <<<"$out")" -eq 0 ] && grep -q '^changed: 0$' <<<"$out"
check "Windows NT 4.0: an ExcludeMiniports value that is no string counts as missing" $?

# A report on our manager: its version resource in the header, the drive's steps.
set_list 'FASTCDMP'
cp "$system32/wnaspi32.dll" "$root/$build/wnaspi32.builtin"
cp "$build/emu/WNASPI32.DLL" "$system32/wnaspi32.dll"
scenario=$(winepath -w "$root/emu/scenarios/plextor-px40.json" 2>/dev/null)
out=$(WINEDLLOVERRIDES=wnaspi32=n WNASPI32_EMU_SCENARIO="$scenario" timeout 300 wine "$diag" report </dev/null 2>&1 | tr -d '\r')
cp "$root/$build/wnaspi32.builtin" "$system32/wnaspi32.dll"
grep -qx ' ASPI-Manager:    Brannwick 1.0.0 (1) / Emulated ASPI manager for Win32' <<<"$out"
check "report header: the ASPI manager's company, version and description from its version resource" $?
grep -qx ' Betriebssystem:  4.0.1381Service Pack 6a' <<<"$out" && grep -qx ' ASPI-Parameter:  ja' <<<"$out" &&
  grep -qx ' verborgene HA:   FASTCDMP' <<<"$out"
check "report header: Windows NT 4.0 and its ASPI exclusion list" $?
[ "$(grep -c '^ Stufe ' <<<"$out")" -eq 12 ] && [ "$(tail -1 <<<"$out")" = ' ' ]
check "report: the Plextor drive's six steps in both directions, and the whole document" $?

set_version "$saved_version"
if [ "$aspi_key_existed" -eq 1 ]; then wine reg delete "$params" /v ExcludeMiniports /f </dev/null >/dev/null 2>&1
else wine reg delete "$aspi_key" /f </dev/null >/dev/null 2>&1; fi
