#!/usr/bin/env python3
"""Writes the sample SVD files VX21A.svd to VX21E.svd of the demo board.

The parts are invented for Corvane's demo: Cortex-M33 chips with a
high-performance system (peripherals at 0x400xxxxx) and a low-power system
(0x500xxxxx). Run it again after changing the tables; the files are kept
in the repository so the demo needs no Python step.
"""
from pathlib import Path
from xml.sax.saxutils import escape

# (name, description, [(register, offset, description, [(field, bit, width, description)])])
def gpio(port):
    return (f"GPIO{port}", f"General purpose I/O port {port}", [
        ("MODER", 0x00, "Mode of each pin: input, output, alternate or analog",
         [(f"MODE{i}", 2 * i, 2, f"Mode of pin {i}") for i in range(8)]),
        ("OTYPER", 0x04, "Output type: push-pull or open drain",
         [(f"OT{i}", i, 1, f"Output type of pin {i}") for i in range(8)]),
        ("PUPDR", 0x08, "Pull-up and pull-down", [(f"PUPD{i}", 2 * i, 2, f"Pull of pin {i}") for i in range(8)]),
        ("IDR", 0x0C, "Input data", [("ID", 0, 16, "Levels read on the pins")]),
        ("ODR", 0x10, "Output data", [("OD", 0, 16, "Levels driven on the pins")]),
        ("BSRR", 0x14, "Bit set and reset", [("BS", 0, 16, "Set pins"), ("BR", 16, 16, "Reset pins")]),
        ("AFR", 0x18, "Alternate function of pins 0 to 7", [(f"AF{i}", 4 * i, 4, f"Function of pin {i}") for i in range(8)]),
    ])

def usart(n):
    return (f"USART{n}", f"Universal synchronous and asynchronous receiver transmitter {n}", [
        ("CR1", 0x00, "Control register 1", [
            ("UE", 0, 1, "USART enable"), ("RE", 2, 1, "Receiver enable"), ("TE", 3, 1, "Transmitter enable"),
            ("RXNEIE", 5, 1, "Receive interrupt enable"), ("TXEIE", 7, 1, "Transmit interrupt enable"),
            ("PCE", 10, 1, "Parity control enable"), ("M", 12, 2, "Word length")]),
        ("CR2", 0x04, "Control register 2", [("STOP", 12, 2, "Stop bits"), ("SWAP", 15, 1, "Swap TX and RX pins")]),
        ("CR3", 0x08, "Control register 3", [("DMAR", 6, 1, "DMA for reception"), ("DMAT", 7, 1, "DMA for transmission"),
                                              ("RTSE", 8, 1, "RTS enable"), ("CTSE", 9, 1, "CTS enable")]),
        ("BRR", 0x0C, "Baud rate", [("BRR", 0, 16, "Clock divider for the baud rate")]),
        ("ISR", 0x1C, "Interrupt and status", [
            ("PE", 0, 1, "Parity error"), ("FE", 1, 1, "Framing error"), ("ORE", 3, 1, "Overrun error"),
            ("RXNE", 5, 1, "Receive data register not empty"), ("TC", 6, 1, "Transmission complete"),
            ("TXE", 7, 1, "Transmit data register empty"), ("BUSY", 16, 1, "Busy")]),
        ("ICR", 0x20, "Interrupt flag clear", [("PECF", 0, 1, "Clear parity error"), ("ORECF", 3, 1, "Clear overrun")]),
        ("RDR", 0x24, "Receive data", [("RDR", 0, 9, "Received word")]),
        ("TDR", 0x28, "Transmit data", [("TDR", 0, 9, "Word to send")]),
    ])

def i2c(n):
    return (f"I2C{n}", f"Inter-integrated circuit bus {n}", [
        ("CR1", 0x00, "Control register 1", [("PE", 0, 1, "Peripheral enable"), ("TXIE", 1, 1, "Transmit interrupt enable"),
                                              ("RXIE", 2, 1, "Receive interrupt enable"), ("DNF", 8, 4, "Digital noise filter")]),
        ("CR2", 0x04, "Control register 2", [("SADD", 0, 10, "Target address"), ("RD_WRN", 10, 1, "Transfer direction"),
                                              ("START", 13, 1, "Start generation"), ("STOP", 14, 1, "Stop generation"),
                                              ("NBYTES", 16, 8, "Number of bytes")]),
        ("OAR1", 0x08, "Own address 1", [("OA1", 0, 10, "Own address"), ("OA1EN", 15, 1, "Own address enable")]),
        ("TIMINGR", 0x10, "Timing", [("SCLL", 0, 8, "SCL low period"), ("SCLH", 8, 8, "SCL high period"),
                                     ("SDADEL", 16, 4, "Data hold time"), ("SCLDEL", 20, 4, "Data setup time"),
                                     ("PRESC", 28, 4, "Timing prescaler")]),
        ("ISR", 0x18, "Interrupt and status", [("TXE", 0, 1, "Transmit data register empty"), ("RXNE", 2, 1, "Receive data register not empty"),
                                               ("NACKF", 4, 1, "Not acknowledge received"), ("BUSY", 15, 1, "Bus busy")]),
        ("RXDR", 0x24, "Receive data", [("RXDATA", 0, 8, "Received byte")]),
        ("TXDR", 0x28, "Transmit data", [("TXDATA", 0, 8, "Byte to send")]),
    ])

def spi(n):
    return (f"SPI{n}", f"Serial peripheral interface {n}", [
        ("CR1", 0x00, "Control register 1", [("CPHA", 0, 1, "Clock phase"), ("CPOL", 1, 1, "Clock polarity"),
                                              ("MSTR", 2, 1, "Controller selection"), ("BR", 3, 3, "Baud rate divider"),
                                              ("SPE", 6, 1, "SPI enable"), ("LSBFIRST", 7, 1, "Frame format")]),
        ("CR2", 0x04, "Control register 2", [("RXDMAEN", 0, 1, "Receive DMA"), ("TXDMAEN", 1, 1, "Transmit DMA"),
                                              ("DS", 8, 4, "Data size")]),
        ("SR", 0x08, "Status", [("RXNE", 0, 1, "Receive buffer not empty"), ("TXE", 1, 1, "Transmit buffer empty"),
                                ("OVR", 6, 1, "Overrun"), ("BSY", 7, 1, "Busy"), ("FRLVL", 9, 2, "Receive FIFO level")]),
        ("DR", 0x0C, "Data", [("DR", 0, 16, "Data word")]),
    ])

def timer(n, width):
    return (f"TIM{n}", f"General purpose timer {n}, {width} bits", [
        ("CR1", 0x00, "Control register 1", [("CEN", 0, 1, "Counter enable"), ("UDIS", 1, 1, "Update disable"),
                                              ("OPM", 3, 1, "One-pulse mode"), ("DIR", 4, 1, "Direction"),
                                              ("ARPE", 7, 1, "Auto-reload preload enable")]),
        ("DIER", 0x0C, "DMA and interrupt enable", [("UIE", 0, 1, "Update interrupt enable"),
                                                     ("CC1IE", 1, 1, "Capture/compare 1 interrupt enable")]),
        ("SR", 0x10, "Status", [("UIF", 0, 1, "Update interrupt flag"), ("CC1IF", 1, 1, "Capture/compare 1 flag")]),
        ("EGR", 0x14, "Event generation", [("UG", 0, 1, "Update generation")]),
        ("CNT", 0x24, "Counter", [("CNT", 0, width, "Counter value")]),
        ("PSC", 0x28, "Prescaler", [("PSC", 0, 16, "Prescaler value")]),
        ("ARR", 0x2C, "Auto-reload", [("ARR", 0, width, "Auto-reload value")]),
        ("CCR1", 0x34, "Capture/compare 1", [("CCR1", 0, width, "Capture/compare value")]),
    ])

RCC = ("RCC", "Reset and clock control", [
    ("CR", 0x00, "Clock control", [("HSION", 0, 1, "Internal 48 MHz oscillator on"), ("HSIRDY", 1, 1, "Internal oscillator ready"),
                                   ("HSEON", 16, 1, "External crystal on"), ("HSERDY", 17, 1, "External crystal ready"),
                                   ("PLLON", 24, 1, "PLL on"), ("PLLRDY", 25, 1, "PLL locked")]),
    ("CFGR", 0x04, "Clock configuration", [("SW", 0, 2, "System clock switch"), ("SWS", 2, 2, "System clock status"),
                                           ("HPRE", 4, 4, "AHB prescaler"), ("PPRE1", 8, 3, "APB1 prescaler"),
                                           ("PPRE2", 11, 3, "APB2 prescaler"), ("MCOSEL", 24, 4, "Clock output selection")]),
    ("PLLCFGR", 0x08, "PLL configuration", [("PLLSRC", 0, 2, "PLL source"), ("PLLM", 4, 4, "Input divider"),
                                            ("PLLN", 8, 7, "Multiplier"), ("PLLR", 25, 2, "Output divider")]),
    ("AHBENR", 0x10, "AHB clock enable", [("DMA1EN", 0, 1, "DMA1 clock"), ("CRCEN", 12, 1, "CRC clock"),
                                          ("GPIOAEN", 17, 1, "GPIOA clock"), ("GPIOBEN", 18, 1, "GPIOB clock")]),
    ("APB1ENR", 0x14, "APB1 clock enable", [("TIM2EN", 0, 1, "TIM2 clock"), ("USART2EN", 17, 1, "USART2 clock"),
                                            ("I2C1EN", 21, 1, "I2C1 clock"), ("WWDGEN", 11, 1, "Window watchdog clock")]),
    ("APB2ENR", 0x18, "APB2 clock enable", [("TIM1EN", 11, 1, "TIM1 clock"), ("SPI1EN", 12, 1, "SPI1 clock"),
                                            ("USART1EN", 14, 1, "USART1 clock"), ("ADCEN", 9, 1, "ADC clock")]),
    ("CSR", 0x24, "Control and status", [("LSION", 0, 1, "Low-speed oscillator on"), ("LSIRDY", 1, 1, "Low-speed oscillator ready"),
                                         ("RMVF", 24, 1, "Clear reset flags"), ("PINRSTF", 26, 1, "Pin reset flag"),
                                         ("PORRSTF", 27, 1, "Power-on reset flag"), ("WDGRSTF", 29, 1, "Watchdog reset flag")]),
])

PWR = ("PWR", "Power control", [
    ("CR1", 0x00, "Power control 1", [("LPMS", 0, 3, "Low-power mode selection"), ("DBP", 8, 1, "Backup domain write enable"),
                                      ("VOS", 9, 2, "Voltage scaling range")]),
    ("SR1", 0x10, "Power status 1", [("WUF", 0, 5, "Wake-up flags"), ("SBF", 8, 1, "Standby flag")]),
    ("SR2", 0x14, "Power status 2", [("VOSF", 10, 1, "Voltage scaling flag"), ("PVDO", 11, 1, "Voltage detector output")]),
])

DMA = ("DMA1", "Direct memory access controller", [
    ("ISR", 0x00, "Interrupt status", [(f"TCIF{i}", 4 * i + 1, 1, f"Channel {i} transfer complete") for i in range(1, 7)]),
    ("IFCR", 0x04, "Interrupt flag clear", [(f"CGIF{i}", 4 * i, 1, f"Clear channel {i} flags") for i in range(1, 7)]),
    ("CCR1", 0x08, "Channel 1 configuration", [("EN", 0, 1, "Channel enable"), ("TCIE", 1, 1, "Transfer complete interrupt"),
                                               ("DIR", 4, 1, "Read from memory"), ("CIRC", 5, 1, "Circular mode"),
                                               ("MINC", 7, 1, "Memory increment"), ("PSIZE", 8, 2, "Peripheral size"),
                                               ("MSIZE", 10, 2, "Memory size"), ("PL", 12, 2, "Priority level")]),
    ("CNDTR1", 0x0C, "Channel 1 number of data", [("NDT", 0, 16, "Items to transfer")]),
    ("CPAR1", 0x10, "Channel 1 peripheral address", [("PA", 0, 32, "Peripheral address")]),
    ("CMAR1", 0x14, "Channel 1 memory address", [("MA", 0, 32, "Memory address")]),
])

IWDG = ("IWDG", "Independent watchdog", [
    ("KR", 0x00, "Key", [("KEY", 0, 16, "Key value: 0xCCCC starts, 0xAAAA reloads, 0x5555 unlocks")]),
    ("PR", 0x04, "Prescaler", [("PR", 0, 3, "Prescaler divider")]),
    ("RLR", 0x08, "Reload", [("RL", 0, 12, "Reload value")]),
    ("SR", 0x0C, "Status", [("PVU", 0, 1, "Prescaler update busy"), ("RVU", 1, 1, "Reload update busy")]),
])

WWDG = ("WWDG", "Window watchdog", [
    ("CR", 0x00, "Control", [("T", 0, 7, "Counter"), ("WDGA", 7, 1, "Activation")]),
    ("CFR", 0x04, "Configuration", [("W", 0, 7, "Window value"), ("EWI", 9, 1, "Early wake-up interrupt"),
                                    ("WDGTB", 11, 3, "Timer base")]),
    ("SR", 0x08, "Status", [("EWIF", 0, 1, "Early wake-up interrupt flag")]),
])

ADC = ("ADC", "12-bit analog to digital converter", [
    ("ISR", 0x00, "Interrupt and status", [("ADRDY", 0, 1, "Ready"), ("EOC", 2, 1, "End of conversion"),
                                           ("EOS", 3, 1, "End of sequence"), ("OVR", 4, 1, "Overrun")]),
    ("IER", 0x04, "Interrupt enable", [("ADRDYIE", 0, 1, "Ready interrupt"), ("EOCIE", 2, 1, "End of conversion interrupt")]),
    ("CR", 0x08, "Control", [("ADEN", 0, 1, "Enable"), ("ADDIS", 1, 1, "Disable"), ("ADSTART", 2, 1, "Start conversion"),
                             ("ADCAL", 31, 1, "Calibration")]),
    ("CFGR", 0x0C, "Configuration", [("DMAEN", 0, 1, "DMA enable"), ("RES", 3, 2, "Resolution"), ("ALIGN", 5, 1, "Data alignment"),
                                     ("CONT", 13, 1, "Continuous mode")]),
    ("SMPR", 0x14, "Sampling time", [("SMP1", 0, 3, "Sampling time 1"), ("SMP2", 4, 3, "Sampling time 2")]),
    ("DR", 0x40, "Data", [("DATA", 0, 16, "Converted value")]),
])

RTC = ("RTC", "Real-time clock", [
    ("TR", 0x00, "Time", [("SU", 0, 4, "Second units"), ("ST", 4, 3, "Second tens"), ("MNU", 8, 4, "Minute units"),
                          ("MNT", 12, 3, "Minute tens"), ("HU", 16, 4, "Hour units"), ("HT", 20, 2, "Hour tens"),
                          ("PM", 22, 1, "Afternoon")]),
    ("DR", 0x04, "Date", [("DU", 0, 4, "Day units"), ("DT", 4, 2, "Day tens"), ("MU", 8, 4, "Month units"),
                          ("MT", 12, 1, "Month tens"), ("WDU", 13, 3, "Weekday"), ("YU", 16, 4, "Year units"),
                          ("YT", 20, 4, "Year tens")]),
    ("CR", 0x18, "Control", [("WUCKSEL", 0, 3, "Wake-up clock"), ("FMT", 6, 1, "Hour format"), ("ALRAE", 8, 1, "Alarm A enable"),
                             ("WUTE", 10, 1, "Wake-up timer enable")]),
    ("WPR", 0x24, "Write protection", [("KEY", 0, 8, "Write protection key")]),
])

CRC = ("CRC", "Cyclic redundancy check unit", [
    ("DR", 0x00, "Data", [("DR", 0, 32, "Data in, CRC out")]),
    ("IDR", 0x04, "Independent data", [("IDR", 0, 32, "General purpose word")]),
    ("CR", 0x08, "Control", [("RESET", 0, 1, "Reset the unit"), ("POLYSIZE", 3, 2, "Polynomial size"),
                             ("REV_IN", 5, 2, "Reverse input"), ("REV_OUT", 7, 1, "Reverse output")]),
    ("INIT", 0x10, "Initial value", [("CRC_INIT", 0, 32, "Initial CRC value")]),
    ("POL", 0x14, "Polynomial", [("POL", 0, 32, "Polynomial")]),
])

LPUART = ("LPUART1", "Low-power UART of the low-power system", usart(1)[2][:5])

MAILBOX = ("MAILBOX", "Mailbox between the high-performance and the low-power CPU", [
    ("C2H_IER", 0x00, "Low-power to high-performance interrupt enable", [(f"INT{i}", i, 1, f"Channel {i}") for i in range(8)]),
    ("C2H_ISR", 0x04, "Low-power to high-performance interrupt status", [(f"INT{i}", i, 1, f"Channel {i}") for i in range(8)]),
    ("H2C_IER", 0x08, "High-performance to low-power interrupt enable", [(f"INT{i}", i, 1, f"Channel {i}") for i in range(8)]),
    ("H2C_ISR", 0x0C, "High-performance to low-power interrupt status", [(f"INT{i}", i, 1, f"Channel {i}") for i in range(8)]),
    ("LOCK", 0x10, "Hardware semaphore", [("LOCKED", 0, 1, "Semaphore taken"), ("OWNER", 1, 1, "Owner CPU")]),
])

LPTIM = ("LPTIM1", "Low-power timer", [
    ("ISR", 0x00, "Interrupt and status", [("CMPM", 0, 1, "Compare match"), ("ARRM", 1, 1, "Auto-reload match")]),
    ("CR", 0x10, "Control", [("ENABLE", 0, 1, "Enable"), ("SNGSTRT", 1, 1, "Single start"), ("CNTSTRT", 2, 1, "Continuous start")]),
    ("CMP", 0x14, "Compare", [("CMP", 0, 16, "Compare value")]),
    ("ARR", 0x18, "Auto-reload", [("ARR", 0, 16, "Auto-reload value")]),
    ("CNT", 0x1C, "Counter", [("CNT", 0, 16, "Counter value")]),
])

HP = 0x40000000
LP = 0x50000000

def model(hp, lp):
    return [(p, HP + off) for p, off in hp] + [(p, LP + off) for p, off in lp]

COMMON_HP = [(RCC, 0x0000), (PWR, 0x1000), (DMA, 0x2000), (gpio("A"), 0x3000), (gpio("B"), 0x4000),
             (usart(1), 0x5000), (usart(2), 0x6000), (i2c(1), 0x7000), (spi(1), 0x8000),
             (timer(1, 16), 0x9000), (timer(2, 32), 0xA000), (IWDG, 0xB000), (WWDG, 0xC000),
             (ADC, 0xD000), (CRC, 0xE000)]
COMMON_LP = [(RTC, 0x0000), (MAILBOX, 0x1000), (LPTIM, 0x2000)]

MODELS = {
    "VX21A": ("VX21A: dual-core Cortex-M33, 48 MHz low-power system", model(COMMON_HP, COMMON_LP + [(LPUART, 0x3000)])),
    "VX21B": ("VX21B: Cortex-M33 without UART debug mode", model(COMMON_HP + [(usart(3), 0xF000)], COMMON_LP)),
    "VX21C": ("VX21C: Cortex-M33 with a second I2C and SPI", model(COMMON_HP + [(i2c(2), 0xF000), (spi(2), 0x10000)], COMMON_LP)),
    "VX21D": ("VX21D: Cortex-M33, big-endian debug frames", model(COMMON_HP, COMMON_LP + [(LPUART, 0x3000)])),
    "VX21E": ("VX21E: Cortex-M33, single-core variant", model(COMMON_HP + [(timer(3, 16), 0xF000)], [(RTC, 0x0000), (LPTIM, 0x2000)])),
}


def svd(name, description, peripherals):
    out = ['<?xml version="1.0" encoding="utf-8"?>',
           '<device schemaVersion="1.3" xmlns:xs="http://www.w3.org/2001/XMLSchema-instance">',
           f"  <vendor>Corvane sample</vendor>", f"  <name>{name}</name>", "  <version>1.0</version>",
           f"  <description>{escape(description)}</description>",
           "  <cpu><name>CM33</name><revision>r0p4</revision><endian>little</endian><mpuPresent>true</mpuPresent>"
           "<fpuPresent>true</fpuPresent><nvicPrioBits>3</nvicPrioBits><vendorSystickConfig>false</vendorSystickConfig></cpu>",
           "  <addressUnitBits>8</addressUnitBits>", "  <width>32</width>", "  <size>32</size>",
           "  <resetValue>0x00000000</resetValue>", "  <resetMask>0xFFFFFFFF</resetMask>", "  <peripherals>"]
    for (pname, pdesc, registers), base in peripherals:
        out += ["    <peripheral>", f"      <name>{pname}</name>", f"      <description>{escape(pdesc)}</description>",
                f"      <baseAddress>0x{base:08X}</baseAddress>",
                "      <addressBlock><offset>0x0</offset><size>0x400</size><usage>registers</usage></addressBlock>",
                "      <registers>"]
        for rname, offset, rdesc, fields in sorted(registers, key=lambda r: r[1]):
            out += ["        <register>", f"          <name>{rname}</name>", f"          <description>{escape(rdesc)}</description>",
                    f"          <addressOffset>0x{offset:X}</addressOffset>", "          <size>32</size>",
                    "          <access>read-write</access>", "          <fields>"]
            for fname, bit, width, fdesc in fields:
                out += ["            <field>", f"              <name>{fname}</name>",
                        f"              <description>{escape(fdesc)}</description>",
                        f"              <bitOffset>{bit}</bitOffset>", f"              <bitWidth>{width}</bitWidth>",
                        "            </field>"]
            out += ["          </fields>", "        </register>"]
        out += ["      </registers>", "    </peripheral>"]
    out += ["  </peripherals>", "</device>", ""]
    return "\n".join(out)


if __name__ == "__main__":
    here = Path(__file__).resolve().parent
    for name, (description, peripherals) in MODELS.items():
        (here / f"{name}.svd").write_text(svd(name, description, peripherals), encoding="utf-8")
