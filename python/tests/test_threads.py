"""Figures drawn on several threads at once are the figures drawn one after the other."""

import threading

from conftest import TEST_DATA

import msarender

# Different fonts, sizes and schemes, so that glyph caches, pens and layout devices are all in use at once.
JOBS = [
    (TEST_DATA / "globins50.afa", {"wrap": 60, "font_size": 9, "scheme": "zappo", "annotations": "all"}),
    (TEST_DATA / "Pkinase.sto", {"font": "DejaVu Sans", "font_size": 13.5, "scale": 2, "scheme": "taylor"}),
    (TEST_DATA / "seaview_nuc.aln", {"wrap": 0, "width": 500, "font_size": 7.5}),
    (TEST_DATA / "fn3.sto", {"columns": "5-60,70-90", "names": "full", "scheme": "hydrophobicity"}),
]


def draw(source, options, format):
    return msarender.render(source, **options).to_bytes(format)


def draw_at_once(format, rounds):
    results = [[None] * rounds for _ in JOBS]
    start = threading.Barrier(len(JOBS))

    def worker(job):
        source, options = JOBS[job]
        start.wait()
        for round in range(rounds):
            results[job][round] = draw(source, options, format)

    threads = [threading.Thread(target=worker, args=(job,)) for job in range(len(JOBS))]
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join()
    return results


def test_threads_drawing_different_figures_give_the_sequential_bytes():
    for format in ("png", "svg"):
        sequential = [draw(source, options, format) for source, options in JOBS]
        assert len(set(sequential)) == len(JOBS)  # the jobs really differ
        for job, rounds in enumerate(draw_at_once(format, rounds=3)):
            assert rounds == [sequential[job]] * 3, f"job {job} ({format}) drew other bytes on its thread"


def test_one_figure_saved_from_several_threads_writes_whole_files(tmp_path):
    figure = msarender.render(TEST_DATA / "globins50.afa", wrap=50)
    expected = figure.to_bytes()
    paths = [tmp_path / f"copy{i}.png" for i in range(4)]
    threads = [threading.Thread(target=figure.save, args=(path,)) for path in paths]
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join()
    assert [path.read_bytes() for path in paths] == [expected] * 4


def test_drawing_releases_the_interpreter():
    # GIVEN a thread that counts as fast as Python lets it, and its rate while the main thread sleeps
    # WHEN the main thread draws; THEN the count goes on at a good part of that rate (held, it would stop
    # for all but a switch interval of 5 ms).
    import time

    figure = msarender.render(TEST_DATA / "globins50.afa", scale=4, font_size=14)
    count = 0
    done = threading.Event()

    def counter():
        nonlocal count
        while not done.is_set():
            count += 1

    thread = threading.Thread(target=counter)
    thread.start()
    try:
        before, started = count, time.perf_counter()
        time.sleep(0.2)
        rate = (count - before) / (time.perf_counter() - started)
        before, started = count, time.perf_counter()
        figure.to_bytes("png")
        elapsed = time.perf_counter() - started
        during = count - before
    finally:
        done.set()
        thread.join()
    assert elapsed > 0.05, "the figure drew too fast to tell"
    assert during > 0.25 * rate * elapsed
