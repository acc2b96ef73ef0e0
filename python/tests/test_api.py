"""Reading, alignments from Python and Biopython, pixels, hit tests and figure sizes."""

import gzip
import io
import json
import re

import numpy
import pytest
from conftest import TEST_DATA

import msarender

ZAPPO_NEGATIVE = (0xFF, 0x00, 0x00)  # D and E
ZAPPO_AROMATIC = (0xFF, 0xC8, 0x00)  # F, W, Y


class TestRead:
    def test_paths_and_open_files_read_the_same_alignment(self):
        path = TEST_DATA / "globins4.sto"
        by_path = msarender.read(path)
        assert len(by_path) == 4 and by_path.columns == 171 and by_path.format == "stockholm"
        assert by_path.names == ["HBB_HUMAN", "HBA_HUMAN", "MYG_PHYCA", "GLB5_PETMA"]
        for other in (msarender.read(str(path)), msarender.read(open(path)), msarender.read(open(path, "rb"))):
            assert other.names == by_path.names and other.sequences == by_path.sequences

    def test_compressed_streams_are_read(self):
        data = gzip.compress((TEST_DATA / "jalview_uniref50.fa").read_bytes())
        alignment = msarender.read(io.BytesIO(data))
        assert len(alignment) == len(msarender.read(TEST_DATA / "jalview_uniref50.fa.xz"))

    def test_format_and_alignment_choose_what_is_read(self):
        with pytest.raises(msarender.ReadError, match="globins4.sto:1: expected a .CLUSTAL. header"):
            msarender.read(TEST_DATA / "globins4.sto", format="clustal")
        with pytest.raises(ValueError, match="alignment"):
            msarender.read(TEST_DATA / "globins4.sto", alignment=2)


class TestAlignment:
    def test_names_and_sequences_make_an_alignment(self):
        alignment = msarender.Alignment(["a first", "b"], ["MKV-LA", "MKVQLA"])
        assert len(alignment) == 2
        assert alignment.names == ["a", "b"] and alignment.descriptions == ["first", ""]
        assert alignment.sequences == ["MKV-LA", "MKVQLA"] and alignment.columns == 6

    @pytest.mark.parametrize(
        "names,sequences",
        [(["a"], ["MK", "MK"]), (["a", ""], ["MK", "MK"]), (["a\nb"], ["MK"]), (["a"], [">MK"])],
    )
    def test_malformed_lists_are_refused(self, names, sequences):
        with pytest.raises(ValueError):
            msarender.Alignment(names, sequences)

    def test_residues_the_reader_refuses_are_a_read_error(self):
        with pytest.raises(msarender.ReadError, match="<sequences>:"):
            msarender.Alignment(["a", "b"], ["----", "----"])

    def test_biopython_alignments_keep_names_and_rows(self):
        AlignIO = pytest.importorskip("Bio.AlignIO")
        msa = AlignIO.read(TEST_DATA / "globins50.afa", "fasta")
        alignment = msarender.Alignment.from_biopython(msa)
        assert alignment.names == [record.id for record in msa]
        assert alignment.sequences == [str(record.seq) for record in msa]


def test_alignment_source_draws_with_python_made_alignments():
    figure = msarender.render(msarender.Alignment(["x", "y"], ["DDEE", "FWYF"]), scheme="zappo")
    assert figure.width > 0 and figure.height > 0 and figure.pages == 1


def cell_boxes(figure):
    """The pixel box (left, top, right, bottom) of every residue cell, found by hit-testing every pixel."""
    boxes = {}
    for y in range(figure.height):
        for x in range(figure.width):
            hit = figure.hit(x, y)
            if hit is not None and hit.column is not None:
                left, top, right, bottom = boxes.get((hit.sequence, hit.column), (x, y, x, y))
                boxes[(hit.sequence, hit.column)] = (min(left, x), min(top, y), max(right, x), max(bottom, y))
    return boxes


def cell_centres(figure):
    return {key: ((l + r) // 2, (t + b) // 2) for key, (l, t, r, b) in cell_boxes(figure).items()}


class TestPixelsAndHits:
    def test_numpy_pixels_are_the_commands_ppm(self, tmp_path):
        figure = msarender.render(TEST_DATA / "globins4.sto", wrap=50, scheme="zappo")
        pixels = figure.to_numpy()
        assert pixels.dtype == numpy.uint8 and pixels.shape == (figure.height, figure.width, 3)
        magic, size, depth, body = figure.to_bytes("ppm").split(b"\n", 3)
        assert (magic, size, depth) == (b"P6", f"{figure.width} {figure.height}".encode(), b"255")
        assert numpy.array_equal(pixels, numpy.frombuffer(body, numpy.uint8).reshape(pixels.shape))

    def test_cells_show_their_scheme_colour_where_hit_finds_them(self):
        # Backgrounds are probed inside a cell's top-left corner: the letter is drawn in its middle.
        alignment = msarender.Alignment(["acid", "ring"], ["DEDE-E", "FWYFWY"])
        figure = msarender.render(alignment, scheme="zappo", font_size=20)
        pixels = figure.to_numpy()
        boxes = cell_boxes(figure)
        assert set(boxes) == {(s, c) for s in range(2) for c in range(6)}
        widths = {right - left for (left, _, right, _) in boxes.values()}
        assert len(widths) == 1  # one cell width
        for (sequence, column), (left, top, right, bottom) in boxes.items():
            colour = tuple(pixels[top + 2, left + 1])
            if (sequence, column) == (0, 4):
                assert colour == (255, 255, 255)  # the gap
            else:
                assert colour == (ZAPPO_NEGATIVE if sequence == 0 else ZAPPO_AROMATIC), (sequence, column)
            letter = pixels[top:bottom + 1, left:right + 1].reshape(-1, 3)
            assert any(tuple(p) != colour for p in letter) or (sequence, column) == (0, 4), "no letter drawn"

    def test_hits_name_the_sequence_and_the_column(self):
        figure = msarender.render(TEST_DATA / "globins4.sto", wrap=60)
        centres = cell_centres(figure)
        assert set(centres) == {(s, c) for s in range(4) for c in range(171)}
        x, y = centres[(2, 100)]
        assert figure.hit(x, y) == msarender.Hit(2, "MYG_PHYCA", 100)
        assert figure.hit(2, y) == msarender.Hit(2, "MYG_PHYCA", None)
        assert figure.hit(x, 1) is None  # the ruler
        assert figure.hit(-1, y) is None and figure.hit(figure.width, y) is None

    def test_chosen_columns_and_closed_gaps_hit_the_columns_drawn(self):
        columns = msarender.render(TEST_DATA / "globins4.sto", columns="10-12,100-101")
        assert sorted({c for (_, c) in cell_centres(columns)}) == [9, 10, 11, 99, 100]
        alignment = msarender.Alignment(["a", "b"], ["M--KV", "MQQKV"])
        closed = cell_centres(msarender.render(alignment, no_gaps=True))
        assert sorted(c for (s, c) in closed if s == 0) == [0, 3, 4]
        assert sorted(c for (s, c) in closed if s == 1) == [0, 1, 2, 3, 4]

    def test_a_tree_orders_the_rows_and_draws_left_of_the_names(self, tmp_path):
        tree = tmp_path / "globins.nwk"
        tree.write_text("(MYG_PHYCA:0.3,(HBB_HUMAN:0.1,'HBA_HUMAN':0.1):0.2,GLB5_PETMA:0.5);")
        plain = msarender.render(TEST_DATA / "globins4.sto")
        figure = msarender.render(TEST_DATA / "globins4.sto", tree=tree, tree_style="cladogram")
        assert figure.height == plain.height and figure.width > plain.width
        rows = sorted({(y, s) for (s, _), (_, y) in cell_centres(figure).items()})
        assert [msarender.read(TEST_DATA / "globins4.sto").names[s] for _, s in rows] == [
            "MYG_PHYCA", "HBB_HUMAN", "HBA_HUMAN", "GLB5_PETMA"]
        # The tree's black lines stand in the band the picture grew by, left of the names.
        band = figure.to_numpy()[:, : figure.width - plain.width]
        assert (band == 0).all(axis=2).sum() > 50
        with pytest.raises(ValueError, match="bad.nwk:1:3"):
            (tmp_path / "bad.nwk").write_text("(A;")
            msarender.render(TEST_DATA / "globins4.sto", tree=tmp_path / "bad.nwk")
        with pytest.raises(TypeError, match="tree_out"):
            msarender.render(TEST_DATA / "globins4.sto", tree="nj", tree_out=tmp_path / "t.nwk")

    def test_pages_have_their_own_sizes_and_hits(self):
        figure = msarender.render(TEST_DATA / "globins50.afa", wrap=60, page_height=600)
        assert figure.pages > 1
        sizes = [figure.page_size(page) for page in range(figure.pages)]
        assert all(width == figure.width and height <= 600 for width, height in sizes)
        assert figure.to_numpy(page=1).shape == (sizes[1][1], sizes[1][0], 3)
        with pytest.raises(ValueError, match="no page"):
            figure.page_size(figure.pages)


def test_a_reference_leads_sorted_rows_and_its_own_residues_keep_their_colours():
    # Keywords reach the command's parser: the rows' order shows in where hits find each sequence.
    alignment = msarender.Alignment(["far", "near", "ref"], ["QQWWA", "MKVWA", "MKVLA"])
    figure = msarender.render(alignment, reference="ref", sort="identity", scheme="zappo", font_size=20)
    boxes = cell_boxes(figure)
    row_tops = sorted({(top, sequence) for (sequence, _), (_, top, _, _) in boxes.items()})
    assert [sequence for _, sequence in row_tops] == [2, 1, 0]
    pixels = figure.to_numpy()
    left, top, _, _ = boxes[(2, 0)]
    assert tuple(pixels[top + 2, left + 1]) != (255, 255, 255)  # the reference's M keeps its colour
    left, top, _, _ = boxes[(1, 0)]
    assert tuple(pixels[top + 2, left + 1]) == (255, 255, 255)  # the same M below it is a dot on white
    with pytest.raises(ValueError, match="no sequence named"):
        msarender.render(alignment, reference="nobody")


def test_a_view_is_exactly_its_size():
    figure = msarender.render(TEST_DATA / "globins50.msf", view="300x200+0+40")
    assert (figure.width, figure.height) == (300, 200)
    assert figure.to_numpy().shape == (200, 300, 3)


def test_the_html_page_is_the_commands_and_a_notebook_shows_it_framed(tmp_path):
    figure = msarender.render(TEST_DATA / "globins4.sto", scheme="zappo")
    page = figure.to_bytes("html")
    assert page.startswith(b"<!DOCTYPE html>") and b"Content-Security-Policy" in page
    written = figure.save(tmp_path / "globins4.html")
    assert (tmp_path / "globins4.html").read_bytes() == page and len(written) == 1
    framed = figure._repr_html_()
    assert framed.startswith("<iframe") and "&lt;script&gt;" in framed and "<script>" not in framed
    # A view is pixels of one position: no page of it, and no frame in a notebook.
    view = msarender.render(TEST_DATA / "globins4.sto", view="300x200+0+0")
    with pytest.raises(ValueError, match="--view writes pixels"):
        view.to_bytes("html")
    assert view._repr_html_() is None
    # Wrapped figures are pages too, a block of lines for each 60 columns; rows closed up are not.
    wrapped = msarender.render(TEST_DATA / "globins4.sto", wrap=60)
    blocks = json.loads(re.search(rb'id="msarender-data">(.*?)</script>', wrapped.to_bytes("html")).group(1))["blocks"]
    assert len(blocks) == 3 * 3  # 171 columns: blocks from columns 1, 61 and 121, each top, first and end
    assert blocks[3:6] == [blocks[3], 60, 120]
    assert wrapped._repr_html_().startswith("<iframe")
    assert msarender.render(TEST_DATA / "globins4.sto", no_gaps=True)._repr_html_() is None


def test_identity_numbers_and_highlights_reach_the_figure_and_a_bad_highlight_is_refused():
    # Keywords reach the command's parser; a list of highlights gives --highlight once for each.
    alignment = msarender.Alignment(["ref/5-9", "other"], ["MKVLA", "MKWLA"])
    plain = msarender.render(alignment, font_size=20)
    marked = msarender.render(
        alignment, font_size=20, reference="ref", identity=True, residue_numbers=True,
        highlight=["ref:6-7:#00ff00:loop", "columns:4-5:#0000ff"])
    assert marked.width > plain.width and marked.height > plain.height  # columns beside, a label line above
    pixels = marked.to_numpy()
    colours = {tuple(pixel) for pixel in pixels.reshape(-1, 3)}
    assert (0, 255, 0) in colours and (0, 0, 255) in colours
    with pytest.raises(ValueError, match="ref has residues 5-9"):
        msarender.render(alignment, highlight="ref:1-2")
