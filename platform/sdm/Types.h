#pragma once

namespace SDM {

/// What kind of residues an alignment holds. AminoAcid alignments hold AASequence objects.
enum SequenceClass : int { UnknownClass = 0, AminoAcid = 1, NucleicAcid = 2 };

/// Residue font style bits.
enum FontStyle : int { NormalStyle = 0, Bold = 1, Italic = 2, BoldItalic = 3 };

/// Colour-filter bits of a residue: which marks are drawn (1 and 0x20 are always on for drawing).
enum ColorFilterBits : unsigned {
    FilterBackground = 0x01,
    FilterUnderline = 0x02,
    FilterOverline = 0x04,
    FilterLeftBar = 0x08,
    FilterCaret = 0x10,
    FilterText = 0x20,
};

namespace ResidueAttributes {
/// Colour attributes of a residue, asked through Residue::getStateColor.
enum ColorType : int { Background = 0x01, Underline = 0x02, Overline = 0x04, Caret = 0x10, Text = 0x20 };
}  // namespace ResidueAttributes

}  // namespace SDM
