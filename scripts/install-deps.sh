#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need.
# Does nothing (and needs no network) when they are all present already.
set -euo pipefail

packages=(
  cmake g++ ninja-build pkg-config
  qt6-base-dev qt6-serialport-dev qt6-charts-dev libqt6opengl6-dev
  # lupdate and lrelease, and CMake's qt_add_translations (translations/).
  qt6-l10n-tools qt6-tools-dev
  # Qt's own texts in Chinese (message box buttons, file dialogs, system menus).
  qt6-translations-l10n
  libgtest-dev libgmock-dev libbenchmark-dev
  python3
  qemu-system-arm gcc-arm-none-eabi libnewlib-arm-none-eabi
  # The fonts the drawn tests read their pixels from: a monospaced one for
  # the values and one for the Chinese texts. Others (fonts-noto-mono, ...)
  # may be there too: the tests hold on any of them.
  fonts-dejavu-core fonts-noto-cjk
  libdw-dev libelf-dev
)
# Extra groups on request: "bench" (yardsticks), "fuzz" (clang's libFuzzer),
# "format" (the layout check), "gui" (screenshots under Xvfb, driven by xdotool).
for group in "$@"; do
  case "$group" in
    bench) packages+=(libpugixml-dev gdb-multiarch) ;;
    fuzz) packages+=(clang libclang-rt-14-dev) ;;
    format) packages+=(clang-format) ;;
    gui) packages+=(xvfb xauth xdotool) ;;
    *) echo "unknown package group: $group" >&2; exit 2 ;;
  esac
done

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
