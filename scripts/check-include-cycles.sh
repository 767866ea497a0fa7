#!/usr/bin/env bash
# Fails when the files of a folder (app/ unless named) include each other in
# a circle. A header and its source count as one piece: X.cpp including Y.h
# and Y.cpp including X.h is a circle, as it is for the reader.
set -euo pipefail
cd "$(dirname "$0")/.."

folder=${1:-app}

# "X Y" for every piece X of the folder that includes the folder's Y.h.
edges=$(grep -rE --include='*.h' --include='*.cpp' '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$folder" |
    sed -E 's#^([^:]+)\.(h|cpp):[[:space:]]*\#[[:space:]]*include[[:space:]]*"([^"]+)\.h".*#\1 \3#' |
    awk -v folder="$folder/" '$2 ~ "^" folder && $1 != $2 && !seen[$0]++')

# tsort names the pieces of every loop it meets on its error output.
if ! loops=$(printf '%s\n' "$edges" | tsort 2>&1 >/dev/null) || [[ -n $loops ]]; then
    echo "The files of $folder/ include each other in a circle:" >&2
    echo "$loops" | grep -v "input contains a loop" | sed "s/^tsort: /  /" >&2
    exit 1
fi
