#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks the portable folder:
# the two programs, svd/, analyzer/, the python link, data/, the starting
# Corvane.ini, the desktop entry and icon; the installed corvane-cli runs, and
# a second install keeps the settings the user has changed.
set -uo pipefail
cmake=$1
build=$2
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

echo 'UART_PORT=/dev/ttyUSB7' >>"$prefix/Corvane.ini"
"$cmake" --install "$build" --prefix "$prefix" >/dev/null || fail "second cmake --install"
grep -q '^UART_PORT=/dev/ttyUSB7$' "$prefix/Corvane.ini" || fail "a second install replaced the user's Corvane.ini"

[ "$failures" -eq 0 ] && echo "portable folder complete"
exit "$failures"
