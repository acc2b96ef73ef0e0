#pragma once

#include <QString>
#include <QStringList>
#include <cstddef>
#include <optional>
#include <string>

#include "formats/AlignmentReader.h"
#include "msarender/picture/AlignmentPicture.h"

/// Everything the command line asked for: what to read and where to write, and the picture's settings.
struct CliOptions {
    QStringList inputs;                        // empty: the bundled example
    QString output;                            // -o; "-" is standard output
    std::optional<OutputFormat> outputFormat;  // --output-format; none: by the output's extension
    QString outputDir;                         // -O
    QString statsPath;  // --stats: the column statistics as TSV; "-" is standard output
    Formats::Format format = Formats::Format::Auto;
    int alignmentIndex = 0;
    bool alignmentChosen = false;                      // --alignment was given
    bool structureAsked = false;                       // --ss was given
    std::size_t maxInputBytes = std::size_t(1) << 30;  // --max-input: larger inputs are refused, not read
    PictureSettings picture;
    QString treeOut;  // --tree-out: the tree drawn, as Newick
    std::optional<ViewGeometry> view;
    bool timings = false;
    bool quiet = false;
};

/// The outcome of parsing: options, or a usage error, or a request already answered (--help, --version).
struct ParsedCommandLine {
    CliOptions options;
    QString usageError;    // non-empty: exit status 2
    QStringList warnings;  // options that were given but change nothing
    bool answered = false;
};

ParsedCommandLine ParseCommandLine(const QStringList& arguments);

/// The format `path` is written in: --output-format, else by its extension; none when unknown.
std::optional<OutputFormat> FormatOfOutput(const CliOptions& options, const QString& path);
