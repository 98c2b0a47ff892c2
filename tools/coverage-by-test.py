#!/usr/bin/env python3
"""Which tests execute code of src/ and app/ that no other test executes.

Runs every test of a coverage build (tools/coverage.sh) on its own, each one
writing its counts under a directory of its own (GCOV_PREFIX), and reads the
arc counters of the toolkit's and the program's objects from the .gcda files.
Prints, for every test, the edges of the control flow only it executes; then
takes out, one at a time and the longest first, GoogleTest tests that execute
nothing the remaining ones do not, and lists them with the lines of their
bodies. Taking out all of them together leaves line and branch coverage as it
is. An edge counts once executed: what a test asserts is not seen here, so a
test on the list may still be the only one to check an outcome. Nor is what
runs in a process that ends without writing its counts (a death test's child
that aborts, a program killed by a signal), so such tests look emptier than
they are.

Tests of the host tools (tests/board, tests/lng) are never listed: the code
they test is not measured.

  tools/coverage-by-test.py [BUILD_DIR]     (default: build-coverage)
"""
import collections
import json
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
from concurrent.futures import ThreadPoolExecutor

TOP = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
MEASURED = ('src/CMakeFiles/OKU_objects.dir', 'src/CMakeFiles/OKU_cairo.dir', 'app/CMakeFiles/')
UNMEASURED_TESTS = ('tests/board/', 'tests/lng/')

TAG_FUNCTION = 0x01000000
TAG_ARCS = 0x01a10000


def executed_edges(gcda):
    """(function ident, counter index) of every arc counter above zero."""
    data = open(gcda, 'rb').read()
    edges = set()
    function = None
    pos = 16  # magic, version, stamp, checksum
    while pos + 8 <= len(data):
        tag, length = struct.unpack_from('<Ii', data, pos)
        pos += 8
        if tag == 0:
            break
        if tag == TAG_FUNCTION:
            function = struct.unpack_from('<I', data, pos)[0] if length else None
        elif tag == TAG_ARCS and length > 0:
            counters = struct.unpack_from('<%dq' % (length // 8), data, pos)
            edges.update((function, i) for i, c in enumerate(counters) if c)
        # A negative length stands for that many bytes of zero counters, not stored.
        pos += max(length, 0)
    return edges


def run_alone(test, build, prefix):
    properties = {p['name']: p['value'] for p in test.get('properties', [])}
    env = dict(os.environ, GCOV_PREFIX=prefix)
    for assignment in properties.get('ENVIRONMENT', []):
        name, value = assignment.split('=', 1)
        env[name] = value
    try:
        status = subprocess.run(test['command'], cwd=properties.get('WORKING_DIRECTORY', build),
                                env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                timeout=float(properties.get('TIMEOUT', 600))).returncode
    except subprocess.TimeoutExpired:
        status = 'timeout'
    edges = set()
    root = prefix + build
    for directory, _, files in os.walk(root):
        relative = os.path.relpath(directory, root)
        if relative.startswith(MEASURED):
            for name in files:
                if name.endswith('.gcda'):
                    path = os.path.join(relative, name)
                    edges.update((path,) + edge
                                 for edge in executed_edges(os.path.join(directory, name)))
    shutil.rmtree(prefix, ignore_errors=True)
    return status, edges


def count_lines(lines):
    """Lines that are neither blank nor comments."""
    count = 0
    in_comment = False
    for line in lines:
        text = line.strip()
        if in_comment:
            if '*/' not in text:
                continue
            in_comment = False
            text = text.split('*/', 1)[1].strip()
        if not text or text.startswith('//'):
            continue
        if text.startswith('/*'):
            in_comment = '*/' not in text
            continue
        count += 1
    return count


def test_bodies():
    """Suite.Name -> (file, lines of the body) for every GoogleTest test."""
    bodies = {}
    for directory, _, files in os.walk(os.path.join(TOP, 'tests')):
        for name in files:
            if not name.endswith('.cpp'):
                continue
            path = os.path.join(directory, name)
            lines = open(path, errors='replace').read().split('\n')
            for start, line in enumerate(lines):
                match = re.match(r'TEST(?:_F|_P)?\((\w+),\s*(\w+)\)', line)
                if match:
                    end = lines.index('}', start)
                    bodies[match.group(1) + '.' + match.group(2)] = (
                        os.path.relpath(path, TOP), count_lines(lines[start:end + 1]))
    return bodies


def main():
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(TOP, 'build-coverage'))
    listing = subprocess.run(['ctest', '--show-only=json-v1'], cwd=build, check=True,
                             capture_output=True, text=True).stdout
    # Tests that build targets run no measured code.
    tests = [t for t in json.loads(listing)['tests']
             if t.get('command') and '--build' not in t['command']]
    scratch = tempfile.mkdtemp(prefix='coverage-by-test.')
    with ThreadPoolExecutor(os.cpu_count()) as pool:
        results = list(pool.map(lambda it: run_alone(it[1], build, '%s/%d' % (scratch, it[0])),
                                enumerate(tests)))
    os.rmdir(scratch)
    edges = {t['name']: result[1] for t, result in zip(tests, results)}
    failed = [t['name'] for t, result in zip(tests, results) if result[0] != 0]
    if failed:
        print('failed (their figures are incomplete):', ' '.join(failed))

    runs = collections.Counter(edge for executed in edges.values() for edge in executed)
    print('%d edges executed by %d tests' % (len(runs), len(tests)))
    print('\nedges only one test executes, per test:')
    for name in sorted(edges, key=lambda n: (-sum(runs[e] == 1 for e in edges[n]), n)):
        print('%6d %s' % (sum(runs[e] == 1 for e in edges[name]), name))

    bodies = test_bodies()
    candidates = {n for n in edges
                  if n in bodies and not bodies[n][0].startswith(UNMEASURED_TESTS)}
    remaining = set(edges)
    taken = []
    while True:
        spare = [n for n in remaining & candidates if all(runs[e] > 1 for e in edges[n])]
        if not spare:
            break
        longest = max(spare, key=lambda n: (bodies[n][1], n))
        taken.append(longest)
        remaining.discard(longest)
        for edge in edges[longest]:
            runs[edge] -= 1
    print('\ntests the others cover edge for edge, taken out longest first:')
    for name in taken:
        print('%6d %s %s' % (bodies[name][1], bodies[name][0], name))
    print('%6d lines in %d tests' % (sum(bodies[n][1] for n in taken), len(taken)))


if __name__ == '__main__':
    main()
