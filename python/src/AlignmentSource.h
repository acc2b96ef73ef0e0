#pragma once

#include <QStringList>
#include <boost/shared_ptr.hpp>
#include <memory>
#include <string>
#include <vector>

#include "formats/AlignmentReader.h"

/// An alignment as a Python caller holds it: the bytes it was read from (compressed or not), how they were
/// read, and the model read from them. A picture's settings change the model it draws (scheme, names,
/// hidden sequences), and figures drawn on several threads must not share one, so each figure reads its
/// own model from the bytes.
class AlignmentSource {
public:
    /// Reads a file as the command reads an input; throws ReadFailure with the reader's message.
    static std::shared_ptr<AlignmentSource> FromFile(const std::string& path,
                                                     const Formats::ReadOptions& options,
                                                     QStringList& warnings);
    /// Reads bytes in memory (compression recognised as for files); `name` names them in messages.
    static std::shared_ptr<AlignmentSource> FromData(std::string data, std::string name,
                                                     const Formats::ReadOptions& options,
                                                     QStringList& warnings);

    /// A model of its own for one figure.
    boost::shared_ptr<SDM::Alignment> ReadModel() const;
    const std::string& Name() const { return name; }
    std::string FormatName() const { return Formats::FormatName(format); }
    unsigned SequenceCount() const;
    unsigned ColumnCount() const;
    std::vector<std::string> Identifiers() const;
    std::vector<std::string> Descriptions() const;
    std::vector<std::string> AlignedSequences() const;

private:
    AlignmentSource(std::string data, std::string name, Formats::ReadOptions options);
    void Read(QStringList& warnings);

    const std::string data;
    const std::string name;
    const Formats::ReadOptions options;
    Formats::Format format = Formats::Format::Auto;
    boost::shared_ptr<SDM::Alignment> model;  // as read: never drawn, so never changed
};

/// Reads `path` with `options`; throws ReadFailure. Reader warnings are appended to `warnings`.
Formats::ReadResult ReadOrThrow(const std::string& path, const Formats::ReadOptions& options,
                                QStringList& warnings);
