#!/usr/bin/env python3
"""Every header the compiler opened for a checked target's objects must lie
on that target's include path, however the #include spelled it.

    check_includes.py BUILD_DIR [--only PREFIX | --skip PREFIX]

reads the headers each object was built from (`ninja -t deps`, as the
compiler reported them) and the include path of each checked target
(floors/visible/TARGET, written by cmake/Floors.cmake). A header of the
source tree that the target's include path does not hold is a floor
crossed: it is printed, one line each, and the exit code is 1."""
import os
import re
import subprocess
import sys


def visible_headers(build, target):
    """The real paths of the headers on the target's include path."""
    with open(os.path.join(build, 'floors', 'visible', target)) as f:
        folders = [line.strip() for line in f if line.strip()]
    seen = set()
    for folder in folders:
        for parent, _, names in os.walk(folder, followlinks=True):
            seen.update(os.path.realpath(os.path.join(parent, n)) for n in names if n.endswith('.h'))
    return seen


def objects_and_headers(build):
    """(target, object, [header as reported]) for each object ninja knows."""
    out = subprocess.run(['ninja', '-C', build, '-t', 'deps'], capture_output=True, text=True, check=True).stdout
    current = None
    for line in out.splitlines():
        if line and not line.startswith(' '):
            if current:
                yield current
            obj = line.split(':', 1)[0]
            m = re.search(r'CMakeFiles/([^/]+)\.dir/', obj)
            current = (m.group(1) if m else None, obj, [])
        elif line.strip() and current:
            current[2].append(line.strip())
    if current:
        yield current


def main():
    build = os.path.realpath(sys.argv[1])
    only = sys.argv[3] if len(sys.argv) > 3 and sys.argv[2] == '--only' else None
    skip = sys.argv[3] if len(sys.argv) > 3 and sys.argv[2] == '--skip' else None
    source = os.path.realpath(os.path.join(os.path.dirname(__file__), '..', '..'))
    checked = set(os.listdir(os.path.join(build, 'floors', 'visible')))
    visible = {}
    crossed = []
    for target, obj, headers in objects_and_headers(build):
        if target not in checked or (only and not target.startswith(only)) or (skip and target.startswith(skip)):
            continue
        if target not in visible:
            visible[target] = visible_headers(build, target)
        for header in headers[1:]:  # the first is the source file itself
            path = os.path.realpath(os.path.join(build, header))
            if not path.endswith('.h') or not path.startswith(source + os.sep) or path.startswith(build + os.sep):
                continue
            if path not in visible[target]:
                crossed.append('%s: %s includes %s, a header of a floor it does not link' %
                               (target, os.path.relpath(os.path.realpath(os.path.join(build, headers[0])), source),
                                os.path.relpath(path, source)))
    for line in sorted(set(crossed)):
        print(line)
    print('%d include(s) cross a floor' % len(set(crossed)))
    return 1 if crossed else 0


if __name__ == '__main__':
    sys.exit(main())
