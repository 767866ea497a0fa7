#!/usr/bin/env bash
# Builds every test with address and undefined-behaviour sanitizers and runs them.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh gui  # gui: Xvfb and xdotool for the screenshot tests; the fonts come always
build=${CORVANE_TEST_BUILD:-build/test}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCORVANE_SANITIZE=ON -DCORVANE_TESTS=ON
cmake --build "$build"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure -j "$(nproc)" --timeout 300
