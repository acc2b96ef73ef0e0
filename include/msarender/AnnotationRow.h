#pragma once

#include <cstdint>
#include <string>
#include <vector>

/// A line that belongs to the whole alignment rather than to one sequence (a consensus, a conservation
/// score, a file's column annotation), drawn once per block with one cell per column. The host fills it
/// and hands a list to RenderSequenceData::SetAnnotationRows; the renderer keeps its own copy.
///
/// Each cell may carry a bar (rising from the cell's bottom edge, `heights` of the cell high), a symbol
/// drawn over it, or, for a cartoon row, a secondary-structure letter drawn as the sequences' cartoon.
/// Columns past the end of the vectors draw nothing.
struct AnnotationRow {
    static constexpr std::uint32_t kDefaultBarColour = 0xFF7F7FBFu;  // 0xAARRGGBB

    std::string label;                   // written in the name column
    std::string symbols;                 // one character per column; ' ' draws none
    std::vector<float> heights;          // bar height per column as a share of the cell, 0 to 1
    std::vector<std::uint32_t> colours;  // bar colour per column (0 for the row's colour); may be empty
    std::uint32_t barColour = kDefaultBarColour;
    /// `symbols` are structure letters ('H' helix, 'S' sheet, '-' gap, others coil) drawn as a cartoon.
    bool cartoon = false;
};

/// Where annotation rows go in each block.
enum class AnnotationPlace { BelowSequences, AboveSequences };
