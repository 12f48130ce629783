#!/usr/bin/env bash
# The example program reports a failure of the compile (an
# autorun.inf that can't be written because a folder of that name is in the
# way) as the compiler's error line and exit code 1, and removes its scratch project,
# which it keeps in a private folder of the run, never in the program folder.
set -euo pipefail
example=$1
program=$2
source=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/app" "$work/tmp"
cp "$program"/setup.bin "$program"/setupldr.bin "$program"/selfext.bin "$program"/regserv.bin "$work/app/"
cp -r "$source/hello" "$work/"
cp -r "$program/Dialogs" "$work/hello/Dialogs"
sed -i 's/^CreateAutorun=0/CreateAutorun=1/' "$work/hello/hello.wfp"
mkdir -p "$work/out/autorun.inf"
status=0
env -u XDG_RUNTIME_DIR TMPDIR="$work/tmp" "$example" "$work/hello/hello.wfp" --output "$work/out" --app-dir "$work/app" > "$work/lines.txt" 2>&1 || status=$?
cat "$work/lines.txt"
[ "$status" -eq 1 ] || { echo "expected exit code 1, got $status"; exit 1; }
grep -q "ERROR: Unable to write to .*autorun.inf" "$work/lines.txt" || { echo "no error line"; exit 1; }
[ -z "$(ls -A "$work/tmp")" ] || { echo "scratch folder left behind:"; ls -lA "$work/tmp"; exit 1; }
[ ! -e "$work/app/wftemp.tmp" ] || { echo "scratch project written into the program folder"; exit 1; }
