#!/usr/bin/env bash
# Builds Corvane, lays out its portable folder and starts the demo board: a
# simulated VX21A chip on a pseudo-terminal, which Corvane.ini points at.
# With --qemu the board is QEMU's mps2-an505 (a Cortex-M33) running the
# counter firmware, reached through its GDB server (chip AN505, data source
# GDB).
set -euo pipefail
cd "$(dirname "$0")/.."
qemu=0
[ "${1:-}" = "--qemu" ] && qemu=1
scripts/install-deps.sh
build=${CORVANE_DEMO_BUILD:-build/demo}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVANE_TESTS=OFF >/dev/null
cmake --build "$build"
# The portable folder: the programs, Corvane.ini (kept once there), the
# chips' SVD files, the analyzer of the IP check and its interpreter, data/.
cmake --install "$build" --prefix "$build/portable" >/dev/null
home=$(cd "$build/portable" && pwd)
# First start: two register windows with a few VX21A peripherals in them,
# and a memory window on the RAM (on QEMU's board its firmware's counters).
if ! grep -q '^\[VX21A\]' "$home/Corvane.ini"; then
  printf '\n[VX21A]\nWND_0=1\nWND_1=1\nRCC=1\nGPIOA=1\nUSART1=2\nTIM2=2\n' >>"$home/Corvane.ini"
  sed -i 's|^\[COMMON\]$|[COMMON]\nMEM_WND_1=20000000|' "$home/Corvane.ini"
fi
# The probe library is the stand-in the build made: no J-Link message at
# start, and the data source "JLINK读取" works on its simulated memory.
standin=$(cd "$build/bin" && pwd)/libjlinkarm.so
if grep -q '^JLINKDLL=' "$home/Corvane.ini"; then
  sed -i "s|^JLINKDLL=.*|JLINKDLL=$standin|" "$home/Corvane.ini"
else
  sed -i "s|^\[COMMON\]\$|[COMMON]\nJLINKDLL=$standin|" "$home/Corvane.ini"
fi

# Points Corvane.ini at QEMU: chip AN505 selected, data source GDB, and a
# register window with the board's timer, SysTick and system control block.
use_qemu_board() {
  python3 - "$home/Corvane.ini" "$1" <<'PY'
import re, sys
path, server = sys.argv[1], sys.argv[2]
text = open(path, encoding="utf-8").read()
def section(name):
    m = re.search(r"^\[" + name + r"\]\n((?:(?!\[).*\n?)*)", text, re.M)
    return m
def set_key(name, key, value):
    global text
    m = section(name)
    body = m.group(1)
    if re.search(r"^" + key + r"=.*$", body, re.M):
        body = re.sub(r"^" + key + r"=.*$", key + "=" + value, body, count=1, flags=re.M)
    else:
        gap = "\n" if body.endswith("\n\n") else ""
        body = body.rstrip("\n") + "\n" + key + "=" + value + "\n" + gap
    text = text[:m.start(1)] + body + text[m.end(1):]
chips = section("CHIP_TYPE").group(1)
num = int(re.search(r"^NUM=(\d+)", chips, re.M).group(1))
names = dict(re.findall(r"^CHIP_(\d+)=(.*)$", chips, re.M))
index = next((int(k) for k, v in names.items() if v == "AN505"), None)
if index is None:
    index = num
    set_key("CHIP_TYPE", "CHIP_%d" % index, "AN505")
    set_key("CHIP_TYPE", "NUM", str(num + 1))
set_key("CHIP_TYPE", "SEL", str(index))
set_key("COMMON", "DATA_TYPE", "3")
set_key("COMMON", "GDB_SERVER", server)
if not section("AN505"):
    text = text.rstrip("\n") + "\n\n[AN505]\nWND_0=1\nTIMER0=1\nSYSTICK=1\nSCB=1\n"
open(path, "w", encoding="utf-8").write(text)
PY
}

if [ $qemu = 1 ]; then
  command -v qemu-system-arm >/dev/null || { echo "qemu-system-arm is missing (scripts/install-deps.sh)" >&2; exit 1; }
  port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
  board_args=(-M mps2-an505 -nographic -monitor none -serial none -gdb "tcp:127.0.0.1:$port")
  if [ -f "$build/bin/an505-counter.elf" ]; then
    board_args+=(-kernel "$build/bin/an505-counter.elf")
  else
    board_args+=(-S)  # no cross compiler: an idle board, halted
  fi
  qemu-system-arm "${board_args[@]}" &
  chip=$!
  trap 'kill $chip 2>/dev/null' EXIT
  use_qemu_board "127.0.0.1:$port"
  sleep 1
  echo "Demo board: QEMU mps2-an505 (Cortex-M33), GDB server 127.0.0.1:$port (data source GDB, see $home/Corvane.ini)."
  if [ -x "$home/corvane" ] && [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    "$home/corvane"
  else
    cli="$home/corvane-cli --home $home"
    echo
    echo "$ corvane-cli read E000ED00 4      # CPUID of the Cortex-M33"
    $cli read E000ED00 4 || true
    echo "$ corvane-cli read 20000000 10     # the firmware's counters"
    $cli read 20000000 10 || true
    echo "$ corvane-cli read 40000000 10     # CMSDK timer 0"
    $cli read 40000000 10 || true
    if [ -x "$home/corvane" ]; then
      echo
      echo "No display found for the window. Run under a virtual one:  xvfb-run -a $0 --qemu" >&2
    else
      echo
      echo "Press Ctrl+C to stop the board."
      wait $chip
    fi
  fi
  exit 0
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
echo "Tick 监视 at the top of window_1 to watch TIM2: its counter CNT changes, drawn highlighted."
echo "The memory window memory_1 shows the RAM: type hex digits over a byte to write it, Ctrl+G TIM2 to go to the timer."
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
  echo "  $cli watch --interval 500 TIM1 TIM2"
  echo "  $cli dump TIM2 40 --unit 4"
  echo
  echo "$ corvane-cli read 20000000 40"
  $cli read 20000000 40 || true
  echo
  echo "Press Ctrl+C to stop the chip."
  wait $chip
fi
