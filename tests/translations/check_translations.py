#!/usr/bin/env python3
"""Fails when a text marked in the sources has no finished translation in
every translations/*.ts file.

The .ts files are copied to a temporary folder and brought up to date there
by scripts/update-translations.sh (lupdate over the sources), so a text
added to the sources and not to the .ts files shows up as unfinished. Then
every entry must be finished, none may have vanished from the sources, the
committed files must hold exactly the texts of the sources, and each
translation keeps its text's structure: the printf places (%s, %08x ...) in
their order, the %1 places, and the line breaks.

The check also reads the sources themselves: a Chinese string literal
outside QT_TRANSLATE_NOOP("Corvane", ...) is a caption lupdate never sees,
shown in Chinese in every language, so it fails too (comments aside, and the
few texts below that are never shown as words of a language).

  check_translations.py SOURCE_DIR LUPDATE            the check
  check_translations.py SOURCE_DIR LUPDATE --selftest  the check refuses
                                                      broken copies
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

PRINTF = re.compile(r'%[-+ #0]*\d*(?:\.\d+)?(?:hh|h|ll|l|z)?[diouxXcspfeEgG%]')
ARG = re.compile(r'%(\d+)')
CJK = re.compile('[\u3000-\u9fff\uff00-\uffef]')


SOURCE_FOLDERS = ('link', 'ops', 'regmap', 'memview', 'ipcheck', 'widgets', 'app', 'tools/cli')

# Chinese literals that are not words shown in a language: font family names,
# the per-user profile's folder name, and the language's own name in
# View -> Language.
NOT_SHOWN = {'宋体', '应用程序向导生成的本地应用程序', '中文'}

TOKEN = re.compile(r'//[^\n]*|/\*.*?\*/|"(?:[^"\\\n]|\\.)*"|\'(?:[^\'\\\n]|\\.)*\'|[A-Za-z_]\w*|\S', re.S)


def unmarked_literals(source_dir):
    """(file, line, text) of every Chinese string literal of the sources that
    is not the text of a QT_TRANSLATE_NOOP("Corvane", ...)."""
    found = []
    for folder in SOURCE_FOLDERS:
        for root, _, names in os.walk(os.path.join(source_dir, folder)):
            for name in sorted(names):
                if not name.endswith(('.h', '.cpp')):
                    continue
                path = os.path.join(root, name)
                relative = os.path.relpath(path, source_dir)
                with open(path, encoding='utf-8') as f:
                    code = f.read()
                tokens = [(m.group(0), m.start()) for m in TOKEN.finditer(code)
                          if not m.group(0).startswith(('//', '/*'))]
                for i, (token, at) in enumerate(tokens):
                    if not token.startswith('"') or not CJK.search(token):
                        continue
                    text = token[1:-1]
                    if text in NOT_SHOWN:
                        continue
                    j = i
                    while j > 0 and tokens[j - 1][0].startswith('"'):
                        j -= 1  # a text continued over several literals
                    marked = j >= 4 and [t for t, _ in tokens[j - 4:j]] == ['QT_TRANSLATE_NOOP', '(', '"Corvane"', ',']
                    if not marked:
                        found.append((relative, code.count('\n', 0, at) + 1, text))
    return found


def messages(path):
    """(source, translation element) of every message of a .ts file."""
    root = ET.parse(path).getroot()
    return [(m.findtext('source') or '', m.find('translation')) for m in root.iter('message')]


def structure_problems(source, text):
    problems = []
    if [p for p in PRINTF.findall(source)] != [p for p in PRINTF.findall(text)]:
        problems.append('printf places differ')
    if sorted(ARG.findall(source)) != sorted(ARG.findall(text)):
        problems.append('%N places differ')
    if source.count('\n') != text.count('\n') or source.endswith('\n') != text.endswith('\n'):
        problems.append('line breaks differ')
    return problems


def check(source_dir, lupdate, ts_files):
    """The problems found, one text each; none when all is well."""
    problems = []
    with tempfile.TemporaryDirectory() as temp:
        updated = []
        for ts in ts_files:
            copy = os.path.join(temp, os.path.basename(ts))
            shutil.copyfile(ts, copy)
            updated.append(copy)
        env = dict(os.environ, LUPDATE=lupdate)
        run = subprocess.run([os.path.join(source_dir, 'scripts', 'update-translations.sh')] + updated,
                             env=env, capture_output=True, text=True)
        if run.returncode != 0:
            return ['lupdate failed: ' + run.stderr]
        for ts, copy in zip(ts_files, updated):
            name = os.path.basename(ts)
            committed = {source for source, _ in messages(ts)}
            current = messages(copy)
            for source in sorted({s for s, _ in current} - committed):
                problems.append(f'{name}: missing: {source!r}')
            for source in sorted(committed - {s for s, _ in current}):
                problems.append(f'{name}: no longer in the sources: {source!r}')
            chinese = 'zh' in name
            for source, translation in current:
                kind = translation.get('type') if translation is not None else 'missing'
                text = translation.text or '' if translation is not None else ''
                if kind is not None:
                    problems.append(f'{name}: {kind}: {source!r}')
                    continue
                if not text:
                    problems.append(f'{name}: empty: {source!r}')
                    continue
                # Each language keeps the texts already in it, character for character.
                if bool(CJK.search(source)) == chinese and text != source:
                    problems.append(f'{name}: changes a text of its own language: {source!r} -> {text!r}')
                for problem in structure_problems(source, text):
                    problems.append(f'{name}: {problem}: {source!r} -> {text!r}')
    return problems


def selftest(source_dir, lupdate, ts_files):
    """Broken copies of the .ts files must each be refused."""
    def broken(mutate):
        with tempfile.TemporaryDirectory() as temp:
            copies = []
            for ts in ts_files:
                copy = os.path.join(temp, os.path.basename(ts))
                shutil.copyfile(ts, copy)
                copies.append(copy)
            tree = ET.parse(copies[0])
            mutate(tree.getroot())
            tree.write(copies[0], encoding='utf-8', xml_declaration=True)
            return check(source_dir, lupdate, copies)

    def unfinished(root):
        next(root.iter('translation')).set('type', 'unfinished')

    def missing(root):
        context = next(root.iter('context'))
        context.remove(context.find('message'))

    def changed_places(root):
        for message in root.iter('message'):
            translation = message.find('translation')
            if '%s' in (translation.text or ''):
                translation.text = translation.text.replace('%s', '%d', 1)
                return

    failures = []
    for mutate in (unfinished, missing, changed_places):
        if not broken(mutate):
            failures.append(f'{mutate.__name__}: not refused')

    # A caption shown without the macro is found; marked texts, texts
    # continued over lines, comments and names that are not shown are not.
    with tempfile.TemporaryDirectory() as temp:
        os.makedirs(os.path.join(temp, 'app'))
        with open(os.path.join(temp, 'app', 'Panel.cpp'), 'w', encoding='utf-8') as f:
            f.write('// "数据读取" reads the ticked peripherals\n'
                    'const char kRead[] = QT_TRANSLATE_NOOP("Corvane", "数据读取");\n'
                    'const char kLong[] = QT_TRANSLATE_NOOP("Corvane", "读取"\n    "到文件");\n'
                    'QFont font(QStringLiteral("宋体")); /* "注释" */\n'
                    'button->setText(QStringLiteral("内存窗口"));\n'
                    'const char kOther[] = QT_TRANSLATE_NOOP("Other", "运行");\n')
        found = unmarked_literals(temp)
        if found != [('app/Panel.cpp', 6, '内存窗口'), ('app/Panel.cpp', 7, '运行')]:
            failures.append(f'unmarked captions: found {found}')
    return failures


def main():
    source_dir, lupdate = sys.argv[1], sys.argv[2]
    ts_dir = os.path.join(source_dir, 'translations')
    ts_files = sorted(os.path.join(ts_dir, f) for f in os.listdir(ts_dir) if f.endswith('.ts'))
    if len(ts_files) < 2:
        print('translations/ holds fewer than two .ts files')
        return 1
    if '--selftest' in sys.argv[3:]:
        problems = selftest(source_dir, lupdate, ts_files)
    else:
        problems = check(source_dir, lupdate, ts_files)
        for path, line, text in unmarked_literals(source_dir):
            problems.append(f'{path}:{line}: not marked for translation: "{text}"')
    for problem in problems:
        print(problem)
    if problems:
        print('scripts/update-translations.sh brings the .ts files up to date; translate the unfinished entries')
    return 1 if problems else 0


if __name__ == '__main__':
    sys.exit(main())
