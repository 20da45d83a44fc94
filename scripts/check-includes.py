#!/usr/bin/env python3
"""Checks every #include of the source folders against cmake/layers.txt.

A file of a core or platform folder may include headers of its own folder and
of the folders its row lists, never wxWidgets; shell folders may include
anything. Each include that breaks the rule is printed with its file, line
and folder, and the check fails.

    check-includes.py [--layers TABLE] [ROOT]

ROOT is the tree to check (the repository by default); TABLE is the layer
table (the repository's cmake/layers.txt by default).
"""

import argparse
import os
import re
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE_SUFFIXES = ('.h', '.hpp', '.inl', '.c', '.cc', '.cpp')
INCLUDE = re.compile(r'^[ \t]*#[ \t]*include[ \t]*([<"])([^>"\n]+)[>"]', re.MULTILINE)
BLOCK_COMMENT = re.compile(r'/\*.*?\*/', re.DOTALL)


class Layer:
    def __init__(self, folder, side, uses):
        self.folder = folder
        self.side = side
        self.uses = set(uses) | {folder}


def read_layers(path):
    layers = {}
    if not os.path.isfile(path):
        sys.exit(f'{path}: no layer table')
    with open(path, encoding='utf-8') as table:
        for number, line in enumerate(table, 1):
            fields = line.split('#', 1)[0].split()
            if not fields:
                continue
            if len(fields) < 2 or fields[1] not in ('core', 'platform', 'shell'):
                sys.exit(f'{path}:{number}: expected "folder side [folders it may use]"')
            layers[fields[0]] = Layer(fields[0], fields[1], fields[2:])
    return layers


def folder_of(path, layers):
    """The deepest layer folder that holds the path (relative, '/'-separated)."""
    best = None
    for folder in layers:
        if path == folder or path.startswith(folder + '/'):
            if best is None or len(folder) > len(best):
                best = folder
    return best


def without_block_comments(text):
    # Keeps the line breaks so that line numbers stay right.
    return BLOCK_COMMENT.sub(lambda match: '\n' * match.group(0).count('\n'), text)


def included_path(root, source, delimiter, spelled):
    """The tree path an include names: next to the source first for a quoted
    include, as the compiler looks, then from the root (the include path)."""
    if delimiter == '"':
        beside = os.path.normpath(os.path.join(os.path.dirname(source), spelled))
        if os.path.isfile(os.path.join(root, beside)):
            return beside.replace(os.sep, '/')
    return os.path.normpath(spelled).replace(os.sep, '/')


def is_wxwidgets(spelled):
    return spelled.startswith('wx/')


def check_file(root, source, layer, layers):
    problems = []
    with open(os.path.join(root, source), encoding='utf-8', errors='replace') as handle:
        text = without_block_comments(handle.read())
    for match in INCLUDE.finditer(text):
        delimiter, spelled = match.group(1), match.group(2).strip()
        line = text.count('\n', 0, match.start()) + 1
        where = f'{source}:{line}: {match.group(0).strip()}'
        if is_wxwidgets(spelled):
            problems.append(f'{where}: {layer.folder}/ may not include wxWidgets')
            continue
        target = included_path(root, source, delimiter, spelled)
        if target.startswith('../'):
            continue
        target_folder = folder_of(target, layers)
        if target_folder is None:
            # A header of the tree outside every layer (tests, tools, ...).
            top = target.split('/', 1)[0]
            if '/' in target and os.path.isdir(os.path.join(root, top)):
                problems.append(f'{where}: {layer.folder}/ may not include {top}/')
            continue
        if target_folder not in layer.uses:
            problems.append(f'{where}: {layer.folder}/ may not include {target_folder}/'
                            f' (it may use {", ".join(sorted(layer.uses))})')
    return problems


def sources_of(root, layers):
    """Every source file of a layer that has rules, with its layer."""
    for top in sorted({folder.split('/', 1)[0] for folder in layers}):
        for directory, subdirectories, files in os.walk(os.path.join(root, top)):
            subdirectories.sort()
            for name in sorted(files):
                if not name.endswith(SOURCE_SUFFIXES):
                    continue
                source = os.path.relpath(os.path.join(directory, name), root).replace(os.sep, '/')
                folder = folder_of(source, layers)
                if folder is not None and layers[folder].side != 'shell':
                    yield source, layers[folder]


def main():
    parser = argparse.ArgumentParser(description='Checks the includes against the layer table.')
    parser.add_argument('root', nargs='?', default=os.path.dirname(HERE))
    parser.add_argument('--layers', default=os.path.join(os.path.dirname(HERE), 'cmake', 'layers.txt'))
    arguments = parser.parse_args()
    layers = read_layers(arguments.layers)
    problems = []
    for source, layer in sources_of(arguments.root, layers):
        problems.extend(check_file(arguments.root, source, layer, layers))
    for problem in problems:
        print(problem)
    if problems:
        print(f'{len(problems)} include(s) break the layering of {arguments.layers}')
        return 1
    return 0


if __name__ == '__main__':
    sys.exit(main())
