#!/usr/bin/env bash
# The example program reports a failure of the compile (a folder named
# autorun.inf in the output folder, where the compile writes that file) as
# the compiler's error line and exit code 1, and removes its scratch project,
# which it keeps in a private folder of the run, never in the program
# folder. It writes the project's folder into the Windows-1252 copy in that
# encoding: a folder with Latin letters compiles, one whose path
# Windows-1252 can't hold is refused with exit code 2, naming the folder.
# A compile deletes only what it writes: a hand-made autorun.inf stays when
# the project writes none. A file a Windows machine can't create ("aux.txt")
# is refused before anything is deleted, naming the file and the rule.
set -euo pipefail
example=$1
program=$2
source=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/app" "$work/run"
cp "$program"/setup.bin "$program"/setupldr.bin "$program"/selfext.bin "$program"/regserv.bin "$work/app/"
cp -r "$source/hello" "$work/"
# The program compiles the project as it stands: the pages where it names them.
cp -r "$program/Dialogs" "$work/hello/Dialogs"
cp -r "$work/hello" "$work/Übung"
cp -r "$work/hello" "$work/Документы"
sed -i 's/^CreateAutorun=0/CreateAutorun=1/' "$work/hello/hello.wfp"
mkdir -p "$work/out/autorun.inf"
compile() {
  status=0
  XDG_RUNTIME_DIR="$work/run" XDG_STATE_HOME="$work/state" "$example" "$@" --app-dir "$work/app" \
    > "$work/lines.txt" 2>&1 || status=$?
  cat "$work/lines.txt"
}

compile "$work/hello/hello.wfp" --output "$work/out"
[ "$status" -eq 1 ] || { echo "expected exit code 1, got $status"; exit 1; }
grep -q "ERROR: .*holds a folder autorun.inf" "$work/lines.txt" || { echo "no error line"; exit 1; }
# The example's scratch copy and the compiler's Temp are gone.
# (The shared root of the private folders may stay, empty.)
[ -z "$(find "$work/run" -mindepth 1 ! -path "$work/run/brindlewharf")" ] ||
  { echo "scratch left behind:"; ls -lAR "$work/run"; exit 1; }
[ ! -e "$work/app/wftemp.tmp" ] || { echo "scratch project written into the program folder"; exit 1; }

mkdir -p "$work/Übung/output"
printf '[autorun]\r\nopen=mine.exe\r\n' > "$work/Übung/output/autorun.inf"
compile "$work/Übung/hello.wfp"
[ "$status" -eq 0 ] || { echo "the folder Übung: expected exit code 0, got $status"; exit 1; }
[ -s "$work/Übung/output/setup.exe" ] || { echo "the folder Übung got no setup"; exit 1; }
grep -q "open=mine.exe" "$work/Übung/output/autorun.inf" || { echo "the author's autorun.inf was deleted"; exit 1; }

cp -r "$work/Übung" "$work/names"
echo "the author's" > "$work/names/files/aux.txt"
sed -i 's/^1="files\\readme.txt"/&\r\n2="files\\aux.txt"/; s/^1="{app}"/&\r\n2="{app}"/' "$work/names/hello.wfp"
compile "$work/names/hello.wfp"
[ "$status" -eq 1 ] || { echo "a file named aux.txt: expected exit code 1, got $status"; exit 1; }
grep -q "ERROR: $work/names/files/aux.txt would be stored as aux.txt, which is the name of a device that Windows reserves" \
  "$work/lines.txt" || { echo "the refusal names no file or rule"; exit 1; }
[ -s "$work/names/output/setup.exe" ] || { echo "the earlier setup was deleted before the refusal"; exit 1; }

compile "$work/Документы/hello.wfp"
[ "$status" -eq 2 ] || { echo "the folder Документы: expected exit code 2, got $status"; exit 1; }
grep -qF "$work/Документы/" "$work/lines.txt" || { echo "the refusal names no folder"; exit 1; }
grep -q "Windows-1252" "$work/lines.txt" || { echo "the refusal gives no reason"; exit 1; }
