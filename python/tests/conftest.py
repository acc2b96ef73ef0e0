"""Shared pieces of the module's tests: the data folders, the command built beside the module, and a way to
run the command on the same options as a render() call."""

import os
import pathlib
import re
import subprocess

import pytest

TEST_DATA = pathlib.Path(os.environ.get("MSARENDER_TEST_DATA", pathlib.Path(__file__).parents[2] / "tests" / "data"))
SHARED_DATA = pathlib.Path(os.environ.get("MSARENDER_SHARED_DATA", pathlib.Path(__file__).parents[3] / "shared" / "data"))
COMMAND = os.environ.get("MSARENDER_COMMAND", "")


def pytest_configure(config):
    config.addinivalue_line("markers", "slow: runs for many seconds (its own ctest entry)")
    config.addinivalue_line("markers", "notebook: executes the example notebook")


def option_arguments(options):
    """The command line a user would type for render()'s keywords (separate words, as in a shell)."""
    words = []
    for key, value in options.items():
        name = "--" + key.replace("_", "-")
        if value is True:
            words.append(name)
        elif isinstance(value, (list, tuple)):
            words += [name, ",".join(str(v) for v in value)]
        else:
            words += [name, str(value)]
    return words


def run_command(*arguments, check=True):
    if not COMMAND:
        pytest.skip("MSARENDER_COMMAND names no msarender program")
    return subprocess.run([COMMAND, "--quiet", *map(str, arguments)], capture_output=True, text=True, check=check)


def command_message(*arguments):
    """The command's message for arguments it refuses: its first line of standard error, less the prefix."""
    result = run_command(*arguments, check=False)
    assert result.returncode in (1, 2), result
    return result.stderr.splitlines()[0].removeprefix("msarender: ")


@pytest.fixture
def data():
    return TEST_DATA


@pytest.fixture
def shared_data():
    if not SHARED_DATA.is_dir():
        pytest.skip(f"no shared data at {SHARED_DATA}")
    return SHARED_DATA


def without_creation_date(document):
    """A file's bytes with a PDF's creation time blanked: two runs a second apart write different times."""
    return re.sub(rb"/CreationDate \(D:\d+Z\)", b"/CreationDate (D:0Z)", document)
