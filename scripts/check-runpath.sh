#!/usr/bin/env bash
# Checks the library search path (RPATH and RUNPATH) of every ELF program and
# library below the given folders: an empty entry (a leading, trailing or
# doubled ":") makes the loader search the current folder, so whatever
# folder a program is started from could hand it a library of its own.
# Prints each offender and ends with status 1 when there is one.
#
#   check-runpath.sh FOLDER...
set -euo pipefail

is_elf() { [ "$(head -c 4 "$1" 2>/dev/null | od -An -c | tr -d ' ')" = '177ELF' ]; }

problems=0
checked=0
for folder in "$@"; do
  while IFS= read -r -d '' file; do
    is_elf "$file" || continue
    checked=$((checked + 1))
    while IFS= read -r entry; do
      paths=${entry#*[}
      paths=${paths%]*}
      case ":$paths:" in
        *::*)
          echo "FAILED: $file searches the current folder for libraries (an empty entry in \"$paths\")" >&2
          problems=$((problems + 1))
          ;;
      esac
    done < <(readelf -d "$file" | grep -E '\((RPATH|RUNPATH)\)' || true)
  done < <(find "$folder" -type f \( -perm -u+x -o -name '*.so' -o -name '*.so.*' -o -name '*.wfc' \) \
    -not -path '*/CMakeFiles/*' -print0)
done
if [ "$checked" -eq 0 ]; then
  echo "FAILED: no ELF file found in $*" >&2
  exit 1
fi
[ "$problems" -eq 0 ] || exit 1
echo "$checked programs and libraries search no current folder"
