#!/usr/bin/env bash
# Checks that an executable is a 32-bit Windows GUI program that needs nothing but the DLLs every
# Windows installation has (the C run-time and libstdc++ are linked in statically).
set -euo pipefail
exe="$1"
declare -A system_dll
for dll in kernel32 user32 gdi32 shell32 ole32 oleaut32 comctl32 shlwapi advapi32 msvcrt uxtheme \
  windowscodecs gdiplus psapi comdlg32 msimg32; do
  system_dll[$dll.dll]=1
done

headers=$(i686-w64-mingw32-objdump -p "$exe")
grep -q '^Magic[[:space:]]*010b' <<<"$headers" || { echo "not a PE32 image"; exit 1; }
grep -q '^Subsystem[[:space:]]*00000002' <<<"$headers" || { echo "not a GUI subsystem image"; exit 1; }
i686-w64-mingw32-objdump -f "$exe" | grep -q 'architecture: i386' || { echo "not Intel 80386"; exit 1; }

status=0
while read -r dll; do
  lower=$(tr 'A-Z' 'a-z' <<<"$dll")
  if [ -z "${system_dll[$lower]:-}" ]; then
    echo "imports a non-system DLL: $dll"
    status=1
  fi
  echo "imports $dll"
done < <(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers")
exit $status
