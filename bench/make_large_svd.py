#!/usr/bin/env python3
"""Writes a large, well-formed CMSIS-SVD file for the XML and SVD benchmarks.

Deterministic for a given set of arguments: many peripherals, each with many
registers and fields, long multi-line descriptions (with the ten-space runs the
reader removes), enumerated values, comments and entity references.
"""
import argparse
import random

WORDS = ("control status enable interrupt flag clear set mode select clock divider "
         "prescaler channel buffer transfer receive transmit counter compare capture "
         "timer watchdog reset value register field bit write read only access when "
         "the of and is to in for this a an by when configured").split()


def sentence(rng, count):
    return " ".join(rng.choice(WORDS) for _ in range(count))


def description(rng, indent):
    lines = [sentence(rng, rng.randint(8, 16)) for _ in range(rng.randint(1, 3))]
    text = ("\n" + " " * indent).join(lines)
    if rng.random() < 0.3:
        text += " (see &lt;note&gt; &amp; table)"
    return text


def field(rng, out, index, bit, width):
    out.append("            <field>\n")
    out.append(f"              <name>F{index}_{rng.choice(WORDS).upper()}</name>\n")
    out.append(f"              <description>{description(rng, 14)}</description>\n")
    out.append(f"              <bitOffset>{bit}</bitOffset>\n")
    out.append(f"              <bitWidth>{width}</bitWidth>\n")
    out.append("              <access>read-write</access>\n")
    if rng.random() < 0.25:
        out.append("              <enumeratedValues>\n")
        for value in range(min(4, 1 << width)):
            out.append("                <enumeratedValue>\n")
            out.append(f"                  <name>V{value}</name>\n")
            out.append(f"                  <description>{sentence(rng, 6)}</description>\n")
            out.append(f"                  <value>{value}</value>\n")
            out.append("                </enumeratedValue>\n")
        out.append("              </enumeratedValues>\n")
    out.append("            </field>\n")


def register(rng, out, index, fields):
    out.append("        <register>\n")
    out.append(f"          <name>REG{index}</name>\n")
    out.append(f"          <description>{description(rng, 10)}          padded</description>\n")
    out.append(f"          <addressOffset>0x{index * 4:X}</addressOffset>\n")
    out.append("          <size>32</size>\n")
    out.append("          <resetValue>0x00000000</resetValue>\n")
    out.append("          <fields>\n")
    bit = 0
    for f in range(fields):
        width = rng.randint(1, 4)
        if bit + width > 32:
            break
        field(rng, out, f, bit, width)
        bit += width + rng.randint(0, 2)
    out.append("          </fields>\n")
    out.append("        </register>\n")


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("output")
    parser.add_argument("--peripherals", type=int, default=100)
    parser.add_argument("--registers", type=int, default=8)
    parser.add_argument("--fields", type=int, default=6)
    parser.add_argument("--seed", type=int, default=21)
    args = parser.parse_args()
    rng = random.Random(args.seed)

    out = ['<?xml version="1.0" encoding="utf-8"?>\n',
           '<!-- Generated benchmark device, not a real chip. -->\n',
           '<device schemaVersion="1.3" xmlns:xs="http://www.w3.org/2001/XMLSchema-instance">\n',
           "  <name>VX21BENCH</name>\n  <version>1.0</version>\n",
           "  <addressUnitBits>8</addressUnitBits>\n  <width>32</width>\n",
           "  <peripherals>\n"]
    for p in range(args.peripherals):
        out.append("    <peripheral>\n")
        out.append(f"      <name>PERIPH{p}</name>\n")
        out.append(f"      <description>{description(rng, 8)}</description>\n")
        out.append(f"      <baseAddress>0x{0x40000000 + p * 0x1000:08X}</baseAddress>\n")
        out.append("      <addressBlock><offset>0</offset><size>0x1000</size><usage>registers</usage></addressBlock>\n")
        out.append(f"      <interrupt><name>PERIPH{p}_IRQ</name><value>{p}</value></interrupt>\n")
        out.append("      <registers>\n")
        for r in range(args.registers):
            register(rng, out, r, args.fields)
        out.append("      </registers>\n")
        out.append(f"    </peripheral> <!-- PERIPH{p} -->\n")
    out.append("  </peripherals>\n</device>\n")
    with open(args.output, "w", encoding="utf-8", newline="\n") as f:
        f.write("".join(out))


if __name__ == "__main__":
    main()
