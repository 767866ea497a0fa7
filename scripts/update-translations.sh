#!/usr/bin/env bash
# Brings translations/*.ts up to date with the texts marked in the sources
# (QT_TRANSLATE_NOOP in the catalogues, tr() in the windows): new texts come
# in unfinished, texts no longer in the sources are dropped. Translate the
# unfinished ones with Qt Linguist (linguist translations/corvane_en.ts), or
# in the XML, then build: CMake turns them into the program's .qm files.
#
#   scripts/update-translations.sh [TS_FILE...]   (default: every .ts file)
set -euo pipefail
cd "$(dirname "$0")/.."

lupdate=${LUPDATE:-}
if [ -z "$lupdate" ]; then
  for candidate in /usr/lib/qt6/bin/lupdate "$(command -v lupdate6 || true)" "$(command -v lupdate || true)"; do
    [ -n "$candidate" ] && [ -x "$candidate" ] && { lupdate=$candidate; break; }
  done
fi
[ -n "$lupdate" ] || { echo "lupdate not found: scripts/install-deps.sh installs it" >&2; exit 1; }

# The folders of the program and corvane-cli; tests and stand-ins show no texts.
sources=(link ops regmap memview ipcheck widgets app tools/cli)
files=("$@")
[ ${#files[@]} -gt 0 ] || files=(translations/*.ts)
"$lupdate" -silent -locations none -no-obsolete -extensions h,cpp "${sources[@]}" -ts "${files[@]}"
