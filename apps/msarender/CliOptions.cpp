#include "CliOptions.h"

#include <unistd.h>

#include <QCommandLineParser>
#include <QRegularExpression>
#include <cstdio>
#include <limits>

#include "msarender/picture/RowOrder.h"
#include "msarender/picture/SchemeFile.h"
#include "msarender/picture/SequenceSelection.h"
#include "sdm/schemes/ColorSchemes.h"

namespace {

const char* const kOutputTypes = ".png, .jpg, .bmp, .ppm, .svg, .pdf, .eps or .html";
// The largest host view: a window on the largest screens.
constexpr int kMaxViewSide = 16384;

const char* const kDescription =
    "Renders multiple sequence alignments to images.\n"
    "With no input, renders the bundled example (Pfam fn3) to example.png.\n"
    "Formats: FASTA/A2M/A3M, Clustal, Stockholm, PHYLIP, PIR, MSF, NEXUS, SELEX; '-' reads standard input; "
    "gzip, bzip2 and xz input is read directly.\n"
    "Exit status: 0 success, 1 failure, 2 usage error.";

struct OptionSet {
    QCommandLineOption output{
        {"o", "output"},
        "Write the image to <file> (PNG, JPEG, BMP, PPM, or as shapes and text SVG, PDF, EPS, by extension; "
        "'-' = PNG on standard output).",
        "file"};
    QCommandLineOption outputFormat{"output-format",
                                    "Write <type> whatever the extension: png, jpeg, bmp, ppm, svg, pdf, eps "
                                    "or html (an interactive page).",
                                    "type"};
    QCommandLineOption outputDir{
        {"O", "output-dir"}, "Write one picture per input into <dir> (PNG, or the --output-format).", "dir"};
    QCommandLineOption format{
        "format", "Input format: auto, fasta, clustal, stockholm, phylip, pir, msf, nexus, selex.", "name",
        "auto"};
    QCommandLineOption maxInput{"max-input",
                                "Refuse inputs larger than <size> bytes after decompression; K, M and G "
                                "suffixes count 1024s (default 1G).",
                                "size", "1G"};
    QCommandLineOption alignment{"alignment",
                                 "Which alignment of a multi-alignment Stockholm file (1-based).", "n", "1"};
    QCommandLineOption scheme{"scheme",
                              "Colour scheme: " + QString::fromStdString([] {
                                  std::string names;
                                  for (const std::string& n : SDM::ColorSchemeNames())
                                      names += (names.empty() ? "" : ", ") + n;
                                  return names;
                              }()) +
                                  " (default: clustal for proteins, nucleotide for nucleic acids).",
                              "name"};
    QCommandLineOption wrap{"wrap", "Wrap into blocks of <n> residues per line; 0 fits --width.", "n"};
    QCommandLineOption width{"width", "Width of the residue area in pixels, for --wrap 0 (default 1200).",
                             "pixels", "1200"};
    QCommandLineOption maxPixels{"max-pixels",
                                 "Refuse, before drawing, a picture of more than <n> pixels in all its pages "
                                 "(default 17179869184, 2^34, which every real figure fits).",
                                 "n", "17179869184"};
    QCommandLineOption pageHeight{
        "page-height",
        "Split the picture into pages of at most <pixels> rows, each holding whole "
        "blocks (or whole sequences), all of one width: out-001.png, out-002.png ... (a PDF holds them "
        "as its pages).",
        "pixels"};
    QCommandLineOption font{"font", "Residue font family (default DejaVu Sans Mono).", "family",
                            "DejaVu Sans Mono"};
    QCommandLineOption fontSize{"font-size", "Font size in points, fractions allowed (default 10).", "points",
                                "10"};
    QCommandLineOption scale{
        "scale",
        "Draw at <n> times the pixel density of a 96 dpi screen, for print (1 to 8, such as "
        "2 or 3.125 for 300 dpi); PNG and JPEG files record the density. The layout, --width, "
        "--page-height and the size of vector pages stay those of 1.",
        "n", "1"};
    QCommandLineOption names{"names",
                             "Sequence labels: 'id' (the identifier, the default) or 'full' (the whole title "
                             "line with its description).",
                             "id|full", "id"};
    QCommandLineOption ranges{"ranges",
                              "Append /start-end residue ranges to names that do not already end in one."};
    QCommandLineOption ss{"ss",
                          "Draw each sequence's own structure (#=GR SS) on a line under it: a protein's as "
                          "a cartoon, an RNA's as brackets coloured by helix (the default)."};
    QCommandLineOption noSs{"no-ss", "Do not draw secondary-structure lines."};
    QCommandLineOption noRuler{"no-ruler", "Do not draw the ruler."};
    QCommandLineOption noRulerNumbers{"no-ruler-numbers", "Draw ruler ticks without numbers."};
    QCommandLineOption rulerOrigin{
        "ruler-origin", "The column (1-based) that the ruler numbers 1 (default 1).", "column", "1"};
    QCommandLineOption rulerByReference{
        "ruler-by-reference",
        "Number the ruler by the --reference sequence's residues, counted from its name's /start-end where "
        "it has one, else from 1, instead of by columns: a column where the reference has a gap (or has "
        "ended) gets no tick and no number, and the numbering goes on at its next residue."};
    QCommandLineOption sequences{
        "sequences", "Sequences to draw, by name or 1-based index, comma separated, in this order.", "list"};
    QCommandLineOption columns{"columns", "Columns to draw, 1-based ranges such as 1-50,80-100.", "ranges"};
    QCommandLineOption noGaps{
        "no-gaps",
        "Leave gaps out; residues close up. The ruler then shows ticks without numbers, as columns no "
        "longer line up across sequences."};
    QCommandLineOption hide{"hide", "Sequences to hide, by name or 1-based index, comma separated.", "list"};
    QCommandLineOption consensus{"consensus", "Add the consensus sequence."};
    QCommandLineOption reference{"reference",
                                 "Compare the other sequences with this one, by name or 1-based index; it is "
                                 "drawn first.",
                                 "name|index"};
    QCommandLineOption referenceInPlace{"reference-in-place",
                                        "Leave the --reference sequence where it stands among the others."};
    QCommandLineOption identical{"identical",
                                 "How a residue identical to the --reference's in its column is drawn: 'dot' "
                                 "(the default) or 'blank'; differences keep their colours.",
                                 "dot|blank", "dot"};
    QCommandLineOption sort{
        "sort",
        "Order the sequences: 'identity' (to the --reference, else to the consensus; "
        "highest first), 'name', or 'length' (residues, longest first). Ties keep the file "
        "order.",
        "identity|name|length"};
    QCommandLineOption schemeFile{
        "scheme-file",
        "Colour residues by the rules of <file> instead of --scheme: one a line, residue letters, a "
        "background colour and an optional letter colour (names or #rrggbb), such as 'KR red white'; "
        "'#' starts a comment.",
        "file"};
    QCommandLineOption identity{
        "identity",
        "Add a column right of the rows with each row's percent identity to the --reference (else to the "
        "consensus): of the columns where both have a residue, the share with the same letter (any case), "
        "as a whole number; '-' where they share no such column."};
    QCommandLineOption residueNumbers{
        "residue-numbers",
        "Number each line: the first residue of the sequence on it left of the line, its last at the end, "
        "counted from the name's /start-end where it has one, else from 1; a line without residues of the "
        "sequence gets no number."};
    QCommandLineOption highlight{
        "highlight",
        "Frame residues of one sequence, NAME:START-END[:COLOUR[:LABEL]] in its own residue numbers, or "
        "whole columns, columns:START-END[:COLOUR[:LABEL]] (1-based); COLOUR is a name or #rrggbb, LABEL "
        "is drawn above the block. A NAME may hold colons: the longest name in the alignment before a "
        "range is taken, and a NAME in double quotes (\"sp|P1|X:1\":10-20) is taken whole. May be repeated.",
        "spec"};
    QCommandLineOption annotations{
        "annotations",
        "Rows under every block, comma separated: consensus, conservation, occupancy, logo, quality, "
        "a #=GC tag of the file (ss_cons, rf...), or all. Computed rows describe the "
        "sequences drawn (--sequences, --hide). logo stacks letters by information content (logo:frequency "
        "by frequency alone); quality is Jalview's BLOSUM62 alignment quality (amino acids).",
        "list"};
    QCommandLineOption threshold{
        "threshold",
        "Colour only residues that agree with their column's consensus in at least <percent> % of the "
        "sequences drawn (0 to 100).",
        "percent"};
    QCommandLineOption byConservation{
        "by-conservation", "Pale residue colours as their column's conservation falls (amino acids)."};
    QCommandLineOption stats{
        "stats",
        "Write the statistics of every column drawn to <file> as tab-separated text: residues, gaps, "
        "occupancy, consensus, conservation, quality, information content and the count of each letter.",
        "file"};
    QCommandLineOption view{"view",
                            "Render the composed view of a host instead: size and scroll position in pixels, "
                            "WIDTHxHEIGHT[+LEFT+TOP].",
                            "geometry"};
    QCommandLineOption tree{
        "tree",
        "Draw a tree left of the names and the rows in its order: a Newick file, or 'nj' or 'upgma' to build "
        "one from distances of 1 - identity over the columns where both sequences have residues.",
        "file|nj|upgma"};
    QCommandLineOption treeStyle{"tree-style",
                                 "'phylogram' (branch lengths to scale, the default) or 'cladogram' (every "
                                 "leaf at the tree's right edge).",
                                 "style", "phylogram"};
    QCommandLineOption treeOut{"tree-out", "Write the tree drawn (as read or built) to <file> in Newick.",
                               "file"};
    QCommandLineOption timings{"timings", "Print the performance timers on standard error."};
    QCommandLineOption quiet{{"q", "quiet"}, "Print nothing but errors."};
};

bool ParseInt(const QString& text, int minimum, int& out) {
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < minimum) return false;
    out = value;
    return true;
}

// "1048576", "512K", "64M", "2G": a positive byte count.
std::optional<std::size_t> ParseByteSize(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,12})([KMG]?)$"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = pattern.match(text.trimmed());
    if (!m.hasMatch()) return std::nullopt;
    const int shift =
        m.captured(2).isEmpty() ? 0 : QStringLiteral("KMG").indexOf(m.captured(2).toUpper()) * 10 + 10;
    const unsigned long long number = m.captured(1).toULongLong();
    if (number == 0 || number > (std::numeric_limits<std::size_t>::max() >> shift)) return std::nullopt;
    return std::size_t(number) << shift;
}

std::optional<ViewGeometry> ParseViewGeometry(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral("^(\\d+)x(\\d+)(?:\\+(\\d+)\\+(\\d+))?$"));
    const QRegularExpressionMatch m = pattern.match(text);
    if (!m.hasMatch()) return std::nullopt;
    // Every number must fit: an offset too large for an int is refused, not read as 0.
    bool ok = true;
    const auto number = [&ok, &m](int group) {
        if (m.captured(group).isEmpty()) return 0;
        bool fits = false;
        const int value = m.captured(group).toInt(&fits);
        ok = ok && fits;
        return value;
    };
    ViewGeometry g;
    g.width = number(1);
    g.height = number(2);
    g.left = number(3);
    g.top = number(4);
    if (!ok || g.width <= 0 || g.height <= 0) return std::nullopt;
    return g;
}

// Reads the numeric and named options; returns a usage error or an empty string.
QString ReadValues(const QCommandLineParser& parser, const OptionSet& o, CliOptions& out) {
    if (const auto f = Formats::ParseFormatName(parser.value(o.format).toStdString()))
        out.format = *f;
    else
        return "unknown format '" + parser.value(o.format) + "'";
    if (const auto bytes = ParseByteSize(parser.value(o.maxInput)))
        out.maxInputBytes = *bytes;
    else
        return "--max-input needs a size in bytes, such as 500000, 64M or 2G";
    if (!ParseInt(parser.value(o.alignment), 1, out.alignmentIndex)) return "--alignment needs a number >= 1";
    if (parser.isSet(o.outputFormat)) {
        // The name stands for a file of that type: "jpg" is as good as "jpeg".
        out.outputFormat = OutputFormatNamed(parser.value(o.outputFormat));
        if (!out.outputFormat || parser.value(o.outputFormat).contains('.'))
            return "unknown output type '" + parser.value(o.outputFormat) + "' (use " + kOutputTypes + ")";
    }
    out.alignmentIndex -= 1;
    out.alignmentChosen = parser.isSet(o.alignment);
    PictureSettings& picture = out.picture;
    if (parser.isSet(o.scheme)) {
        picture.colorScheme = parser.value(o.scheme);
        if (!SDM::MakeColorScheme(picture.colorScheme.toStdString()))
            return "unknown colour scheme '" + picture.colorScheme + "'";
    }
    if (parser.isSet(o.schemeFile)) {
        if (parser.isSet(o.scheme)) return "--scheme and --scheme-file exclude each other";
        picture.schemeFile = parser.value(o.schemeFile);
        // Read now: a bad line should not wait for the inputs.
        if (const SchemeFile read = ReadSchemeFile(picture.schemeFile); !read.error.isEmpty())
            return read.error;
    }
    if (parser.isSet(o.wrap)) {
        int perLine = 0;
        if (!ParseInt(parser.value(o.wrap), 0, perLine)) return "--wrap needs a number >= 0";
        picture.wrap = true;
        picture.residuesPerLine = perLine == 0 ? PictureSettings::kFitToWidth : perLine;
    }
    if (!ParseInt(parser.value(o.width), 1, picture.width)) return "--width needs a number of pixels >= 1";
    if (parser.isSet(o.pageHeight)) {
        int pixels = 0;
        if (!ParseInt(parser.value(o.pageHeight), 1, pixels))
            return "--page-height needs a number of pixels >= 1";
        picture.pageHeight = pixels;
    }
    bool pixelsOk = false;
    picture.maxPixels = parser.value(o.maxPixels).toLongLong(&pixelsOk);
    if (!pixelsOk || picture.maxPixels < 1) return "--max-pixels needs a number of pixels >= 1";
    bool sizeOk = false;
    picture.fontSize = parser.value(o.fontSize).toDouble(&sizeOk);
    if (!sizeOk || !(picture.fontSize >= 1 && picture.fontSize <= 200))
        return "--font-size needs a number of points from 1 to 200, such as 10 or 7.5";
    bool scaleOk = false;
    picture.scale = parser.value(o.scale).toDouble(&scaleOk);
    if (!scaleOk || !(picture.scale >= 1 && picture.scale <= 8))
        return "--scale needs a number from 1 to 8, such as 2";
    if (parser.value(o.names) == QLatin1String("full"))
        picture.fullNames = true;
    else if (parser.value(o.names) != QLatin1String("id"))
        return "--names needs 'id' or 'full'";
    for (const QCommandLineOption* list : {&o.sequences, &o.columns, &o.hide})
        if (parser.isSet(*list) && parser.value(*list).trimmed().isEmpty())
            return "--" + list->names().constFirst() + " needs a non-empty list";
    if (parser.isSet(o.columns)) {
        // The syntax is checked now; whether the columns exist, once the alignment is read.
        if (const QString error = CheckColumnSyntax(parser.value(o.columns)); !error.isEmpty())
            return "--columns: " + error;
    }
    if (parser.isSet(o.threshold) && (!ParseInt(parser.value(o.threshold), 0, picture.identityThreshold) ||
                                      picture.identityThreshold > 100))
        return "--threshold needs a percentage from 0 to 100";
    picture.byConservation = parser.isSet(o.byConservation);
    out.statsPath = parser.value(o.stats);
    if (parser.isSet(o.stats) && out.statsPath.trimmed().isEmpty()) return "--stats needs a file name";
    if (parser.isSet(o.tree) && parser.value(o.tree).trimmed().isEmpty())
        return "--tree needs a file, 'nj' or 'upgma'";
    picture.tree = parser.value(o.tree);
    if (parser.value(o.treeStyle) == QLatin1String("cladogram"))
        picture.cladogram = true;
    else if (parser.value(o.treeStyle) != QLatin1String("phylogram"))
        return "--tree-style needs 'phylogram' or 'cladogram'";
    out.treeOut = parser.value(o.treeOut);
    if (!out.treeOut.isEmpty() && picture.tree.isEmpty()) return "--tree-out needs --tree";
    if (parser.isSet(o.reference) && parser.value(o.reference).trimmed().isEmpty())
        return "--reference needs a sequence name or index";
    if (parser.value(o.identical) == QLatin1String("blank"))
        picture.blankIdentical = true;
    else if (parser.value(o.identical) != QLatin1String("dot"))
        return "--identical needs 'dot' or 'blank'";
    if (parser.isSet(o.sort) && !RowOrder::KeyNamed(parser.value(o.sort)))
        return "--sort needs " + RowOrder::KeyNames() + ", not '" + parser.value(o.sort) + "'";
    picture.highlights = parser.values(o.highlight);
    for (const QString& spec : picture.highlights)
        if (const QString error = CheckHighlightSyntax(spec); !error.isEmpty())
            return "--highlight '" + spec + "' " + error;
    if (!ParseInt(parser.value(o.rulerOrigin), 1, picture.rulerOrigin))
        return "--ruler-origin needs a column number >= 1";
    picture.rulerByReference = parser.isSet(o.rulerByReference);
    if (picture.rulerByReference && !parser.isSet(o.reference))
        return "--ruler-by-reference numbers the residues of the --reference sequence: give --reference";
    if (parser.isSet(o.view)) {
        out.view = ParseViewGeometry(parser.value(o.view));
        if (!out.view) return "--view needs WIDTHxHEIGHT[+LEFT+TOP], for example 1200x800+0+300";
        if (out.view->width > kMaxViewSide || out.view->height > kMaxViewSide)
            return QStringLiteral("--view is at most %1 x %1 pixels, as a host's window").arg(kMaxViewSide);
    }
    return QString();
}

QString CheckCombinations(const CliOptions& o) {
    if (o.inputs.size() > 1 && o.outputDir.isEmpty()) return "several inputs need -O DIR";
    if (o.inputs.size() > 1 && !o.treeOut.isEmpty())
        return "--tree-out writes the tree of one input: give one";
    if (!o.output.isEmpty() && !o.outputDir.isEmpty()) return "-o and -O exclude each other";
    if (o.outputDir == QLatin1String("-"))
        return "-O takes a folder, not standard output: use -o - for one picture on standard output";
    if (o.inputs.count(QStringLiteral("-")) > 1) return "standard input can be read only once";
    if (!o.statsPath.isEmpty() && o.inputs.size() > 1) return "--stats describes one input; give one";
    if (!o.statsPath.isEmpty() && o.statsPath == o.output)
        return "--stats and -o name the same file " + o.output;
    // Checked before any input is read: a typo in the name should not cost a long rendering.
    if (!o.output.isEmpty() && !FormatOfOutput(o, o.output))
        return o.output + ": unknown image type (use " + kOutputTypes + ", or --output-format)";
    const OutputFormat format = FormatOfOutput(o, o.output.isEmpty() ? QStringLiteral("x.png") : o.output)
                                    .value_or(OutputFormat::Png);
    const PictureSettings& p = o.picture;
    if (p.pageHeight > 0 && o.output == QLatin1String("-") && format != OutputFormat::Pdf)
        return "pages cannot go to standard output";
    if (p.pageHeight > 0 && format == OutputFormat::Eps)
        return "--page-height: an EPS file holds one picture; write a .pdf for pages";
    if (o.view && (IsVectorFormat(format) || format == OutputFormat::Html))
        return "--view writes pixels: use .png, .jpg, .bmp or .ppm";
    if (p.pageHeight > 0 && format == OutputFormat::Html)
        return "--page-height: an HTML page holds the whole alignment";
    if (o.view) {
        // A host's view shows the whole alignment as it scrolls: a picture of a part is not one.
        const std::pair<bool, const char*> pictureOnly[] = {
            {!p.columns.isEmpty(), "--columns"},     {!p.sequences.isEmpty(), "--sequences"},
            {!p.includeGaps, "--no-gaps"},           {p.pageHeight > 0, "--page-height"},
            {!p.tree.isEmpty(), "--tree"},           {!p.sort.isEmpty(), "--sort"},
            {!p.reference.isEmpty(), "--reference"}, {p.identity, "--identity"},
            {p.residueNumbers, "--residue-numbers"}, {!p.highlights.isEmpty(), "--highlight"}};
        for (const auto& [given, name] : pictureOnly)
            if (given) return QStringLiteral("--view draws a host's view and does not take %1").arg(name);
    }
    if (o.output == QLatin1String("-") && isatty(STDOUT_FILENO))
        return "-o - writes an image to standard output, which is a terminal: redirect it to a file or a "
               "pipe";
    return QString();
}

// Options that the others given make do nothing: said, so that a figure is not taken to show them.
QStringList OptionsWithoutEffect(const QCommandLineParser& parser, const OptionSet& o) {
    QStringList warnings;
    const auto ignored = [&](const QCommandLineOption& option, const QCommandLineOption& by,
                             const char* why) {
        if (parser.isSet(option) && parser.isSet(by))
            warnings.append(QStringLiteral("--%1 does nothing with --%2 (%3); ignored")
                                .arg(option.names().constLast(), by.names().constLast(), QLatin1String(why)));
    };
    ignored(o.rulerOrigin, o.noRuler, "there is no ruler");
    ignored(o.noRulerNumbers, o.noRuler, "there is no ruler");
    ignored(o.rulerOrigin, o.noGaps, "a ruler without gaps has no numbers");
    ignored(o.rulerOrigin, o.rulerByReference, "the reference's residues number the ruler");
    ignored(o.rulerByReference, o.noRuler, "there is no ruler");
    ignored(o.rulerByReference, o.noGaps, "a ruler without gaps has no numbers");
    for (const QCommandLineOption* option : {&o.referenceInPlace, &o.identical})
        if (parser.isSet(*option) && !parser.isSet(o.reference))
            warnings.append(QStringLiteral("--%1 does nothing without --reference; ignored")
                                .arg(option->names().constFirst()));
    ignored(o.annotations, o.view, "a host's view shows no annotation rows");
    ignored(o.consensus, o.view, "a host's view shows no consensus row");
    if (parser.isSet(o.treeStyle) && !parser.isSet(o.tree))
        warnings.append(QStringLiteral("--tree-style does nothing without --tree; ignored"));
    return warnings;
}

}  // namespace

ParsedCommandLine ParseCommandLine(const QStringList& arguments) {
    ParsedCommandLine result;
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromLatin1(kDescription));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const OptionSet o;
    parser.addOptions({o.output,
                       o.outputFormat,
                       o.outputDir,
                       o.format,
                       o.maxInput,
                       o.alignment,
                       o.scheme,
                       o.wrap,
                       o.width,
                       o.pageHeight,
                       o.font,
                       o.fontSize,
                       o.ss,
                       o.noSs,
                       o.noRuler,
                       o.noRulerNumbers,
                       o.rulerOrigin,
                       o.sequences,
                       o.columns,
                       o.noGaps,
                       o.hide,
                       o.consensus,
                       o.scale,
                       o.names,
                       o.ranges,
                       o.view,
                       o.timings,
                       o.quiet,
                       o.annotations,
                       o.maxPixels,
                       o.threshold,
                       o.byConservation,
                       o.stats,
                       o.tree,
                       o.treeStyle,
                       o.treeOut,
                       o.reference,
                       o.referenceInPlace,
                       o.identical,
                       o.sort,
                       o.identity,
                       o.residueNumbers,
                       o.highlight,
                       o.schemeFile,
                       o.rulerByReference});
    parser.addPositionalArgument("inputs", "Alignment files ('-' for standard input).", "[INPUT...]");

    if (!parser.parse(arguments)) {
        result.usageError = parser.errorText();
        return result;
    }
    // Qt's parser knows --help-all too (the help with Qt's own options), but answers it only in process().
    const bool helpAsked = parser.isSet(help) || parser.isSet(QStringLiteral("help-all"));
    if (helpAsked || parser.isSet(version)) {
        QString text =
            helpAsked ? parser.helpText() : "msarender " + QStringLiteral(MSARENDER_VERSION) + "\n";
        // The usage line names the program as users call it, not the path it was started from.
        if (helpAsked && !arguments.isEmpty())
            text.replace("Usage: " + arguments.constFirst() + ' ', QStringLiteral("Usage: msarender "));
        std::fputs(text.toLocal8Bit().constData(), stdout);
        result.answered = true;
        return result;
    }

    CliOptions& out = result.options;
    out.inputs = parser.positionalArguments();
    out.output = parser.value(o.output);
    out.outputDir = parser.value(o.outputDir);
    PictureSettings& picture = out.picture;
    picture.fontFamily = parser.value(o.font);
    picture.showSecondaryStructure = !parser.isSet(o.noSs);
    picture.showRuler = !parser.isSet(o.noRuler);
    picture.showRulerNumbers = !parser.isSet(o.noRulerNumbers);
    picture.sequences = parser.value(o.sequences);
    picture.columns = parser.value(o.columns);
    picture.hide = parser.value(o.hide);
    picture.includeGaps = !parser.isSet(o.noGaps);
    picture.showConsensus = parser.isSet(o.consensus);
    picture.ranges = parser.isSet(o.ranges);
    picture.reference = parser.value(o.reference);
    picture.referenceInPlace = parser.isSet(o.referenceInPlace);
    picture.sort = parser.value(o.sort).trimmed();
    picture.identity = parser.isSet(o.identity);
    picture.residueNumbers = parser.isSet(o.residueNumbers);
    picture.annotationRows = parser.value(o.annotations).split(',', Qt::SkipEmptyParts);
    for (QString& name : picture.annotationRows) name = name.trimmed();
    out.timings = parser.isSet(o.timings);
    out.quiet = parser.isSet(o.quiet);
    if (parser.isSet(o.ss) && parser.isSet(o.noSs)) {
        result.usageError = "--ss and --no-ss exclude each other";
        return result;
    }
    result.usageError = ReadValues(parser, o, out);
    if (result.usageError.isEmpty()) result.usageError = CheckCombinations(out);
    if (parser.isSet(o.width) && !(picture.wrap && picture.residuesPerLine == PictureSettings::kFitToWidth))
        result.warnings.append(QStringLiteral("--width applies only with --wrap 0; ignored"));
    result.warnings += OptionsWithoutEffect(parser, o);
    out.structureAsked = parser.isSet(o.ss);
    return result;
}

std::optional<OutputFormat> FormatOfOutput(const CliOptions& options, const QString& path) {
    return options.outputFormat ? options.outputFormat : OutputFormatOfPath(path);
}
