#include "AlignmentSource.h"

#include <fstream>
#include <iterator>
#include <sstream>

#include "ModuleErrors.h"
#include "sdm/Sequence.h"

namespace {

// Errors and warnings as the command words them: "file:line: message".
void Check(const Formats::ReadResult& read, QStringList& warnings) {
    if (!read.ok()) throw ReadFailure(read.error.ToString());
    for (const Formats::ReadError& warning : read.warnings)
        warnings.append(QString::fromStdString(warning.ToString()));
}

std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

Formats::ReadResult ReadOrThrow(const std::string& path, const Formats::ReadOptions& options,
                                QStringList& warnings) {
    Formats::ReadResult read = Formats::ReadAlignmentFile(path, options);
    Check(read, warnings);
    return read;
}

AlignmentSource::AlignmentSource(std::string bytes, std::string sourceName, Formats::ReadOptions readOptions)
    : data(std::move(bytes)), name(std::move(sourceName)), options(std::move(readOptions)) {}

std::shared_ptr<AlignmentSource> AlignmentSource::FromFile(const std::string& path,
                                                           const Formats::ReadOptions& options,
                                                           QStringList& warnings) {
    // The file's own reader gives the command's messages (a missing file, a size beyond the limit).
    const Formats::ReadResult read = ReadOrThrow(path, options, warnings);
    std::shared_ptr<AlignmentSource> source(new AlignmentSource(FileBytes(path), path, options));
    source->format = read.format;
    source->model = read.alignment;
    return source;
}

std::shared_ptr<AlignmentSource> AlignmentSource::FromData(std::string data, std::string name,
                                                           const Formats::ReadOptions& options,
                                                           QStringList& warnings) {
    std::shared_ptr<AlignmentSource> source(new AlignmentSource(std::move(data), std::move(name), options));
    source->Read(warnings);
    return source;
}

void AlignmentSource::Read(QStringList& warnings) {
    std::istringstream in(data);
    const Formats::ReadResult read = Formats::ReadAlignmentStream(in, name, options);
    Check(read, warnings);
    format = read.format;
    model = read.alignment;
}

boost::shared_ptr<SDM::Alignment> AlignmentSource::ReadModel() const {
    std::istringstream in(data);
    Formats::ReadResult read = Formats::ReadAlignmentStream(in, name, options);
    // These bytes were read once already; only memory can fail now.
    if (!read.ok()) throw ReadFailure(read.error.ToString());
    return read.alignment;
}

unsigned AlignmentSource::SequenceCount() const {
    return model->size();
}

unsigned AlignmentSource::ColumnCount() const {
    return model->columnCount();
}

std::vector<std::string> AlignmentSource::Identifiers() const {
    std::vector<std::string> out;
    for (unsigned i = 0; i < model->size(); ++i) out.push_back(model->getSequence(i)->getIdentifier());
    return out;
}

std::vector<std::string> AlignmentSource::Descriptions() const {
    std::vector<std::string> out;
    for (unsigned i = 0; i < model->size(); ++i) out.push_back(model->getSequence(i)->getDescription());
    return out;
}

std::vector<std::string> AlignmentSource::AlignedSequences() const {
    std::vector<std::string> out;
    for (unsigned i = 0; i < model->size(); ++i) out.push_back(model->getSequence(i)->getAligned());
    return out;
}
