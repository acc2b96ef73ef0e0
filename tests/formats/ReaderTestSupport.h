#pragma once

#include <boost/pointer_cast.hpp>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "formats/AlignmentReader.h"
#include "sdm/Alignment.h"
#include "sqv/UserProperties.h"

namespace formatstest {

inline std::string DataPath(const std::string& name) {
    return std::string(MSARENDER_TEST_DATA) + "/" + name;
}

inline std::string FileBytes(const std::string& name) {
    std::ifstream in(DataPath(name), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

inline Formats::ReadResult ReadData(const std::string& name, const Formats::ReadOptions& options = {}) {
    return Formats::ReadAlignmentFile(DataPath(name), options);
}

inline Formats::ReadResult ReadText(const std::string& text, Formats::Format format = Formats::Format::Auto) {
    Formats::ReadOptions options;
    options.format = format;
    return Formats::ReadAlignmentText(text, "test.txt", options);
}

/// (defline, aligned text) of every sequence, in model order.
inline std::vector<std::pair<std::string, std::string>> Rows(const SDM::Alignment& alignment) {
    std::vector<std::pair<std::string, std::string>> rows;
    for (unsigned i = 0; i < alignment.size(); ++i) {
        const auto sequence = alignment.getSequence(i);
        rows.emplace_back(sequence->getDefline(), sequence->getAligned());
    }
    return rows;
}

/// The first word of each defline with the aligned text, for comparing formats that keep different
/// descriptions.
inline std::vector<std::pair<std::string, std::string>> NamedRows(const SDM::Alignment& alignment) {
    auto rows = Rows(alignment);
    for (auto& row : rows) row.first = row.first.substr(0, row.first.find(' '));
    return rows;
}

/// NamedRows with every gap written '-', for formats that spell gaps differently ('.', '~', blanks).
inline std::vector<std::pair<std::string, std::string>> NamedRowsWithDashGaps(
    const SDM::Alignment& alignment) {
    auto rows = NamedRows(alignment);
    for (auto& row : rows) {
        for (char& c : row.second) c = SQC::SequenceConstants::IsGap(c) ? '-' : c;
    }
    return rows;
}

inline boost::shared_ptr<SDM::AASequence> Protein(const SDM::Alignment& alignment, const std::string& name) {
    const int index = alignment.findSequence(name);
    return index < 0 ? nullptr
                     : boost::dynamic_pointer_cast<SDM::AASequence>(alignment.getSequence(unsigned(index)));
}

}  // namespace formatstest
