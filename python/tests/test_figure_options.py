"""Figures about one sequence from Python: the ruler by the reference, a scheme of one's own, highlights of
names with colons, each keyword as the command's option."""

import re

import pytest
from test_api import cell_boxes

import msarender

BLACK = (0, 0, 0)


def ruler_ink(figure, boxes, column, rows_up):
    """The pixel `rows_up` above the ruler band's bottom line at the centre of `column` (of sequence 1)."""
    left, top, right, _ = boxes[(1, column)]
    bottom = min(t for (_, _), (_, t, _, _) in boxes.items()) - 1  # the band ends above the first row
    return tuple(figure.to_numpy()[bottom - rows_up, left + (right - left + 1) // 2])


class TestRulerByReference:
    # "ref" has gaps at columns 2-3: its residues 1, 2 stand at columns 0, 1 and 3, 4, 5 at columns 4, 5, 6.
    ALIGNMENT = msarender.Alignment(["ref", "other"], ["MK--VLAYGRQEDLNK", "MKAAVLAYGRQEDLNK"])

    def test_ticks_follow_the_references_residues(self):
        plain = msarender.render(self.ALIGNMENT, reference="ref", font_size=20)
        numbered = msarender.render(self.ALIGNMENT, reference="ref", ruler_by_reference=True, font_size=20)
        boxes = cell_boxes(numbered)
        assert boxes == cell_boxes(plain)
        # Counted by columns, 5 is column 4 and 10 column 9; by the reference, 5 is column 6 and 10 column 11.
        assert ruler_ink(plain, boxes, 4, 2) == BLACK and ruler_ink(numbered, boxes, 4, 2) != BLACK
        assert ruler_ink(numbered, boxes, 6, 2) == BLACK and ruler_ink(plain, boxes, 6, 2) != BLACK
        _, top, _, bottom = boxes[(1, 0)]
        half = (bottom - top + 1) // 2
        assert ruler_ink(numbered, boxes, 11, half - 1) == BLACK and ruler_ink(plain, boxes, 11, half - 1) != BLACK
        assert ruler_ink(numbered, boxes, 9, 2) != BLACK  # 8 gets no tick
        for gap in (2, 3):
            assert ruler_ink(numbered, boxes, gap, 2) != BLACK

    def test_without_a_reference_it_is_refused(self):
        with pytest.raises(ValueError, match="give --reference"):
            msarender.render(self.ALIGNMENT, ruler_by_reference=True)


def test_a_scheme_file_colours_the_letters_it_names(tmp_path):
    rules = tmp_path / "mine.txt"
    rules.write_text("# charged\nKR #ff0000 white\n")
    alignment = msarender.Alignment(["a", "b"], ["MKVR", "MRVK"])
    figure = msarender.render(alignment, scheme_file=rules, font_size=20)
    pixels = figure.to_numpy()
    for (sequence, column), (left, top, _, _) in cell_boxes(figure).items():
        letter = alignment.sequences[sequence][column]
        expected = (255, 0, 0) if letter in "KR" else (255, 255, 255)
        assert tuple(pixels[top + 1, left + 1]) == expected, (sequence, column)
    rules.write_text("KR red\nDE bluu\n")
    with pytest.raises(ValueError, match=r"mine.txt:2: 'bluu' is no colour"):
        msarender.render(alignment, scheme_file=rules)


def test_a_highlight_finds_a_name_with_colons():
    alignment = msarender.Alignment(["sp|P1|X:1", "sp|P1|X"], ["--MKVLAY", "MKVLAY--"])
    longest = msarender.render(alignment, highlight="sp|P1|X:1:1-2:#00ff00", font_size=20)
    quoted = msarender.render(alignment, highlight='"sp|P1|X:1":1-2:#00ff00', font_size=20)
    assert numpy_equal(longest, quoted)
    boxes = cell_boxes(longest)
    pixels = longest.to_numpy()
    green = {(x, y) for y in range(longest.height) for x in range(longest.width) if tuple(pixels[y, x]) == (0, 255, 0)}
    # The frame is around columns 2-3 of row 0 (residues 1-2 of "sp|P1|X:1"), not columns 0-1 of row 1.
    assert green
    low, high = min(x for x, _ in green), max(x for x, _ in green)
    assert boxes[(0, 1)][0] < low <= boxes[(0, 2)][2]
    assert boxes[(0, 3)][0] <= high < boxes[(0, 4)][2]
    with pytest.raises(ValueError, match=re.escape("no sequence named or numbered 'sp|P1'")):
        msarender.render(alignment, highlight="sp|P1:1-2")


def numpy_equal(a, b):
    return a.to_numpy().shape == b.to_numpy().shape and (a.to_numpy() == b.to_numpy()).all()
