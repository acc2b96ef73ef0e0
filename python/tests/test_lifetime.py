"""Figures own what they draw, and drawing many leaks nothing."""

import gc
import weakref

import pytest
from conftest import TEST_DATA

import msarender


def resident_bytes():
    with open("/proc/self/statm") as statm:
        return int(statm.read().split()[1]) * 4096


def test_a_figure_outlives_its_alignment(tmp_path):
    alignment = msarender.read(TEST_DATA / "globins4.sto")
    figure = msarender.render(alignment, wrap=60)
    expected = msarender.render(TEST_DATA / "globins4.sto", wrap=60).to_bytes()
    watch = weakref.ref(alignment)
    del alignment
    gc.collect()
    assert watch() is None
    assert figure.to_bytes() == expected


def test_figures_of_one_alignment_do_not_change_each_other():
    alignment = msarender.read(TEST_DATA / "globins4.sto")
    hidden = msarender.render(alignment, hide="1,2", scheme="zappo", names="full", consensus=True)
    plain = msarender.render(alignment)
    assert plain.to_bytes() == msarender.render(TEST_DATA / "globins4.sto").to_bytes()
    assert hidden.height < plain.height + 20 and hidden.to_bytes() != plain.to_bytes()


@pytest.mark.slow
def test_a_thousand_renders_keep_memory_flat():
    source = TEST_DATA / "globins4.sto"
    alignment = msarender.read(source)

    def draw(count):
        for i in range(count):
            figure = msarender.render(alignment if i % 2 else source, wrap=40 + i % 7, scheme="zappo")
            figure.to_bytes("png")
            figure.to_numpy()

    draw(200)  # caches and allocator pools reach their size
    gc.collect()
    before = resident_bytes()
    draw(1000)
    gc.collect()
    grown = resident_bytes() - before
    assert grown < 8 << 20, f"resident memory grew by {grown / 2**20:.1f} MiB over 1,000 renders"
