#!/usr/bin/env bash
# Fails when a C++ file of the project differs from its .clang-format layout,
# printing the files and the difference.
set -euo pipefail
cd "$(dirname "$0")/.."

failures=0
while IFS= read -r -d '' file; do
    if ! clang-format --style=file "$file" | diff -u --label "$file" --label "$file (formatted)" "$file" - >&2; then
        failures=$((failures + 1))
    fi
done < <(git ls-files -z -- '*.cpp' '*.h')

if [[ $failures -ne 0 ]]; then
    echo "$failures file(s) differ from .clang-format; run: git ls-files '*.cpp' '*.h' | xargs clang-format -i" >&2
    exit 1
fi
echo "format check: every file follows .clang-format"
