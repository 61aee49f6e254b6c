# The built-in SCSI pass-through under Wine; sourced by tools/wine-tests.sh after the other
# checks, whose wineserver it replaces: Wine's mount manager reads its drives when it starts.
# The CD-ROM drive d: is a directory, so \\.\CdRom0 opens and every pass-through request
# fails, as on a drive the system gives no SCSI access to.
spti_checks() {
  local probe=$1/tests/wine/aspiprobe.exe drive=$WINEPREFIX/dosdevices/d: out
  [ -f "$probe" ] || return 0
  mkdir -p "$root/$1/spti-cdrom"
  wineserver -k 2>/dev/null
  ln -sfn "$root/$1/spti-cdrom" "$drive"
  wine reg add 'HKLM\Software\Wine\Drives' /v d: /d cdrom /f >/dev/null 2>&1
  wineserver -w

  local expected='ASPI manager: SCSI pass-through
HA=00, ID=07, MaxTLen=00010000, MaxTargets=08, Align=00000003
  name SPTI-CdRom0'
  out=$(WINEDLLOVERRIDES=wnaspi32=d wine "$probe" 2>&1 | tr -d '\r')
  [ "$out" = "$expected" ]; check "without an ASPI manager Windows NT uses \\\\.\\CdRom0 through the pass-through ($out)" $?
  out=$(WINEDLLOVERRIDES=wnaspi32=b wine "$probe" 2>&1 | tr -d '\r')
  [ "$out" = "$expected" ]; check "Wine's built-in ASPI manager without adapters gives way to the pass-through" $?

  wine reg add 'HKCU\Software\Wine' /v Version /d win98 /f >/dev/null 2>&1
  out=$(WINEDLLOVERRIDES=wnaspi32=d wine "$probe" 2>&1 | tr -d '\r')
  [ "$out" = "ASPI status: not LoadASPI32" ]; check "Windows 98 keeps the missing manager's status beside a CD-ROM device ($out)" $?

  wine reg delete 'HKCU\Software\Wine' /v Version /f >/dev/null 2>&1
  wine reg delete 'HKLM\Software\Wine\Drives' /v d: /f >/dev/null 2>&1
  rm -f "$drive"
  wineserver -w
}
