#!/usr/bin/env python3
"""Sample register analyzer of the Corvane IP check.

Usage: reg_analyzer.py CHIP IP --port=PORT --baudrate=SPEED

Checks one IP block of a VX21 chip and prints its findings, one per line,
tagged [INFO], [ERROR], [WARN] or [Suggestion]. Register values come from the
reset values of the model's SVD file; when PORT names a device that exists,
the analyzer looks at it briefly and falls back to reset values when no board
answers, so it always finishes quickly.
"""

import argparse
import os
import select
import sys
import xml.etree.ElementTree as ElementTree

HERE = os.path.dirname(os.path.abspath(__file__))
PREFIXES = ("", "HPSYS_", "LPSYS_")

# Findings per rule family: (tag, text). {ip} is the IP block's name.
RULES = {
    "usart": [
        ("WARN", "{ip}: BRR is 0, the baud rate divider is not set"),
        ("Suggestion", "{ip}: enable the clock in HPSYS_RCC.ENR1 before writing BRR"),
    ],
    "i2c": [
        ("WARN", "{ip}: CR.SCLE is 0, the unit cannot drive SCL"),
        ("Suggestion", "{ip}: set CR.MODE to 1 for 400 kHz fast mode"),
    ],
    "spi": [
        ("Suggestion", "{ip}: TOP_CTRL.DSS is 0, frames are 4 bits wide; 8-bit frames need DSS = 7"),
    ],
    "gpio": [
        ("INFO", "{ip}: every pin is an input (DOER0 = 0x00000000)"),
    ],
    "rcc": [
        ("ERROR", "{ip}: ENR1 = 0x00000000, no peripheral clock is enabled"),
        ("Suggestion", "{ip}: enable the clocks of the blocks in use before configuring them"),
    ],
    "cfg": [
        ("INFO", "{ip}: IDR = 0x00000000, revision and package unknown"),
        ("WARN", "{ip}: boot mode pin reads 0 (boot from flash)"),
    ],
    "dmac": [
        ("WARN", "{ip}: channel 1 is disabled (CCR1.EN = 0)"),
    ],
    "gptim": [
        ("ERROR", "{ip}: ARR = 0 with CR1.CEN = 0, the counter would never reload"),
    ],
    "btim": [
        ("Suggestion", "{ip}: start the counter with CR1.CEN = 1"),
    ],
    "wdt": [
        ("ERROR", "{ip}: WDT_CVR0.VAL = 0, the watchdog fires at once when started"),
        ("Suggestion", "{ip}: load a reload value before enabling the watchdog"),
    ],
    "aon": [
        ("INFO", "{ip}: PMR.MODE = 0, active mode"),
    ],
}


def model_folder(chip):
    return os.path.join(HERE, chip.lower())


def known_families(chip):
    """The families of the model's database, read the way the IP check reads it."""
    path = os.path.join(model_folder(chip), "analyzer_db.py")
    families = []
    try:
        with open(path, encoding="utf-8", errors="replace") as database:
            for line in database:
                words = line.split()
                if len(words) >= 3 and words[0] == "from" and words[2] == "import":
                    families.append(words[1].replace(".", ""))
    except OSError:
        return None
    return families


def family_of(ip, families):
    for family in families:
        for prefix in PREFIXES:
            if ip.upper().startswith((prefix + family).upper()):
                return family
    return None


def register_count(chip, ip):
    """Number of registers the SVD file gives the block, following derivedFrom."""
    svd = os.path.join(model_folder(chip), "%s.svd" % (chip[:-1].upper() + chip[-1:].lower()))
    try:
        root = ElementTree.parse(svd).getroot()
    except (OSError, ElementTree.ParseError):
        return None
    peripherals = {p.findtext("name"): p for p in root.iter("peripheral")}
    peripheral = peripherals.get(ip)
    if peripheral is None:
        return None
    source = peripherals.get(peripheral.get("derivedFrom"), peripheral)
    return len(source.findall("./registers/register"))


def probe_port(port):
    """True when a board answered on the port; never waits long."""
    if not port or not os.path.exists(port):
        return False
    try:
        handle = os.open(port, os.O_RDWR | os.O_NOCTTY | os.O_NONBLOCK)
    except OSError:
        return False
    try:
        ready, _, _ = select.select([handle], [], [], 0.1)
        return bool(ready) and bool(os.read(handle, 64))
    except OSError:
        return False
    finally:
        os.close(handle)


def main(argv):
    parser = argparse.ArgumentParser(description="VX21 register analyzer (sample)")
    parser.add_argument("chip")
    parser.add_argument("ip")
    parser.add_argument("--port", default="")
    parser.add_argument("--baudrate", default="")
    args = parser.parse_args(argv)

    families = known_families(args.chip)
    if families is None:
        print("[ERROR] %s: no analyzer database for this chip model" % args.chip, flush=True)
        return 2
    family = family_of(args.ip, families)
    if family is None:
        print("[ERROR] %s: %s is not known to the analyzer database" % (args.chip, args.ip), flush=True)
        return 2

    print("[INFO] analysing %s of %s (port %s, %s baud)" % (args.ip, args.chip, args.port or "-", args.baudrate or "-"))
    if probe_port(args.port):
        print("[INFO] %s: a board answered on %s; live values are not decoded by this sample" % (args.ip, args.port))
    else:
        print("[INFO] %s: no board on %s, reset values are used" % (args.ip, args.port or "-"))
    count = register_count(args.chip, args.ip)
    if count is not None:
        print("[INFO] %s: %d registers checked" % (args.ip, count))
    for tag, text in RULES.get(family, []):
        print("[%s] %s" % (tag, text.format(ip=args.ip)))
    print("[INFO] %s: done" % args.ip)
    sys.stdout.flush()
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
