"""Every refusal reaches Python as an exception with the command's own message."""

import pytest
from conftest import TEST_DATA, command_message, option_arguments

import msarender

GLOBINS = TEST_DATA / "globins4.sto"

BAD_OPTIONS = [
    {"wrap": -1},
    {"scale": 9},
    {"font_size": 0},
    {"names": "short"},
    {"scheme": "rainbow"},
    {"columns": "5-1"},
    {"sequences": " "},
    {"view": "wide"},
    {"page_height": 0},
    {"max_pixels": 0},
    {"ruler_origin": 0},
    {"max_input": "lots"},
    {"ss": True, "no_ss": True},
    {"view": "300x200", "columns": "1-5"},
    {"sort": "height"},
    {"identical": "grey"},
]


@pytest.mark.parametrize("options", BAD_OPTIONS, ids=str)
def test_option_values_the_command_refuses_raise_its_message(options):
    expected = command_message(GLOBINS, *option_arguments(options), "-o", "unused.png")
    with pytest.raises(ValueError) as raised:
        msarender.render(GLOBINS, **options)
    assert str(raised.value) == expected
    assert not isinstance(raised.value, msarender.ReadError)


@pytest.mark.parametrize("options,words", [({"wrap": True}, ["--wrap"]), ({"no_ss": "yes"}, ["--no-ss=yes"])], ids=str)
def test_a_value_option_without_a_value_and_a_switch_with_one_are_refused(options, words):
    expected = command_message(GLOBINS, "-o", "unused.png", *words)
    with pytest.raises(ValueError) as raised:
        msarender.render(GLOBINS, **options)
    assert str(raised.value) == expected


@pytest.mark.parametrize("options", [{"sequences": "NOSUCH"}, {"hide": "99"}, {"columns": "170-200"}], ids=str)
def test_lists_that_name_nothing_in_the_alignment_raise_the_commands_message(options):
    expected = command_message(GLOBINS, *option_arguments(options), "-o", "unused.png")
    with pytest.raises(ValueError) as raised:
        msarender.render(GLOBINS, **options)
    assert str(raised.value) == expected


def test_a_bad_file_raises_a_read_error_with_its_file_and_line(tmp_path):
    broken = tmp_path / "broken.sto"
    broken.write_text("# STOCKHOLM 1.0\nseq1 MKV-LA\nseq2 MKVQ\n//\n")
    expected = command_message(broken, "-o", tmp_path / "unused.png")
    assert expected.startswith(f"{broken}:3:")
    for attempt in (lambda: msarender.read(broken), lambda: msarender.render(broken)):
        with pytest.raises(msarender.ReadError) as raised:
            attempt()
        assert str(raised.value) == expected
        assert isinstance(raised.value, ValueError)


def test_a_missing_file_raises_the_commands_message(tmp_path):
    missing = tmp_path / "missing.fa"
    with pytest.raises(msarender.ReadError) as raised:
        msarender.render(missing)
    assert str(raised.value) == command_message(missing, "-o", tmp_path / "unused.png")


@pytest.mark.parametrize("keyword", ["colour", "output", "output_dir", "help", "version", "o", "Wrap", "no-ss"])
def test_unknown_keywords_raise_type_error(keyword):
    with pytest.raises(TypeError, match="unexpected keyword argument"):
        msarender.render(GLOBINS, **{keyword: 1})


def test_reading_keywords_belong_to_read_for_an_alignment():
    alignment = msarender.read(GLOBINS)
    with pytest.raises(TypeError, match="'format'"):
        msarender.render(alignment, format="stockholm")


class TestSave:
    def test_an_unknown_suffix_is_the_commands_usage_error(self, tmp_path):
        figure = msarender.render(GLOBINS)
        expected = command_message(GLOBINS, "-o", tmp_path / "x.tiff")
        with pytest.raises(ValueError) as raised:
            figure.save(tmp_path / "x.tiff")
        assert str(raised.value) == expected
        assert not (tmp_path / "x.tiff").exists()
        with pytest.raises(ValueError, match="unknown output type 'gif'"):
            figure.to_bytes("gif")

    def test_outputs_that_cannot_hold_the_figure_are_refused(self, tmp_path):
        paged = msarender.render(GLOBINS, wrap=40, page_height=200)
        with pytest.raises(ValueError) as raised:
            paged.save(tmp_path / "x.eps")
        assert str(raised.value) == command_message(GLOBINS, "--wrap", 40, "--page-height", 200, "-o", tmp_path / "x.eps")
        view = msarender.render(GLOBINS, view="200x100")
        with pytest.raises(ValueError, match="--view writes pixels"):
            view.save(tmp_path / "x.svg")

    def test_a_figure_beyond_the_pixel_budget_is_refused_with_its_size(self, tmp_path):
        figure = msarender.render(GLOBINS, max_pixels=1000)
        with pytest.raises(ValueError) as raised:
            figure.save(tmp_path / "big.png")
        assert str(raised.value) == command_message(GLOBINS, "--max-pixels", 1000, "-o", tmp_path / "big.png")
        assert not (tmp_path / "big.png").exists()

    def test_an_unwritable_path_raises_os_error_and_leaves_the_old_file(self, tmp_path):
        figure = msarender.render(GLOBINS)
        with pytest.raises(OSError):
            figure.save(tmp_path / "no" / "such" / "folder.png")
        existing = tmp_path / "kept.png"
        existing.write_bytes(b"old")
        with pytest.raises(ValueError):
            msarender.render(GLOBINS, max_pixels=10).save(existing)
        assert existing.read_bytes() == b"old"


def test_warnings_are_python_warnings_unless_quiet():
    with pytest.warns(msarender.RenderWarning, match="--width applies only with --wrap 0"):
        msarender.render(GLOBINS, width=300)
    import warnings

    with warnings.catch_warnings():
        warnings.simplefilter("error")
        msarender.render(GLOBINS, width=300, quiet=True)
