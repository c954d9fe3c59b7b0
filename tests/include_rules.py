#!/usr/bin/env python3
"""Checks every '#include "folder/..."' under src/ against the table of allowed folder edges.

Usage: include_rules.py SRC_DIR RULES_FILE
Prints one line per broken rule (file:line: what is wrong) and exits 1 when there is any.
"""
import os
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')


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
                    if not match or '/' not in match.group(1):
                        continue
                    included = match.group(1)
                    target = folder_of(src, os.path.join(src, included), folders)
                    if target is None or target == own:
                        continue
                    if target not in allowed[own]:
                        problems.append(f'{shown}:{number}: {own}/ may not include {target}/ ("{included}")')
                    elif own in features and target in features and os.path.basename(included) in windows[target]:
                        problems.append(f'{shown}:{number}: {own}/ may not include a window of {target}/ ("{included}")')
    return problems


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    problems = check(sys.argv[1], sys.argv[2])
    for problem in problems:
        print(problem)
    print(f'include rules: {len(problems)} broken' if problems else 'include rules: every include follows the table')
    return 1 if problems else 0


if __name__ == '__main__':
    sys.exit(main())
