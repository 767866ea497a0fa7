#!/usr/bin/env bash
# Builds Corvane and starts its demo board: a simulated VX21A chip on a
# pseudo-terminal. Until the windows exist, this prints how to reach the chip.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
build=${CORVANE_DEMO_BUILD:-build/demo}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVANE_TESTS=OFF
cmake --build "$build"
if [ -x "$build/bin/corvane-simchip" ]; then
  exec "$build/bin/corvane-simchip" --model VX21A --demo
fi
echo "Built into $build/bin; the simulated chip is not part of this build yet."
