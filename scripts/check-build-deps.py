#!/usr/bin/python3
"""Checks that a fresh machine gets everything the build found.

scripts/install-deps.sh installs its package list without Recommends. A package that CMake
found on this machine only because something else recommended it (or because someone
installed it by hand) is missing on a fresh machine, and the build stops at configure there.

This check takes every path under /usr that CMake recorded in CMakeCache.txt (package
folders, config files, include folders, libraries, programs), asks dpkg which package owns
it, and requires that package to lie in the dependency closure of the install script's list:
the listed packages, their Depends and Pre-Depends, recursively, plus the Essential and
required packages that every Debian system has. The closure is computed from the installed
packages' own fields (dpkg-query), so it needs neither apt lists nor a network.

Usage: check-build-deps.py --cache build/CMakeCache.txt [--install-script scripts/install-deps.sh]
                           [--without PACKAGE ...]
--without leaves packages out of the list, to see what would break without them.
Exit status 0 when every owner lies in the closure, 1 when one does not, 2 on a usage error.
"""

import argparse
import os
import re
import subprocess
import sys
from collections import deque

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
CACHE_LINE = re.compile(r'^("?)(.+?)\1:([A-Z]+)=(.*)$')
MERGED_USR = ('/bin/', '/sbin/', '/lib/', '/lib32/', '/lib64/', '/libx32/')


def listed_packages(install_script):
    result = subprocess.run(['bash', install_script, '--list'], capture_output=True, text=True, check=True)
    return [name for name in result.stdout.split() if name]


def cache_paths(cache_file):
    """(cache key, path) for every existing path under /usr (outside /usr/local) in the cache."""
    found = []
    with open(cache_file, encoding='utf-8', errors='replace') as cache:
        for line in cache:
            line = line.rstrip('\n')
            if not line or line.startswith('#') or line.startswith('//'):
                continue
            match = CACHE_LINE.match(line)
            if not match:
                continue
            key, value = match.group(2), match.group(4)
            for token in re.split(r'[;\[\]\s]+', value):
                if token.startswith('-L') or token.startswith('-I'):
                    token = token[2:]
                if not token.startswith('/usr/') or token.startswith('/usr/local/') or token == '/usr/local':
                    continue
                path = os.path.normpath(token)
                if os.path.exists(path):
                    found.append((key, path))
    return found


def package_config_file(key, path):
    """A <Name>_DIR folder stands for the config file CMake read there, which tells the packages
    apart that share the folder (Qt6OpenGL's folder belongs to qt6-base-dev as well)."""
    if not key.endswith('_DIR') or not os.path.isdir(path):
        return path
    name = key[:-len('_DIR')]
    for candidate in (f'{name}Config.cmake', f'{name.lower()}-config.cmake'):
        if os.path.isfile(os.path.join(path, candidate)):
            return os.path.join(path, candidate)
    return path


def spellings(path):
    """The names dpkg may know a path by: as given, resolved (alternatives), and with or
    without the /usr prefix (merged /usr keeps some files registered under /lib)."""
    names = []
    for p in (path, os.path.realpath(path)):
        names.append(p)
        if p.startswith('/usr/') and p[4:].startswith(MERGED_USR):
            names.append(p[4:])
        elif p.startswith(MERGED_USR):
            names.append('/usr' + p)
    return list(dict.fromkeys(names))


def owners(paths):
    """path -> set of owning packages, from one dpkg-query call."""
    result = subprocess.run(['dpkg-query', '-S', *paths], capture_output=True, text=True)
    owned = {}
    for line in result.stdout.splitlines():
        if line.startswith('diversion by') or ': ' not in line:
            continue
        packages, path = line.split(': ', 1)
        names = {p.strip().split(':')[0] for p in packages.split(',')}
        owned.setdefault(path, set()).update(names)
    return owned


def installed_packages():
    fields = '${Package}\t${db:Status-Abbrev}\t${Essential}\t${Priority}\t${Provides}\t${Depends}\t${Pre-Depends}\n'
    result = subprocess.run(['dpkg-query', '-W', '-f', fields], capture_output=True, text=True, check=True)
    packages = {}
    for line in result.stdout.splitlines():
        parts = line.split('\t')
        if len(parts) != 7 or len(parts[1]) < 2 or parts[1][1] != 'i':
            continue
        name, _, essential, priority, provides, depends, pre_depends = parts
        entry = packages.setdefault(name, {'base': False, 'provides': set(), 'depends': []})
        entry['base'] |= essential == 'yes' or priority == 'required'
        entry['provides'].update(bare_name(p) for p in provides.split(',') if p.strip())
        entry['depends'].extend(g for g in (depends + ',' + pre_depends).split(',') if g.strip())
    return packages


def bare_name(relation):
    """'libc6:any (>= 2.34)' -> 'libc6'"""
    return relation.strip().split(' ')[0].split('(')[0].split(':')[0]


def closure(seeds, packages):
    """Every installed package reachable from the seeds through Depends and Pre-Depends. Of
    alternatives ('a | b') and virtual names every installed candidate counts."""
    providers = {}
    for name, entry in packages.items():
        for virtual in entry['provides']:
            providers.setdefault(virtual, set()).add(name)
    reached = set()
    queue = deque(seeds)
    while queue:
        name = queue.popleft()
        if name in reached or name not in packages:
            continue
        reached.add(name)
        for group in packages[name]['depends']:
            for alternative in group.split('|'):
                wanted = bare_name(alternative)
                for candidate in {wanted} | providers.get(wanted, set()):
                    if candidate in packages and candidate not in reached:
                        queue.append(candidate)
    return reached


def main():
    parser = argparse.ArgumentParser(description=__doc__.split('\n\n')[0])
    parser.add_argument('--cache', required=True, help='CMakeCache.txt of a configured build')
    parser.add_argument('--install-script', default=os.path.join(REPO, 'scripts', 'install-deps.sh'))
    parser.add_argument('--without', action='append', default=[], metavar='PACKAGE',
                        help='leave this package out of the list')
    args = parser.parse_args()
    if not os.path.isfile(args.cache):
        print(f'check-build-deps: no such file: {args.cache}', file=sys.stderr)
        return 2

    listed = [p for p in listed_packages(args.install_script) if p not in args.without]
    packages = installed_packages()
    not_installed = [p for p in listed if p not in packages]
    seeds = listed + [name for name, entry in packages.items() if entry['base']]
    reached = closure(seeds, packages)

    found = [(key, package_config_file(key, path)) for key, path in cache_paths(args.cache)]
    names = sorted({name for _, path in found for name in spellings(path)})
    owned = owners(names) if names else {}

    missing = {}      # package -> [(key, path)]
    unowned = []
    for key, path in found:
        owning = set()
        for name in spellings(path):
            owning = owned.get(name, set())
            if owning:
                break
        if not owning:
            unowned.append((key, path))
        elif not owning & reached:
            # A file has one owner; a shared folder is fine when any of its owners comes along.
            for package in sorted(owning):
                missing.setdefault(package, []).append((key, path))

    print(f'{len(listed)} packages listed in {os.path.relpath(args.install_script, REPO)}'
          + (f' (without {", ".join(args.without)})' if args.without else '')
          + f'; their closure holds {len(reached)} installed packages.')
    print(f'{len(found)} paths under /usr in {args.cache}.')
    for package in not_installed:
        print(f'note: listed package {package} is not installed here; its dependencies were not followed')
    for key, path in unowned:
        print(f'note: {path} ({key}) belongs to no package')
    for package, uses in sorted(missing.items()):
        print(f'MISSING {package}: not installed by the install script, but CMake found')
        for key, path in uses:
            print(f'    {path} ({key})')
    if missing:
        print(f'Add {", ".join(sorted(missing))} to {os.path.relpath(args.install_script, REPO)} '
              '(or stop the build from finding it).')
        return 1
    print('Every package that owns a file CMake found comes with the install script.')
    return 0


if __name__ == '__main__':
    sys.exit(main())
