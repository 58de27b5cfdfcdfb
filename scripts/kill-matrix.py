#!/usr/bin/env python3
"""Which tests catch which changes: the mutation tool's sample, run test by test.

    python3 scripts/kill-matrix.py SRC BUILD MAX SEED OUT.json
    python3 scripts/kill-matrix.py --summary OUT.json [OUT2.json ...]

SRC is a clean clone (its files are changed one at a time and restored), BUILD
a folder for its native Debug build. The changes are those that
../shared/tools/mutate.py draws with the same MAX and SEED. For each one the
native test programs run in full (not stopped at the first failure) and OUT
records the failing tests; failures inside the flow table are named by their
row. --summary prints, for each test or row, how many changes it catches and
how many only it catches: a test without any of its own is a candidate for
removal, unless it guards something the suite must keep.
"""
import collections, glob, json, os, random, re, shutil, subprocess, sys, tempfile

sys.path.insert(0, os.path.join(os.path.dirname(__file__), '..', '..', 'shared', 'tools'))
import mutate  # noqa: E402  (the sampling must be the mutation tool's own)


def units(change):
    """The tests (flow rows by name) that failed on one change."""
    found = set()
    for test in change['failed']:
        rows = set()
        for message in change['messages'].get(test, []):
            rows.update(re.findall(r'FlowTest\.cpp:\d+: (.+)', message.split('Google Test trace:')[-1])
                        if 'Google Test trace:' in message and 'Every' in test else [])
        found.update(test + ' | ' + row for row in rows) if rows else found.add(test)
    return found


def summary(paths):
    changes = {(c['file'], c['line'], c['mutated']): c for p in paths for c in json.load(open(p))
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
    src, build = os.path.abspath(src), os.path.abspath(build)
    for cmd in (['cmake', '-S', src, '-B', build, '-G', 'Ninja', '-DCMAKE_BUILD_TYPE=Debug'],
                ['ninja', '-C', build]):
        if (r := mutate.sh(cmd)).returncode:
            sys.exit(r.stdout[-3000:])
    native = open(os.path.join(build, 'build.ninja')).read()
    files = [f for f in sorted(glob.glob('src/**/*.cpp', root_dir=src, recursive=True))
             if not f.endswith('Win32.cpp') and f'{src}/{f}' in native]
    candidates = {f: mutate.file_mutants(os.path.join(src, f), f, r'\bTrace\s*\(') for f in files}
    rng = random.Random(seed)
    chosen = mutate.stratified(candidates, most, rng)
    rng.shuffle(chosen)
    programs = [os.path.join(build, 'tests/unit/vok_unit_tests')]
    results = []
    for n, change in enumerate(chosen, 1):
        path = os.path.join(src, change['file'])
        original = open(path, 'rb').read()
        lines = original.decode('latin-1').split('\n')
        lines[change['line'] - 1] = change.pop('_new')
        try:
            open(path, 'wb').write('\n'.join(lines).encode('latin-1'))
            if mutate.sh(['ninja', '-C', build]).returncode:
                change['outcome'] = 'invalid'
            else:
                change['failed'], change['messages'] = [], {}
                scratch = tempfile.mkdtemp(prefix='kill-matrix-')
                for program in programs:
                    report = os.path.join(scratch, 'report.json')
                    try:
                        done = subprocess.run([program, '--gtest_output=json:' + report], timeout=60,
                                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                              env=dict(os.environ, TMPDIR=scratch + '/'))
                        failed = []
                        if os.path.exists(report):
                            for suite in json.load(open(report))['testsuites']:
                                for test in suite['testsuite']:
                                    if test.get('failures'):
                                        name = suite['name'] + '.' + test['name']
                                        failed.append(name)
                                        change['messages'][name] = [
                                            f['failure'][:300] + ' ... ' + f['failure'][-300:]
                                            for f in test['failures'][:40]]
                        change['failed'] += failed or ([program + ' (crashed)'] if done.returncode else [])
                    except subprocess.TimeoutExpired:
                        change['failed'].append(program + ' (timed out)')
                shutil.rmtree(scratch, ignore_errors=True)
                change['outcome'] = 'killed' if change['failed'] else 'survived'
        finally:
            open(path, 'wb').write(original)
        results.append(change)
        print(n, change['outcome'], change['file'], change['line'], flush=True)
        json.dump(results, open(out, 'w'), indent=1)
    mutate.sh(['ninja', '-C', build])


if __name__ == '__main__':
    if sys.argv[1:2] == ['--summary']:
        summary(sys.argv[2:])
    elif len(sys.argv) == 6:
        run(sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4]), sys.argv[5])
    else:
        sys.exit(__doc__)
