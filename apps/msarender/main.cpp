// msarender: renders multiple sequence alignments to images.

#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSet>
#include <algorithm>
#include <boost/pointer_cast.hpp>
#include <cstdio>
#include <cstdlib>
#include <new>

#include "CliOptions.h"
#include "common/PerformanceTimer.h"
#include "formats/AlignmentReader.h"
#include "msarender/FontAttributes.h"
#include "msarender/picture/AlignmentPicture.h"
#include "msarender/picture/ColumnStatistics.h"
#include "msarender/picture/FileOutput.h"
#include "msarender/picture/HeadlessSession.h"
#include "msarender/picture/RasterOutput.h"
#include "msarender/tree/Newick.h"

namespace {

const char* const kExampleResource = ":/examples/fn3.sto";
const qint64 kProgressEveryMs = 2000;

enum JobStatus { kSuccess = 0, kFailure = 1, kUsage = 2 };

struct Job {
    QString input;  // empty: the bundled example
    QString output;
};

class Reporter {
public:
    explicit Reporter(const CliOptions& options)
        : quiet(options.quiet), progress(!options.quiet && isatty(STDERR_FILENO)) {}

    void Error(const QString& message) const {
        EndProgress();
        std::fprintf(stderr, "msarender: %s\n", message.toLocal8Bit().constData());
    }
    // Messages go to standard error when standard output carries the image.
    void Note(const QString& message, bool toStderr) const {
        if (quiet) return;
        EndProgress();
        std::fprintf(toStderr ? stderr : stdout, "msarender: %s\n", message.toLocal8Bit().constData());
    }
    void Warning(const QString& message) const {
        if (quiet) return;
        EndProgress();
        std::fprintf(stderr, "msarender: warning: %s\n", message.toLocal8Bit().constData());
    }
    void Progress(const QString& message) const {
        if (!progress) return;
        std::fprintf(stderr, "\r\033[Kmsarender: %s", message.toLocal8Bit().constData());
        std::fflush(stderr);
        progressShown = true;
    }

private:
    void EndProgress() const {
        if (!progressShown) return;
        std::fputs("\r\033[K", stderr);
        progressShown = false;
    }
    bool quiet;
    bool progress;
    mutable bool progressShown = false;
};

QString DefaultOutput(const QString& input, const QString& dir, OutputFormat format) {
    const QString base = input.isEmpty() ? QStringLiteral("example")
                         : input == QLatin1String("-")
                             ? QStringLiteral("alignment")
                             : QFileInfo(input).completeBaseName().section('.', 0, 0);
    const QString name = base + '.' + OutputSuffix(format);
    return dir.isEmpty() ? name : QDir(dir).filePath(name);
}

// One line per sequence makes a picture as wide as the alignment: more columns than the format holds are
// refused once parsed, before the model and the layout take several times the input's size in memory.
void LimitColumnsToTheFormat(const Job& job, const CliOptions& options, Formats::ReadOptions& readOptions) {
    const OutputFormat format = FormatOfOutput(options, job.output).value_or(OutputFormat::Png);
    if (options.view || options.picture.wrap || !options.picture.columns.isEmpty() ||
        IsVectorFormat(format) || format == OutputFormat::Html)
        return;
    const int cellWidth = CellGeometry(SQC::FontAttributes(options.picture.Font())).CellWidth();
    if (cellWidth <= 0) return;
    const qint64 widest = RasterSideLimit(format);
    readOptions.maxColumns = std::size_t(widest / cellWidth);
    readOptions.columnLimitReason =
        QStringLiteral(
            "one line per sequence would be wider than %1 holds (%2 pixels at %3 a "
            "column); use --wrap, or --columns")
            .arg(QString::fromLatin1(OutputFormatName(format)).toUpper())
            .arg(widest)
            .arg(cellWidth)
            .toStdString();
}

Formats::ReadResult Read(const Job& job, const CliOptions& options) {
    Common::PerformanceTimer timer(Common::PerformanceManager::Application, L"[msarender::read]", nullptr);
    Formats::ReadOptions readOptions;
    readOptions.format = options.format;
    readOptions.alignmentIndex = options.alignmentIndex;
    readOptions.alignmentChosen = options.alignmentChosen;
    readOptions.maxBytes = options.maxInputBytes;
    LimitColumnsToTheFormat(job, options, readOptions);
    if (!job.input.isEmpty()) return Formats::ReadAlignmentFile(job.input.toStdString(), readOptions);
    QFile example(QString::fromLatin1(kExampleResource));
    example.open(QIODevice::ReadOnly);
    return Formats::ReadAlignmentText(example.readAll().toStdString(), "fn3.sto", readOptions);
}

QString WriteView(AlignmentPicture& picture, const QString& path, OutputFormat format, QSize& size) {
    QString error;
    QImage image;
    {
        Common::PerformanceTimer timer(Common::PerformanceManager::Application, L"[msarender::render]",
                                       nullptr);
        image = picture.RenderView(error);
    }
    if (image.isNull()) return error;
    if (QString past = picture.CheckViewPosition(); !past.isEmpty()) return past;
    size = image.size();
    Common::PerformanceTimer timer(Common::PerformanceManager::Application, L"[msarender::encode]", nullptr);
    return WriteImage(image, path, format);
}

// A line every few seconds while a large picture is painted, and at each page.
QString WritePages(AlignmentPicture& picture, const QString& output, OutputFormat format,
                   const Reporter& reporter, QStringList& written) {
    Common::PerformanceTimer timer(Common::PerformanceManager::Application, L"[msarender::draw]", nullptr);
    QElapsedTimer sinceReport;
    sinceReport.start();
    int reportedPage = -1;
    return picture.WriteFiles(output, format, written, [&](const AlignmentPicture::Progress& progress) {
        if (progress.page == reportedPage && sinceReport.elapsed() < kProgressEveryMs) return;
        reportedPage = progress.page;
        sinceReport.restart();
        const int percent = int(100 * progress.rowsDone / std::max<std::int64_t>(progress.rows, 1));
        reporter.Progress(progress.pages > 1
                              ? QStringLiteral("writing page %1 of %2: %3%")
                                    .arg(progress.page + 1)
                                    .arg(progress.pages)
                                    .arg(percent)
                              : QStringLiteral("drawing: %1% of %2 rows").arg(percent).arg(progress.rows));
    });
}

// --ss asks for lines that only a sequence's own structure (#=GR SS) gives.
bool HasSequenceStructure(const SDM::Alignment& alignment) {
    for (unsigned index = 0; index < alignment.size(); ++index) {
        const auto sequence = alignment.getSequence(index);
        const auto protein = boost::dynamic_pointer_cast<SDM::AASequence>(sequence);
        const auto rna = boost::dynamic_pointer_cast<SDM::NASequence>(sequence);
        if ((protein && !protein->getSecondaryStructure().empty()) ||
            (rna && !rna->getPairingStructures().empty()))
            return true;
    }
    return false;
}

// The column statistics of the picture's columns and sequences, as one whole file.
QString WriteStatistics(const SDM::Alignment& alignment, const CliOptions& options,
                        const Reporter& reporter) {
    const ColumnStatisticsTable table = ComputeColumnStatistics(alignment, options.picture);
    if (!table.error.isEmpty()) return table.error;
    const QByteArray text = ColumnStatisticsText(table);
    const QString error = WriteEncoded(options.statsPath, [&text](QIODevice& out) {
        return out.write(text) == text.size() ? QString() : QStringLiteral("cannot write the statistics");
    });
    if (!error.isEmpty()) return "--stats: " + error;
    const bool toStdout = options.statsPath == QLatin1String("-");
    reporter.Note(QStringLiteral("wrote %1 (%2 columns)")
                      .arg(toStdout ? QStringLiteral("statistics to standard output") : options.statsPath)
                      .arg(table.columns.size()),
                  toStdout);
    return QString();
}

JobStatus RunJob(const Job& job, const CliOptions& options, const Reporter& reporter) {
    const QString name = job.input.isEmpty() ? QStringLiteral("the bundled example") : job.input;
    reporter.Progress("reading " + name);
    const Formats::ReadResult read = Read(job, options);
    if (!read.ok()) {
        reporter.Error(QString::fromStdString(read.error.ToString()));
        return read.error.beyondCallerLimit ? kUsage : kFailure;
    }
    for (const Formats::ReadError& warning : read.warnings)
        reporter.Warning(QString::fromStdString(warning.ToString()));
    if (options.structureAsked && !HasSequenceStructure(*read.alignment))
        reporter.Warning(name +
                         ": --ss: no sequence has secondary structure to draw (RNA pairings are drawn by "
                         "--annotations ss)");
    PictureSettings settings = options.picture;
    settings.title = job.input.isEmpty() ? QStringLiteral("fn3.sto") : QFileInfo(job.input).fileName();
    AlignmentPicture picture(read.alignment, PictureRequest{settings, options.view});
    if (const QString error = picture.Prepare(); !error.isEmpty()) {
        reporter.Error(name + ": " + error);
        return kFailure;
    }
    for (const QString& warning : picture.Warnings()) reporter.Warning(name + ": " + warning);
    if (!options.statsPath.isEmpty()) {
        if (const QString error = WriteStatistics(*read.alignment, options, reporter); !error.isEmpty()) {
            reporter.Error(name + ": " + error);
            return kFailure;
        }
    }
    if (!options.treeOut.isEmpty()) {
        if (const QString error = WriteNewickFile(picture.Tree(), options.treeOut); !error.isEmpty()) {
            reporter.Error(name + ": --tree-out: " + error);
            return kFailure;
        }
    }
    const bool toStdout = job.output == QLatin1String("-");
    const OutputFormat format = FormatOfOutput(options, job.output).value_or(OutputFormat::Png);
    const QString where = toStdout ? QStringLiteral("standard output") : job.output;
    if (options.view) {
        QSize size;
        if (const QString error = WriteView(picture, job.output, format, size); !error.isEmpty()) {
            reporter.Error(name + ": " + error);
            return picture.CheckViewPosition().isEmpty() ? kFailure : kUsage;
        }
        reporter.Note(
            QStringLiteral("wrote %1 (%2 x %3 pixels)").arg(where).arg(size.width()).arg(size.height()),
            toStdout);
        return kSuccess;
    }
    if (const QString error = picture.CheckFormatLimits(format); !error.isEmpty()) {
        reporter.Error(name + ": " + error);
        return kUsage;
    }
    if (const QString note = picture.FormatNote(format); !note.isEmpty()) reporter.Note(note, toStdout);
    QStringList written;
    if (const QString error = WritePages(picture, job.output, format, reporter, written); !error.isEmpty()) {
        reporter.Error(name + ": " + error);
        return kFailure;
    }
    const QSize size = picture.PageSize(0);
    if (format == OutputFormat::Html) {
        reporter.Note(QStringLiteral("wrote %1 (a page of a %2 x %3 pixel layout)")
                          .arg(where)
                          .arg(size.width())
                          .arg(size.height()),
                      toStdout);
        return kSuccess;
    }
    if (format == OutputFormat::Pdf && picture.PageCount() > 1) {
        reporter.Note(QStringLiteral("wrote %1 (%2 pages of %3 pixels wide)")
                          .arg(where)
                          .arg(picture.PageCount())
                          .arg(size.width()),
                      toStdout);
        return kSuccess;
    }
    if (written.size() == 1) {
        reporter.Note(
            QStringLiteral("wrote %1 (%2 x %3 pixels)").arg(where).arg(size.width()).arg(size.height()),
            toStdout);
        return kSuccess;
    }
    reporter.Note(QStringLiteral("wrote %1 pages of %2 pixels wide: %3 to %4")
                      .arg(written.size())
                      .arg(size.width())
                      .arg(written.first(), written.last()),
                  false);
    return kSuccess;
}

// An input far larger than memory can make any allocation of reading or drawing fail. The job fails with
// a message, an unfinished image is discarded (QSaveFile), and the other inputs still run.
JobStatus RunGuarded(const Job& job, const CliOptions& options, const Reporter& reporter) {
    try {
        return RunJob(job, options, reporter);
    } catch (const std::bad_alloc&) {
        reporter.Error((job.input.isEmpty() ? QStringLiteral("the bundled example") : job.input) +
                       ": not enough memory to read and draw it; lower --max-input, or draw part of it with "
                       "--sequences or --columns");
        return kFailure;
    }
}

// Inputs of one base name in different folders (a/x.fa, b/x.fa) would write one picture over the other:
// later ones get x-2.png, x-3.png ..., and the user is told.
QString UniqueOutput(const QString& output, QSet<QString>& taken, QStringList& renamed) {
    QString unique = output;
    for (int n = 2; taken.contains(unique); ++n) {
        const QFileInfo file(output);
        unique = QDir(file.path())
                     .filePath(file.completeBaseName() + "-" + QString::number(n) + "." + file.suffix());
    }
    if (unique != output)
        renamed.append(QStringLiteral("%1 is written to %2: %3 is taken").arg(output, unique, output));
    taken.insert(unique);
    return unique;
}

std::vector<Job> PlanJobs(const CliOptions& options, QStringList& renamed) {
    std::vector<Job> jobs;
    const OutputFormat format = options.outputFormat.value_or(OutputFormat::Png);
    if (options.inputs.isEmpty())
        jobs.push_back({QString(), options.output.isEmpty()
                                       ? DefaultOutput(QString(), options.outputDir, format)
                                       : options.output});
    QSet<QString> taken;
    for (const QString& input : options.inputs)
        jobs.push_back(
            {input, options.output.isEmpty()
                        ? UniqueOutput(DefaultOutput(input, options.outputDir, format), taken, renamed)
                        : options.output});
    return jobs;
}

// An output that resolves to an input (by name, link or another path) would replace the alignment with its
// picture: refused before anything is read or written.
QString OutputThatIsAnInput(const std::vector<Job>& jobs, const QString& statsPath) {
    for (const Job& job : jobs) {
        if (!statsPath.isEmpty() && statsPath != QLatin1String("-") && !job.input.isEmpty() &&
            job.input != QLatin1String("-") && IsSameFile(statsPath, job.input))
            return QStringLiteral("--stats %1 is the input %2; choose another name")
                .arg(statsPath, job.input);
        if (job.output == QLatin1String("-")) continue;
        for (const Job& other : jobs) {
            if (!other.input.isEmpty() && other.input != QLatin1String("-") &&
                IsSameFile(job.output, other.input))
                return QStringLiteral("the output %1 is the input %2; choose another name")
                    .arg(job.output, other.input);
        }
    }
    return QString();
}

}  // namespace

int main(int argc, char** argv) {
    const HeadlessSession headless;
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("msarender"));
    QGuiApplication::setApplicationVersion(QStringLiteral(MSARENDER_VERSION));

    const ParsedCommandLine parsed = ParseCommandLine(QGuiApplication::arguments());
    if (parsed.answered) return kSuccess;
    if (!parsed.usageError.isEmpty()) {
        Reporter(parsed.options).Error(parsed.usageError + "\nTry 'msarender --help' for more information.");
        return kUsage;
    }
    const CliOptions& options = parsed.options;
    const Reporter reporter(options);
    for (const QString& warning : parsed.warnings) reporter.Warning(warning);
    if (!options.outputDir.isEmpty() && !QDir().mkpath(options.outputDir)) {
        reporter.Error("cannot create the directory " + options.outputDir);
        return kFailure;
    }
    QStringList renamed;
    const std::vector<Job> jobs = PlanJobs(options, renamed);
    for (const QString& note : renamed) reporter.Note(note, true);
    if (const QString clash = OutputThatIsAnInput(jobs, options.statsPath); !clash.isEmpty()) {
        reporter.Error(clash);
        return kUsage;
    }
    // The worst status of all jobs: a usage error outranks a failure.
    int status = kSuccess;
    for (const Job& job : jobs) status = std::max<int>(status, RunGuarded(job, options, reporter));
    if (options.timings) std::fputs(Common::PerformanceManager::Instance().Report().c_str(), stderr);
    return status;
}
