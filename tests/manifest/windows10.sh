#!/usr/bin/env bash
# manifest.windows10: what Wine, set to Windows 10, reports to a program carrying Update.exe's manifest and to
# the same program without it. Update.exe prints nothing, so the test program ReportVersion (tests/win/version)
# is built twice, with the very manifest resource of Update.exe (resources/Manifest.rh) and without any, and
# prints the version that GetVersionExW gives it; manifest.Update.exe shows that Update.exe carries the same
# bytes. Windows 10 is set for these two programs alone (the key that Wine reads for one program's version),
# so every other program in the tests' prefix keeps the prefix's version.
# Usage: windows10.sh WINE_RUN PREFIX MANIFESTED_EXE PLAIN_EXE
set -euo pipefail
wine_run=$1 manifested=$3 plain=$4
export WINEPREFIX=${WINEPREFIX:-$2}
status=0
# reported EXE: the version that the program prints, without the console's CR.
reported() { "$wine_run" "$1" | tr -d '\r'; }

reported "$plain" >/dev/null
for exe in "$manifested" "$plain"; do
  "$wine_run" "$WINEPREFIX/drive_c/windows/system32/reg.exe" add \
    "HKCU\\Software\\Wine\\AppDefaults\\$(basename "$exe")" /v Version /d win10 /f >/dev/null
done
for expected in "$manifested 10.0" "$plain 6.2"; do
  read -r exe version <<<"$expected"
  got=$(reported "$exe")
  echo "$(basename "$exe"): Windows $got"
  [ "$got" = "$version" ] || { echo "FAILED: $(basename "$exe") is told Windows $got, not $version"; status=1; }
done
exit $status
