#!/usr/bin/env bash
# Builds Corvane, lays out its portable folder and starts the demo board: a
# simulated VX21A chip on a pseudo-terminal, which Corvane.ini points at.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
build=${CORVANE_DEMO_BUILD:-build/demo}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVANE_TESTS=OFF >/dev/null
cmake --build "$build"
# The portable folder: the programs, Corvane.ini (kept once there), the
# chips' SVD files, the analyzer of the IP check and its interpreter, data/.
cmake --install "$build" --prefix "$build/portable" >/dev/null
home=$(cd "$build/portable" && pwd)
# First start: two register windows with a few VX21A peripherals in them.
if ! grep -q '^\[VX21A\]' "$home/Corvane.ini"; then
  printf '\n[VX21A]\nWND_0=1\nWND_1=1\nRCC=1\nGPIOA=1\nUSART1=2\nTIM2=2\n' >>"$home/Corvane.ini"
fi

chip_out=$(mktemp)
"$build/bin/corvane-simchip" --model VX21A --demo >"$chip_out" 2>/dev/null &
chip=$!
trap 'kill $chip 2>/dev/null; rm -f "$chip_out"' EXIT
for _ in $(seq 50); do
  [ -s "$chip_out" ] && break
  sleep 0.1
done
port=$(head -n 1 "$chip_out")
[ -n "$port" ] || { echo "the simulated chip did not start" >&2; exit 1; }
sed -i "s|^UART_PORT=.*|UART_PORT=$port|" "$home/Corvane.ini"

echo "Demo board: simulated VX21A on $port (data source UART, see $home/Corvane.ini)."
if [ -x "$home/corvane" ]; then
  if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found. Run under a virtual one:  xvfb-run -a $0" >&2
    echo "(scripts/install-deps.sh gui installs Xvfb and the fonts for the Chinese texts)" >&2
    exit 1
  fi
  "$home/corvane"
else
  cli="$home/corvane-cli --home $home"
  echo
  echo "Try it from another terminal while this one keeps the chip running:"
  echo "  $cli read 20000000 40"
  echo "  $cli write 20000000 12345678"
  echo "  $cli read-file 40000000 1000 /tmp/periph.bin"
  echo "  $cli watchdog-off"
  echo
  echo "$ corvane-cli read 20000000 40"
  $cli read 20000000 40 || true
  echo
  echo "Press Ctrl+C to stop the chip."
  wait $chip
fi
