#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks the portable folder:
# the two programs, svd/, analyzer/, the python link, data/, the starting
# Corvane.ini, the desktop entry and icon; the installed corvane-cli runs, and
# a second install keeps the settings, data, SVD files and analyzer files the
# user has changed, putting the new versions of those beside them.
set -uo pipefail
cmake=$1
build=$2
source=$3
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

"$cmake" --install "$build" --prefix "$prefix" >/dev/null || { echo "FAIL: cmake --install" >&2; exit 1; }

for program in corvane corvane-cli; do
  [ -f "$prefix/$program" ] && [ -x "$prefix/$program" ] || fail "$program is not an executable in the folder"
done
for model in VX21A VX21B VX21C VX21D VX21E; do
  [ -f "$prefix/svd/$model.svd" ] || fail "svd/$model.svd missing"
done
[ -f "$prefix/analyzer/reg_analyzer.py" ] || fail "analyzer/reg_analyzer.py missing"
for model in vx21a vx21b vx21c vx21e; do
  [ -f "$prefix/analyzer/$model/analyzer_db.py" ] || fail "analyzer/$model/analyzer_db.py missing"
done
[ -L "$prefix/python/python" ] || fail "python/python is not a link"
[ "$("$prefix/python/python" -c 'import sys; print(sys.version_info[0])' 2>/dev/null)" = 3 ] ||
  fail "python/python does not run python 3"
[ -d "$prefix/data" ] || fail "data/ missing"
grep -q '^\[COMMON\]' "$prefix/Corvane.ini" 2>/dev/null || fail "Corvane.ini without a COMMON section"
grep -q '^DATA_TYPE=' "$prefix/Corvane.ini" 2>/dev/null || fail "Corvane.ini without DATA_TYPE"
grep -q '^Exec=corvane$' "$prefix/corvane.desktop" 2>/dev/null || fail "corvane.desktop does not start corvane"
grep -q '<svg' "$prefix/corvane.svg" 2>/dev/null || fail "corvane.svg is not an SVG picture"

help=$("$prefix/corvane-cli" --help 2>&1) || fail "installed corvane-cli --help exits with $?"
grep -q 'corvane-cli' <<<"$help" || fail "installed corvane-cli --help prints no usage: $help"

# What the user changed since: settings, a snapshot, an SVD file and the
# analyzer's database. VX21B.svd stands for a file an older version shipped
# and the user never touched: the record says that install put it there.
echo 'UART_PORT=/dev/ttyUSB7' >>"$prefix/Corvane.ini"
mkdir -p "$prefix/data/VX21A" && printf 'snap' >"$prefix/data/VX21A/UART0.bin"
echo '<!-- my correction -->' >>"$prefix/svd/VX21A.svd"
echo '# my module' >>"$prefix/analyzer/vx21a/analyzer_db.py"
printf 'older\n' >"$prefix/svd/VX21B.svd"
older=$(sha256sum "$prefix/svd/VX21B.svd" | cut -d' ' -f1)
sed -i "s|^[0-9a-f]* svd/VX21B.svd\$|$older svd/VX21B.svd|" "$prefix/.shipped-files"
rm "$prefix/svd/VX21D.svd"

output=$("$cmake" --install "$build" --prefix "$prefix" 2>&1) || fail "second cmake --install: $output"
grep -q '^UART_PORT=/dev/ttyUSB7$' "$prefix/Corvane.ini" || fail "a second install replaced the user's Corvane.ini"
[ "$(cat "$prefix/data/VX21A/UART0.bin" 2>/dev/null)" = snap ] || fail "a second install lost data/"
tail -n 1 "$prefix/svd/VX21A.svd" | grep -q 'my correction' || fail "a second install replaced the edited svd/VX21A.svd"
tail -n 1 "$prefix/analyzer/vx21a/analyzer_db.py" | grep -q 'my module' ||
  fail "a second install replaced the edited analyzer/vx21a/analyzer_db.py"
cmp -s "$source/svd/VX21A.svd" "$prefix/svd/VX21A.svd.new" || fail "the new svd/VX21A.svd is not beside the edited one"
cmp -s "$source/analyzer/vx21a/analyzer_db.py" "$prefix/analyzer/vx21a/analyzer_db.py.new" ||
  fail "the new analyzer_db.py is not beside the edited one"
cmp -s "$source/svd/VX21B.svd" "$prefix/svd/VX21B.svd" || fail "the untouched older svd/VX21B.svd was not updated"
cmp -s "$source/svd/VX21D.svd" "$prefix/svd/VX21D.svd" || fail "the removed svd/VX21D.svd was not installed again"
news=$(cd "$prefix" && find . -name '*.new' | sort | tr '\n' ' ')
[ "$news" = "./analyzer/vx21a/analyzer_db.py.new ./svd/VX21A.svd.new " ] || fail "unexpected .new files: $news"
said=$(grep -c '\.new' <<<"$output")
[ "$said" -eq 1 ] || fail "the install said $said lines about .new files: $output"
grep '\.new' <<<"$output" | grep 'svd/VX21A.svd' | grep -q 'analyzer/vx21a/analyzer_db.py' ||
  fail "the install's line does not name both kept files: $output"

# Installed again as it is: the edits stay, nothing else is kept aside.
"$cmake" --install "$build" --prefix "$prefix" >/dev/null 2>&1 || fail "third cmake --install"
tail -n 1 "$prefix/svd/VX21A.svd" | grep -q 'my correction' || fail "a third install replaced the edited svd/VX21A.svd"
[ ! -e "$prefix/svd/VX21B.svd.new" ] || fail "a third install put a .new beside a shipped file"

[ "$failures" -eq 0 ] && echo "portable folder complete"
exit "$failures"
