#!/usr/bin/env python3
"""Which tests catch which changes: the mutation tool's sample, run test by test.

    python3 scripts/kill-matrix.py SRC BUILD MAX SEED OUT.json
    python3 scripts/kill-matrix.py --summary OUT.json [OUT2.json ...]

SRC is a clean clone (its files are changed one at a time and restored), BUILD
a folder for its native Debug build. The changes are those that
scripts/mutate.py draws with the same MAX and SEED. For each one the native
test programs run in full (not stopped at the first failure) and OUT records
the failing tests; failures inside the flow table are named by their row.
--summary prints, for each test or row, how many changes it catches and how
many only it catches: a test without any of its own is a candidate for
removal, unless it guards something the suite must keep.
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


def summary(paths):
    changes = {(c['file'], c['line'], c['mutated']): c for p in paths for c in load(p)
               if c.get('outcome') == 'killed'}
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
    elif len(sys.argv) == 6:
        run(sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4]), sys.argv[5])
    else:
        sys.exit(__doc__)
