#include "Figure.h"

#include <QBuffer>
#include <cstdio>

#include "ModuleErrors.h"
#include "common/PerformanceTimer.h"
#include "msarender/picture/RasterOutput.h"

namespace {

// The message that Qt's parser gives for an option it does not know.
bool IsUnknownOption(const QString& usageError) {
    return usageError.startsWith(QLatin1String("Unknown option"));
}

std::string Text(const QString& text) {
    return text.toStdString();
}

}  // namespace

CliOptions ParseOptions(const QStringList& arguments, QStringList& warnings) {
    ParsedCommandLine parsed = ParseCommandLine(QStringList{QStringLiteral("msarender")} + arguments);
    if (IsUnknownOption(parsed.usageError)) throw UnknownOption(Text(parsed.usageError));
    if (!parsed.usageError.isEmpty()) throw UsageFailure(Text(parsed.usageError));
    // --help and --version answer on standard output; the module has neither to offer.
    if (parsed.answered) throw UnknownOption("--help and --version are not options of a figure");
    warnings += parsed.warnings;
    return parsed.options;
}

Formats::ReadOptions ReadOptionsOf(const CliOptions& options) {
    Formats::ReadOptions read;
    read.format = options.format;
    read.alignmentIndex = options.alignmentIndex;
    read.alignmentChosen = options.alignmentChosen;
    read.maxBytes = options.maxInputBytes;
    return read;
}

Figure::Figure(QStringList commandArguments, CliOptions parsed)
    : arguments(std::move(commandArguments)), options(std::move(parsed)) {}

std::unique_ptr<Figure> Figure::OfFile(const std::string& path, const QStringList& arguments) {
    QStringList warnings;
    CliOptions options = ParseOptions(arguments, warnings);
    const Formats::ReadResult read = ReadOrThrow(path, ReadOptionsOf(options), warnings);
    std::unique_ptr<Figure> figure(new Figure(arguments, std::move(options)));
    figure->warnings = warnings;
    figure->Draw(read.alignment, QString::fromStdString(path));
    return figure;
}

std::unique_ptr<Figure> Figure::OfSource(const AlignmentSource& source, const QStringList& arguments) {
    QStringList warnings;
    CliOptions options = ParseOptions(arguments, warnings);
    std::unique_ptr<Figure> figure(new Figure(arguments, std::move(options)));
    figure->warnings = warnings;
    figure->Draw(source.ReadModel(), QString::fromStdString(source.Name()));
    return figure;
}

// Plans the picture as the command does for one input; a view is composed at once.
void Figure::Draw(boost::shared_ptr<SDM::Alignment> alignment, const QString& name) {
    inputName = name;
    model = alignment;
    picture = std::make_unique<AlignmentPicture>(std::move(alignment),
                                                 PictureRequest{options.picture, options.view});
    if (const QString error = picture->Prepare(); !error.isEmpty())
        throw UsageFailure(Text(name + ": " + error));
    for (const QString& warning : picture->Warnings()) warnings.append(name + ": " + warning);
    if (!options.view) return;
    QString error;
    view = picture->RenderView(error);
    if (view.isNull()) throw WriteFailure(Text(name + ": " + error));
    if (const QString past = picture->CheckViewPosition(); !past.isEmpty())
        throw UsageFailure(Text(name + ": " + past));
}

CliOptions Figure::OutputOptions(const QString& path, const QString& formatName) const {
    QStringList withOutput = arguments;
    if (!path.isEmpty()) withOutput.append("--output=" + path);
    if (!formatName.isEmpty()) withOutput.append("--output-format=" + formatName);
    QStringList ignored;  // said when the figure was made
    return ParseOptions(withOutput, ignored);
}

int Figure::PageCount() const {
    return options.view ? 1 : picture->PageCount();
}

QSize Figure::PageSize(int page) const {
    CheckPage(page);
    return options.view ? view.size() : picture->PageSize(page);
}

void Figure::CheckPage(int page) const {
    if (page < 0 || page >= PageCount())
        throw UsageFailure(
            Text(QStringLiteral("the picture has no page %1 (it has %2)").arg(page + 1).arg(PageCount())));
}

QStringList Figure::Save(const QString& path, const QString& formatName, QStringList& notes) {
    const std::lock_guard<std::mutex> lock(drawing);
    const CliOptions output = OutputOptions(path, formatName);
    const OutputFormat format = FormatOfOutput(output, path).value_or(OutputFormat::Png);
    if (options.view) {
        if (const QString error = WriteImage(view, path, format); !error.isEmpty())
            throw WriteFailure(Text(inputName + ": " + error));
        return {path};
    }
    if (const QString error = picture->CheckFormatLimits(format); !error.isEmpty())
        throw UsageFailure(Text(inputName + ": " + error));
    if (const QString note = picture->FormatNote(format); !note.isEmpty()) notes.append(note);
    QStringList written;
    if (const QString error = picture->WriteFiles(path, format, written); !error.isEmpty())
        throw WriteFailure(Text(inputName + ": " + error));
    if (options.timings) std::fputs(Common::PerformanceManager::Instance().Report().c_str(), stderr);
    return written;
}

QByteArray Figure::Bytes(const QString& formatName, int page) {
    const std::lock_guard<std::mutex> lock(drawing);
    const CliOptions output = OutputOptions(QString(), formatName);
    const OutputFormat format = output.outputFormat.value_or(OutputFormat::Png);
    CheckPage(page);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QString error;
    if (options.view)
        error = EncodeImage(view, buffer, format);
    else if (!(error = picture->CheckFormatLimits(format)).isEmpty())
        throw UsageFailure(Text(inputName + ": " + error));
    else
        error = format == OutputFormat::Pdf ? picture->EncodePdf(buffer)
                                            : picture->EncodePage(page, buffer, format);
    if (!error.isEmpty()) throw WriteFailure(Text(inputName + ": " + error));
    return bytes;
}

// Pixels through the library's own PPM output: the picture's pixels exactly, with no format of our own.
QImage Figure::Image(int page) {
    if (options.view) return view.convertToFormat(QImage::Format_RGB888);
    const QByteArray ppm = Bytes(QStringLiteral("ppm"), page);
    return QImage::fromData(ppm, "PPM").convertToFormat(QImage::Format_RGB888);
}

std::optional<AlignmentPicture::Cell> Figure::CellAt(int page, std::int64_t x, std::int64_t y) const {
    const std::lock_guard<std::mutex> lock(drawing);
    if (options.view) return std::nullopt;
    return picture->CellAt(page, x, y);
}

std::string Figure::SequenceName(int sequence) const {
    if (sequence < 0 || unsigned(sequence) >= model->size()) return std::string();
    return model->getSequence(unsigned(sequence))->getDefline();
}
