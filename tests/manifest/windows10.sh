#!/usr/bin/env bash
# manifest.windows10: what Wine, set to Windows 10, reports to a program carrying Update.exe's manifest and to
# the same program without it. Update.exe prints nothing, so the test program ReportVersion (tests/win/version)
# is built twice, with the very manifest resource of Update.exe (resources/Manifest.rh) and without any, and
# prints the version that GetVersionExW gives it; manifest.Update.exe shows that Update.exe carries the same
# bytes. The prefix is the test's own, so the tests' prefix keeps its version.
# Usage: windows10.sh WINE_RUN PREFIX MANIFESTED_EXE PLAIN_EXE
set -euo pipefail
wine_run=$1 prefix=$2 manifested=$3 plain=$4
export WINEPREFIX=$prefix
status=0
# reported EXE: the version that the program prints, without the console's CR.
reported() { "$wine_run" "$1" | tr -d '\r'; }

reported "$plain" >/dev/null
"$wine_run" "$prefix/drive_c/windows/system32/reg.exe" add 'HKCU\Software\Wine' /v Version /d win10 /f >/dev/null
for expected in "$manifested 10.0" "$plain 6.2"; do
  read -r exe version <<<"$expected"
  got=$(reported "$exe")
  echo "$(basename "$exe"): Windows $got"
  [ "$got" = "$version" ] || { echo "FAILED: $(basename "$exe") is told Windows $got, not $version"; status=1; }
done
exit $status
