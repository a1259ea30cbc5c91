#!/usr/bin/env bash
# Checks every shipped program (QMwS3*.exe, test programs left out) under DIR: a 32-bit Windows GUI image that needs
# only the DLLs every Windows Server 2003 machine has, and no larger than 512 KB. Prints one
# row per program and exits non-zero on any violation.
#
#   usage: tools/check_executables.sh DIR
set -euo pipefail

dir=${1:?usage: check_executables.sh DIR}
objdump=${OBJDUMP:-i686-w64-mingw32-objdump}
max_bytes=$((512 * 1024))
allowed=" kernel32.dll user32.dll gdi32.dll advapi32.dll comctl32.dll shell32.dll msvcrt.dll setupapi.dll newdev.dll "

mapfile -d '' files < <(find "$dir" -type f -iname 'QMwS3*.exe' ! -iname '*test*' -print0 | sort -z)
if [ ${#files[@]} -eq 0 ]; then
  echo "check_executables: no shipped programs (QMwS3*.exe) under $dir yet; nothing to check"
  exit 0
fi

bad=0
printf '%-16s %-6s %-4s %9s  %-4s %s\n' program format subs bytes ok imports
for f in "${files[@]}"; do
  problems=()
  header=$("$objdump" -p "$f" 2>/dev/null) || header=""
  # The file format line: "pei-i386" for 32-bit x86 images.
  if ! grep -q 'file format pei-i386' <<<"$header"; then
    problems+=("not a PE32 i386 image")
    format='?'
  else
    format=PE32
  fi
  subsystem=$(sed -n 's/^Subsystem[[:space:]]*\([0-9a-fA-F]*\).*/\1/p' <<<"$header" | head -n1)
  subsystem=$((16#${subsystem:-0}))
  [ "$subsystem" -eq 2 ] || problems+=("subsystem $subsystem, not GUI (2)")
  size=$(stat -c %s "$f")
  [ "$size" -le $max_bytes ] || problems+=("$size bytes, over $max_bytes")
  imports=$(sed -n 's/^[[:space:]]*DLL Name:[[:space:]]*//p' <<<"$header" | tr 'A-Z' 'a-z' | tr -d '\r' | sort -u)
  for dll in $imports; do
    case "$allowed" in
      *" $dll "*) ;;
      *) problems+=("imports $dll") ;;
    esac
  done
  ok=yes
  [ ${#problems[@]} -eq 0 ] || { ok=NO; bad=$((bad + 1)); }
  printf '%-16s %-6s %-4s %9s  %-4s %s\n' "$(basename "$f")" "$format" "$subsystem" "$size" "$ok" \
    "$(echo $imports | tr ' ' ',')"
  for p in "${problems[@]}"; do echo "    - $p"; done
done

echo "check_executables: ${#files[@]} program(s), $bad with violations"
[ $bad -eq 0 ]
