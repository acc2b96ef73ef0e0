"""Keywords to the msarender command's options: `wrap=60` is `--wrap=60`, `no_ss=True` is `--no-ss`.

The command's own parser then reads them, so every keyword means what its option means, with the same
defaults and the same messages.
"""

import os
import re

# Options of the command that name files or answer on the terminal: a figure has its own calls for them.
_NOT_FIGURE_OPTIONS = {"output", "output_dir", "output_format", "help", "help_all", "version", "tree_out"}
# Options that say how to read an input: given to read(), or to render() of a file.
READING_OPTIONS = {"format", "alignment", "max_input"}
# Options the command takes more than once: a list gives the option once for each item.
_REPEATED_OPTIONS = {"highlight"}


def _value_text(value):
    if isinstance(value, (list, tuple)):
        return ",".join(_value_text(item) for item in value)
    if isinstance(value, float):
        return repr(value)  # the shortest text that reads back as the same number
    if isinstance(value, os.PathLike):
        return os.fspath(value)
    return str(value)


def unexpected(function, keys):
    names = ", ".join(f"'{key}'" for key in keys)
    return TypeError(f"{function}() got an unexpected keyword argument {names}")


def command_arguments(options, function):
    """The command-line options for `options`; True gives a switch, None and False leave an option out."""
    arguments = []
    for key, value in options.items():
        if len(key) < 2 or key in _NOT_FIGURE_OPTIONS or not re.fullmatch(r"[a-z][a-z_]*", key):
            raise unexpected(function, [key])
        if value is None or value is False:
            continue
        name = "--" + key.replace("_", "-")
        if key in _REPEATED_OPTIONS and isinstance(value, (list, tuple)):
            arguments += [f"{name}={_value_text(item)}" for item in value]
        else:
            arguments.append(name if value is True else f"{name}={_value_text(value)}")
    return arguments


def keyword_error(error, function):
    """The TypeError of an option the command does not know, in the words Python uses for keywords."""
    quoted = re.findall(r"'([^']+)'", str(error))
    listed = re.sub(r"^Unknown options?:?\s*", "", str(error)).rstrip(".").split(", ")
    keys = [name.replace("-", "_") for name in (quoted or listed)]
    return unexpected(function, keys)
