#!/usr/bin/env python3
"""The project's mutation run: do the GoogleTest binaries notice a one-line fault?

For each file given (or, with --base REV, each C++ file of src/, graph/,
trace/ and wasm/ changed since REV), makes one-line mutants: a relational,
equality, arithmetic or logical operator swapped (< <=, == !=, + -, && ||,
++ --, ...), a constant changed (0 and 1 swapped, any other integer + 1,
true and false), a condition of if, while or for negated (or its !
dropped), or a statement deleted. Comments, preprocessor lines, blank
lines, braces and the contents of strings and characters are left alone.
--seed picks which mutants, --sample how many of them (all by default).

Each mutant is built in a build directory of its own (build/mutate,
configured from the release preset, or --preset asan, whose LeakSanitizer
also kills a mutant that leaks; warnings not errors but a missing return
an error), where the normal incremental build rebuilds only what
the mutant touches. A mutant that does not compile is left out. One whose
programs come out byte for byte as without it is equivalent and is not
run. Otherwise every GoogleTest binary that it changed (or whose programs
it changed) runs, with --gtest_fail_fast and a timeout: a failure or a
timeout kills the mutant. The Node, browser and gdb tests are not run:
they take minutes. The file is restored after each file's mutants,
whatever happens (Ctrl-C included); a copy of it waits in
build/mutate/mutate-original until then, and a run killed outright puts it
back the next time it starts. wasm/module.cpp, which only the wasm
preset compiles, is reported and skipped.

The survivors are printed as "file:line: mutation", and saved in
build/mutate/survivors.txt; --retry FILE runs exactly the mutants that
such a file lists again. Takes minutes to hours: run it with nice, apart
from the normal test command.

  nice python3 tests/mutate.py trace/word_index.cpp trace/tracer.cpp
  nice python3 tests/mutate.py --base main --sample 200 --seed 7
  nice python3 tests/mutate.py --retry build/mutate/survivors.txt
  nice python3 tests/mutate.py --preset asan --retry build/mutate/survivors.txt
  python3 tests/mutate.py --list graph/main.cpp
"""

import argparse
import hashlib
import json
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
PROGRAMS = ["wordlist", "wordlist-trace", "wordlist-graph"]
# The programs each test binary starts, beside its own code.
STARTS = {"e2e_tests": ["wordlist", "wordlist-trace"], "graph_e2e_tests": PROGRAMS}
PRODUCT_DIRS = ("src/", "graph/", "trace/", "wasm/")

# Binary operators as the code is formatted: with a blank on each side.
SWAPS = {
    "<": ["<="], "<=": ["<"], ">": [">="], ">=": [">"], "==": ["!="], "!=": ["=="],
    "+": ["-"], "-": ["+"], "*": ["/"], "/": ["*"], "%": ["/"],
    "&&": ["||"], "||": ["&&"], "+=": ["-="], "-=": ["+="],
}
BINARY = re.compile(r"(?<= )(<=|>=|==|!=|&&|\|\||\+=|-=|[<>+\-*/%])(?= )")
STEP = re.compile(r"\+\+|--")
NOT = re.compile(r"!(?!=)")
NUMBER = re.compile(r"(?<![\w.])(0[xX][0-9a-fA-F]+|\d+)([uUlL]*)(?![\w.])")
BOOL = re.compile(r"\b(true|false)\b")
CONDITION = re.compile(r"\b(if|while)\s*\(")
FOR = re.compile(r"\bfor\s*\(")
# Statements a deletion can take whole: calls, assignments, jumps (a
# return of a value only leaves a function without one).
STATEMENT = re.compile(
    r"^(\(void\)|\+\+|--|\*|return;|break;|continue;"
    r"|[\w:]+(\s*\(|\s*=[^=]|\s*[-+*/|&]=|->|\.|\[|\+\+|--))")


class Stop(Exception):
    """A signal asked the run to stop."""


def stop(signum, _frame):
    raise Stop(signal.Signals(signum).name)


def masked_lines(text):
    """The lines of `text`, with comments and the contents of strings and
    characters blanked, and whether each is a preprocessor line."""
    out, preprocessor = [], []
    in_block = False
    raw_end = None
    for line in text.split("\n"):
        chars = list(line)
        i = 0
        directive = not in_block and raw_end is None and line.lstrip().startswith("#")
        while i < len(chars):
            rest = line[i:]
            if raw_end is not None:
                end = rest.find(raw_end)
                stop_at = len(chars) if end < 0 else i + end
                for j in range(i, stop_at):
                    chars[j] = " "
                if end < 0:
                    break
                i = stop_at + len(raw_end)
                raw_end = None
            elif in_block:
                end = rest.find("*/")
                stop_at = len(chars) if end < 0 else i + end + 2
                for j in range(i, stop_at):
                    chars[j] = " "
                if end < 0:
                    break
                i = stop_at
                in_block = False
            elif rest.startswith("//"):
                for j in range(i, len(chars)):
                    chars[j] = " "
                break
            elif rest.startswith("/*"):
                in_block = True
            elif re.match(r'R"([^(\s]*)\(', rest) and (i == 0 or not line[i - 1].isalnum()):
                delimiter = re.match(r'R"([^(\s]*)\(', rest).group(1)
                raw_end = ")" + delimiter + '"'
                i += 3 + len(delimiter)
            elif chars[i] in "\"'":
                quote, j = chars[i], i + 1
                while j < len(chars) and line[j] != quote:
                    chars[j] = " "
                    if line[j] == "\\" and j + 1 < len(chars):
                        chars[j + 1] = " "
                        j += 1
                    j += 1
                i = j + 1
            else:
                i += 1
        out.append("".join(chars))
        preprocessor.append(directive)
    return out, preprocessor


def closing(code, start):
    """The index of the parenthesis that closes the one at `start`, or -1."""
    depth = 0
    for i in range(start, len(code)):
        depth += {"(": 1, ")": -1}.get(code[i], 0)
        if depth == 0:
            return i
    return -1


def bumped(literal):
    if literal in ("0", "1"):
        return "1" if literal == "0" else "0"
    if literal.lower().startswith("0x"):
        return hex(int(literal, 16) + 1)
    return str(int(literal) + 1)


def line_mutants(line, code):
    """Every mutant of one line: (column, description, new line)."""
    found = []

    def replace(start, end, new, description):
        found.append((start + 1, description, line[:start] + new + line[end:]))

    for match in BINARY.finditer(code):
        for new in SWAPS[match.group(1)]:
            replace(match.start(), match.end(), new, f"'{match.group(1)}' -> '{new}'")
    for match in STEP.finditer(code):
        new = "--" if match.group() == "++" else "++"
        replace(match.start(), match.end(), new, f"'{match.group()}' -> '{new}'")
    for match in NOT.finditer(code):
        # Dropping the ! that begins a condition is negating it.
        if not re.search(r"\b(if|while)\s*\($", code[:match.start()]):
            replace(match.start(), match.end(), "", "'!' dropped")
    for match in NUMBER.finditer(code):
        new = bumped(match.group(1))
        replace(match.start(1), match.end(1), new, f"{match.group(1)} -> {new}")
    for match in BOOL.finditer(code):
        new = "false" if match.group() == "true" else "true"
        replace(match.start(), match.end(), new, f"{match.group()} -> {new}")
    for match in CONDITION.finditer(code):
        open_at = match.end() - 1
        close_at = closing(code, open_at)
        if close_at > 0:
            inner = line[open_at + 1:close_at]
            replace(open_at + 1, close_at, f"!({inner})", f"{match.group(1)} condition negated")
    for match in FOR.finditer(code):
        close_at = closing(code, match.end() - 1)
        parts = code[match.end():close_at].split(";") if close_at > 0 else []
        if len(parts) == 3 and parts[1].strip():
            start = match.end() + len(parts[0]) + 1
            end = start + len(parts[1])
            replace(start, end, f" !({line[start:end].strip()})", "for condition negated")
    stripped = code.strip()
    if (stripped.endswith(";") and STATEMENT.match(stripped)
            and code.count("(") == code.count(")") and not stripped.startswith("}")):
        indent = line[:len(line) - len(line.lstrip())]
        found.append((len(indent) + 1, "statement deleted", ""))
    return found


def file_mutants(path):
    """Every mutant of the file at `path` (relative to the root)."""
    text = (ROOT / path).read_text()
    lines = text.split("\n")
    codes, preprocessor = masked_lines(text)
    mutants = []
    for number, (line, code, directive) in enumerate(zip(lines, codes, preprocessor), 1):
        if directive or not code.strip() or re.fullmatch(r"[\s{}();,]*", code):
            continue
        for column, description, new in line_mutants(line, code):
            mutated = lines[:number - 1] + [new] + lines[number:]
            mutants.append({"file": path, "line": number, "column": column,
                            "description": description, "code": line.strip(),
                            "text": "\n".join(mutated)})
    return mutants


def survivor_line(mutant):
    return (f"{mutant['file']}:{mutant['line']}: {mutant['description']} "
            f"at column {mutant['column']} in: {mutant['code']}")


def read_retry(path):
    """The (file, line, description, column) of each mutant a survivors
    file lists."""
    pattern = re.compile(r"^(.*?):(\d+): (.*) at column (\d+) in: ")
    wanted = set()
    for line in Path(path).read_text().splitlines():
        match = pattern.match(line)
        if match:
            wanted.add((match.group(1), int(match.group(2)), match.group(3), int(match.group(4))))
    return wanted


def run(command, cwd, timeout, env=None, quiet=True):
    """Runs `command` in a session of its own, so that a timeout or a
    Ctrl-C ends it and everything it started; returns its status, or None
    on a timeout."""
    process = subprocess.Popen(command, cwd=cwd, env=env, start_new_session=True,
                               stdout=subprocess.DEVNULL if quiet else None,
                               stderr=subprocess.DEVNULL if quiet else None)
    try:
        return process.wait(timeout=timeout)
    except subprocess.TimeoutExpired:
        return None
    finally:
        if process.poll() is None:
            os.killpg(process.pid, signal.SIGKILL)
            process.wait()


def digest(path):
    return hashlib.sha256(path.read_bytes()).hexdigest() if path.exists() else None


class Build:
    """The mutation run's own build directory: its programs, test binaries,
    and what a mutant changed in them."""

    def __init__(self, directory, jobs, preset):
        self.dir = directory
        self.jobs = jobs
        self.preset = preset
        self.backup = directory / "mutate-original"

    def configure(self):
        status = run(["cmake", "--preset", self.preset, "-B", str(self.dir),
                      "-DWORDLIST_WERROR=OFF", "-DCMAKE_CXX_FLAGS=-Werror=return-type"],
                     ROOT, None)
        if status != 0:
            sys.exit("mutate.py: cannot configure " + str(self.dir))
        targets = subprocess.run(["cmake", "--build", str(self.dir), "--target", "help"],
                                 capture_output=True, text=True, check=True).stdout
        self.tests = sorted(set(re.findall(r"\b(\w+_tests)\b", targets)))
        self.targets = PROGRAMS + self.tests
        commands = json.loads((self.dir / "compile_commands.json").read_text())
        self.compiled = {Path(entry["file"]).resolve() for entry in commands}

    def executable(self, name):
        return self.dir / name if name in PROGRAMS else self.dir / "tests" / name

    def build(self):
        status = run(["cmake", "--build", str(self.dir), "-j", str(self.jobs), "--target"]
                     + self.targets, ROOT, 1800)
        return status == 0

    def digests(self):
        return {name: digest(self.executable(name)) for name in self.targets}

    def test(self, name, timeout):
        """Whether test binary `name` passes; None when it times out."""
        # Their scratch directories, which a killed test leaves, go here.
        scratch = self.dir / "mutate-tmp"
        scratch.mkdir(exist_ok=True)
        env = dict(os.environ, WORDLIST_PROGRAM=str(self.executable("wordlist")),
                   WORDLIST_EMULATOR="", WORDLIST_LAUNCHER="", TMPDIR=str(scratch))
        try:
            status = run([str(self.executable(name)), "--gtest_fail_fast"], self.dir, timeout,
                         env)
        finally:
            shutil.rmtree(scratch, ignore_errors=True)
        return None if status is None else status == 0


def restore_left_behind(build):
    """Puts back any file a run killed outright left mutated."""
    if not build.backup.exists():
        return
    for saved in build.backup.rglob("*"):
        if saved.is_file():
            original = ROOT / saved.relative_to(build.backup)
            shutil.copyfile(saved, original)
            print(f"mutate.py: restored {original.relative_to(ROOT)}, left mutated by a run "
                  "that was stopped", file=sys.stderr)
    shutil.rmtree(build.backup)


def chosen_files(args, build):
    if args.base:
        names = subprocess.run(["git", "diff", "--name-only", args.base, "--", "*.cpp", "*.h"],
                               cwd=ROOT, capture_output=True, text=True, check=True).stdout.split()
        files = [name for name in names if name.startswith(PRODUCT_DIRS) and (ROOT / name).exists()]
    else:
        files = [str(Path(name).resolve().relative_to(ROOT)) for name in args.files]
    kept = []
    for name in files:
        if name.endswith(".cpp") and (ROOT / name).resolve() not in build.compiled:
            print(f"mutate.py: {name}: no target of this build compiles it; skipped "
                  "(the wasm preset's Node tests are its tests)", file=sys.stderr)
        else:
            kept.append(name)
    return kept


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("files", nargs="*", help="C++ files to mutate, from the repository's root")
    parser.add_argument("--base", help="mutate the C++ files changed since this revision")
    parser.add_argument("--retry", help="run again the mutants listed in this survivors file")
    parser.add_argument("--seed", type=int, default=1, help="chooses the mutants (default 1)")
    parser.add_argument("--sample", type=int, help="how many mutants to run (default: all)")
    parser.add_argument("--preset", default="release", choices=["release", "asan"],
                        help="the configure preset of the build (default release)")
    parser.add_argument("--build", help="the build directory (default build/mutate, "
                        "build/mutate-asan with --preset asan)")
    parser.add_argument("--jobs", type=int, default=2, help="build jobs (default 2)")
    parser.add_argument("--list", action="store_true", help="list the mutants, run none")
    args = parser.parse_args()
    wanted = read_retry(args.retry) if args.retry else None
    if wanted is not None:
        args.files = sorted({entry[0] for entry in wanted})
    if not args.files and not args.base:
        parser.error("name the files to mutate, or --base REV, or --retry FILE")

    default = "mutate" if args.preset == "release" else "mutate-" + args.preset
    build = Build(Path(args.build or ROOT / "build" / default).resolve(), args.jobs, args.preset)
    for signum in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP):
        signal.signal(signum, stop)
    restore_left_behind(build)
    build.configure()
    mutants = [m for name in chosen_files(args, build) for m in file_mutants(name)]
    if wanted is not None:
        mutants = [m for m in mutants
                   if (m["file"], m["line"], m["description"], m["column"]) in wanted]
    random.Random(args.seed).shuffle(mutants)
    if args.sample is not None:
        mutants = mutants[:args.sample]
    # One file at a time, so that each is restored, and rebuilt, once.
    mutants.sort(key=lambda m: (m["file"], m["line"], m["column"], m["description"]))
    if args.list:
        for mutant in mutants:
            print(survivor_line(mutant))
        return 0

    print(f"mutate.py: baseline build in {build.dir}", flush=True)
    if not build.build():
        sys.exit("mutate.py: the unmutated tree does not build")
    baseline = build.digests()
    timeouts = {}
    for name in build.tests:
        started = time.monotonic()
        if not build.test(name, 3600):
            sys.exit(f"mutate.py: {name} fails without any mutant")
        timeouts[name] = max(30.0, 5 * (time.monotonic() - started))

    tally = {"killed": 0, "timed out": 0, "survived": 0, "not compiled": 0,
             "same programs": 0}
    survivors = []
    current = None
    try:
        for number, mutant in enumerate(mutants, 1):
            path = ROOT / mutant["file"]
            if current != path:
                restore(build, current)
                current = path
                saved = build.backup / mutant["file"]
                saved.parent.mkdir(parents=True, exist_ok=True)
                shutil.copyfile(path, saved)
                original = saved.read_text()
            path.write_text(mutant["text"])
            outcome = try_mutant(build, baseline, timeouts)
            path.write_text(original)
            tally[outcome] += 1
            print(f"[{number}/{len(mutants)}] {outcome}: {survivor_line(mutant)}", flush=True)
            if outcome == "survived":
                survivors.append(survivor_line(mutant))
    except Stop as signal_name:
        print(f"mutate.py: stopped by {signal_name}", file=sys.stderr)
    finally:
        restore(build, current)
        shutil.rmtree(build.backup, ignore_errors=True)
    (build.dir / "survivors.txt").write_text("".join(line + "\n" for line in survivors))
    made = sum(tally.values())
    print(f"\n{made} mutants: " + ", ".join(f"{count} {kind}" for kind, count in tally.items()))
    print("survivors (also in " + str(build.dir / "survivors.txt") + "):")
    for line in survivors:
        print(line)
    return 1 if survivors else 0


def restore(build, path):
    """Puts the file at `path` back as it was, and drops its copy."""
    if path is None:
        return
    saved = build.backup / path.relative_to(ROOT)
    if saved.exists():
        shutil.copyfile(saved, path)
        saved.unlink()


def try_mutant(build, baseline, timeouts):
    if not build.build():
        return "not compiled"
    changed = {name for name, value in build.digests().items() if value != baseline[name]}
    if not changed:
        return "same programs"
    for name in sorted(build.tests, key=lambda test: timeouts[test]):
        if not changed & {name, *STARTS.get(name, [])}:
            continue
        passed = build.test(name, timeouts[name])
        if passed is None:
            return "timed out"
        if not passed:
            return "killed"
    return "survived"


if __name__ == "__main__":
    sys.exit(main())
