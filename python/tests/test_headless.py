"""The module draws in a plain interpreter with no display and no Qt set up by the caller."""

import os
import subprocess
import sys

from conftest import TEST_DATA

SCRIPT = """
import msarender, sys
figure = msarender.render(sys.argv[1], wrap=60)
written = figure.save(sys.argv[2])
print(figure.width, figure.height, len(written))
"""


def test_no_display_no_platform_and_no_runtime_folder(tmp_path):
    environment = {k: v for k, v in os.environ.items()
                   if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_RUNTIME_DIR")}
    result = subprocess.run([sys.executable, "-c", SCRIPT, TEST_DATA / "globins4.sto", tmp_path / "g.png"],
                            env=environment, capture_output=True, text=True, timeout=120)
    assert result.returncode == 0, result.stderr
    assert result.stderr == ""  # Qt says nothing about displays or runtime folders
    width, height, files = map(int, result.stdout.split())
    assert width > 0 and height > 0 and files == 1
    assert (tmp_path / "g.png").read_bytes()[:8] == b"\x89PNG\r\n\x1a\n"


def test_the_interpreter_is_debians():
    assert sys.executable == "/usr/bin/python3"
