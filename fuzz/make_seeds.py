#!/usr/bin/env python3
"""Writes the seed corpus of the fuzz targets (fuzz/corpus/<target>/), except
xml_fuzz's, whose seeds are files of their own. Each seed is a small case a
person would recognise; run it again after changing an input layout."""
import pathlib
import struct

top = pathlib.Path(__file__).resolve().parent
corpus = top / "corpus"


def put(target, name, data):
    folder = corpus / target
    folder.mkdir(parents=True, exist_ok=True)
    (folder / name).write_bytes(data if isinstance(data, bytes) else data.encode())


# config_fuzz: "SECTION<tab>KEY<tab>TEXT" line, then the file.
demo = (top.parent / "tools/demo/Corvane.ini").read_text(encoding="utf-8")
put("config_fuzz", "demo-port", "COMMON\tUART_PORT\t/dev/ttyUSB0\n" + demo)
put("config_fuzz", "demo-new-section", "VX21A\tWND_0\t1\n" + demo)
put("config_fuzz", "remove-duplicates", b"COMMON\tDATA_TYPE\t\n[COMMON]\r\nDATA_TYPE=2\r\nDATA_TYPE=3\r\n")
put("config_fuzz", "bom-lone-cr", b"new\tkey\t  spaced  \n\xef\xbb\xbf; note\r[a]\rk = 'v'\r[A]\rk=second")
put("config_fuzz", "quotes-unclosed", 'S\tK\t"quoted"\n[S]\nK = " x " \n[S\nX=1\n')
put("config_fuzz", "refused-name", "S]\tK\tv\n[S]\nK=1\n")
put("config_fuzz", "refused-text", b"S\tK\ta\x00b\n[S]\nK=1\n")
put("config_fuzz", "not-utf8", b"S\tK\tv\n[S]\nK=\xc4\xe3\n")
put("config_fuzz", "numbers", "COMMON\tJLINK_PORT\t4294967295\n[COMMON]\nJLINK_PORT=-2147483648\nX=0x10\nY=+12abc\n")
put("config_fuzz", "case-and-cjk", "common\tdata_type\t离线数据\n; top\nk=before any section\n[COMMON]\nDATA_TYPE=0\n[Chip_Type]\nNUM=2\n")
put("config_fuzz", "no-file", "COMMON\tHEX_DEC\t1")

# snapshot_fuzz: peripheral, number base, length of A (LE16), A, then B.
def snapshot(peripheral, base, a, b):
    return bytes([peripheral, base]) + struct.pack("<H", len(a)) + a + b


words = b"".join(struct.pack("<I", 0x01010101 * i ^ 0x80000021) for i in range(16))
other = b"".join(struct.pack("<I", 0x13579BDF + i) for i in range(16))
put("snapshot_fuzz", "wide-exact", snapshot(0, 1, words, other))
put("snapshot_fuzz", "wide-decimal-same", snapshot(0, 0, words, words))
put("snapshot_fuzz", "wide-short-files", snapshot(0, 1, words[:8], other[:5]))
put("snapshot_fuzz", "wide-long-files", snapshot(0, 1, words + other, other + words))
put("snapshot_fuzz", "wide-empty-files", snapshot(0, 1, b"", b""))
put("snapshot_fuzz", "tiny", snapshot(1, 1, b"\x34\x12", b"\x34\x12\xff\xff"))
put("snapshot_fuzz", "full-span", snapshot(2, 1, words, b"\xa5" * 16384))
put("snapshot_fuzz", "big-refused", snapshot(3, 1, words, other))
# WIDE with its 64-bit register whole: B differs from A in the upper word only.
wide64 = struct.pack("<II", 0x55667788, 0x11223344)
put("snapshot_fuzz", "wide-64-bit", snapshot(0, 1, words + wide64, words + struct.pack("<II", 0x55667788, 0xCAFEF00D)))

# analyzer_fuzz: the database, "\n%%\n", the SVD file; the whole is also
# the analyzer's output.
database = (top.parent / "analyzer/vx21a/analyzer_db.py").read_bytes()
svd = b"""<?xml version="1.0"?>
<device><name>VX21A</name><peripherals>
<peripheral><name>USART1</name></peripheral><peripheral><name>HPSYS_GPIO</name></peripheral>
<peripheral><name>lpsys_rcc</name></peripheral><peripheral><name>ADC</name></peripheral>
<peripheral><name>USART1</name></peripheral><peripheral></peripheral>
</peripherals></device>
"""
put("analyzer_fuzz", "database-and-svd", database + b"\n%%\n" + svd)
put("analyzer_fuzz", "odd-lines",
    b"from . import x\nimport from\r\nfrom  ada c . import *\nfrom gp\x00io import *\nfrom " + b"x" * 400
    + b" import y\nfro\n%%\n" + svd)
put("analyzer_fuzz", "output",
    b"[Error] USART1 CR wrong\r\n[Warning] x\n\n\n[Suggestion] y\n" + b"z" * 2600 + b"\ntail without end")

# uart_fuzz: layout and speed, three transfer sizes, four replies with a
# one-byte length before each: enter, read, write, read.
def head_le(n):
    return b"\x7e\x79" + struct.pack("<H", n) + b"\x10\x00"


def head_be(n):
    return b"\x7e\x79" + struct.pack(">H", n) + b"\x00\x00\x00\x00\x10\x00\x00\x00"


def uart(setting, sizes, replies):
    out = bytes([setting]) + bytes(sizes)
    for reply in replies:
        out += bytes([len(reply)]) + reply
    return out


def session(head, data_a, data_b):
    return [head(2) + b"\xd1\x06", head(len(data_a) + 2) + b"\xd2" + data_a + b"\x06",
            head(2) + b"\xd3\x06", head(len(data_b) + 2) + b"\xd2" + data_b + b"\x06"]


a4 = b"\x78\x56\x34\x12"
b8 = b"\x01\x02\x03\x04\x05\x06\x07\x08"
put("uart_fuzz", "little-exact", uart(0, [3, 7, 7], session(head_le, a4, b8)))
put("uart_fuzz", "big-exact", uart(1, [3, 7, 7], session(head_be, a4, b8)))
put("uart_fuzz", "little-fast-paced", uart(12, [3, 7, 7], session(head_le, a4, b8)))
noisy = session(head_le, a4, b8)
noisy[0] = b"\x00\x7e" + head_le(2)[:3] + noisy[0]
noisy[1] = b"\x7e\x79\x06" + noisy[1] + b"trailing"
noisy[2] = noisy[2][:-1] + b"\x15"
noisy[3] = noisy[3][:-3]
put("uart_fuzz", "little-noise-wrong-short", uart(0, [3, 7, 7], noisy))
other_layout = session(head_be, a4, b8)
put("uart_fuzz", "big-replies-to-little", uart(0, [3, 7, 7], other_layout))
put("uart_fuzz", "big-odd-count", uart(1, [2, 0, 5], session(head_be, a4, b8)))

# gdb_fuzz: even first byte, then the server's bytes; odd first byte, then
# the choices (no-ack, run-length, chatter, hex writes), the packet size
# (64 + 8 * n) and the memory.
def frame(payload):
    return b"$" + payload + b"#" + b"%02x" % (sum(payload) % 256)


memory = bytes(range(48)) + b"\x00" * 40 + b"$#}*" * 4
raw = (b"+" + frame(b"PacketSize=4000;QStartNoAckMode+") + b"+" + frame(b"OK") + frame(b"T05thread:p1f.01;")
       + frame(memory[:150].hex().encode()) + frame(memory[150:].hex().encode().ljust(300, b"0"))
       + frame(b"OK") + frame(b"OK"))
put("gdb_fuzz", "raw-session", b"\x00" + raw)
put("gdb_fuzz", "raw-runs-console-notice",
    b"\x00+" + frame(b"PacketSize=80") + b"+%Stop:T05#" + b"%02x" % (sum(b"Stop:T05") % 256)
    + b"+" + frame(b"S05") + b"+" + frame(b"O" + b"hello\n".hex().encode()) + frame(b"0* 1*!2*\"") + b"+" + frame(b""))
put("gdb_fuzz", "raw-bad-checksum-error", b"\x02+$PacketSize=100#00-+" + frame(b"E01") + frame(b"E.no target"))
put("gdb_fuzz", "raw-runs-malformed", b"\x00+" + frame(b"OK") + b"+" + frame(b"T05") + b"+" + frame(b"*~0*") + frame(b"0*\x1f"))
put("gdb_fuzz", "scripted-plain", b"\x01\x08\x00" + memory)
put("gdb_fuzz", "scripted-noack-runs-chatter", b"\x01\x07\x30" + memory)
put("gdb_fuzz", "scripted-hex-writes", b"\x01\x0a\x02" + memory)
put("gdb_fuzz", "scripted-empty", b"\x01\x00\x00")
