#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QStringList>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "AlignmentSource.h"
#include "CliOptions.h"
#include "msarender/picture/AlignmentPicture.h"

/// A picture of an alignment for Python: the command's options (its arguments, parsed by the command's own
/// parser), the figure's own model, and the planned picture, written on request in any format. Calls on one
/// figure from several threads take turns; figures of their own draw at the same time.
class Figure {
public:
    /// The picture of the file `path` with the command's `arguments` (options only), read as the command
    /// reads its inputs. Throws UnknownOption, UsageFailure, ReadFailure or WriteFailure.
    static std::unique_ptr<Figure> OfFile(const std::string& path, const QStringList& arguments);
    /// The picture of an alignment read before; the reading options were the source's.
    static std::unique_ptr<Figure> OfSource(const AlignmentSource& source, const QStringList& arguments);

    /// Messages that did not stop the picture, as the command gives them.
    const QStringList& Warnings() const { return warnings; }
    int PageCount() const;
    QSize PageSize(int page) const;
    /// Writes the picture to `path` as the command's -o would (pages and all), in `formatName` or by the
    /// suffix; the paths written. Advice about the file is appended to `notes`.
    QStringList Save(const QString& path, const QString& formatName, QStringList& notes);
    /// The file's bytes in `formatName`: one page, or a PDF of every page.
    QByteArray Bytes(const QString& formatName, int page);
    /// One page as pixels, 8-bit RGB.
    QImage Image(int page);
    std::optional<AlignmentPicture::Cell> CellAt(int page, std::int64_t x, std::int64_t y) const;
    /// A sequence's name as the picture labels it.
    std::string SequenceName(int sequence) const;

private:
    Figure(QStringList arguments, CliOptions options);
    void Draw(boost::shared_ptr<SDM::Alignment> model, const QString& name);
    void CheckPage(int page) const;
    /// The options again with an output: the command's refusals of that output, as usage errors.
    CliOptions OutputOptions(const QString& path, const QString& formatName) const;

    const QStringList arguments;
    const CliOptions options;
    QString inputName;
    boost::shared_ptr<SDM::Alignment> model;
    std::unique_ptr<AlignmentPicture> picture;
    QImage view;  // the composed view, for --view
    QStringList warnings;
    mutable std::mutex drawing;
};

/// The command's options from `arguments` (without the program name); throws UnknownOption or
/// UsageFailure with the command's message. Warnings about options without effect go to `warnings`.
CliOptions ParseOptions(const QStringList& arguments, QStringList& warnings);
/// The reading options the command derives from its options.
Formats::ReadOptions ReadOptionsOf(const CliOptions& options);
