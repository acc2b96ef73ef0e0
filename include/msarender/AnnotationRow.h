#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

/// One letter of a sequence logo's stack.
struct LogoLetter {
    char letter = 0;
    float height = 0;                    // share of the logo's whole height, 0 to 1
    std::uint32_t colour = 0xFF000000u;  // 0xAARRGGBB
};

/// A sequence logo, `lines` cells tall: per column a stack of letters, bottom to top, and the numbers of
/// its axis. It is drawn by `lines` annotation rows that share it, each drawing one cell-high slice.
struct SequenceLogo {
    std::vector<std::vector<LogoLetter>> columns;
    /// Per column the stack's width as a share of the cell (WebLogo's: its letters counted against the
    /// fullest column's), so that a column of few residues among gaps stays narrow; missing means full.
    std::vector<float> widths;
    unsigned lines = 3;
    double axisMaximum = 1;  // the value of the logo's top: its most bits, or 1 for frequencies
    double axisStep = 1;     // between ticks
};

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
    /// A slice of a sequence logo: line `logoLine` (0 at the top) of `logo`; the row draws nothing else.
    std::shared_ptr<const SequenceLogo> logo;
    unsigned logoLine = 0;
};

/// Where annotation rows go in each block.
enum class AnnotationPlace { BelowSequences, AboveSequences };
