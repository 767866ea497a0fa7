#!/usr/bin/env bash
# Builds the fuzz targets with clang and libFuzzer and runs each one for
# SECONDS (default 60), one after the other, starting from its seeds
# (fuzz/corpus/<target>) and its dictionary (fuzz/<name>.dict). New inputs
# go to build/fuzz/corpus/<target>, crashes to build/fuzz/findings/.
#   scripts/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
[ $# -gt 0 ] && shift
scripts/install-deps.sh fuzz
build=${CORVANE_FUZZ_BUILD:-build/fuzz}
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCORVANE_FUZZ=ON -DCORVANE_TESTS=OFF >/dev/null
cmake --build "$build" --target fuzz_targets

if [ $# -gt 0 ]; then
  targets=("$@")
else
  read -r -a targets <<<"$(sed -n 's/^set(CORVANE_FUZZ_TARGETS \(.*\))$/\1/p' fuzz/Targets.cmake)"
fi
mkdir -p "$build/findings"
failed=()
for target in "${targets[@]}"; do
  work="$build/corpus/$target"
  mkdir -p "$work"
  options=(-max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 -print_final_stats=1
    -artifact_prefix="$build/findings/$target-")
  dict=fuzz/${target%_fuzz}.dict
  [ -f "$dict" ] && options+=(-dict="$dict")
  case "$target" in
    xml_fuzz) options+=(-max_len=16384) ;;
    snapshot_fuzz) options+=(-max_len=20000) ;;
    *) options+=(-max_len=4096) ;;
  esac
  echo "== $target for $seconds s"
  log="$build/findings/$target.log"
  if "$build/bin/$target" "$work" "fuzz/corpus/$target" "${options[@]}" >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "$target: clean, $runs runs ($(find "$work" -type f | wc -l) inputs in $work)"
  else
    echo "$target: FAILED, see $log and $build/findings/$target-*" >&2
    tail -n 40 "$log" >&2
    failed+=("$target")
  fi
done
[ ${#failed[@]} -eq 0 ] || { echo "findings in: ${failed[*]}" >&2; exit 1; }
