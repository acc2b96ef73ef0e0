#pragma once

#include <sstream>
#include <string>

#include "formats/AlignmentReader.h"
#include "formats/Decompression.h"
#include "sqv/SVAlignment.h"

/// What the reader fuzz targets do with one input, shared with the test that replays their findings.
namespace FuzzRead {

// Larger inputs only slow the search down; the size cap itself is tested by the regular suite.
constexpr std::size_t kMaxInputBytes = 1 << 20;

/// Reads `text` as `format`; Format::Auto goes through detection, decompression and the size cap of the
/// stream path.
inline Formats::ReadResult Read(const std::string& text, Formats::Format format) {
    Formats::ReadOptions options;
    options.format = format;
    options.maxBytes = kMaxInputBytes;
    if (format != Formats::Format::Auto) return Formats::ReadAlignmentText(text, "fuzz", options);
    std::istringstream in(text);
    return Formats::ReadAlignmentStream(in, "fuzz", options);
}

/// Empty when the result is sound, else what is wrong: a refusal must say why, and an accepted alignment
/// must give the renderer what it relies on (a displayed row per sequence, every row and structure line
/// as wide as the alignment, the detected format for plain text).
inline std::string BrokenInvariant(const std::string& text, Formats::Format format,
                                   const Formats::ReadResult& result) {
    if (!result.ok()) return result.error.message.empty() ? "a refused input has no message" : std::string();
    if (result.format == Formats::Format::Auto) return "an accepted alignment has no format";
    if (format == Formats::Format::Auto && Formats::DetectCompression(text) == Formats::Compression::None) {
        const Formats::Format detected = Formats::DetectFormat(text);
        if (detected != Formats::Format::Auto && detected != result.format)
            return "detection and reading disagree";
    }
    SQV::SVAlignment view(result.alignment);
    view.Update();
    if (view.RowCount() != result.alignment->size()) return "a read sequence has no view row";
    const unsigned columns = result.alignment->columnCount();
    for (unsigned row = 0; row < view.RowCount(); ++row) {
        if (view.GetAlignedSequence(row).size() != columns)
            return "a view row is not as wide as the alignment";
        const auto* aa = dynamic_cast<const SDM::AASequence*>(result.alignment->getSequence(row).get());
        if (aa == nullptr) continue;
        for (const auto& entry : aa->getSecondaryStructure()) {
            const std::string& placed = view.GetAlignedSS(entry.first, row);
            if (!placed.empty() && placed.size() != columns)
                return "a structure line is not as wide as its row";
        }
    }
    return std::string();
}

}  // namespace FuzzRead
