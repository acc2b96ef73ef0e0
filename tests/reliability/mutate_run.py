#!/usr/bin/env python3
"""Runs msarender, as a careless and hostile user would, over mutated copies of real alignments.

Each case takes one seed file, damages it (flipped bytes, cut ends, duplicated or lost lines, huge names and
lines, odd Unicode and broken UTF-8, other line ends, NUL bytes, wrong #=GR SS rows, thousands of tiny
sequences, a gzip of the result) and runs the command on it with a random spread of options. A case fails
when the command reports a sanitizer error, dies by a signal, runs past the time limit, exits with a status
other than 0, 1 or 2, exits 0 without a readable image, or exits 1 or 2 without a "msarender: " message.
Every failure keeps its input, arguments and standard error under OUT/failures/ and prints one line with the
command that reproduces it; the script then exits 1. The same seed always makes the same cases.

The suite runs a bounded seeded run (CTest label "mutate"); the longer run by hand, against the sanitized
build and every real file:

    source scripts/sanitizer-env.sh
    tests/reliability/mutate_run.py --binary build-asan/apps/msarender/msarender --seed 1 --runs 1000 \\
        --jobs 2 --out /tmp/mutate-run tests/data/* ../shared/data/*
"""

import argparse
import bz2
import concurrent.futures
import gzip
import lzma
import os
import random
import shlex
import shutil
import signal
import subprocess
import sys
import time
from dataclasses import dataclass, field
from pathlib import Path

# Seed files are cut to this size (at a line end) so that a case takes about a second under ASan.
SEED_LIMIT_BYTES = 48 * 1024
TIME_LIMIT_SECONDS = 60

SANITIZER_MARKS = ("ERROR: AddressSanitizer", "runtime error:", "LeakSanitizer")
# LeakSanitizer's own tracer sometimes crashes (seen on JPEG output) where valgrind finds nothing: the
# case runs once more, as a real leak shows again and the tracer crash does not.
LEAK_TRACER_CRASH_MARKS = ("LeakSanitizer has encountered a fatal error", "Tracer caught signal")
REAL_REPORT_MARKS = ("ERROR: AddressSanitizer", "runtime error:", "ERROR: LeakSanitizer")

IMAGE_SIGNATURES = {
    ".png": (b"\x89PNG\r\n\x1a\n",),
    ".jpg": (b"\xff\xd8\xff",),
    ".bmp": (b"BM",),
    ".ppm": (b"P6", b"P3"),
}

ODD_TEXT = [
    "e\u0301\u0301\u0301\u0308",  # stacked combining marks
    "\u202eRTL\u202c",  # right-to-left override
    "\u05e9\u05dc\u05d5\u05dd",  # Hebrew
    "\u0627\u0644\u0639\u0631\u0628\u064a\u0629",  # Arabic
    "\U0001f9ec\U0001f468\u200d\U0001f52c",  # emoji and a joined sequence
    "\ufeff",  # byte-order mark
    "\u00a0\u2003\u200b",  # odd spaces
    "\U0010ffff",  # last code point
]
INVALID_UTF8 = [b"\xff\xfe", b"\xc3", b"\xc0\xaf", b"\xed\xa0\x80", b"\xf4\x90\x80\x80", b"\x80\x80\x80"]
RESIDUES = b"ACDEFGHIKLMNPQRSTVWY-.acgtuX*"
SCHEMES = ["clustal", "zappo", "taylor", "hydrophobicity", "identity", "nucleotide", "plain"]


# ---- mutations: each takes (rng, data) and returns the damaged bytes ----


def lines_of(data):
    return data.splitlines(keepends=True) or [b""]


def flip_bytes(rng, data):
    out = bytearray(data)
    for _ in range(rng.randint(1, 16)):
        if out:
            position = rng.randrange(len(out))
            flipped_bit = out[position] ^ (1 << rng.randrange(8))
            out[position] = flipped_bit if rng.random() < 0.5 else rng.randrange(256)
    return bytes(out)


def truncate(rng, data):
    return data[: rng.randint(0, len(data))]


def duplicate_lines(rng, data):
    lines = lines_of(data)
    for _ in range(rng.randint(1, 8)):
        line = rng.randrange(len(lines))
        lines[line:line] = [lines[line]] * rng.randint(1, 50)
    return b"".join(lines)


def delete_lines(rng, data):
    lines = lines_of(data)
    for _ in range(rng.randint(1, min(8, len(lines)))):
        del lines[rng.randrange(len(lines))]
    return b"".join(lines)


def sequence_lines(lines):
    """Indices of lines that hold a name: FASTA/PIR titles, and 'name residues' rows elsewhere."""
    picked = []
    for index, line in enumerate(lines):
        stripped = line.strip()
        row = stripped and not stripped.startswith((b"#", b"//")) and b" " in stripped
        if stripped.startswith(b">") or row:
            picked.append(index)
    return picked or list(range(len(lines)))


def huge_name(rng, data):
    lines = lines_of(data)
    line = rng.choice(sequence_lines(lines))
    at = 1 if lines[line].startswith(b">") else 0
    # Long enough to be absurd, short enough that a name column this wide still draws in a second.
    name = bytes(rng.choice(b"ABCxyz_|/0123456789") for _ in range(64)) * rng.randint(4, 64)
    lines[line] = lines[line][:at] + name + lines[line][at:]
    return b"".join(lines)


def huge_line(rng, data):
    lines = lines_of(data)
    # Residue lines: a title made this long is a huge name, whose column would be 80,000 pixels wide.
    residue_lines = [i for i, text in enumerate(lines) if not text.startswith((b">", b"#"))]
    line = rng.choice(residue_lines or range(len(lines)))
    ending = b"\n" if lines[line].endswith(b"\n") else b""
    residues = bytes([rng.choice(RESIDUES)]) * rng.randint(1000, 10000)
    lines[line] = lines[line].rstrip(b"\r\n") + residues + ending
    return b"".join(lines)


def odd_unicode(rng, data):
    out = data
    for _ in range(rng.randint(1, 6)):
        piece = rng.choice(ODD_TEXT).encode() if rng.random() < 0.6 else rng.choice(INVALID_UTF8)
        lines = lines_of(out)
        line = rng.choice(sequence_lines(lines))
        # Mostly into a name (a title line, or the first word of a row), where a reader should keep it.
        text = lines[line].rstrip(b"\r\n")
        name_end = len(text) if text.startswith(b">") else len(text.split(b" ", 1)[0])
        at = rng.randint(0, name_end if rng.random() < 0.8 else len(text))
        lines[line] = lines[line][:at] + piece + lines[line][at:]
        out = b"".join(lines)
    return out


def line_ends(rng, data):
    plain = data.replace(b"\r\n", b"\n")
    choice = rng.randrange(3)
    if choice == 0:
        return plain.replace(b"\n", b"\r\n")
    if choice == 1:
        return plain.replace(b"\n", b"\r")
    return b"".join(line.rstrip(b"\n") + rng.choice([b"\n", b"\r\n", b"\r"]) for line in lines_of(plain))


def nul_bytes(rng, data):
    out = bytearray(data)
    for _ in range(rng.randint(1, 8)):
        position = rng.randint(0, len(out))
        out[position:position] = b"\0" * rng.randint(1, 4)
    return bytes(out)


def stockholm_names(lines):
    names = []
    for line in lines:
        parts = line.split()
        if len(parts) == 2 and not line.startswith((b"#", b"//")):
            names.append(parts[0])
    return names or [b"seq1"]


def insert_before_end(lines, extra):
    """Puts Stockholm markup lines before the closing '//' (or at the end when there is none)."""
    end = next((i for i in range(len(lines) - 1, -1, -1) if lines[i].startswith(b"//")), len(lines))
    lines[end:end] = extra
    return lines


def wrong_gr_ss(rng, data):
    lines = lines_of(data)
    names = stockholm_names(lines)
    extra = []
    for _ in range(rng.randint(1, 6)):
        length = rng.choice([0, 1, rng.randint(2, 400), rng.randint(1000, 5000)])
        ss = bytes(rng.choice(b"HEGTSBC-.<>[]") for _ in range(length))
        extra.append(b"#=GR " + rng.choice(names) + b" SS " + ss + b"\n")
    return b"".join(insert_before_end(lines, extra))


def many_gr_keys(rng, data):
    lines = lines_of(data)
    names = stockholm_names(lines)
    keys = [b"SS", b"SA", b"PP", b"AS", b"LI", b"TM", b"SS_cons", b"ss", b"SS" * 20]
    width = max((len(line.split()[1]) for line in lines if len(line.split()) == 2), default=50)
    extra = []
    for _ in range(rng.randint(100, 1500)):
        key = rng.choice(keys) if rng.random() < 0.8 else b"K%d" % rng.randrange(10000)
        extra.append(b"#=GR " + rng.choice(names) + b" " + key + b" " + b"H" * width + b"\n")
    return b"".join(insert_before_end(lines, extra))


def tiny_sequences(rng, data):
    count = rng.randint(1000, 5000)
    out = []
    for index in range(count):
        length = rng.randint(0, 12)
        out.append(b">t%d\n%s\n" % (index, bytes(rng.choice(RESIDUES) for _ in range(length))))
    return b"".join(out) if rng.random() < 0.5 else data + b"".join(out)


MUTATIONS = {
    "flip": flip_bytes,
    "truncate": truncate,
    "duplicate-lines": duplicate_lines,
    "delete-lines": delete_lines,
    "huge-name": huge_name,
    "huge-line": huge_line,
    "unicode": odd_unicode,
    "line-ends": line_ends,
    "nul": nul_bytes,
    "gr-ss-length": wrong_gr_ss,
    "gr-many-keys": many_gr_keys,
    "tiny-sequences": tiny_sequences,
}


def mutate(rng, data):
    """Applies one to three mutations; sometimes gzips the result. Returns (bytes, names, gzipped)."""
    # Some cases keep the file whole, so that the options reach the drawing.
    names = rng.sample(sorted(MUTATIONS), rng.choice([0, 0, 1, 1, 1, 2, 3]))
    for name in names:
        data = MUTATIONS[name](rng, data)
    gzipped = rng.random() < 0.12
    if gzipped:
        data = gzip.compress(data, mtime=0)
        if rng.random() < 0.3:
            data = data[: rng.randint(0, len(data))]
            names.append("gzip-cut")
        else:
            names.append("gzip")
    return data, names, gzipped


# ---- options ----


def pick(rng, common, rare):
    """Mostly a sensible value, now and then a hostile one."""
    return str(rng.choice(rare if rng.random() < 0.06 else common))


def random_options(rng, output):
    options = ["-o", output]

    def maybe(probability, *words):
        if rng.random() < probability:
            options.extend(words)

    # A host's view takes no picture-only option: now and then one is given anyway, for the usage error.
    view = rng.random() < 0.12
    picture = not view or rng.random() < 0.1
    maybe(0.35, "--wrap", pick(rng, [0, 10, 60, 80, 150], [1, -1, 100000, "x", ""]))
    maybe(0.2, "--width", pick(rng, [1, 200, 800, 1200], [0, -5, 99999, "1e3"]))
    if picture and output != "-":
        maybe(0.15, "--page-height", pick(rng, [1, 100, 400, 2000], [0, -1, "tall"]))
    if picture:
        maybe(0.2, "--columns", pick(rng, ["1-50", "5-10,40-80", "30", "1-1", "40-2000"],
                                     ["10-5", "0-3", "1-", "9999-99999"]))
        maybe(0.15, "--sequences", pick(rng, ["1", "1,2,3", "3,1", "2,4"], ["0", "999", "nosuch", ",,,"]))
        maybe(0.15, "--no-gaps")
    maybe(0.15, "--hide", pick(rng, ["1", "2,3", "1,1,1"], ["0", "999", "-"]))
    maybe(0.2, "--consensus")
    maybe(0.2, "--scheme", pick(rng, SCHEMES, ["CLUSTAL", "nope"]))
    maybe(0.25, "--font-size", pick(rng, [4, 6.5, 10, 12.25, 18], [0, 0.1, -3, 200, "nan"]))
    maybe(0.15, "--scale", pick(rng, [1, 1.5, 2, 3.125], [0, 8, 9, "inf"]))
    if rng.random() < 0.04:
        # A picture that cannot be finished: huge cells, one residue a line. The budget is lowered so that
        # the few such pictures that fit are painted within the time limit, under the sanitizers too.
        options += ["--wrap", "1", "--font-size", "200", "--scale", pick(rng, [3.125, 8], [2]),
                    "--max-pixels", "100000000"]
    maybe(0.15, "--names", pick(rng, ["full", "id"], ["FULL", ""]))
    maybe(0.15, "--ranges")
    maybe(0.15, "--ruler-origin", pick(rng, [1, 5, 100], [0, -10, 2147483647]))
    maybe(0.1, "--no-ruler")
    maybe(0.05, "--no-ruler-numbers")
    maybe(0.05, "--no-ss")
    maybe(0.05, "--max-input", pick(rng, ["1K", "64K", "1M"], ["0", "1T", "x"]))
    maybe(0.05, "--format", pick(rng, ["auto", "fasta", "clustal", "stockholm", "phylip", "pir"], ["msf"]))
    if view:
        options += ["--view", pick(rng, ["400x300", "800x600+10+20", "1x1+0+0", "640x480+500+9000"],
                                   ["0x0", "10x10+-5+-5", "99999x99999", "axb"])]
    return options


def output_name(rng):
    if rng.random() < 0.1:
        return "-"
    return "out" + rng.choice([".png", ".png", ".jpg", ".bmp", ".ppm"])


# ---- running and judging ----


@dataclass
class Outcome:
    kind: str  # "ok" or the kind of failure
    detail: str = ""
    returncode: int = 0
    stderr: bytes = b""
    retried: bool = False
    seconds: float = 0.0


def run_command(command, folder):
    environment = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    start = time.monotonic()
    process = subprocess.Popen(command, cwd=folder, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                               stderr=subprocess.PIPE, env=environment, start_new_session=True)
    try:
        stdout, stderr = process.communicate(timeout=TIME_LIMIT_SECONDS)
        return process.returncode, stdout, stderr, time.monotonic() - start, False
    except subprocess.TimeoutExpired:
        os.killpg(process.pid, signal.SIGKILL)
        stdout, stderr = process.communicate()
        return process.returncode, stdout, stderr, time.monotonic() - start, True


def is_leak_tracer_crash(stderr):
    text = stderr.decode("utf-8", "replace")
    tracer_crashed = any(mark in text for mark in LEAK_TRACER_CRASH_MARKS)
    return tracer_crashed and not any(mark in text for mark in REAL_REPORT_MARKS)


def written_images(folder, output):
    """The files an exit 0 should have written: the output, or its numbered pages."""
    path = Path(folder) / output
    if path.exists():
        return [path]
    return sorted(Path(folder).glob(f"{path.stem}-[0-9][0-9][0-9]{path.suffix}"))


def image_problem(data, suffix):
    if not data:
        return "empty image"
    if not data.startswith(IMAGE_SIGNATURES[suffix]):
        return f"not a {suffix} image (starts {data[:8]!r})"
    return ""


def judge(returncode, stdout, stderr, timed_out, folder, output):
    text = stderr.decode("utf-8", "replace")
    if timed_out:
        return "hang", f"killed after {TIME_LIMIT_SECONDS} s"
    for mark in SANITIZER_MARKS:
        if mark in text:
            return "sanitizer", mark
    if returncode < 0:
        return "signal", signal.Signals(-returncode).name
    if returncode not in (0, 1, 2):
        return "exit-code", f"exit status {returncode}"
    if returncode != 0:
        return ("ok", "") if "msarender: " in text else ("no-message", f"exit {returncode} without a message")
    if output == "-":
        problem = image_problem(stdout, ".png")
        return ("bad-image", "standard output: " + problem) if problem else ("ok", "")
    images = written_images(folder, output)
    if not images:
        return "no-image", f"exit 0 but no {output}"
    for image in images:
        problem = image_problem(image.read_bytes(), Path(output).suffix)
        if problem:
            return "bad-image", f"{image.name}: {problem}"
    return "ok", ""


def run_case(binary, folder, arguments, output):
    command = [binary] + arguments
    returncode, stdout, stderr, seconds, timed_out = run_command(command, folder)
    retried = False
    if is_leak_tracer_crash(stderr):
        retried = True
        returncode, stdout, stderr, more, timed_out = run_command(command, folder)
        seconds += more
    kind, detail = judge(returncode, stdout, stderr, timed_out, folder, output)
    return Outcome(kind, detail, returncode, stderr, retried, seconds)


# ---- cases ----


def load_seed(path):
    data = Path(path).read_bytes()
    for suffix, decompress in ((".gz", gzip.decompress), (".bz2", bz2.decompress), (".xz", lzma.decompress)):
        if path.endswith(suffix):
            data = decompress(data)
    if len(data) > SEED_LIMIT_BYTES:
        cut = data.rfind(b"\n", 0, SEED_LIMIT_BYTES) + 1
        data = data[:cut] + (b"//\n" if data.rstrip().endswith(b"//") else b"")
    return data


def seed_suffix(path):
    name = Path(path).name
    name = name.rsplit(".", 1)[0] if name.endswith((".gz", ".bz2", ".xz")) else name
    return Path(name).suffix or ".txt"


@dataclass
class Case:
    index: int
    seed_file: str
    mutations: list
    arguments: list
    output: str
    folder: Path
    input_name: str
    outcome: Outcome = field(default=None)


def make_case(args, seeds, index, work):
    rng = random.Random(f"{args.seed}:{index}")
    seed_file = rng.choice(seeds)
    data, mutations, gzipped = mutate(rng, load_seed(seed_file))
    input_name = "input" + seed_suffix(seed_file) + (".gz" if gzipped else "")
    folder = work / f"case-{index}"
    folder.mkdir(parents=True, exist_ok=True)
    (folder / input_name).write_bytes(data)
    output = output_name(rng)
    arguments = [input_name] + random_options(rng, output)
    return Case(index, seed_file, mutations, arguments, output, folder, input_name)


def keep_failure(case, binary, failures):
    kept = failures / f"case-{case.index}-{case.outcome.kind}"
    shutil.rmtree(kept, ignore_errors=True)
    for written in written_images(case.folder, case.output) if case.output != "-" else []:
        written.unlink()
    shutil.move(str(case.folder), kept)
    (kept / "arguments.txt").write_text("\n".join(case.arguments) + "\n")
    (kept / "stderr.txt").write_bytes(case.outcome.stderr)
    reproduce = f"cd {shlex.quote(str(kept))} && {shlex.join([binary] + case.arguments)}"
    (kept / "reproduce.sh").write_text(
        f"#!/bin/sh\n# seed file {case.seed_file}, mutations {' '.join(case.mutations)}\n{reproduce}\n")
    return reproduce


def make_and_run(args, seeds, index, work, binary):
    case = make_case(args, seeds, index, work)
    case.outcome = run_case(binary, case.folder, case.arguments, case.output)
    return case


def parse_arguments(argv):
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("seed_files", nargs="+", help="real alignment files to mutate (.gz is read)")
    parser.add_argument("--binary", required=True, help="the msarender program")
    parser.add_argument("--seed", type=int, default=1, help="the same seed makes the same cases")
    parser.add_argument("--runs", type=int, default=40, help="how many cases")
    parser.add_argument("--first", type=int, default=0, help="index of the first case (--runs 1 replays one)")
    parser.add_argument("--out", required=True, help="folder for the cases and the kept failures")
    parser.add_argument("--verbose", action="store_true", help="print every case with its exit status")
    parser.add_argument("--jobs", type=int, default=1, help="cases run at once")
    return parser.parse_args(argv)


def main(argv):
    args = parse_arguments(argv)
    binary = str(Path(args.binary).resolve())
    seeds = sorted(str(Path(s).resolve()) for s in args.seed_files if Path(s).is_file())
    out = Path(args.out).resolve()
    work, failures = out / "work", out / "failures"
    shutil.rmtree(work, ignore_errors=True)
    failures.mkdir(parents=True, exist_ok=True)
    if not seeds:
        sys.exit("mutate: none of the seed files exists")

    counts, retried, total_seconds = {}, 0, 0.0
    indices = range(args.first, args.first + args.runs)
    with concurrent.futures.ThreadPoolExecutor(max_workers=max(1, args.jobs)) as pool:
        for case in pool.map(lambda index: make_and_run(args, seeds, index, work, binary), indices):
            outcome = case.outcome
            counts[outcome.kind] = counts.get(outcome.kind, 0) + 1
            total_seconds += outcome.seconds
            if outcome.retried:
                retried += 1
                print(f"mutate: case {case.index}: LeakSanitizer's tracer crashed; ran again: {outcome.kind}")
            if args.verbose:
                first_line = outcome.stderr.decode("utf-8", "replace").partition("\n")[0][:150]
                print(f"case {case.index}: exit {outcome.returncode} in {outcome.seconds:.2f} s "
                      f"{'+'.join(case.mutations)} {shlex.join(case.arguments[1:])[:120]} | {first_line}")
            if outcome.kind == "ok":
                shutil.rmtree(case.folder, ignore_errors=True)
                continue
            reproduce = keep_failure(case, binary, failures)
            print(f"FAIL case {case.index} [{outcome.kind}: {outcome.detail}] "
                  f"{Path(case.seed_file).name} +{'+'.join(case.mutations)}: {reproduce}")

    failed = args.runs - counts.get("ok", 0)
    by_kind = ", ".join(f"{kind} {n}" for kind, n in sorted(counts.items()) if kind != "ok") or "none"
    print(f"mutate: seed {args.seed}, {args.runs} runs, {failed} failures ({by_kind}), "
          f"{retried} re-run after a tracer crash, {total_seconds / max(1, args.runs):.2f} s per run")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
