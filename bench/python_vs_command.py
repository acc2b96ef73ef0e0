#!/usr/bin/python3
"""The Python module against the msarender command, in one run:

1. `msarender.render(path).save(png)` in process against `msarender path -o png` on the shared kinase family
   (target: within 1.1 x), each the median of a few runs after one warm-up;
2. 100 small alignments drawn in a loop in process, per figure, against 100 runs of the command.

Usage: PYTHONPATH=build/python /usr/bin/python3 bench/python_vs_command.py [--command build/apps/msarender/msarender]
       [--input ../shared/data/kinases_jackhmmer_530x1013.sto.gz] [--repeats 5]
"""

import argparse
import pathlib
import statistics
import subprocess
import sys
import tempfile
import time

import msarender

ROOT = pathlib.Path(__file__).resolve().parents[1]


def median_seconds(action, repeats):
    action()  # warm-up: caches, fonts, the file in the page cache
    times = []
    for _ in range(repeats):
        started = time.perf_counter()
        action()
        times.append(time.perf_counter() - started)
    return statistics.median(times)


def small_alignments(folder, count):
    """Alignments of 8 to 40 sequences of 60 to 200 columns, as FASTA files."""
    residues = "ACDEFGHIKLMNPQRSTVWY-"
    paths = []
    for n in range(count):
        rows, columns = 8 + n % 33, 60 + (n * 7) % 141
        text = "".join(
            f">s{n}_{r}\n" + "".join(residues[(n * 31 + r * 17 + c * c) % 21] for c in range(columns)) + "\n"
            for r in range(rows))
        path = folder / f"small{n:03d}.fa"
        path.write_text(text)
        paths.append(path)
    return paths


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--command", default=str(ROOT / "build" / "apps" / "msarender" / "msarender"))
    parser.add_argument("--input", default=str(ROOT.parent / "shared" / "data" / "kinases_jackhmmer_530x1013.sto.gz"))
    parser.add_argument("--repeats", type=int, default=5)
    args = parser.parse_args()

    with tempfile.TemporaryDirectory() as scratch:
        folder = pathlib.Path(scratch)
        ours, theirs = folder / "ours.png", folder / "theirs.png"
        module = median_seconds(lambda: msarender.render(args.input, quiet=True).save(ours), args.repeats)
        command = median_seconds(lambda: subprocess.run([args.command, "--quiet", args.input, "-o", theirs], check=True),
                                 args.repeats)
        same = ours.read_bytes() == theirs.read_bytes()
        print(f"{pathlib.Path(args.input).name}: module {module:.3f} s, command {command:.3f} s, "
              f"ratio {module / command:.2f} (target <= 1.1), same bytes: {same}")

        paths = small_alignments(folder, 100)
        started = time.perf_counter()
        for path in paths:
            msarender.render(path, wrap=60, quiet=True).save(folder / "small.png")
        loop = time.perf_counter() - started
        started = time.perf_counter()
        for path in paths:
            subprocess.run([args.command, "--quiet", path, "--wrap", "60", "-o", folder / "small.png"], check=True)
        runs = time.perf_counter() - started
        print(f"100 small alignments: module {1000 * loop / 100:.1f} ms a figure, command {1000 * runs / 100:.1f} ms a run, "
              f"{runs / loop:.1f} x faster in process")
        return 0 if same else 1


if __name__ == "__main__":
    sys.exit(main())
