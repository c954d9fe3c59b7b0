#!/usr/bin/env python3
"""Checks every include of a file under src/ against the table of allowed folder edges.

Usage: include_rules.py SRC_DIR RULES_FILE
       include_rules.py --self-test
Prints one line per broken rule (file:line: what is wrong) and exits 1 when there is any.
Both '#include "..."' and '#include <...>' count, and a relative path ("../shell/x.h") counts as
the folder it reaches.
"""
import os
import re
import sys
import tempfile

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


def read_rules(path):
    allowed, features = {}, []
    with open(path, encoding='utf-8') as f:
        for number, line in enumerate(f, 1):
            line = line.split('#', 1)[0].strip()
            if not line:
                continue
            if ':' not in line:
                sys.exit(f'{path}:{number}: expected "folder: folders it may include"')
            folder, targets = line.split(':', 1)
            if folder.strip() == 'features':
                features = targets.split()
            else:
                allowed[folder.strip()] = set(targets.split())
    return allowed, features


def window_files(src, folder):
    """The files a folder's CMakeLists.txt lists for the window library."""
    cmake = os.path.join(src, folder, 'CMakeLists.txt')
    if not os.path.exists(cmake):
        return set()
    text = open(cmake, encoding='utf-8').read()
    files = set()
    for block in re.findall(r'target_sources\(velmora_gui\s+PRIVATE(.*?)\)', text, re.S):
        files.update(os.path.basename(name) for name in block.split())
    return files


def folder_of(src, path, folders):
    """The longest known folder that holds the file, e.g. "engine/ftp" before "engine"."""
    relative = os.path.relpath(os.path.dirname(path), src).replace(os.sep, '/')
    best = None
    for folder in folders:
        if relative == folder or relative.startswith(folder + '/'):
            if best is None or len(folder) > len(best):
                best = folder
    return best


def resolve(src, directory, quoted, included):
    """The path under src an include reaches, or None when it leaves src (a system header).

    A quoted include is looked for beside the including file first (as the compiler does), then
    from src; an include in angle brackets from src only."""
    candidates = []
    if quoted:
        candidates.append(os.path.normpath(os.path.join(directory, included)))
    candidates.append(os.path.normpath(os.path.join(src, included)))
    inside = [c for c in candidates if c == src or c.startswith(src + os.sep)]
    for candidate in inside:
        if os.path.exists(candidate):
            return candidate
    # A header that does not exist (yet) still names its folder, when the path stays in src.
    for candidate in inside:
        if included.startswith('.') or candidate == os.path.normpath(os.path.join(src, included)):
            return candidate if '/' in included else None
    return None


def self_test():
    """The check must see every way of writing an include of a forbidden folder."""
    with tempfile.TemporaryDirectory() as root:
        src = os.path.join(root, 'src')
        for folder in ('shell', 'queue', 'common'):
            os.makedirs(os.path.join(src, folder))
        open(os.path.join(src, 'shell', 'MainForm.h'), 'w').close()
        open(os.path.join(src, 'queue', 'Own.h'), 'w').close()
        lines = ['#include "shell/MainForm.h"', '#include <shell/MainForm.h>', '#include "../shell/MainForm.h"',
                 '#  include "./../shell/MainForm.h"', '#include "Own.h"', '#include <QString>',
                 '#include "common/Missing.h"', '#include <Qsci/qsciscintilla.h>']
        with open(os.path.join(src, 'queue', 'Queue.cpp'), 'w') as f:
            f.write('\n'.join(lines) + '\n')
        rules = os.path.join(root, 'rules.txt')
        with open(rules, 'w') as f:
            f.write('common:\nqueue: common\nshell: common queue\n')
        found = [p.split(':')[1] for p in check(src, rules)]
        expected = ['1', '2', '3', '4']
        if found != expected:
            print(f'include rules self-test: broken includes found on lines {found}, expected {expected}')
            return 1
    print('include rules self-test: every form of include is read')
    return 0


def check(src, rules_path):
    allowed, features = read_rules(rules_path)
    folders = list(allowed)
    windows = {feature: window_files(src, feature) for feature in features}
    problems = []
    for directory, _, names in os.walk(src):
        for name in sorted(names):
            if not name.endswith(('.h', '.cpp')):
                continue
            path = os.path.join(directory, name)
            shown = os.path.relpath(path, os.path.dirname(src))
            own = folder_of(src, path, folders)
            if own is None:
                if os.path.dirname(path) != src or name != 'main.cpp':
                    problems.append(f'{shown}:1: the folder of this file has no line in the rules table')
                continue
            with open(path, encoding='utf-8') as f:
                for number, line in enumerate(f, 1):
                    match = INCLUDE.match(line)
                    if not match:
                        continue
                    included = match.group(2)
                    reached = resolve(src, directory, match.group(1) == '"', included)
                    if reached is None:
                        continue
                    target = folder_of(src, reached, folders)
                    if target is None or target == own:
                        continue
                    if target not in allowed[own]:
                        problems.append(f'{shown}:{number}: {own}/ may not include {target}/ ("{included}")')
                    elif own in features and target in features and os.path.basename(included) in windows[target]:
                        problems.append(f'{shown}:{number}: {own}/ may not include a window of {target}/ ("{included}")')
    return problems


def main():
    if sys.argv[1:] == ['--self-test']:
        return self_test()
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    problems = check(sys.argv[1], sys.argv[2])
    for problem in problems:
        print(problem)
    print(f'include rules: {len(problems)} broken' if problems else 'include rules: every include follows the table')
    return 1 if problems else 0


if __name__ == '__main__':
    sys.exit(main())
