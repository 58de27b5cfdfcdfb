#!/usr/bin/env python3
"""Mutation testing of the portable code: do the unit tests catch small faults?

    python3 scripts/mutate.py --src CLONE --build DIR [--max 120] [--seed 1]
                              [--files GLOB ...] [--sanitize] [--report OUT.md] [--json OUT.json]

CLONE is a clone of this repository whose sources the tool edits, one change
at a time, and restores byte for byte (never point it at a tree with work in
progress); DIR is a folder for its native build (Ninja, Debug, benchmarks and
fuzz targets off; with --sanitize under AddressSanitizer and
UndefinedBehaviorSanitizer, as the test command runs the unit tests). The tool builds DIR once and runs the tests as the
baseline, which must pass. Then it lists every change its rules allow in the
C++ files of CLONE/src that the native build compiles (src/win32 is not among
them), draws MAX of them with SEED, each file's share in proportion to its
changes, and for each one writes the file, rebuilds, runs the test programs
ctest knows, and restores the file. Each change is then

    killed    a test failed, crashed or ran past the time limit
    survived  every test passed: a fault the suite lets through
    invalid   the changed code did not build (not counted)

and the score is killed / (killed + survived), overall and per file. The
markdown report lists the survivors; the JSON file holds every change (what
scripts/kill-matrix.py reads). The same MAX, SEED and sources always draw
the same changes.

The changes, one token each, on code only (never in comments, string or
character literals, preprocessor lines, or calls of the no-op trace hook):
  relational  < <= > >= == != : the boundary moved or the test negated
  logical     && || swapped; a leading ! removed
  arithmetic  + - * / % and their assignments swapped; ++ and -- swapped
  constant    an integer literal n as n + 1 and n - 1 (0 as 1)
  boolean     true and false swapped
  statement   a call or assignment statement that starts a line replaced by {}
Binary operators are taken only with a blank on each side, as the project's
clang-format writes them, so that template brackets, pointers and references
are never touched.
"""
import argparse
import fnmatch
import json
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

# --- Reading C++ --------------------------------------------------------------

# Longest first, so that "<<=" is not read as "<" "<=".
PUNCTUATORS = sorted('''<<= >>= <=> ... -> :: ++ -- << >> <= >= == != && || += -= *= /= %= &= |= ^=
    { } [ ] ( ) ; : , . ? ~ ! + - * / % ^ & | = < > #'''.split(), key=len, reverse=True)
TOKEN = re.compile(r'''
    (?P<space>\s+)
  | (?P<comment>//[^\n]*|/\*.*?\*/)
  | (?P<string>(?:u8|[uUL])?R"(?P<delim>[^(\s]*)\(.*?\)(?P=delim)"|(?:u8|[uUL])?"(?:\\.|[^"\\\n])*")
  | (?P<char>(?:u8|[uUL])?'(?:\\.|[^'\\\n])*')
  | (?P<number>(?:0[xX][0-9a-fA-F']+|[0-9][0-9']*)(?:\.[0-9]*)?(?:[eE][+-]?[0-9]+)?[a-zA-Z]*)
  | (?P<word>[A-Za-z_][A-Za-z_0-9]*)
  | (?P<punct>''' + '|'.join(re.escape(p) for p in PUNCTUATORS) + r''')
''', re.VERBOSE | re.DOTALL)

KEYWORDS_NOT_STATEMENTS = {
    'return', 'break', 'continue', 'goto', 'case', 'default', 'delete', 'throw', 'using',
    'typedef', 'namespace', 'template', 'static_assert', 'const', 'constexpr', 'static',
    'auto', 'struct', 'class', 'enum', 'union', 'unsigned', 'signed', 'int', 'char', 'bool',
    'void', 'long', 'short', 'double', 'float', 'if', 'for', 'while', 'do', 'switch', 'else',
}


# What the token before a statement can be: the end of another, a block's
# brace, an if's or a loop's parenthesis, a label's colon, else.
STATEMENT_BEFORE = {';', '{', '}', ')', ':', 'else'}


def tokens(text):
    """(kind, text, offset) of every token of a C++ source, preprocessor lines
    as one token each."""
    at, line_start = 0, True
    while at < len(text):
        if line_start:
            directive = re.compile(r'[ \t]*#(?:[^\n\\]|\\.)*', re.DOTALL).match(text, at)
            if directive:
                yield 'directive', directive.group(), at
                at = directive.end()
                continue
        match = TOKEN.match(text, at)
        if not match:  # a stray byte: let it pass as its own token
            yield 'other', text[at], at
            at += 1
            line_start = False
            continue
        kind = match.lastgroup if match.lastgroup != 'delim' else 'string'
        if kind == 'space':
            line_start = line_start or '\n' in match.group()
        else:
            line_start = False
            yield kind, match.group(), at
        at = match.end()


# --- The changes --------------------------------------------------------------

BINARY = {
    '<': ['<=', '>='], '<=': ['<', '>'], '>': ['>=', '<='], '>=': ['>', '<'],
    '==': ['!='], '!=': ['=='],
    '&&': ['||'], '||': ['&&'],
    '+': ['-'], '-': ['+'], '*': ['/'], '/': ['*'], '%': ['*'],
    '+=': ['-='], '-=': ['+='], '*=': ['/='], '/=': ['*='],
    '<<': ['>>'], '>>': ['<<'],
}
KIND = {op: 'relational' for op in ('<', '<=', '>', '>=', '==', '!=')}
KIND.update({op: 'logical' for op in ('&&', '||')})


def spaced(text, start, end):
    """Whether the token at text[start:end] has a blank on each side."""
    return 0 < start and end < len(text) and text[start - 1] in ' \t' and text[end] in ' \t\n'


def statement_end(toks, i):
    """For a line that starts a call or assignment statement at toks[i], the
    index of the statement's closing ';'; None for anything else."""
    kind, word, _ = toks[i]
    if kind != 'word' or word in KEYWORDS_NOT_STATEMENTS:
        return None
    j = i + 1
    while j + 1 < len(toks) and toks[j][1] in ('::', '.', '->') and toks[j + 1][0] == 'word':
        j += 2
    if j >= len(toks) or toks[j][1] not in ('(', '=', '+=', '-=', '*=', '/=', '|=', '&=', '[',
                                             '++', '--'):
        return None  # a declaration, a label, or something else
    depth = 0
    for k in range(j, len(toks)):
        text = toks[k][1]
        if toks[k][0] in ('comment', 'directive'):
            return None
        if text == '{':
            return None
        depth += 1 if text in ('(', '[') else -1 if text in (')', ']') else 0
        if depth < 0:
            return None
        if text == ';' and depth == 0:
            return k
    return None


def changes_in(path, relative, skip_lines):
    """Every change the rules allow in one file, in file order."""
    text = open(path, encoding='latin-1', newline='').read()
    toks = list(tokens(text))
    line_of = [0]
    for at, character in enumerate(text):
        if character == '\n':
            line_of.append(at + 1)

    def line_number(offset):
        low, high = 0, len(line_of) - 1
        while low < high:
            middle = (low + high + 1) // 2
            if line_of[middle] <= offset:
                low = middle
            else:
                high = middle - 1
        return low + 1

    found = []

    def add(rule, start, end, replacement):
        line = line_number(start)
        line_start = line_of[line - 1]
        line_end = text.find('\n', end)
        line_end = len(text) if line_end < 0 else line_end
        source = text[line_start:line_end].rstrip('\r')
        if skip_lines.search(source):
            return
        found.append({
            'file': relative, 'line': line, 'column': start - line_start + 1, 'rule': rule,
            'original': text[start:end], 'replacement': replacement, 'offset': start,
            'source': ' '.join(source.split()),
            'mutated': ' '.join((text[line_start:start] + replacement + text[end:line_end]).split()),
        })

    previous_line = 0
    for i, (kind, word, start) in enumerate(toks):
        end = start + len(word)
        line = line_number(start)
        starts_line = line != previous_line
        previous_line = line
        if kind == 'punct' and word in BINARY and spaced(text, start, end):
            for replacement in BINARY[word]:
                add(KIND.get(word, 'arithmetic'), start, end, replacement)
        elif kind == 'punct' and word in ('++', '--'):
            add('arithmetic', start, end, '--' if word == '++' else '++')
        elif kind == 'punct' and word == '!' and end < len(text) and text[end] not in ' =':
            add('logical', start, end, '')
        elif kind == 'word' and word in ('true', 'false'):
            add('boolean', start, end, 'false' if word == 'true' else 'true')
        elif kind == 'number' and re.fullmatch(r'(0[xX][0-9a-fA-F]+|[0-9]+)[uUlL]*', word):
            digits = re.match(r'0[xX][0-9a-fA-F]+|[0-9]+', word).group()
            suffix = word[len(digits):]
            base = (16 if digits[:2].lower() == '0x' else
                    8 if len(digits) > 1 and digits[0] == '0' else 10)
            value = int(digits, base)
            width = len(digits) - 2  # a hexadecimal literal keeps its width and case
            case = 'x' if re.search('[a-f]', digits[2:]) else 'X'
            show = {16: lambda n: digits[:2] + format(n, f'0{width}{case}'),
                    8: lambda n: '0' + format(n, 'o'), 10: str}[base]
            for changed in ([1] if value == 0 else [value + 1, value - 1]):
                add('constant', start, end, show(changed) + suffix)
        if starts_line and kind == 'word' and (i == 0 or toks[i - 1][1] in STATEMENT_BEFORE):
            last = statement_end(toks, i)
            if last is not None:
                add('statement', start, toks[last][2] + 1, '{}')
    return found


# --- Building and testing ------------------------------------------------------


def sh(command, timeout=None, **options):
    """Runs a command, output captured, in a process group of its own that a
    timeout ends whole."""
    process = subprocess.Popen(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                               start_new_session=True, text=True, errors='replace', **options)
    try:
        output, _ = process.communicate(timeout=timeout)
    except subprocess.TimeoutExpired:
        os.killpg(process.pid, signal.SIGKILL)
        output, _ = process.communicate()
        return None, output
    return process.returncode, output


class Project:
    """The native build of a clone and the test programs ctest knows there."""

    def __init__(self, src, build, sanitize=False):
        self.src, self.build = os.path.abspath(src), os.path.abspath(build)
        self.sanitize = sanitize
        self.time_limit = 60.0

    def configure(self):
        code, output = sh(['cmake', '-S', self.src, '-B', self.build, '-G', 'Ninja',
                           '-DCMAKE_BUILD_TYPE=Debug', '-DCMAKE_EXPORT_COMPILE_COMMANDS=ON',
                           '-DVOK_BUILD_BENCH=OFF', '-DVOK_FUZZ=OFF',
                           '-DVOK_SANITIZE=' + ('ON' if self.sanitize else 'OFF')])
        if code != 0 or not self.compile():
            sys.exit(f'mutate.py: the native build of {self.src} failed:\n{output[-3000:]}'
                     f'{self.last_build[-3000:]}')
        self.programs = self.test_programs()
        if not self.programs:
            sys.exit('mutate.py: ctest knows no test program in ' + self.build)

    def baseline(self):
        """Runs the tests unchanged, which must pass, and sets the time limit
        of a run from theirs."""
        started = time.monotonic()
        failed, _ = self.run_tests()
        if failed:
            sys.exit(f'mutate.py: the tests fail without any change: {failed}')
        self.time_limit = max(30.0, 10 * (time.monotonic() - started))

    def compile(self):
        code, self.last_build = sh(['ninja', '-C', self.build], timeout=600)
        return code == 0

    def compiled_sources(self):
        """The sources under src/ that the native build compiles, relative."""
        entries = json.load(open(os.path.join(self.build, 'compile_commands.json')))
        sources = {os.path.relpath(os.path.join(e['directory'], e['file']), self.src)
                   for e in entries}
        return sorted(s for s in sources if s.startswith('src/') and s.endswith('.cpp'))

    def test_programs(self):
        """Each program ctest runs, once, and whether it is a GoogleTest one."""
        code, output = sh(['ctest', '--show-only=json-v1'], cwd=self.build, timeout=300)
        programs = {}
        for test in json.loads(output[output.index('{'):])['tests'] if code == 0 else []:
            command = test.get('command') or []
            if command:
                programs.setdefault(command[0], any('--gtest' in a for a in command))
        return sorted(programs.items())

    def run_tests(self, detail=False):
        """Runs every test program; returns (failed, messages): the failed
        tests by name where GoogleTest names them, else the failing program
        and how it ended; with detail, every failed test of every program and
        the start and end of their messages. Without detail it stops at the
        first failure."""
        failed, messages = [], {}
        scratch = tempfile.mkdtemp(prefix='vok-mutate-')
        try:
            for program, gtest in self.programs:
                report = os.path.join(scratch, 'report.json')
                command = [program]
                if gtest:
                    command += (['--gtest_output=json:' + report] if detail
                                else ['--gtest_brief=1', '--gtest_fail_fast'])
                env = dict(os.environ, TMPDIR=scratch + '/')
                code, output = sh(command, timeout=self.time_limit, cwd=scratch, env=env)
                if detail:
                    names = failing_tests(report) if os.path.exists(report) else {}
                else:  # the brief output names the failed test, without its messages
                    names = dict.fromkeys(re.findall(r'^\[  FAILED  \] (\S+)', output or '',
                                                     re.MULTILINE), [])
                messages.update(names)
                if names:
                    failed += sorted(names)
                elif code != 0:
                    why = 'timed out' if code is None else f'exited with {code}'
                    failed.append(f'{os.path.basename(program)} ({why})')
                if failed and not detail:
                    break
        finally:
            shutil.rmtree(scratch, ignore_errors=True)
        return failed, messages


def failing_tests(report):
    """The failed tests of a GoogleTest JSON report, with their messages'
    first and last 300 characters (at most 40 messages each)."""
    found = {}
    for suite in json.load(open(report)).get('testsuites', []):
        for test in suite.get('testsuite', []):
            if test.get('failures'):
                found[suite['name'] + '.' + test['name']] = [
                    f['failure'][:300] + ' ... ' + f['failure'][-300:]
                    for f in test['failures'][:40]]
    return found


# --- Drawing the sample --------------------------------------------------------


def draw(changes, most, seed):
    """Up to `most` changes, each file's share in proportion to its count
    (largest remainders first, ties by file name), drawn with `seed`."""
    by_file = {}
    for change in changes:
        by_file.setdefault(change['file'], []).append(change)
    total = len(changes)
    if most >= total:
        return list(changes)
    quotas = {f: most * len(c) / total for f, c in by_file.items()}
    shares = {f: int(q) for f, q in quotas.items()}
    for f in sorted(quotas, key=lambda f: (shares[f] - quotas[f], f))[:most - sum(shares.values())]:
        shares[f] += 1
    rng = random.Random(seed)
    chosen = []
    for f in sorted(by_file):
        chosen += rng.sample(by_file[f], shares[f])
    return sorted(chosen, key=lambda c: (c['file'], c['offset'], c['replacement']))


def apply(src, change):
    """Writes the change into its file; returns the file's original bytes."""
    path = os.path.join(src, change['file'])
    original = open(path, 'rb').read()
    text = original.decode('latin-1')
    end = change['offset'] + len(change['original'])
    assert text[change['offset']:end] == change['original'], change
    open(path, 'wb').write((text[:change['offset']] + change['replacement'] +
                            text[end:]).encode('latin-1'))
    return original


def mutate(project, chosen, detail=False, progress=print):
    """Runs each chosen change; records its outcome in it. The sources are
    restored whatever happens."""
    for n, change in enumerate(chosen, 1):
        path = os.path.join(project.src, change['file'])
        started = time.monotonic()
        original = apply(project.src, change)
        try:
            if not project.compile():
                change['outcome'] = 'invalid'
            else:
                change['failed'], change['messages'] = project.run_tests(detail)
                change['outcome'] = 'killed' if change['failed'] else 'survived'
        finally:
            open(path, 'wb').write(original)
        change['seconds'] = round(time.monotonic() - started, 1)
        progress(f"{n:4d}/{len(chosen)} {change['seconds']:5.1f} s {change['outcome']:8s} "
                 f"{change['file']}:{change['line']} "
                 f"{change['rule']}: {change['original']} -> {change['replacement'] or '(removed)'}")
    project.compile()  # leaves the build as the sources are


# --- Reporting -----------------------------------------------------------------


def score(killed, survived):
    return f'{100.0 * killed / (killed + survived):.1f}%' if killed + survived else '-'


def tally(chosen):
    rows = {}
    for change in chosen:
        row = rows.setdefault(change['file'], {'killed': 0, 'survived': 0, 'invalid': 0})
        row[change['outcome']] += 1
    return rows


def markdown(summary, chosen, candidates):
    rows = tally(chosen)
    killed = sum(r['killed'] for r in rows.values())
    survived = sum(r['survived'] for r in rows.values())
    invalid = sum(r['invalid'] for r in rows.values())
    lines = [
        '# Mutation testing', '',
        f"`{summary['command']}`", '',
        f"Sources: {summary['commit']}. Sample: {len(chosen)} of {summary['candidates']} possible "
        f"changes, seed {summary['seed']}; {invalid} did not build. Score: **{killed} of "
        f"{killed + survived} killed ({score(killed, survived)})**, in "
        f"{summary['minutes']} minutes.", '',
        '| file | changes possible | drawn | killed | survived | invalid | score |',
        '| ---- | ---: | ---: | ---: | ---: | ---: | ---: |',
    ]
    for f in sorted(candidates):
        r = rows.get(f, {'killed': 0, 'survived': 0, 'invalid': 0})
        lines.append(f"| `{f}` | {candidates[f]} | {sum(r.values())} | {r['killed']} | "
                     f"{r['survived']} | {r['invalid']} | {score(r['killed'], r['survived'])} |")
    lines += ['', '## Survivors', '']
    survivors = [c for c in chosen if c['outcome'] == 'survived']
    for change in survivors:
        lines += [f"- `{change['file']}:{change['line']}` {change['rule']}: "
                  f"`{change['original']}` -> `{change['replacement'] or '(removed)'}`",
                  f"  `{change['source']}` becomes `{change['mutated']}`"]
    if not survivors:
        lines.append('None.')
    return '\n'.join(lines) + '\n'


def git_commit(src):
    code, output = sh(['git', '-C', src, 'log', '-1', '--format=commit %h (%cs)'])
    dirty, _ = sh(['git', '-C', src, 'diff', '--quiet', 'HEAD'])
    return (output.strip() + (', with changes not committed' if dirty else '')
            if code == 0 else 'not a git clone')


def options(argv):
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument('--src', required=True, help='a clone whose sources are changed')
    parser.add_argument('--build', required=True, help='a folder for its native build')
    parser.add_argument('--max', type=int, default=120, help='changes to draw (default 120)')
    parser.add_argument('--seed', type=int, default=1, help='seed of the draw (default 1)')
    parser.add_argument('--files', nargs='+', default=['src/**'],
                        help='globs of the files to change, relative to SRC (default src/**)')
    parser.add_argument('--skip-lines', default=r'\bTrace\s*\(',
                        help='regular expression of lines never changed (default: calls of '
                             'the no-op trace hook)')
    parser.add_argument('--report', help='markdown report to write')
    parser.add_argument('--json', help='every change and its outcome, as JSON')
    parser.add_argument('--sanitize', action='store_true',
                        help='build with AddressSanitizer and UndefinedBehaviorSanitizer, as '
                             'the test command runs the unit tests: a change that makes them '
                             'report counts as caught')
    parser.add_argument('--list', action='store_true',
                        help='only count the possible changes per file')
    return parser.parse_args(argv)


def prepare(args):
    """The configured project, every possible change per file, and the draw."""
    project = Project(args.src, args.build, args.sanitize)
    project.configure()
    files = [f for f in project.compiled_sources()
             if any(fnmatch.fnmatch(f, glob) for glob in args.files)]
    skip = re.compile(args.skip_lines)
    candidates = {f: changes_in(os.path.join(project.src, f), f, skip) for f in files}
    every = [c for f in files for c in candidates[f]]
    return project, candidates, draw(every, args.max, args.seed)


def main(argv):
    args = options(argv)
    # A stop (Ctrl-C or kill) unwinds like an error, so that the file being
    # changed is restored.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit('mutate.py: stopped'))
    started = time.monotonic()
    project, candidates, chosen = prepare(args)
    counts = {f: len(c) for f, c in candidates.items()}
    if args.list:
        for f, n in counts.items():
            print(f'{n:6d}  {f}')
        print(f'{sum(counts.values()):6d}  in all')
        return 0
    project.baseline()
    print(f'{len(chosen)} of {sum(counts.values())} possible changes, seed {args.seed}; '
          f'test programs: {", ".join(os.path.basename(p) for p, _ in project.programs)}',
          flush=True)
    mutate(project, chosen, progress=lambda line: print(line, flush=True))
    summary = {
        'command': f'python3 scripts/mutate.py --max {args.max} --seed {args.seed}' + (
            ' --files ' + ' '.join(args.files) if args.files != ['src/**'] else '') + (
            ' --sanitize' if args.sanitize else ''),
        'commit': git_commit(project.src), 'seed': args.seed, 'max': args.max,
        'candidates': sum(counts.values()),
        'minutes': round((time.monotonic() - started) / 60, 1),
    }
    for change in chosen:
        change.pop('messages', None)
    if args.json:
        json.dump(dict(summary, per_file=counts, changes=chosen), open(args.json, 'w'), indent=1)
    report = markdown(summary, chosen, counts)
    if args.report:
        open(args.report, 'w').write(report)
    print()
    print(report)
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
