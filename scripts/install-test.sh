#!/usr/bin/env bash
# The install as an ordinary user meets it: installs the build, stripped,
# into a scratch prefix whose path holds a blank, checks that the install is
# complete and self-contained, makes the prefix read-only and uses the
# installed programs found on the PATH the way a build machine does: no
# display, no variable but HOME, PATH and LANG. Run as root, the programs
# run as "nobody"; otherwise as the calling user. A normal, a failed and a
# SIGTERM-ed compile of copies of the installed example leave nothing under
# the prefix changed and no scratch behind; a scratch folder that a killed
# run left is swept. The command lines of both programs, every spelling of
# a project path, displays that don't answer, an unusable runtime folder
# and a user without a home each get a row. A staged install (DESTDIR)
# lists the final paths in its manifest. Last, the install manifest
# uninstalls it all.
#
#   install-test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1
source=$2

work=$(mktemp -d)
# The test's own install must not replace the manifest of the user's.
manifest=$build/install_manifest.txt
[ ! -e "$manifest" ] || cp -p "$manifest" "$work/user-manifest.txt"
cleanup() {
  if [ -e "$work/user-manifest.txt" ]; then
    cp -p "$work/user-manifest.txt" "$manifest"
  else
    rm -f "$manifest"
  fi
  chmod -R u+w "$work" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
# The unprivileged user must reach the prefix and its home below.
chmod 755 "$work"
prefix="$work/my prefix"
problems=0
problem() {
  echo "FAILED: $*" >&2
  problems=$((problems + 1))
}

if ! cmake --install "$build" --prefix "$prefix" --strip > "$work/install.log" 2>&1; then
  cat "$work/install.log"
  echo "FAILED: cmake --install" >&2
  exit 1
fi
cp "$manifest" "$work/manifest.txt"

# --- A complete install -------------------------------------------------
for name in wharfwright wharfdraft; do
  link=$prefix/bin/$name
  [ -L "$link" ] || problem "$link is no link"
  target=$(readlink -f "$link" || true)
  case $target in
    "$prefix"/*) ;;
    *) problem "$link leads out of the prefix: $target" ;;
  esac
  [ -x "$target" ] || problem "$link leads to no program"
done
program=$(dirname "$(readlink -f "$prefix/bin/wharfwright")")

is_elf() { [ "$(head -c 4 "$1" | od -An -c | tr -d ' ')" = '177ELF' ]; }

# Every file the build put into its program folder is installed, but for
# what runs in the build tree leave behind; the programs and the library
# differ only by their RPATH and their debug information.
while IFS= read -r -d '' file; do
  relative=${file#"$build/program/"}
  case /$relative/ in
    */Temp/* | */Debug/* | *.tmp/ | *.log/ | /wharfforge-example/) continue ;;
  esac
  if is_elf "$file"; then
    [ -f "$program/$relative" ] || problem "the program folder lacks $relative"
  else
    cmp -s "$file" "$program/$relative" || problem "the program folder lacks $relative or holds another one"
  fi
done < <(find "$build/program" -type f -print0)
for name in libwharfforge.so setup.bin setupldr.bin selfext.bin regserv.bin default.wfp default.ctl \
  wharfwright.html Dialogs/welcome.ddf; do
  [ -f "$program/$name" ] || problem "the program folder lacks $name"
done
for name in Temp Debug wftemp.tmp wharfforge.log wharfforge-example; do
  [ ! -e "$program/$name" ] || problem "a file of the build tree's runs was installed: $name"
done

# Every installed program and library finds its libraries in the install
# alone: a search path is relative to its own folder, never absolute (a
# build folder that somebody else can write would run their code), and
# the install is stripped.
elves=0
while IFS= read -r -d '' file; do
  is_elf "$file" || continue
  elves=$((elves + 1))
  while IFS= read -r entry; do
    paths=${entry#*[}
    paths=${paths%]*}
    # An empty entry searches the folder the program is started from.
    case ":$paths:" in
      *::*) problem "${file#"$prefix/"} searches the current folder for its libraries: \"$paths\"" ;;
    esac
    IFS=: read -r -a parts <<< "$paths"
    for part in "${parts[@]}"; do
      case $part in
        '$ORIGIN' | '$ORIGIN/'* | '${ORIGIN}' | '${ORIGIN}/'*) ;;
        *) problem "${file#"$prefix/"} searches $part for its libraries" ;;
      esac
    done
  done < <(readelf -d "$file" | grep -E '\((RPATH|RUNPATH)\)' || true)
  ! readelf -S "$file" | grep -q '\.debug_' || problem "${file#"$prefix/"} was not stripped"
done < <(find "$prefix" -type f -print0)
[ "$elves" -ge 3 ] || problem "only $elves programs and libraries were installed"

share=$prefix/share
for name in wharfwright wharfdraft; do
  desktop=$share/applications/$name.desktop
  if [ ! -f "$desktop" ]; then
    problem "no desktop file $desktop"
    continue
  fi
  if command -v desktop-file-validate > /dev/null; then
    desktop-file-validate "$desktop" || problem "$desktop does not validate"
  fi
  # The prefix holds a blank: the program stands in quotes.
  grep -qxF "Exec=\"$prefix/bin/$name\" %f" "$desktop" || problem "$desktop does not start $prefix/bin/$name"
  grep -qxF "TryExec=$prefix/bin/$name" "$desktop" || problem "$desktop tries no $prefix/bin/$name"
  grep -qx "Icon=$name" "$desktop" || problem "$desktop names no icon $name"
done
grep -qx "MimeType=application/x-wharfwright-project;" "$share/applications/wharfwright.desktop" ||
  problem "the editor's desktop file names no project type"
grep -qx "MimeType=application/x-wharfdraft-dialog;" "$share/applications/wharfdraft.desktop" ||
  problem "the designer's desktop file names no dialog type"
# The install told the desktop which programs open the two file types.
if command -v update-desktop-database > /dev/null; then
  cache=$share/applications/mimeinfo.cache
  grep -qx "application/x-wharfwright-project=wharfwright.desktop;" "$cache" ||
    problem "no program opens projects: $cache"
  grep -qx "application/x-wharfdraft-dialog=wharfdraft.desktop;" "$cache" ||
    problem "no program opens dialog files: $cache"
fi

mime=$share/mime/packages/brindlewharf.xml
if [ -f "$mime" ]; then
  if command -v xmllint > /dev/null; then
    xmllint --noout "$mime" || problem "$mime is no XML"
  fi
  # The desktop's own tool reads the types and maps the file names to them.
  if command -v update-mime-database > /dev/null; then
    grep -q "application/x-wharfwright-project:\*\.wfp" "$share/mime/globs2" || problem "*.wfp is no project type"
    grep -q "application/x-wharfdraft-dialog:\*\.ddf" "$share/mime/globs2" || problem "*.ddf is no dialog type"
  fi
else
  problem "no MIME type file $mime"
fi
for icon in 128x128/apps/wharfwright.png 32x32/apps/wharfwright.png scalable/apps/wharfdraft.svg \
  scalable/mimetypes/application-x-wharfwright-project.svg scalable/mimetypes/application-x-wharfdraft-dialog.svg; do
  [ -s "$share/icons/hicolor/$icon" ] || problem "no icon $icon"
done

# A plug-in builds from the install alone: the installed header and sample.
header=$prefix/include/wharfcomponent.h
sample=$share/doc/brindlewharf/examples/component/company.c
if [ -f "$header" ] && [ -f "$sample" ]; then
  if cc -shared -fPIC -fvisibility=hidden -Wall -Wextra -Werror -I "$prefix/include" -o "$work/company.wfc" "$sample"; then
    for symbol in GetName GetInfo AddComponent; do
      nm -D --defined-only "$work/company.wfc" | grep -qw "$symbol" || problem "the sample plug-in exports no $symbol"
    done
  else
    problem "the installed sample plug-in does not build against the installed header"
  fi
else
  problem "no plug-in header $header or sample $sample"
fi
example=$share/doc/brindlewharf/examples/hello
[ -f "$example/hello.wfp" ] || problem "no example project in $example"
# The example's sources, not what a compile of it in the source tree made.
[ ! -e "$example/output" ] || problem "the install holds the example's output folder"
if git -C "$source" rev-parse --is-inside-work-tree > /dev/null 2>&1; then
  diff -u <(git -C "$source/examples/hello" ls-files | LC_ALL=C sort) \
    <(cd "$example" && find . -type f | sed 's|^\./||' | LC_ALL=C sort) ||
    problem "the installed example is not the example's sources"
fi
# Only the programs and the library run; the Windows stubs and the data
# files are data.
while IFS= read -r -d '' file; do
  case ${file#"$program/"} in
    wharfwright | wharfdraft | libwharfforge.so) ;;
    *) problem "${file#"$prefix/"} is installed executable" ;;
  esac
done < <(find "$program" -type f -perm /111 -print0)
for stub in setup.bin setupldr.bin selfext.bin regserv.bin; do
  [ "$(stat -c %a "$program/$stub" 2> /dev/null)" = 644 ] || problem "$stub is not installed as data (0644)"
done

# A staged install, as a package build makes it: the files go below the
# stage, the manifest names where they end up.
stage=$work/stage
if DESTDIR=$stage cmake --install "$build" --prefix /opt/brindlewharf --strip > "$work/stage.log" 2>&1; then
  while IFS= read -r line; do
    case $line in
      /opt/brindlewharf/*) ;;
      *) problem "the staged install's manifest names $line" ;;
    esac
    [ -e "$stage$line" ] || [ -L "$stage$line" ] || problem "the staged install lacks $line"
  done < "$manifest"
  grep -q 'share/applications/wharfwright.desktop$' "$manifest" || problem "the staged manifest lists no desktop file"
  grep -qxF 'Exec="/opt/brindlewharf/bin/wharfwright" %f' "$stage/opt/brindlewharf/share/applications/wharfwright.desktop" ||
    problem "the staged desktop file does not start the final program"
else
  cat "$work/stage.log"
  problem "the staged install failed"
fi
rm -rf "$stage"

if [ "$problems" -ne 0 ]; then
  echo "the install is incomplete ($problems problems)" >&2
  exit 1
fi

# --- A read-only install used on a build machine ---------------------------
chmod -R a-w "$prefix"
snapshot() {
  (cd "$prefix" && find . -printf '%y %m %s %T@ %p %l\n' | LC_ALL=C sort &&
    find . -type f -exec sha256sum {} + | LC_ALL=C sort -k 2)
}
snapshot > "$work/before.txt"

home=$work/home
mkdir "$home"
# The installed example, copied out as the README says; one copy fails (a
# file it installs is missing), one is big enough to be stopped halfway.
copy_example() {
  cp -r --no-preserve=mode "$example" "$home/$1"
}
copy_example hello
printf 'my own notes\n' > "$home/hello/notes.txt"
cp -r "$home/hello" "$work/authored"
copy_example broken
rm "$home/broken/files/hello.txt"
copy_example big
# Many files, so that the compile reaches a stop point soon after the signal.
for n in $(seq 2 25); do
  head -c 2000000 /dev/urandom > "$home/big/files/payload$n.bin"
  sed -i -e "s|^\[SourceFiles\]\r\?$|&\n$n=\"files\\\\payload$n.bin\"|" \
    -e "s|^\[DestFiles\]\r\?$|&\n$n=\"{app}\"|" "$home/big/hello.wfp"
done
grep -q 'payload25.bin' "$home/big/hello.wfp" || problem "the big example lists no payload"

# A release linked in as build scripts do: current.wfp -> releases/1.2/hello.wfp.
mkdir -p "$home/releases"
cp -r --no-preserve=mode "$example" "$home/releases/1.2"
ln -s releases/1.2/hello.wfp "$home/current.wfp"
# A project nobody may read, and a file that is no project.
cp --no-preserve=mode "$example/hello.wfp" "$home/locked.wfp"
chmod 000 "$home/locked.wfp"
printf '[Something]\r\nelse=1\r\n' > "$home/junk.wfp"

# A private folder that a killed run left behind; the next run sweeps it.
runtime=$home/.cache/brindlewharf
mkdir -p -m 0700 "$home/.cache" "$runtime"
ended=$(sh -c 'echo $$')
mkdir -m 0700 "$runtime/compile-$ended-a1B2c3"
printf 'x' > "$runtime/compile-$ended-a1B2c3/bzout.tmp"

runas=()
if [ "$(id -u)" -eq 0 ]; then
  chown -R nobody: "$home"
  runas=(setpriv --reuid="$(id -u nobody)" --regid="$(id -g nobody)" --clear-groups --)
fi
# What a user's run has: the user's folders are the defaults under HOME, no
# display and no Qt variable; the sanitizers keep their options when the
# build uses them.
environment=(HOME="$home" PATH="$prefix/bin:/usr/bin:/bin" LANG=C.UTF-8)
for name in ASAN_OPTIONS LSAN_OPTIONS UBSAN_OPTIONS; do
  [ -z "${!name:-}" ] || environment+=("$name=${!name}")
done
# run NAME ARGUMENTS...: runs the installed editor (or $program_name) in
# the home folder with the variables of $extra added, its output in
# $work/NAME.out and $work/NAME.err, its status in $status.
extra=()
program_name=wharfwright
limit=240
run() {
  local name=$1
  shift
  status=0
  (cd "$home" && exec timeout "$limit" "${runas[@]}" env -i "${environment[@]}" "${extra[@]}" "$program_name" "$@") \
    > "$work/$name.out" 2> "$work/$name.err" || status=$?
}
left_behind() {
  [ -d "$runtime" ] && [ -n "$(ls -A "$runtime")" ]
}
setup_files() {
  find "$1" -maxdepth 1 -type f \( -name setup.exe -o -name 'setup*.lib' -o -name 'setup.[0-9]*' \) 2>/dev/null
}

# The command line without a project, and a window without a display.
run help --help
[ "$status" -eq 0 ] && grep -q '^Usage: wharfwright' "$work/help.out" && [ ! -s "$work/help.err" ] ||
  problem "--help ended with $status: $(cat "$work/help.out" "$work/help.err")"
grep -qF "Help: $program/wharfwright.html" "$work/help.out" || problem "--help names no help file"
run version --version
[ "$status" -eq 0 ] && grep -q '^wharfwright .* 2\.0' "$work/version.out" ||
  problem "--version ended with $status: $(cat "$work/version.out" "$work/version.err")"
for arguments in "-c" "hello/hello.wfp -c more" "-c hello/hello.wfp"; do
  read -r -a words <<< "$arguments"
  run usage "${words[@]}"
  [ "$status" -eq 2 ] && grep -q '^Usage: wharfwright' "$work/usage.err" && [ ! -s "$work/usage.out" ] ||
    problem "wharfwright $arguments ended with $status: $(cat "$work/usage.err")"
done
run usage "" -c
[ "$status" -eq 2 ] && grep -q '^Usage: wharfwright' "$work/usage.err" ||
  problem "wharfwright \"\" -c ended with $status"
run window hello/hello.wfp
[ "$status" -eq 2 ] && grep -q 'no display' "$work/window.err" ||
  problem "the window without a display ended with $status: $(cat "$work/window.err")"

# The designer's command line.
program_name=wharfdraft
for arguments in --help -h; do
  run help "$arguments"
  [ "$status" -eq 0 ] && grep -q '^Usage: wharfdraft' "$work/help.out" && [ ! -s "$work/help.err" ] ||
    problem "wharfdraft $arguments ended with $status: $(cat "$work/help.out" "$work/help.err")"
done
grep -qF "Help: $program/Wharfdraft.html" "$work/help.out" || problem "wharfdraft --help names no help file"
run version --version
[ "$status" -eq 0 ] && grep -q '^wharfdraft .* 2\.0' "$work/version.out" ||
  problem "wharfdraft --version ended with $status: $(cat "$work/version.out" "$work/version.err")"
for arguments in "--bogus" "a.ddf b.ddf" "-x a.ddf"; do
  read -r -a words <<< "$arguments"
  run usage "${words[@]}"
  [ "$status" -eq 2 ] && grep -q '^Usage: wharfdraft' "$work/usage.err" && [ ! -s "$work/usage.out" ] ||
    problem "wharfdraft $arguments ended with $status: $(cat "$work/usage.err")"
done
run window
[ "$status" -eq 2 ] && grep -q 'no display' "$work/window.err" ||
  problem "the designer without a display ended with $status: $(cat "$work/window.err")"

# A display that is set but does not answer is no display either: a closed
# "ssh -X", DISPLAY=:0 in a container, a Wayland session without the
# Wayland plugin or compositor.
for variables in "DISPLAY=:59999" "DISPLAY=localhost:59000.0" "XDG_SESSION_TYPE=wayland WAYLAND_DISPLAY=wayland-9" \
  "QT_QPA_PLATFORM=wayland"; do
  read -r -a extra <<< "$variables"
  for program_name in wharfwright wharfdraft; do
    run window
    [ "$status" -eq 2 ] && grep -q 'no display' "$work/window.err" && ! grep -q 'Reinstalling' "$work/window.err" ||
      problem "$program_name with $variables ended with $status: $(cat "$work/window.err")"
  done
done
extra=()
program_name=wharfwright

# The window's start-up leaves no note about Qt's runtime folder and makes
# no /tmp/runtime-<user>: a window on Qt's offscreen platform, ended after
# a few seconds, with a home of its own (the window keeps recent files).
mkdir -m 1777 "$work/tmp"
mkdir "$work/window-home"
[ ${#runas[@]} -eq 0 ] || chown nobody: "$work/window-home"
for program_name in wharfwright wharfdraft; do
  extra=(HOME="$work/window-home" TMPDIR="$work/tmp")
  limit=4
  run offscreen -platform offscreen
  limit=240
  [ "$status" -eq 124 ] || problem "$program_name on the offscreen platform ended with $status: $(cat "$work/offscreen.err")"
  ! grep -qi 'runtime' "$work/offscreen.err" || problem "$program_name noted: $(cat "$work/offscreen.err")"
done
[ -z "$(ls -A "$work/tmp")" ] || problem "the window made $(ls -A "$work/tmp")"
extra=()
program_name=wharfwright

# A normal compile: only the compiler's lines, on the standard output.
run compile hello/hello.wfp -c
cat "$work/compile.out" "$work/compile.err"
[ "$status" -eq 0 ] || problem "the batch compile ended with status $status"
grep -q "Compilation finished" "$work/compile.out" || problem "the compile did not finish"
[ ! -s "$work/compile.err" ] || problem "the compile wrote to the error output: $(cat "$work/compile.err")"
for name in setup.exe setup0.lib setup.0; do
  [ -s "$home/hello/output/$name" ] || problem "the setup lacks $name"
done
for file in hello.wfp notes.txt files/hello.txt; do
  cmp -s "$work/authored/$file" "$home/hello/$file" || problem "the author's $file changed"
done
log=$home/.local/state/brindlewharf/wharfforge.log
[ -s "$log" ] || problem "no compile log $log"
! left_behind || problem "the normal compile left scratch in $runtime: $(ls -A "$runtime")"

# Any spelling of a project path names the one project, as CI scripts
# write them; a project given by a link is the file the link ends at, so
# its files and its output folder are taken from that file's folder.
for spelling in ./hello/hello.wfp hello//hello.wfp "../$(basename "$home")/hello/./hello.wfp" "$home/hello/../hello/hello.wfp"; do
  run spelling "$spelling" -c
  [ "$status" -eq 0 ] && grep -q "Compilation finished" "$work/spelling.out" ||
    problem "wharfwright $spelling -c ended with $status: $(cat "$work/spelling.err")"
done
run linked current.wfp -c
[ "$status" -eq 0 ] && [ -s "$home/releases/1.2/output/setup.exe" ] && [ ! -e "$home/output" ] ||
  problem "the linked release ended with $status: $(cat "$work/linked.err")"
[ -L "$home/current.wfp" ] || problem "the link to the release is gone"

# A folder, an unreadable file and a file that is no project each say why
# they are not compiled.
run folder hello -c
[ "$status" -eq 2 ] && grep -q 'is a folder' "$work/folder.err" ||
  problem "a folder as the project ended with $status: $(cat "$work/folder.err")"
run locked locked.wfp -c
[ "$status" -eq 2 ] && grep -q 'Permission denied' "$work/locked.err" ||
  problem "an unreadable project ended with $status: $(cat "$work/locked.err")"
run junk junk.wfp -c
[ "$status" -eq 2 ] && grep -q '^Answered No' "$work/junk.err" ||
  problem "a file that is no project ended with $status: $(cat "$work/junk.err")"

# An inherited runtime folder of another user ("su" without "-", "docker
# exec -u"), or one that is no folder: the compile works in the cache
# folder and says so in one line.
if [ ${#runas[@]} -eq 0 ]; then
  printf 'x' > "$work/other-runtime"
else
  mkdir -m 0700 "$work/other-runtime"
fi
extra=(XDG_RUNTIME_DIR="$work/other-runtime")
run otherruntime hello/hello.wfp -c
extra=()
[ "$status" -eq 0 ] && grep -q "Compilation finished" "$work/otherruntime.out" ||
  problem "the compile with another's runtime folder ended with $status: $(cat "$work/otherruntime.err")"
[ "$(wc -l < "$work/otherruntime.err")" -eq 1 ] && grep -q "^wharfwright: XDG_RUNTIME_DIR=.* can't be used" "$work/otherruntime.err" ||
  problem "the fallback from the runtime folder said: $(cat "$work/otherruntime.err")"
! left_behind || problem "the compile in the cache folder left scratch in $runtime: $(ls -A "$runtime")"

# A user without a home (system users have /nonexistent): nothing makes it,
# the run's files go to a private folder under the temporary folder.
extra=(HOME="$work/no-home" TMPDIR="$work/tmp")
run nohome hello/hello.wfp -c
extra=()
[ "$status" -eq 0 ] && grep -q "Compilation finished" "$work/nohome.out" ||
  problem "the compile without a home ended with $status: $(cat "$work/nohome.err")"
[ ! -e "$work/no-home" ] || problem "the compile made the missing home"
own_tmp=$(find "$work/tmp" -mindepth 1 -maxdepth 1 -name 'brindlewharf-*')
[ -n "$own_tmp" ] && [ "$(stat -c %a "$own_tmp")" = 700 ] && [ -s "$own_tmp/state/wharfforge.log" ] ||
  problem "the compile without a home kept no log in a private folder: $(ls -lA "$work/tmp")"

# A failed compile: the error lines on the error output, status 1.
run broken broken/hello.wfp -c
[ "$status" -eq 1 ] || problem "the failed compile ended with status $status"
grep -q '^ERROR: .*hello.txt does not exist' "$work/broken.err" ||
  problem "the failed compile named no missing file: $(cat "$work/broken.err")"
! grep -q "Compilation finished" "$work/broken.out" || problem "the failed compile said it finished"
! left_behind || problem "the failed compile left scratch in $runtime: $(ls -A "$runtime")"

# A compile ended by SIGTERM halfway, while its archive grows.
(cd "$home" && exec "${runas[@]}" env -i "${environment[@]}" wharfwright big/hello.wfp -c) \
  > "$work/big.out" 2> "$work/big.err" &
pid=$!
for _ in $(seq 1200); do
  [ -z "$(find "$runtime" -name bzout.tmp -size +100k 2>/dev/null)" ] || break
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
if kill -TERM "$pid" 2>/dev/null; then
  status=0
  wait "$pid" || status=$?
  [ "$status" -eq 143 ] || problem "the SIGTERM-ed compile ended with status $status, not by the signal"
  grep -q '^ERROR: Compilation terminated by user!' "$work/big.err" ||
    problem "the SIGTERM-ed compile did not stop as a stop answer does: $(cat "$work/big.err")"
  ! grep -q "Compilation finished" "$work/big.out" || problem "the SIGTERM-ed compile said it finished"
  [ -z "$(setup_files "$home/big/output")" ] || problem "the SIGTERM-ed compile left $(setup_files "$home/big/output")"
  ! left_behind || problem "the SIGTERM-ed compile left scratch in $runtime: $(ls -A "$runtime")"
else
  wait "$pid" || true
  problem "the big compile ended before it could be stopped: $(cat "$work/big.out")"
fi

# None of the batch compiles wrote a settings file.
[ ! -e "$home/.config" ] || problem "a batch compile wrote settings: $(find "$home/.config")"

# Run as root without a home, nothing makes one either.
if [ ${#runas[@]} -ne 0 ]; then
  cp -r --no-preserve=mode "$example" "$work/root-copy"
  mkdir "$work/root-tmp"
  status=0
  (cd "$work" && exec timeout 240 env -i PATH="$prefix/bin:/usr/bin:/bin" LANG=C.UTF-8 HOME="$work/root-home" \
    TMPDIR="$work/root-tmp" wharfwright root-copy/hello.wfp -c) > "$work/root.out" 2> "$work/root.err" || status=$?
  [ "$status" -eq 0 ] || problem "the compile as root without a home ended with $status: $(cat "$work/root.err")"
  [ ! -e "$work/root-home" ] || problem "a compile run as root made the missing home"
  rm -rf "$work/root-copy" "$work/root-tmp"
fi

snapshot > "$work/after.txt"
diff -u "$work/before.txt" "$work/after.txt" || problem "something under the prefix changed"

# --- Uninstalling by the manifest ------------------------------------------
# What stays: the folders, and the caches the desktop's tools made.
chmod -R u+w "$prefix"
xargs -d '\n' rm -f < "$work/manifest.txt"
while IFS= read -r -d '' file; do
  case ${file#"$prefix/"} in
    share/mime/packages/*) problem "the uninstall left $file" ;;
    share/mime/* | share/applications/mimeinfo.cache) ;;
    *) problem "the uninstall left $file" ;;
  esac
done < <(find "$prefix" ! -type d -print0)

if [ "$problems" -ne 0 ]; then
  echo "$problems problems" >&2
  exit 1
fi
echo "the read-only install compiled the example as $( [ ${#runas[@]} -eq 0 ] && id -un || echo nobody)"
