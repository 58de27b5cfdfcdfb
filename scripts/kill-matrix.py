#!/usr/bin/env python3
"""Which tests catch which changes: the mutation tool's sample, run test by test.

    python3 scripts/kill-matrix.py SRC BUILD MAX SEED OUT.json
    python3 scripts/kill-matrix.py --summary OUT.json [OUT2.json ...]
    python3 scripts/kill-matrix.py --cover OUT.json [OUT2.json ...]

SRC is a clean clone (its files are changed one at a time and restored), BUILD
a folder for its native Debug build. The changes are those that
scripts/mutate.py draws with the same MAX and SEED. For each one the native
test programs run in full (not stopped at the first failure) and OUT records
the failing tests; failures inside the flow table are named by their row.
--summary prints, for each test or row, how many changes it catches and how
many only it catches: a test without any of its own is a candidate for
removal, unless it guards something the suite must keep. --cover lists
tests and rows that can all go together without one caught change going
uncaught (removed greedily, the fewest catches first): what the sample
says, not a verdict.
"""
import collections, json, os, re, sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import mutate  # noqa: E402  (the sample and the runs are the mutation tool's own)


def units(change):
    """The tests (flow rows by name) that failed on one change."""
    found = set()
    for test in change['failed']:
        rows = set()
        for message in change.get('messages', {}).get(test, []):
            rows.update(re.findall(r'FlowTest\.cpp:\d+: (.+)', message.split('Google Test trace:')[-1])
                        if 'Google Test trace:' in message and 'Every' in test else [])
        found.update(test + ' | ' + row for row in rows) if rows else found.add(test)
    return found


def load(path):
    """The changes of a file of this script's or of scripts/mutate.py --json."""
    data = json.load(open(path))
    return data['changes'] if isinstance(data, dict) else data


def caught(paths):
    """The caught changes of the files, each once."""
    return {(c['file'], c['line'], c['mutated']): c for p in paths for c in load(p)
            if c.get('outcome') == 'killed'}


def cover(paths):
    by_unit = collections.defaultdict(set)
    for key, change in caught(paths).items():
        for unit in units(change):
            by_unit[unit].add(key)
    kept, gone = set(by_unit), []
    while True:
        spare = [u for u in kept
                 if by_unit[u] <= set().union(*(by_unit[v] for v in kept if v != u))]
        if not spare:
            break
        unit = min(spare, key=lambda u: (len(by_unit[u]), u))
        kept.discard(unit)
        gone.append(unit)
    print(f'{len(gone)} of {len(by_unit)} tests could go without losing a caught change:')
    for unit in gone:
        print(f'{len(by_unit[unit]):5d}  {unit}')


def summary(paths):
    changes = caught(paths)
    total, own = collections.Counter(), collections.Counter()
    for change in changes.values():
        found = units(change)
        total.update(found)
        if len(found) == 1:
            own.update(found)
    print(f'{len(changes)} changes caught; per test: caught, caught by it alone')
    for unit, n in sorted(total.items()):
        print(f'{n:5d} {own[unit]:5d}  {unit}')


def run(src, build, most, seed, out):
    args = mutate.options(['--src', src, '--build', build, '--max', str(most), '--seed', str(seed)])
    project, _, chosen = mutate.prepare(args)
    project.baseline()

    def progress(line):
        print(line, flush=True)
        json.dump([c for c in chosen if 'outcome' in c], open(out, 'w'), indent=1)

    mutate.mutate(project, chosen, detail=True, progress=progress)


if __name__ == '__main__':
    if sys.argv[1:2] == ['--summary']:
        summary(sys.argv[2:])
    elif sys.argv[1:2] == ['--cover']:
        cover(sys.argv[2:])
    elif len(sys.argv) == 6:
        run(sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4]), sys.argv[5])
    else:
        sys.exit(__doc__)
