#!/usr/bin/env python3
"""Mutation testing of the display and settings rules.

Plants one small fault at a time (a comparison, arithmetic or logical
operator, a constant, a min/max) into the rule code of display/ and settings/,
rebuilds the test program that links it and runs it: a mutant the tests do
not notice (it builds and every test passes) survives. Survivors are listed
with file:line and the change, so that a test can be written for each real
fault; a survivor that changes nothing a user or caller could see is judged
by hand and listed in tools/mutate_equivalent.txt with the reason.

    tools/mutate.py [--sample N] [--seed S] [--build DIR] [--report FILE] [--survivors]
    tools/mutate.py --list [FILE...]       the mutants of the files, nothing built

The build tree (default build-mutate/) holds a copy of the source tree and a
Debug build of it, so the worktree is never touched and the other build trees
are not disturbed. The shared build lock (/tmp/tz-build.lock) is taken for a
short slice of mutants at a time (--slice seconds, a mutant is never cut), so
other builds go on between slices without each mutant queueing behind them.
A mutant whose object file is the original's (the compiler made the same
code) is equivalent without a look; one that does not compile is stillborn.
Both are left out of the score, which is killed / (built - equivalent).

Each outcome is kept in results.json of the build tree; --survivors runs only
the sampled mutants that survived last time (tests are only ever added, so a
killed mutant stays killed) and reports the whole sample again.
"""

import argparse
import fcntl
import hashlib
import json
import os
import random
import re
import shutil
import subprocess
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent

# The rule code under test, and the test program that links each folder.
FILES = [
    "display/panel_contents.cpp",
    "display/marker_switches.cpp",
    "display/marker_placement.cpp",
    "display/zoom_scroll.cpp",
    "display/panel_controls.cpp",
    "display/marker_lines.cpp",
    "display/plot_math.cpp",
    "display/layout.cpp",
    "display/format_decimals.cpp",
    "settings/filter_rules.cpp",
    "settings/fft_choice_rules.cpp",
    "settings/parameter_fields.cpp",
]
TEST_PROGRAM = {"display": "display_tests", "settings": "settings_tests"}
LIBRARY = {"display": "torzalen_display", "settings": "torzalen_settings"}
EQUIVALENT_LIST = ROOT / "tools" / "mutate_equivalent.txt"
LOCK = "/tmp/tz-build.lock"

# ---- Mutants ----

# Binary operators are written with a blank on each side in this code base;
# template brackets, pointers and references never are, so requiring the
# blanks leaves those alone.
BINARY = {
    "<": ["<=", ">="],
    "<=": ["<", ">"],
    ">": [">=", "<="],
    ">=": [">", "<"],
    "==": ["!="],
    "!=": ["=="],
    "+": ["-"],
    "-": ["+"],
    "*": ["/"],
    "/": ["*"],
    "%": ["*"],
    "&&": ["||"],
    "||": ["&&"],
    "+=": ["-="],
    "-=": ["+="],
}
KIND = {
    "<": "comparison", "<=": "comparison", ">": "comparison", ">=": "comparison",
    "==": "comparison", "!=": "comparison",
    "+": "arithmetic", "-": "arithmetic", "*": "arithmetic", "/": "arithmetic",
    "%": "arithmetic", "+=": "arithmetic", "-=": "arithmetic",
    "&&": "logical", "||": "logical",
}
BINARY_RE = re.compile(r"(?<= )(<=|>=|==|!=|&&|\|\||\+=|-=|<|>|\+|-|\*|/|%)(?= )")
INCREMENT_RE = re.compile(r"\+\+|--")
NOT_RE = re.compile(r"(?<![\w)\]!=<>])!(?!=)")
BOOL_RE = re.compile(r"\b(true|false)\b")
MINMAX_RE = re.compile(r"\bstd::(min|max)\b")
NUMBER_RE = re.compile(
    r"(?<![\w.])(\d+\.\d*(?:[eE][+-]?\d+)?|\d+[eE][+-]?\d+|\d+)([uUlLfF]*)(?![\w.])")


def Masked(line, in_block):
    """The line with comments, string and character literals blanked out, and
    whether a block comment is still open at its end."""
    out = []
    i = 0
    quote = None
    while i < len(line):
        c = line[i]
        if in_block:
            if line.startswith("*/", i):
                in_block = False
                out.append("  ")
                i += 2
                continue
            out.append(" ")
        elif quote:
            if c == "\\":
                out.append("  ")
                i += 2
                continue
            if c == quote:
                quote = None
            out.append(" ")
        elif line.startswith("//", i):
            break
        elif line.startswith("/*", i):
            in_block = True
            out.append("  ")
            i += 2
            continue
        elif c in "\"'":
            quote = c
            out.append(" ")
        else:
            out.append(c)
        i += 1
    return "".join(out).ljust(len(line)), in_block


def NumberMutation(text):
    if re.fullmatch(r"\d+", text):
        n = int(text)
        return str(1 if n == 0 else 0 if n == 1 else n + 1)
    return repr(float(text) + 1.0)


def LineMutants(code):
    """(column, old, new, kind) of every mutation of one masked line."""
    found = []
    for m in BINARY_RE.finditer(code):
        for new in BINARY[m.group(1)]:
            found.append((m.start(), m.group(1), new, KIND[m.group(1)]))
    for m in INCREMENT_RE.finditer(code):
        found.append((m.start(), m.group(0), "--" if m.group(0) == "++" else "++", "arithmetic"))
    for m in NOT_RE.finditer(code):
        found.append((m.start(), "!", "", "logical"))
    for m in BOOL_RE.finditer(code):
        found.append((m.start(), m.group(1), "false" if m.group(1) == "true" else "true",
                      "constant"))
    for m in MINMAX_RE.finditer(code):
        old = m.group(0)
        found.append((m.start(), old, old.replace(m.group(1), "max" if m.group(1) == "min"
                                                   else "min"), "logical"))
    for m in NUMBER_RE.finditer(code):
        found.append((m.start(1), m.group(1), NumberMutation(m.group(1)), "constant"))
    return sorted(found)


def Mutants(rel, text):
    """Every mutant of a source file: dicts of file, line, column, change, and
    which occurrence of its line's text it is (the same line may stand twice)."""
    mutants = []
    in_block = False
    seen = {}
    for number, line in enumerate(text.split("\n"), 1):
        seen[line.strip()] = seen.get(line.strip(), 0) + 1
        code, in_block_after = Masked(line, in_block)
        stripped = code.strip()
        skip = (stripped.startswith("#") or stripped.startswith("static_assert") or
                "namespace" in stripped)
        if not skip:
            for column, old, new, kind in LineMutants(code):
                mutants.append({"file": rel, "line": number, "column": column, "old": old,
                                "new": new, "kind": kind, "text": line.strip(),
                                "occurrence": seen[line.strip()]})
        in_block = in_block_after
    return mutants


def Apply(text, mutant):
    lines = text.split("\n")
    line = lines[mutant["line"] - 1]
    column = mutant["column"]
    assert line[column:column + len(mutant["old"])] == mutant["old"], mutant
    lines[mutant["line"] - 1] = line[:column] + mutant["new"] + line[column + len(mutant["old"]):]
    return "\n".join(lines)


def Describe(m):
    new = m["new"] if m["new"] else "(removed)"
    return (f'{m["file"]}:{m["line"]}:{m["column"] + 1}: {m["kind"]} "{m["old"]}" -> "{new}"'
            f' in: {m["text"]}')


def Key(m):
    """What identifies a mutant across edits elsewhere: file, the line's text
    (with its occurrence when the same text stands more than once), the
    column and the change."""
    text = m["text"] if m["occurrence"] == 1 else f'{m["text"]} #{m["occurrence"]}'
    return f'{m["file"]}|{text}|{m["column"]}|{m["old"]}|{m["new"]}'


def JudgedEquivalent():
    """The mutants judged equivalent by hand: key -> reason."""
    judged = {}
    if not EQUIVALENT_LIST.exists():
        return judged
    for line in EQUIVALENT_LIST.read_text().splitlines():
        if not line.strip() or line.startswith("#"):
            continue
        key, _, reason = line.partition(" # ")
        judged[key.strip()] = reason.strip()
    return judged


# ---- Building and running ----

def Run(args, cwd=None, timeout=None, env=None):
    try:
        p = subprocess.run(args, cwd=cwd, timeout=timeout, env=env, stdout=subprocess.PIPE,
                           stderr=subprocess.STDOUT, text=True, errors="replace")
        return p.returncode, p.stdout
    except subprocess.TimeoutExpired as e:
        out = e.stdout if isinstance(e.stdout, str) else (e.stdout or b"").decode(errors="replace")
        return None, out


class BuildLock:
    def __enter__(self):
        self.f = open(LOCK, "a")
        fcntl.flock(self.f, fcntl.LOCK_EX)
        return self

    def __exit__(self, *exc):
        fcntl.flock(self.f, fcntl.LOCK_UN)
        self.f.close()


class Tree:
    """A copy of the source tree and its own build tree."""

    def __init__(self, base, timeout):
        self.base = base
        self.src = base / "src"
        self.build = base / "build"
        self.timeout = timeout
        self.env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
        self.env.setdefault("CCACHE_BASEDIR", "/work" if Path("/work").is_dir() else str(base))

    def Copy(self):
        def ignore(directory, names):
            skip = {".git"}
            if Path(directory) == ROOT:
                skip |= {n for n in names if n.startswith("build")}
            return skip
        shutil.copytree(ROOT, self.src, ignore=ignore, dirs_exist_ok=True)
        # The copy keeps the worktree's times, older than an object a mutant of
        # an earlier run may have left: the mutated files are made newer.
        for rel in FILES:
            self.Write(rel, (ROOT / rel).read_text())

    def Configure(self):
        if (self.build / "CMakeCache.txt").exists():
            return
        code, out = Run(["cmake", "-S", str(self.src), "-B", str(self.build),
                         "-DCMAKE_BUILD_TYPE=Debug", "-DTORZALEN_GUI=ON", "-DBUILD_TESTING=ON",
                         "-DTORZALEN_WERROR=OFF", "-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"],
                        env=self.env)
        if code != 0:
            sys.exit("cmake failed:\n" + out)

    def Object(self, rel):
        folder, name = rel.split("/")
        return self.build / folder / "CMakeFiles" / f"{LIBRARY[folder]}.dir" / f"{name}.o"

    def Digest(self, rel):
        path = self.Object(rel)
        return hashlib.sha256(path.read_bytes()).hexdigest() if path.exists() else None

    def Build(self, targets):
        code, out = Run(["cmake", "--build", str(self.build), "-j1", "--target", *targets],
                        env=self.env)
        return code == 0, out

    def Test(self, program):
        code, out = Run([str(self.build / program), "--gtest_brief=1"], cwd=self.build,
                        timeout=self.timeout, env=self.env)
        return code, out

    def Write(self, rel, text):
        path = self.src / rel
        path.write_text(text)
        # Newer than any object built so far, whatever the clock's resolution.
        stamp = time.time() + 2
        os.utime(path, (stamp, stamp))


def Baseline(tree):
    with BuildLock():
        ok, out = tree.Build(list(TEST_PROGRAM.values()))
        if not ok:
            sys.exit("the unchanged tree does not build:\n" + out[-3000:])
        for program in TEST_PROGRAM.values():
            code, out = tree.Test(program)
            if code != 0:
                sys.exit(f"{program} fails on the unchanged tree:\n" + out[-3000:])
    return {rel: tree.Digest(rel) for rel in FILES}


def RunMutant(tree, m, original, digests):
    """One of "killed", "survived", "equivalent" (same object code), "stillborn"."""
    folder = m["file"].split("/")[0]
    program = TEST_PROGRAM[folder]
    tree.Write(m["file"], Apply(original, m))
    try:
        ok, _ = tree.Build([program])
        if not ok:
            return "stillborn", ""
        if tree.Digest(m["file"]) == digests[m["file"]]:
            return "equivalent", "the same object code"
        code, out = tree.Test(program)
    finally:
        tree.Write(m["file"], original)
    if code is None:
        return "killed", "timeout"
    if code != 0:
        failed = re.findall(r"\[  FAILED  \] (\S+)", out)
        return "killed", failed[0] if failed else f"exit {code}"
    return "survived", ""


def Main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--list", nargs="*", metavar="FILE",
                        help="print the mutants of the files (default: all) and stop")
    parser.add_argument("--sample", type=int, default=150)
    parser.add_argument("--seed", type=int, default=17)
    parser.add_argument("--build", default=str(ROOT / "build-mutate"))
    parser.add_argument("--timeout", type=int, default=60, help="seconds per test program")
    parser.add_argument("--report", help="also write the report to this file")
    parser.add_argument("--slice", type=float, default=30.0,
                        help="seconds of mutants per taking of the build lock")
    parser.add_argument("--survivors", action="store_true",
                        help="run again only the mutants that survived the last run")
    args = parser.parse_args()

    if args.list is not None:
        for path in args.list or [str(ROOT / f) for f in FILES]:
            p = Path(path)
            rel = str(p.resolve().relative_to(ROOT)) if p.resolve().is_relative_to(ROOT) else path
            for m in Mutants(rel, p.read_text()):
                print(Describe(m))
        return 0

    sources = {rel: (ROOT / rel).read_text() for rel in FILES}
    everything = [m for rel in FILES for m in Mutants(rel, sources[rel])]
    rng = random.Random(args.seed)
    sample = rng.sample(everything, min(args.sample, len(everything)))
    sample.sort(key=lambda m: (m["file"], m["line"], m["column"], m["new"]))
    print(f"{len(everything)} mutants in {len(FILES)} files; {len(sample)} sampled (seed {args.seed})",
          flush=True)

    tree = Tree(Path(args.build).resolve(), args.timeout)
    tree.base.mkdir(parents=True, exist_ok=True)
    tree.Copy()
    tree.Configure()
    digests = Baseline(tree)
    judged = JudgedEquivalent()

    stored_path = tree.base / "results.json"
    stored = json.loads(stored_path.read_text()) if stored_path.exists() else {}
    if not args.survivors:
        stored = {}
    results = []
    lock = None
    for i, m in enumerate(sample, 1):
        start = time.time()
        before = stored.get(Key(m))
        if before and before[0] != "survived":
            outcome, detail = before
        else:
            if lock is None:
                lock = BuildLock().__enter__()
                taken = time.time()
            outcome, detail = RunMutant(tree, m, sources[m["file"]], digests)
            if time.time() - taken >= args.slice:
                lock.__exit__(None, None, None)
                lock = None
        stored[Key(m)] = [outcome, detail]
        stored_path.write_text(json.dumps(stored, indent=1))
        if outcome == "survived" and Key(m) in judged:
            outcome, detail = "equivalent", judged[Key(m)]
        results.append((m, outcome, detail))
        print(f"[{i}/{len(sample)}] {outcome:10} {time.time() - start:5.1f}s  {Describe(m)}"
              + (f"  ({detail})" if detail else ""), flush=True)
    if lock is not None:
        lock.__exit__(None, None, None)

    count = {k: sum(1 for _, o, _ in results if o == k)
             for k in ("killed", "survived", "equivalent", "stillborn")}
    scored = count["killed"] + count["survived"]
    lines = [f"Mutants: {len(sample)} sampled of {len(everything)} (seed {args.seed})",
             f"  stillborn (do not compile): {count['stillborn']}",
             f"  equivalent: {count['equivalent']}",
             f"  killed: {count['killed']}",
             f"  survived: {count['survived']}",
             f"Score: {count['killed']} / {scored} = "
             f"{100.0 * count['killed'] / scored if scored else 100.0:.1f} % of the non-equivalent "
             "mutants killed", "", "Survivors:"]
    lines += [f"  {Describe(m)}" for m, o, _ in results if o == "survived"] or ["  none"]
    lines += ["", "Equivalent:"]
    lines += [f"  {Describe(m)}  ({d})" for m, o, d in results if o == "equivalent"] or ["  none"]
    lines += ["", "Keys of the survivors (for tools/mutate_equivalent.txt):"]
    lines += [f"  {Key(m)}" for m, o, _ in results if o == "survived"]
    report = "\n".join(lines) + "\n"
    print("\n" + report)
    if args.report:
        Path(args.report).write_text(report)
    return 0 if count["survived"] == 0 else 1


if __name__ == "__main__":
    sys.exit(Main())
