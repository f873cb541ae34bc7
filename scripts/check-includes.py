#!/usr/bin/env python3
"""Fails on an #include that runs against the direction drawn in docs/internals.md.

The drawing is the fenced block after the line "Rooms, lowest first:" there: one
line per level, rooms on one line side by side. Code in a room may include its own
room and the rooms of the levels above its line (lower rooms), never a room of its
own level or of a level below. Tests, benchmarks and tools stand above every room.
A program folder missing from the drawing is an error too, so a new room is drawn
when it is made."""
import os, re, subprocess, sys

repo = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
outside = ('tests', 'bench', 'tools', 'packaging', 'scripts', 'cmake', 'docs', 'build')

text = open(os.path.join(repo, 'docs', 'internals.md'), encoding='utf-8').read()
m = re.search(r'Rooms, lowest first:\s*\n```[^\n]*\n(.*?)\n```', text, re.S)
if not m:
    sys.exit('docs/internals.md: no block after "Rooms, lowest first:"')
level = {}
for i, line in enumerate(m.group(1).splitlines()):
    for room in line.split('#')[0].split():
        level[room] = i

files = subprocess.run(['git', '-C', repo, 'ls-files', '*.cpp', '*.h'], capture_output=True,
                       text=True, check=True).stdout.split()
known = set(files)
inc = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)
bad = []
for f in files:
    if '/' not in f or f.startswith(tuple(o + '/' for o in outside)):
        continue
    room = f.split('/')[0]
    if room not in level:
        bad.append('%s: the room %s is not drawn in docs/internals.md' % (f, room))
        continue
    src = open(os.path.join(repo, f), encoding='utf-8', errors='replace').read()
    for target in inc.findall(src):
        if target not in known or '/' not in target:
            continue
        other = target.split('/')[0]
        if other == room or other in outside:
            continue
        if other not in level:
            bad.append('%s includes %s: the room %s is not drawn' % (f, target, other))
        elif level[other] >= level[room]:
            bad.append('%s includes %s: %s may not include %s' % (f, target, room, other))
for b in sorted(set(bad)):
    print(b, file=sys.stderr)
if bad:
    sys.exit(1)
print('includes: %d rooms, every include runs downwards' % len(level))
