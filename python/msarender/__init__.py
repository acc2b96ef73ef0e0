"""Pictures of multiple sequence alignments, drawn by the msarender library.

    import msarender
    fig = msarender.render("family.sto", wrap=60, annotations="consensus,conservation")
    fig.save("family.png")          # the same bytes as `msarender family.sto --wrap 60 ... -o family.png`
    fig                             # shown inline in a notebook

Every long option of the `msarender` command is a keyword of render(), dashes as underscores, with the
command's meaning, defaults and messages. The module is built for Debian's /usr/bin/python3.
"""

import collections
import html
import os
import warnings

from . import _msarender as _core
from ._options import READING_OPTIONS, command_arguments, keyword_error, unexpected

__all__ = ["Alignment", "Figure", "Hit", "ReadError", "RenderWarning", "read", "render"]

#: An input that cannot be read; the message names the file and line, as the command's does.
ReadError = _core.ReadError


class RenderWarning(UserWarning):
    """What the command prints as a warning: something read past, or an option that does nothing."""


#: The sequence and column under a pixel: `sequence` is the 0-based index in the alignment, `name` the
#: label drawn, `column` the 0-based alignment column, or None over the name.
Hit = collections.namedtuple("Hit", ["sequence", "name", "column"])


def _warn(messages, quiet=False):
    if quiet:
        return
    for message in messages:
        warnings.warn(message, RenderWarning, stacklevel=3)


def _call(function, name, *arguments):
    try:
        return function(*arguments)
    except TypeError as error:
        if str(error).startswith("Unknown option"):
            raise keyword_error(error, name) from None
        raise


def _reading_arguments(format, alignment, max_input):
    return command_arguments({"format": format, "alignment": alignment, "max_input": max_input}, "read")


def _is_path(source):
    return isinstance(source, (str, os.PathLike))


class Alignment:
    """Sequences of equal length with their names; made by read(), from lists, or from Biopython."""

    def __init__(self, names, sequences):
        names = [str(name) for name in names]
        sequences = [str(sequence) for sequence in sequences]
        if len(names) != len(sequences):
            raise ValueError(f"{len(names)} names for {len(sequences)} sequences")
        for name in names:
            if not name.strip() or "\n" in name or "\r" in name:
                raise ValueError(f"a sequence name must be one line of text, not {name!r}")
        for sequence in sequences:
            if any(c in sequence for c in "\r\n>"):
                raise ValueError(f"a sequence holds residues and gaps only, not {sequence[:40]!r}")
        # Aligned FASTA, read by the library's reader: the sequence class and scheme are decided as for files.
        text = "".join(f">{name}\n{sequence}\n" for name, sequence in zip(names, sequences))
        source, messages = _core.read_data(text.encode(), "<sequences>", ["--format=fasta"])
        self._source = source
        _warn(messages)

    @classmethod
    def _of(cls, source):
        alignment = cls.__new__(cls)
        alignment._source = source
        return alignment

    @classmethod
    def from_biopython(cls, msa):
        """An Alignment of a Bio.Align.MultipleSeqAlignment, or of a Bio.Align.Alignment."""
        if hasattr(msa, "coordinates"):  # Bio.Align.Alignment: rows are its aligned texts
            records = list(msa.sequences)
            rows = [str(msa[i]) for i in range(len(records))]
        else:
            records = list(msa)
            rows = [str(record.seq) for record in records]
        return cls([_biopython_name(record, i) for i, record in enumerate(records)], rows)

    def __len__(self):
        return self._source.size

    @property
    def names(self):
        """The sequences' identifiers, as figures label them by default."""
        return self._source.identifiers

    @property
    def descriptions(self):
        return self._source.descriptions

    @property
    def sequences(self):
        """The aligned texts, gaps included."""
        return self._source.sequences

    @property
    def columns(self):
        return self._source.columns

    @property
    def format(self):
        """The format that was read ("stockholm", "fasta", ...)."""
        return self._source.format

    def column_stats(self, **options):
        """One dict per column shown: column (as the ruler numbers it), residues, gaps, occupancy, consensus,
        consensus_percent, conservation, quality, bits and counts (letter: count). The figure's options
        choose the columns and sequences (columns="1-50", sequences=[...], hide=[...], ruler_origin=...)."""
        arguments = command_arguments(options, "column_stats")
        return _call(_core.column_stats, "column_stats", self._source, arguments)

    def __repr__(self):
        return f"<msarender.Alignment {self._source.name!r}: {len(self)} sequences x {self.columns} columns>"


def _biopython_name(record, index):
    identifier = getattr(record, "id", None) or f"sequence{index + 1}"
    description = getattr(record, "description", "") or ""
    if description in ("", identifier, "<unknown description>"):
        return identifier
    # A FASTA title line is the identifier and its description; other readers give the description alone.
    return description if description.startswith(identifier + " ") else f"{identifier} {description}"


def read(source, format=None, alignment=None, max_input=None):
    """Reads an alignment from a path or an open file (text or binary), in any format and compression the
    command reads. `format` ("auto", "fasta", "stockholm", ...) and `alignment` (1-based, for Stockholm
    files of several) are the command's --format and --alignment. Raises ReadError (a ValueError)."""
    arguments = _reading_arguments(format, alignment, max_input)
    if _is_path(source) and os.fspath(source) != "-":
        found, messages = _core.read_file(os.fspath(source), arguments)
    else:
        found, messages = _core.read_data(*_stream_bytes(source), arguments)
    _warn(messages)
    return Alignment._of(found)


def _stream_bytes(source):
    import sys

    if _is_path(source):  # "-": standard input
        return sys.stdin.buffer.read(), "-"
    if not hasattr(source, "read"):
        raise TypeError(f"read() takes a path or an open file, not {type(source).__name__}")
    data = source.read()
    name = getattr(source, "name", None)
    return (data.encode() if isinstance(data, str) else bytes(data)), (name if isinstance(name, str) else "<stream>")


def render(source, **options):
    """The Figure of `source` (a path, an open file, an Alignment or a Biopython alignment) drawn with the
    command's options as keywords: render("x.sto", wrap=60, scheme="zappo", columns="1-50,80-100").
    A value the command refuses raises ValueError with its message; an unknown keyword TypeError."""
    if _is_path(source) and os.fspath(source) != "-":
        core = _call(_core.render_file, "render", os.fspath(source), command_arguments(options, "render"))
    else:
        drawing = {key: value for key, value in options.items() if key not in READING_OPTIONS}
        alignment = _alignment_of(source, {key: options[key] for key in READING_OPTIONS & options.keys()})
        core = _call(_core.render_source, "render", alignment._source, command_arguments(drawing, "render"))
    quiet = bool(options.get("quiet"))
    _warn(core.warnings, quiet)
    return Figure(core, quiet)


def _alignment_of(source, reading):
    """An Alignment of an open file, standard input ("-"), a Biopython alignment, or the Alignment itself."""
    if isinstance(source, Alignment):
        if reading:  # the alignment was read already, with read()'s options
            raise unexpected("render", sorted(reading))
        return source
    if hasattr(source, "read") or _is_path(source):
        return read(source, **reading)
    return Alignment.from_biopython(source)


class Figure:
    """A planned picture: written on request as the command writes it, read back as pixels, hit-tested."""

    def __init__(self, core, quiet=False):
        self._core = core
        self._quiet = quiet

    @property
    def width(self):
        """Width in pixels (of the first page when the figure has pages)."""
        return self._core.page_size(0)[0]

    @property
    def height(self):
        """Height in pixels (of the first page when the figure has pages)."""
        return self._core.page_size(0)[1]

    @property
    def pages(self):
        """Pages of the figure: 1 unless page_height cut it."""
        return self._core.pages

    def page_size(self, page):
        return self._core.page_size(page)

    @property
    def warnings(self):
        """The warnings given when the figure was made."""
        return list(self._core.warnings)

    def save(self, path, format=None):
        """Writes the figure as `msarender ... -o path` would: PNG, JPEG, BMP, PPM, SVG, PDF or EPS by the
        suffix or `format`; an existing file is replaced only by a whole one; pages go to path-001.png ...
        (a PDF holds them). Returns the paths written."""
        written, notes = _call(self._core.save, "save", os.fspath(path), format or "")
        _warn(notes, self._quiet)
        return written

    def to_bytes(self, format="png", page=0):
        """The bytes of the file in `format`: one page, or for "pdf" a document of every page."""
        return _call(self._core.to_bytes, "to_bytes", format, page)

    def to_numpy(self, page=0):
        """The pixels of a page as a uint8 array of shape (height, width, 3), for matplotlib's imshow."""
        return self._core.pixels(page)

    def hit(self, x, y, page=0):
        """The Hit (sequence index, name, column) under pixel (x, y) of a page, or None."""
        found = self._core.cell_at(int(x), int(y), page)
        return None if found is None else Hit(*found)

    def _repr_png_(self):
        return self.to_bytes("png")

    def _repr_html_(self):
        """The interactive page that `-o fig.html` writes, in a frame of its own (its script and policy stay
        inside it), so that a notebook shows a scrolling, searchable view. None for a figure of a view."""
        try:
            page = self.to_bytes("html").decode("utf-8")
        except ValueError:  # a figure of a view, or a layout the page does not show
            return None
        return ('<iframe style="width: 100%; height: 480px; border: 1px solid #ccc" sandbox="allow-scripts" '
                f'srcdoc="{html.escape(page, quote=True)}"></iframe>')

    def __repr__(self):
        return f"<msarender.Figure {self.width} x {self.height} pixels, {self.pages} page(s)>"


