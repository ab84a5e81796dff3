#!/usr/bin/env bash
# The program imports only DLLs that ship with Windows: no C++ runtime, no
# libgcc, no winpthread beside it.
#   imports_test.sh OBJDUMP PROGRAM
set -euo pipefail
objdump=$1
program=$2

system_dlls='^(kernel32|user32|gdi32|advapi32|shell32|comctl32|ole32|msvcrt)\.dll$'

dlls=$("$objdump" -p "$program" | awk '/DLL Name:/ {print tolower($3)}')
if [[ -z $dlls ]]; then
  echo "no imports found in $program" >&2
  exit 1
fi
status=0
while read -r dll; do
  if [[ $dll =~ $system_dlls ]]; then
    echo "system: $dll"
  else
    echo "NOT A SYSTEM DLL: $dll" >&2
    status=1
  fi
done <<<"$dlls"
exit $status
