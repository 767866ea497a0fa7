#!/usr/bin/env python3
"""Fills the unfinished entries of translations/*.ts from a table of
translations (a Python file defining T = {source: (English, Chinese)}, None
for the source's own language), leaving every finished entry as it is.

  scripts/fill-translations.py TABLE.py
"""
import re
import sys
import xml.etree.ElementTree as ET
from pathlib import Path

CJK = re.compile('[\u3000-\u9fff\uff00-\uffef]')


def fill(ts, table, chinese):
    text = ts.read_text(encoding='utf-8')
    tree = ET.ElementTree(ET.fromstring(text.split('\n', 2)[2]))
    left = []
    for message in tree.getroot().iter('message'):
        translation = message.find('translation')
        if translation.get('type') != 'unfinished':
            continue
        source = message.findtext('source')
        own = bool(CJK.search(source)) == chinese
        if own:
            value = source
        elif source in table and table[source][1 if chinese else 0]:
            value = table[source][1 if chinese else 0]
        else:
            left.append(source)
            continue
        translation.text = value
        del translation.attrib['type']
    ET.indent(tree, space='    ')
    body = ET.tostring(tree.getroot(), encoding='unicode')
    ts.write_text('<?xml version="1.0" encoding="utf-8"?>\n<!DOCTYPE TS>\n' + body + '\n', encoding='utf-8')
    return left


def main():
    scope = {}
    exec(Path(sys.argv[1]).read_text(encoding='utf-8'), scope)
    status = 0
    for ts in sorted(Path(__file__).resolve().parent.parent.glob('translations/*.ts')):
        for source in fill(ts, scope['T'], 'zh' in ts.name):
            print(f'{ts.name}: no translation for {source!r}')
            status = 1
    return status


if __name__ == '__main__':
    sys.exit(main())
