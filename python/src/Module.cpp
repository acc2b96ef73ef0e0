// The msarender Python module's C++ half: reading, figures and their files, with the GIL released while
// the library reads, lays out and draws. The Python package (msarender/__init__.py) maps keywords onto
// the command's options and adapts Python's inputs.

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <QStringList>
#include <cstring>

#include "AlignmentSource.h"
#include "Figure.h"
#include "ModuleErrors.h"
#include "PythonSession.h"
#include "msarender/picture/ColumnStatistics.h"
#include "sdm/Alignment.h"

namespace py = pybind11;

namespace {

QStringList ToQt(const std::vector<std::string>& texts) {
    QStringList out;
    for (const std::string& text : texts) out.append(QString::fromStdString(text));
    return out;
}

std::vector<std::string> ToStd(const QStringList& texts) {
    std::vector<std::string> out;
    for (const QString& text : texts) out.push_back(text.toStdString());
    return out;
}

// Reading options for read(): the command's own parsing of --format and --alignment.
Formats::ReadOptions ReadOptionsFor(const std::vector<std::string>& arguments, QStringList& warnings) {
    return ReadOptionsOf(ParseOptions(ToQt(arguments), warnings));
}

py::tuple ReadFile(const std::string& path, const std::vector<std::string>& arguments) {
    QStringList warnings;
    std::shared_ptr<AlignmentSource> source;
    {
        py::gil_scoped_release released;
        source = AlignmentSource::FromFile(path, ReadOptionsFor(arguments, warnings), warnings);
    }
    return py::make_tuple(source, ToStd(warnings));
}

py::tuple ReadData(const py::bytes& data, const std::string& name,
                   const std::vector<std::string>& arguments) {
    std::string bytes = data;
    QStringList warnings;
    std::shared_ptr<AlignmentSource> source;
    {
        py::gil_scoped_release released;
        source =
            AlignmentSource::FromData(std::move(bytes), name, ReadOptionsFor(arguments, warnings), warnings);
    }
    return py::make_tuple(source, ToStd(warnings));
}

std::unique_ptr<Figure> RenderFile(const std::string& path, const std::vector<std::string>& arguments) {
    const QStringList options = ToQt(arguments);
    py::gil_scoped_release released;
    return Figure::OfFile(path, options);
}

std::unique_ptr<Figure> RenderSource(const AlignmentSource& source,
                                     const std::vector<std::string>& arguments) {
    const QStringList options = ToQt(arguments);
    py::gil_scoped_release released;
    return Figure::OfSource(source, options);
}

py::tuple Save(Figure& figure, const std::string& path, const std::string& format) {
    QStringList written;
    QStringList notes;
    {
        py::gil_scoped_release released;
        written = figure.Save(QString::fromStdString(path), QString::fromStdString(format), notes);
    }
    return py::make_tuple(ToStd(written), ToStd(notes));
}

py::bytes Bytes(Figure& figure, const std::string& format, int page) {
    QByteArray bytes;
    {
        py::gil_scoped_release released;
        bytes = figure.Bytes(QString::fromStdString(format), page);
    }
    return py::bytes(bytes.constData(), std::size_t(bytes.size()));
}

py::array_t<std::uint8_t> Pixels(Figure& figure, int page) {
    QImage image;
    {
        py::gil_scoped_release released;
        image = figure.Image(page);
    }
    const auto height = py::ssize_t(image.height());
    const auto width = py::ssize_t(image.width());
    py::array_t<std::uint8_t> pixels({height, width, py::ssize_t(3)});
    std::uint8_t* out = pixels.mutable_data();
    // Qt pads each line to four bytes; the array's lines are packed.
    for (int y = 0; y < image.height(); ++y)
        std::memcpy(out + std::size_t(y) * std::size_t(width) * 3, image.constScanLine(y),
                    std::size_t(width) * 3);
    return pixels;
}

py::object CellAt(const Figure& figure, std::int64_t x, std::int64_t y, int page) {
    const std::optional<AlignmentPicture::Cell> cell = figure.CellAt(page, x, y);
    if (!cell) return py::none();
    return py::make_tuple(cell->sequence, figure.SequenceName(cell->sequence),
                          cell->column < 0 ? py::object(py::none()) : py::int_(cell->column));
}

// One dict per column shown, with the numbers --stats writes; None where a score does not apply.
py::list ColumnStats(const AlignmentSource& source, const std::vector<std::string>& arguments) {
    QStringList warnings;
    const CliOptions options = ParseOptions(ToQt(arguments), warnings);
    ColumnStatisticsTable table;
    {
        py::gil_scoped_release released;
        table = ComputeColumnStatistics(*source.ReadModel(), options.picture);
    }
    if (!table.error.isEmpty()) throw UsageFailure(table.error.toStdString());
    py::list columns;
    for (const ColumnStatistic& c : table.columns) {
        py::dict counts;
        for (int letter = 0; letter < 26; ++letter)
            if (c.letters[letter] > 0)
                counts[py::str(std::string(1, char('A' + letter)))] = c.letters[letter];
        py::dict column;
        column["column"] = c.number;
        column["residues"] = c.residues;
        column["gaps"] = c.gaps;
        column["occupancy"] = c.occupancy;
        column["consensus"] =
            c.consensus != 0 ? py::object(py::str(std::string(1, c.consensus))) : py::none();
        column["consensus_percent"] =
            c.consensus != 0 ? py::object(py::float_(c.consensusPercent)) : py::none();
        column["conservation"] = c.conservation >= 0 ? py::object(py::int_(c.conservation)) : py::none();
        column["quality"] = table.aminoAcids ? py::object(py::float_(c.quality)) : py::none();
        column["bits"] = c.bits;
        column["counts"] = counts;
        columns.append(column);
    }
    return columns;
}

void RegisterErrors(py::module_& module) {
    py::register_exception<ReadFailure>(module, "ReadError", PyExc_ValueError);
    py::register_exception_translator([](std::exception_ptr failure) {
        try {
            if (failure) std::rethrow_exception(failure);
        } catch (const UsageFailure& error) {
            PyErr_SetString(PyExc_ValueError, error.what());
        } catch (const UnknownOption& error) {
            PyErr_SetString(PyExc_TypeError, error.what());
        } catch (const WriteFailure& error) {
            PyErr_SetString(PyExc_OSError, error.what());
        }
    });
}

}  // namespace

PYBIND11_MODULE(_msarender, module) {
    module.doc() = "Pictures of multiple sequence alignments (the msarender library)";
    EnsureApplication();
    RegisterErrors(module);

    py::class_<AlignmentSource, std::shared_ptr<AlignmentSource>>(module, "AlignmentSource")
        .def_property_readonly("name", &AlignmentSource::Name)
        .def_property_readonly("format", &AlignmentSource::FormatName)
        .def_property_readonly("size", &AlignmentSource::SequenceCount)
        .def_property_readonly("columns", &AlignmentSource::ColumnCount)
        .def_property_readonly("identifiers", &AlignmentSource::Identifiers)
        .def_property_readonly("descriptions", &AlignmentSource::Descriptions)
        .def_property_readonly("sequences", &AlignmentSource::AlignedSequences);
    module.def("read_file", &ReadFile, py::arg("path"), py::arg("arguments"));
    module.def("read_data", &ReadData, py::arg("data"), py::arg("name"), py::arg("arguments"));

    py::class_<Figure>(module, "FigureCore")
        .def_property_readonly("warnings", [](const Figure& f) { return ToStd(f.Warnings()); })
        .def_property_readonly("pages", &Figure::PageCount)
        .def("page_size",
             [](const Figure& f, int page) {
                 const QSize size = f.PageSize(page);
                 return py::make_tuple(size.width(), size.height());
             })
        .def("save", &Save)
        .def("to_bytes", &Bytes)
        .def("pixels", &Pixels)
        .def("cell_at", &CellAt);
    module.def("column_stats", &ColumnStats, py::arg("source"), py::arg("arguments"));
    module.def("render_file", &RenderFile, py::arg("path"), py::arg("arguments"));
    module.def("render_source", &RenderSource, py::arg("source"), py::arg("arguments"));
}
