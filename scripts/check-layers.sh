#!/usr/bin/env bash
# Fails when a folder includes what its layer may not. The layers, lowest first:
#   link/, xml/                    project headers of their own folder only
#   regmap/, ops/, ipcheck/        link/, xml/ and their own folder; ops/ also
#                                  regmap/
#   memview/                       link/, xml/, regmap/, ops/ and its own folder
#   link, xml, regmap, ops, memview, ipcheck
#                                  Qt headers of QtCore only (ipcheck/ui/ is a window)
#   all but app/, widgets/, ipcheck/ui/, tests/, bench/
#                                  no QtWidgets header, nothing from app/ or widgets/
#   app/                           no circle of files including each other; the workspace
#                                  (Workspace, TargetActionRunner, RegisterWindows, UserProfile)
#                                  QtCore only
set -euo pipefail
cd "$(dirname "$0")/.."

failures=0

# Prints "file:line:"header" or "file:line:<header" for every include under
# the folder, sources only: a quote marks the project's own headers.
includes() {
    local folder=$1
    shift
    grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]' "$folder" --include='*.h' --include='*.cpp' "$@" |
        sed -E 's/^([^:]+:[0-9]+):[[:space:]]*#[[:space:]]*include[[:space:]]*([<"])([^>"]+)[>"].*/\1:\2\3/'
}

# Reports every project include of the folder whose top folder is not allowed.
allow_project() {
    local folder=$1 pattern=$2
    shift 2
    local bad
    bad=$(includes "$folder" "$@" | awk -F: -v allowed="^\"($pattern)" '$3 ~ /^"/ && $3 !~ allowed' || true)
    if [[ -n $bad ]]; then
        echo "$folder may include only ${pattern//|/, }:" >&2
        echo "$bad" >&2
        failures=1
    fi
}

allow_project link 'link/'
allow_project xml 'xml/'
allow_project regmap 'link/|xml/|regmap/'
allow_project ops 'link/|xml/|regmap/|ops/'
allow_project memview 'link/|xml/|regmap/|ops/|memview/'
allow_project ipcheck 'link/|xml/|ipcheck/' --exclude-dir=ui

headers=$(qtpaths6 --query QT_INSTALL_HEADERS 2>/dev/null || echo /usr/include/x86_64-linux-gnu/qt6)
if [[ ! -d $headers/QtCore || ! -d $headers/QtWidgets ]]; then
    echo "Qt headers not found under $headers" >&2
    exit 1
fi

# Reports every Qt include of the folders that is not a header of the module.
qt_only() {
    local module=$1
    shift
    local bad
    bad=$(for folder in "$@"; do includes "$folder" --exclude-dir=ui; done |
        awk -F: '$3 ~ /^<Q/' | while IFS=: read -r file line header; do
            header=${header#<}
            [[ -e $headers/$module/${header#"$module"/} ]] || echo "$file:$line:$header"
        done)
    if [[ -n $bad ]]; then
        echo "Logic folders use $module only:" >&2
        echo "$bad" >&2
        failures=1
    fi
}

qt_only QtCore link xml regmap ops memview ipcheck

# Below the windows nothing reaches a widget, directly or through app/ and widgets/.
widgetsBelow=$(find . -mindepth 1 -maxdepth 1 -type d ! -name '.*' ! -name build ! -name app ! -name widgets \
    ! -name tests ! -name bench -print | sort | while read -r folder; do
    includes "$folder" --exclude-dir=ui | while IFS=: read -r file line header; do
        if [[ $header == '"app/'* || $header == '"widgets/'* || $header == '<QtWidgets'* ]] ||
            [[ $header == '<Q'* && -e $headers/QtWidgets/${header#<} ]]; then
            echo "$file:$line:$header"
        fi
    done
done)
if [[ -n $widgetsBelow ]]; then
    echo "Only app/, widgets/, ipcheck/ui/, tests/ and bench/ may use widgets:" >&2
    echo "$widgetsBelow" >&2
    failures=1
fi

# What the windows share, and how they reach each other, is QtCore only too.
shared=(app/Workspace.h app/Workspace.cpp app/TargetActionRunner.h app/TargetActionRunner.cpp
    app/RegisterWindows.h app/UserProfile.h)
sharedBad=$(grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*<Q' "${shared[@]}" |
    sed -E 's/^([^:]+:[0-9]+):.*<([^>]+)>.*/\1:\2/' | while IFS=: read -r file line header; do
    [[ -e $headers/QtCore/$header ]] || echo "$file:$line:$header"
done)
if [[ -n $sharedBad ]]; then
    echo "The workspace and the interfaces between windows use QtCore only:" >&2
    echo "$sharedBad" >&2
    failures=1
fi

scripts/check-include-cycles.sh app || failures=1

exit $failures
