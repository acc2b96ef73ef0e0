"""The example notebook runs from top to bottom and shows its figure inline."""

import json
import pathlib
import shutil
import subprocess

import pytest

NOTEBOOK = pathlib.Path(__file__).parents[2] / "examples" / "notebook.ipynb"


@pytest.mark.notebook
def test_the_notebook_executes_and_shows_the_figure(tmp_path, shared_data):
    nbconvert = shutil.which("jupyter-nbconvert")
    if nbconvert is None:
        pytest.fail("jupyter-nbconvert is missing (scripts/setup.sh installs it)")
    copy = tmp_path / "notebook.ipynb"
    shutil.copy(NOTEBOOK, copy)
    subprocess.run([nbconvert, "--to", "notebook", "--execute", "--inplace", copy], check=True, timeout=300,
                   capture_output=True)
    cells = json.loads(copy.read_text())["cells"]
    figure_cell = next(c for c in cells if c["cell_type"] == "code" and "msarender.render(" in "".join(c["source"]))
    images = [o for o in figure_cell["outputs"] if "image/png" in o.get("data", {})]
    assert images, f"the figure cell shows no image: {figure_cell['outputs']}"
    assert images[0]["data"]["image/png"].startswith("iVBORw0KGgo")  # base64 of the PNG signature
    # The wrapped figure is also its interactive page, which a notebook's front end shows instead.
    pages = [o["data"]["text/html"] for o in figure_cell["outputs"] if "text/html" in o.get("data", {})]
    assert pages and "".join(pages[0]).startswith("<iframe"), figure_cell["outputs"]
    assert (tmp_path / "pkinase.svg").read_text().lstrip().startswith("<?xml")
