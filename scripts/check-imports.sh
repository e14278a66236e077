#!/usr/bin/env bash
# Checks that an executable is a 32-bit Windows GUI program whose import
# table names only DLLs of the KnownDLLs list, so that no DLL planted beside
# it can be loaded at start.
set -euo pipefail
exe=$1
objdump=i686-w64-mingw32-objdump
known="kernel32.dll user32.dll gdi32.dll advapi32.dll shell32.dll comdlg32.dll ole32.dll oleaut32.dll shlwapi.dll msvcrt.dll"

headers=$($objdump -p "$exe" 2>&1) || { echo "FAIL: $exe is not a PE32 i386 file"; exit 1; }
fail=0
grep -q 'file format pei-i386' <<<"$headers" || { echo "FAIL: $exe is not PE32 i386"; fail=1; }
grep -Eq '^Subsystem[[:space:]]+0*2[[:space:]]' <<<"$headers" || { echo "FAIL: $exe is not a GUI program"; fail=1; }
imports=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers" | tr 'A-Z' 'a-z' | sort -u)
[ -n "$imports" ] || { echo "FAIL: no import table read from $exe"; fail=1; }
for dll in $imports; do
  if [[ " $known " == *" $dll "* ]]; then
    echo "ok: imports $dll"
  else
    echo "FAIL: imports $dll, which is not a KnownDLL"
    fail=1
  fi
done
[ $fail -eq 0 ] && echo "import table of $(basename "$exe"): only KnownDLLs"
exit $fail
