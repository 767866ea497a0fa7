# Analyzer database of the VX21A: one import line per rule family the analyzer knows.
# The IP check enables every peripheral whose name begins with a family (with or without
# HPSYS_ or LPSYS_ in front). reg_analyzer.py reads this file as text; the families are
# the rule tables inside it, not modules on disk.
from usart import *
from i2c import *
from spi import *
from gpio import *
from rcc import *
from cfg import *
from dmac import *
from gptim import *
from wdt import *
from aon import *
