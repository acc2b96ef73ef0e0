"""A figure's files are the command's files: for the same input and options, the same bytes."""

import pytest
from conftest import TEST_DATA, option_arguments, run_command, without_creation_date

import msarender

OPTION_SETS = [
    ("globins4.sto", {}),
    ("globins4.sto", {"wrap": 60, "annotations": "consensus,conservation"}),
    ("globins4.sto", {"wrap": 60, "annotations": ["consensus", "occupancy"], "consensus": True}),
    ("fn3.sto", {"scheme": "zappo", "columns": "1-50,80-100", "names": "full", "ranges": True}),
    ("seaview_nuc.aln", {"wrap": 0, "width": 400, "scale": 2, "font_size": 7.5}),
    ("jalview_uniref50.fa.gz", {"sequences": [3, 1, "2-4"], "no_ruler_numbers": True, "ruler_origin": 5}),
    ("globins50.afa", {"hide": "1-10", "no_gaps": True, "wrap": 80, "font": "DejaVu Sans", "font_size": 12}),
    ("Pkinase.sto", {"no_ss": True, "no_ruler": True, "scheme": "taylor"}),
    ("srp-euk.sto", {"annotations": "all", "wrap": 100}),
    ("globins50.msf", {"view": "400x300+10+20"}),
]


@pytest.mark.parametrize("name,options", OPTION_SETS, ids=lambda v: str(v))
@pytest.mark.parametrize("suffix", ["png", "svg"])
def test_save_writes_the_commands_bytes(tmp_path, name, options, suffix):
    if suffix == "svg" and "view" in options:
        pytest.skip("a view is pixels only")
    source = TEST_DATA / name
    ours = tmp_path / f"ours.{suffix}"
    theirs = tmp_path / f"theirs.{suffix}"
    assert msarender.render(source, **options).save(ours) == [str(ours)]
    run_command(source, *option_arguments(options), "-o", theirs)
    assert ours.read_bytes() == theirs.read_bytes()


@pytest.mark.parametrize("suffix", ["jpg", "bmp", "ppm", "pdf", "eps"])
def test_every_format_is_the_commands(tmp_path, suffix):
    source = TEST_DATA / "globins4.sto"
    msarender.render(source, wrap=50).save(tmp_path / f"ours.{suffix}")
    run_command(source, "--wrap", "50", "-o", tmp_path / f"theirs.{suffix}")
    ours, theirs = (tmp_path / f"ours.{suffix}").read_bytes(), (tmp_path / f"theirs.{suffix}").read_bytes()
    assert without_creation_date(ours) == without_creation_date(theirs)


def test_to_bytes_is_the_saved_file(tmp_path):
    figure = msarender.render(TEST_DATA / "fn3.sto", wrap=40)
    for format in ("png", "svg", "pdf"):
        figure.save(tmp_path / f"fn3.{format}")
        saved = (tmp_path / f"fn3.{format}").read_bytes()
        assert without_creation_date(figure.to_bytes(format)) == without_creation_date(saved)
    assert figure._repr_png_() == (tmp_path / "fn3.png").read_bytes()


def test_pages_are_the_commands_pages(tmp_path):
    source = TEST_DATA / "globins50.afa"
    written = msarender.render(source, wrap=60, page_height=600).save(tmp_path / "ours.png")
    run_command(source, "--wrap", "60", "--page-height", "600", "-o", tmp_path / "theirs.png")
    assert len(written) > 1
    for page, path in enumerate(written, start=1):
        assert path == str(tmp_path / f"ours-{page:03d}.png")
        assert (tmp_path / path).read_bytes() == (tmp_path / f"theirs-{page:03d}.png").read_bytes()
    ours_pdf, theirs_pdf = tmp_path / "ours.pdf", tmp_path / "theirs.pdf"
    assert msarender.render(source, wrap=60, page_height=600).save(ours_pdf) == [str(ours_pdf)]
    run_command(source, "--wrap", "60", "--page-height", "600", "-o", theirs_pdf)
    assert without_creation_date(ours_pdf.read_bytes()) == without_creation_date(theirs_pdf.read_bytes())


def test_an_alignment_read_before_draws_as_its_file(tmp_path):
    source = TEST_DATA / "Pkinase.sto"
    alignment = msarender.read(source)
    msarender.render(alignment, wrap=70).save(tmp_path / "ours.png")
    run_command(source, "--wrap", "70", "-o", tmp_path / "theirs.png")
    assert (tmp_path / "ours.png").read_bytes() == (tmp_path / "theirs.png").read_bytes()


def test_open_files_draw_as_their_paths(tmp_path):
    source = TEST_DATA / "jalview_uniref50.fa.gz"
    run_command(source, "--scheme", "hydrophobicity", "-o", tmp_path / "theirs.png")
    expected = (tmp_path / "theirs.png").read_bytes()
    with open(source, "rb") as binary:
        assert msarender.render(binary, scheme="hydrophobicity").to_bytes() == expected
    with open(TEST_DATA / "jalview_uniref50.fa") as text:
        assert msarender.render(text, scheme="hydrophobicity").to_bytes() == expected


def test_biopython_alignments_draw_as_their_files(tmp_path):
    AlignIO = pytest.importorskip("Bio.AlignIO")
    from Bio import Align

    source = TEST_DATA / "globins50.afa"
    run_command(source, "--wrap", "60", "--names", "full", "-o", tmp_path / "theirs.png")
    expected = (tmp_path / "theirs.png").read_bytes()
    assert msarender.render(AlignIO.read(source, "fasta"), wrap=60, names="full").to_bytes() == expected
    assert msarender.render(Align.read(source, "fasta"), wrap=60, names="full").to_bytes() == expected
    alignment = msarender.Alignment.from_biopython(AlignIO.read(TEST_DATA / "seaview_nuc.aln", "clustal"))
    run_command(TEST_DATA / "seaview_nuc.aln", "-o", tmp_path / "nuc.png")
    assert msarender.render(alignment).to_bytes() == (tmp_path / "nuc.png").read_bytes()
