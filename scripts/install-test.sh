#!/usr/bin/env bash
# The install as an ordinary user meets it: installs the build into a scratch
# prefix, checks that the install is complete, makes the prefix read-only and
# compiles the installed example project with the installed editor's batch
# compile, found on the PATH. Run as root, the compile runs as "nobody";
# otherwise as the calling user. Nothing under the prefix may change, the
# setup must be complete, and what the run writes goes into the user's own
# folders.
#
#   install-test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1
source=$2

work=$(mktemp -d)
cleanup() {
  chmod -R u+w "$work" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
# The unprivileged user must reach the prefix and its home below.
chmod 755 "$work"
prefix=$work/prefix
problems=0
problem() {
  echo "FAILED: $*" >&2
  problems=$((problems + 1))
}

if ! cmake --install "$build" --prefix "$prefix" > "$work/install.log" 2>&1; then
  cat "$work/install.log"
  echo "FAILED: cmake --install" >&2
  exit 1
fi

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

# Every file the build put into its program folder is installed as it is,
# but for what runs in the build tree leave behind.
while IFS= read -r -d '' file; do
  relative=${file#"$build/program/"}
  case /$relative/ in
    */Temp/* | */Debug/* | *.tmp/ | *.log/ | /wharfforge-example/) continue ;;
  esac
  cmp -s "$file" "$program/$relative" || problem "the program folder lacks $relative or holds another one"
done < <(find "$build/program" -type f -print0)
for name in libwharfforge.so setup.bin setupldr.bin selfext.bin regserv.bin default.wfp default.ctl; do
  [ -f "$program/$name" ] || problem "the program folder lacks $name"
done
for name in Temp Debug wftemp.tmp wharfforge.log wharfforge-example; do
  [ ! -e "$program/$name" ] || problem "a file of the build tree's runs was installed: $name"
done

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
  grep -qx "Exec=$prefix/bin/$name %f" "$desktop" || problem "$desktop does not start $prefix/bin/$name"
  grep -qx "Icon=$name" "$desktop" || problem "$desktop names no icon $name"
done
grep -qx "MimeType=application/x-wharfwright-project;" "$share/applications/wharfwright.desktop" ||
  problem "the editor's desktop file names no project type"
grep -qx "MimeType=application/x-wharfdraft-dialog;" "$share/applications/wharfdraft.desktop" ||
  problem "the designer's desktop file names no dialog type"

mime=$share/mime/packages/brindlewharf.xml
if [ -f "$mime" ]; then
  if command -v xmllint > /dev/null; then
    xmllint --noout "$mime" || problem "$mime is no XML"
  fi
  # The desktop's own tool reads the types and maps the file names to them.
  if command -v update-mime-database > /dev/null; then
    mkdir -p "$work/mime/packages"
    cp "$mime" "$work/mime/packages/"
    update-mime-database "$work/mime" > "$work/mime.log" 2>&1 ||
      { cat "$work/mime.log"; problem "update-mime-database refuses $mime"; }
    grep -q "application/x-wharfwright-project:\*\.wfp" "$work/mime/globs2" || problem "*.wfp is no project type"
    grep -q "application/x-wharfdraft-dialog:\*\.ddf" "$work/mime/globs2" || problem "*.ddf is no dialog type"
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

if [ "$problems" -ne 0 ]; then
  echo "the install is incomplete ($problems problems)" >&2
  exit 1
fi

# --- A read-only install used by an ordinary user -------------------------
chmod -R a-w "$prefix"
snapshot() {
  (cd "$prefix" && find . -printf '%y %m %s %T@ %p %l\n' | LC_ALL=C sort &&
    find . -type f -exec sha256sum {} + | LC_ALL=C sort -k 2)
}
snapshot > "$work/before.txt"

home=$work/home
mkdir "$home"
cp -r "$example" "$home/hello"
chmod -R u+w "$home/hello"
printf 'my own notes\n' > "$home/hello/notes.txt"
cp -r "$home/hello" "$work/authored"
runas=()
if [ "$(id -u)" -eq 0 ]; then
  chown -R nobody: "$home"
  runas=(setpriv --reuid="$(id -u nobody)" --regid="$(id -g nobody)" --clear-groups --)
fi
# A clean environment: the user's folders are the defaults under HOME, and
# the sanitizers keep their options when the build uses them.
environment=(HOME="$home" PATH="$prefix/bin:/usr/bin:/bin" LANG=C.UTF-8 QT_QPA_PLATFORM=offscreen)
for name in ASAN_OPTIONS LSAN_OPTIONS UBSAN_OPTIONS; do
  [ -z "${!name:-}" ] || environment+=("$name=${!name}")
done

status=0
(cd "$home" && "${runas[@]}" env -i "${environment[@]}" wharfwright hello/hello.wfp -c) \
  > "$work/compile.txt" 2>&1 || status=$?
cat "$work/compile.txt"
snapshot > "$work/after.txt"

[ "$status" -eq 0 ] || problem "the batch compile ended with status $status"
grep -q "Compilation finished" "$work/compile.txt" || problem "the compile did not finish"
for name in setup.exe setup0.lib setup.0; do
  [ -s "$home/hello/output/$name" ] || problem "the setup lacks $name"
done
diff -u "$work/before.txt" "$work/after.txt" || problem "something under the prefix changed"
for file in hello.wfp notes.txt files/hello.txt; do
  cmp -s "$work/authored/$file" "$home/hello/$file" || problem "the author's $file changed"
done
log=$home/.local/state/brindlewharf/wharfforge.log
[ -s "$log" ] || problem "no compile log $log"
runtime=$home/.cache/brindlewharf
if [ -d "$runtime" ] && [ -n "$(ls -A "$runtime")" ]; then
  problem "scratch files were left in $runtime: $(ls -A "$runtime")"
fi

if [ "$problems" -ne 0 ]; then
  echo "$problems problems" >&2
  exit 1
fi
echo "the read-only install compiled the example as $( [ ${#runas[@]} -eq 0 ] && id -un || echo nobody)"
