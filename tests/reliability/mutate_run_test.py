"""Checks of mutate_run.py: that each kind of failure is caught, that good runs pass, that the leak
tracer's crash alone is run again, that failures are kept so they reproduce, and that a seed always makes
the same cases. The command is played by small shell scripts."""

import argparse
import os
import random
import stat
import subprocess
import tempfile
import time
import unittest
from pathlib import Path

import mutate_run

DATA = Path(__file__).resolve().parent.parent / "data"
PNG = "\\211PNG\\r\\n\\032\\n"


class Judging(unittest.TestCase):
    def setUp(self):
        self.folder = Path(tempfile.mkdtemp())

    def fake(self, body):
        """A stand-in for the command: a shell script with `body`, run in the case folder."""
        path = self.folder / "fake.sh"
        path.write_text("#!/bin/sh\n" + body + "\n")
        path.chmod(path.stat().st_mode | stat.S_IXUSR)
        return str(path)

    def run_fake(self, body, output="out.png"):
        return mutate_run.run_case(self.fake(body), self.folder, ["in.fa", "-o", output], output)

    def test_a_message_with_exit_1_or_2_passes(self):
        for status in (1, 2):
            outcome = self.run_fake(f"echo 'msarender: in.fa:3: bad' >&2; exit {status}")
            self.assertEqual(outcome.kind, "ok", outcome.detail)

    def test_exit_1_without_a_message_fails(self):
        self.assertEqual(self.run_fake("echo oops >&2; exit 1").kind, "no-message")

    def test_an_exit_status_outside_0_to_2_fails(self):
        self.assertEqual(self.run_fake("echo 'msarender: x' >&2; exit 3").kind, "exit-code")

    def test_death_by_a_signal_fails(self):
        outcome = self.run_fake("kill -SEGV $$")
        self.assertEqual((outcome.kind, outcome.detail), ("signal", "SIGSEGV"))

    def test_sanitizer_reports_fail_whatever_the_exit_status(self):
        for report in ("==1==ERROR: AddressSanitizer: heap-buffer-overflow",
                       "a.cpp:1:2: runtime error: overflow",
                       "==1==ERROR: LeakSanitizer: detected memory leaks"):
            outcome = self.run_fake(f"echo 'msarender: x' >&2; echo '{report}' >&2; exit 1")
            self.assertEqual(outcome.kind, "sanitizer", report)
            self.assertFalse(outcome.retried)

    def test_a_hang_is_killed_with_its_children(self):
        limit = mutate_run.TIME_LIMIT_SECONDS
        mutate_run.TIME_LIMIT_SECONDS = 1
        try:
            start = time.monotonic()
            outcome = self.run_fake("sleep 30 & sleep 30")
            self.assertEqual(outcome.kind, "hang")
            self.assertLess(time.monotonic() - start, 10)
        finally:
            mutate_run.TIME_LIMIT_SECONDS = limit

    def test_exit_0_needs_a_readable_image(self):
        self.assertEqual(self.run_fake(f"printf '{PNG}data' > out.png").kind, "ok")
        self.assertEqual(self.run_fake("rm -f out.png").kind, "no-image")
        self.assertEqual(self.run_fake("printf 'hello' > out.png").kind, "bad-image")
        self.assertEqual(self.run_fake(": > out.png").kind, "bad-image")
        self.assertEqual(self.run_fake("printf 'BM..' > out.bmp", "out.bmp").kind, "ok")
        self.assertEqual(self.run_fake(f"printf '{PNG}' > out.jpg", "out.jpg").kind, "bad-image")
        self.assertEqual(self.run_fake("printf 'P6 1 1 255 xyz' > out.ppm", "out.ppm").kind, "ok")

    def test_pages_count_as_the_image_and_each_is_checked(self):
        (self.folder / "out.png").unlink(missing_ok=True)
        first = f"printf '{PNG}' > out-001.png; "
        self.assertEqual(self.run_fake(first + f"printf '{PNG}' > out-002.png").kind, "ok")
        self.assertEqual(self.run_fake(first + "printf 'x' > out-002.png").kind, "bad-image")

    def test_standard_output_must_hold_a_png(self):
        self.assertEqual(self.run_fake(f"printf '{PNG}data'", "-").kind, "ok")
        self.assertEqual(self.run_fake("printf 'text'", "-").kind, "bad-image")

    def test_a_tracer_crash_alone_runs_once_more(self):
        crash = ("echo '==9==LeakSanitizer has encountered a fatal error.' >&2; "
                 "echo 'Tracer caught signal 11' >&2")
        counted = "n=$(($(cat count 2>/dev/null || echo 0) + 1)); echo $n > count; "
        outcome = self.run_fake(counted + f"if [ $n = 1 ]; then {crash}; exit 1; fi; "
                                          f"printf '{PNG}' > out.png")
        self.assertEqual((outcome.kind, outcome.retried), ("ok", True))
        self.assertEqual((self.folder / "count").read_text().strip(), "2")

        (self.folder / "count").unlink()
        outcome = self.run_fake(counted + crash + "; exit 1")
        self.assertEqual((outcome.kind, outcome.retried), ("sanitizer", True))
        self.assertEqual((self.folder / "count").read_text().strip(), "2")


class Cases(unittest.TestCase):
    def make(self, seed, index, out):
        args = argparse.Namespace(seed=seed)
        seeds = [str(DATA / name) for name in ("fn3.sto", "jalview_uniref50.fa.gz", "seaview_nuc.aln")]
        case = mutate_run.make_case(args, seeds, index, Path(out))
        return case, (case.folder / case.input_name).read_bytes()

    def test_a_seed_always_makes_the_same_cases(self):
        with tempfile.TemporaryDirectory() as a, tempfile.TemporaryDirectory() as b:
            for index in range(30):
                first, first_input = self.make(5, index, a)
                second, second_input = self.make(5, index, b)
                self.assertEqual((first.arguments, first.mutations, first_input),
                                 (second.arguments, second.mutations, second_input))

    def test_another_seed_makes_other_cases(self):
        with tempfile.TemporaryDirectory() as a:
            inputs = {self.make(seed, 0, a)[1] for seed in range(10)}
            self.assertGreater(len(inputs), 5)

    def test_every_mutation_takes_empty_and_real_files(self):
        real = mutate_run.load_seed(str(DATA / "fn3.sto"))
        for name, mutation in sorted(mutate_run.MUTATIONS.items()):
            for seed in range(20):
                for data in (b"", b"x", real):
                    result = mutation(random.Random(seed), data)
                    self.assertIsInstance(result, bytes, name)

    def test_mutations_do_what_they_say(self):
        rng = random.Random(3)
        real = mutate_run.load_seed(str(DATA / "fn3.sto"))
        endings = [mutate_run.line_ends(random.Random(seed), real) for seed in range(20)]
        self.assertTrue(all(len(e.splitlines()) == len(real.splitlines()) for e in endings))
        self.assertTrue(any(b"\r\n" in e for e in endings))
        self.assertTrue(any(b"\r" in e and b"\n" not in e for e in endings))
        self.assertIn(b"\0", mutate_run.nul_bytes(rng, real))
        self.assertGreater(len(mutate_run.huge_name(rng, real)), len(real) + 3000)
        self.assertGreater(mutate_run.tiny_sequences(rng, real).count(b"\n>t"), 998)
        ss = mutate_run.wrong_gr_ss(rng, real)
        self.assertGreater(ss.count(b"#=GR"), real.count(b"#=GR"))
        self.assertTrue(ss.rstrip().endswith(b"//"))
        self.assertGreaterEqual(mutate_run.many_gr_keys(rng, real).count(b"#=GR") - real.count(b"#=GR"), 100)

    def test_large_seeds_are_cut_at_a_line_end(self):
        data = mutate_run.load_seed(str(DATA / "Pkinase.sto"))
        self.assertLessEqual(len(data), mutate_run.SEED_LIMIT_BYTES + 3)
        self.assertTrue(data.endswith(b"\n//\n"))
        self.assertEqual(mutate_run.load_seed(str(DATA / "jalview_uniref50.fa.gz")),
                         (DATA / "jalview_uniref50.fa").read_bytes())


def run_with_fake_binary(out, script, runs):
    """Runs the mutation run on globins4 with a shell script standing in for msarender."""
    fake = Path(out) / "fake.sh"
    fake.write_text("#!/bin/sh\n" + script + "\n")
    fake.chmod(0o755)
    return subprocess.run(
        ["python3", mutate_run.__file__, "--binary", str(fake), "--runs", str(runs), "--out", out,
         str(DATA / "globins4.sto")], capture_output=True, text=True, env=dict(os.environ))


class WholeRun(unittest.TestCase):
    def test_failures_are_kept_and_reproduce(self):
        with tempfile.TemporaryDirectory() as out:
            result = run_with_fake_binary(out, "echo 'msarender: x' >&2; exit 7", 3)
            self.assertEqual(result.returncode, 1, result.stdout + result.stderr)
            self.assertEqual(result.stdout.count("FAIL case"), 3, result.stdout)
            self.assertIn("3 failures (exit-code 3)", result.stdout)
            kept = sorted((Path(out) / "failures").iterdir())
            self.assertEqual([k.name for k in kept], [f"case-{i}-exit-code" for i in range(3)])
            for folder in kept:
                arguments = (folder / "arguments.txt").read_text().split("\n")
                self.assertTrue((folder / arguments[0]).is_file())
                self.assertEqual((folder / "stderr.txt").read_text(), "msarender: x\n")
                replay = subprocess.run(["sh", str(folder / "reproduce.sh")], capture_output=True)
                self.assertEqual(replay.returncode, 7)

    def test_a_clean_run_exits_0(self):
        with tempfile.TemporaryDirectory() as out:
            result = run_with_fake_binary(out, "echo 'msarender: refused' >&2; exit 1", 5)
            self.assertEqual(result.returncode, 0, result.stdout)
            self.assertIn("5 runs, 0 failures", result.stdout)
            self.assertEqual(list((Path(out) / "work").iterdir()), [])


if __name__ == "__main__":
    unittest.main()
