#pragma once

#include <QFont>
#include <QString>
#include <QStringList>
#include <cstddef>
#include <optional>
#include <string>

#include "formats/AlignmentReader.h"
#include "sdm/Sequence.h"

/// Where the composed view starts and how large it is, for --view.
struct ViewGeometry {
    int width = 0;
    int height = 0;
    int left = 0;  // horizontal scroll offset, pixels
    int top = 0;   // vertical scroll offset, pixels
};

/// Everything the command line asked for.
struct CliOptions {
    QStringList inputs;       // empty: the bundled example
    QString output;           // -o; "-" is standard output
    QByteArray outputFormat;  // --output-format, as ImageFormatFor names it; empty: by the output's extension
    QString outputDir;        // -O
    Formats::Format format = Formats::Format::Auto;
    int alignmentIndex = 0;
    std::size_t maxInputBytes = std::size_t(1) << 30;  // --max-input: larger inputs are refused, not read
    QString scheme;                                    // empty: the default of the sequence class
    int wrap = -1;                                     // residues per line; -1 = no wrapping, 0 = fit --width
    int width = 1200;                                  // residue area width in pixels for --wrap 0
    long long pageHeight = 0;                          // --page-height: 0 = one image, whatever its size
    QString fontFamily = QStringLiteral("DejaVu Sans Mono");
    double fontSize = 10;  // points; fractions allowed
    double scale = 1;      // --scale: pixel density as a multiple of a 96 dpi screen
    bool secondaryStructure = true;
    bool ruler = true;
    bool rulerNumbers = true;
    int rulerOrigin = 1;
    QString sequences;  // names or 1-based indexes, comma separated
    QString columns;    // 1-based ranges, comma separated
    QString hide;       // names or 1-based indexes to hide
    bool includeGaps = true;
    bool consensus = false;
    SDM::NameStyle names = SDM::NameStyle::Identifier;  // --names id|full
    bool ranges = false;                                // --ranges: "/start-end" after each name
    QStringList annotations;  // --annotations: rows of the whole alignment, in this order
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

/// The format `path` is written in: --output-format, else by its extension; empty when unknown.
QByteArray OutputFormat(const CliOptions& options, const QString& path);
/// The residue font the options ask for, at --font-size times --scale.
QFont PictureFont(const CliOptions& options);
