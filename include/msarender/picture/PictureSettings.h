#pragma once

#include <QFont>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <cstdint>

#include "msarender/Export.h"
#include "msarender/RenderSequenceData.h"

namespace SDM {
class Alignment;
}

/// What a picture of an alignment shows and how: the one record of display settings that every host fills
/// (the command from its options, the viewer from its menus) and the picture library draws.
struct MSARENDER_EXPORT PictureSettings {
    static constexpr int kFitToWidth = RenderSequenceData::RenderAspects::kFitToWidth;

    /// A name that SDM::MakeColorScheme accepts; empty keeps the reader's default scheme.
    QString colorScheme;
    /// A file of the user's colour rules (see SchemeFile.h), drawn instead of `colorScheme`; empty: none.
    QString schemeFile;
    bool fullNames = false;  // names as whole title lines (identifier and description), not identifiers
    bool ranges = false;     // "/start-end" after each name
    bool showRuler = true;
    bool showRulerNumbers = true;
    /// The 1-based column that the ruler numbers 1.
    int rulerOrigin = 1;
    /// The ruler numbers the `reference` sequence's residues (from its name's /start-end, else from 1)
    /// instead of columns: a column where the reference has a gap has no tick and no label. Needs a
    /// reference; `rulerOrigin` then has no effect.
    bool rulerByReference = false;
    bool showSecondaryStructure = true;
    bool showConsensus = false;
    /// Sequences to hide and to draw: names or 1-based indexes, comma separated; empty hides none and draws
    /// every shown one.
    QString hide;
    QString sequences;
    /// Columns to draw: 1-based ranges, comma separated; empty draws every column.
    QString columns;
    bool includeGaps = true;
    /// Residues coloured only where they agree with their column's consensus in at least this percentage
    /// of the sequences drawn; -1 colours every residue.
    int identityThreshold = -1;
    /// Residue colours paled as their column's conservation falls.
    bool byConservation = false;
    /// A tree beside the rows, which then follow its leaves: a Newick file, or "nj" or "upgma" to build one
    /// from the alignment's identity distances; empty: none.
    QString tree;
    bool cladogram = false;  // every leaf at the tree's right edge, rather than branch lengths to scale
    /// The sequence the others are compared with, by name or 1-based index; empty for none. It is drawn
    /// first unless `referenceInPlace`.
    QString reference;
    bool referenceInPlace = false;
    /// Residues identical to the reference's are left blank rather than drawn as '.'.
    bool blankIdentical = false;
    /// How rows are sorted: a name RowOrder::KeyNamed takes; empty keeps their order. Identity is to the
    /// reference, else to the consensus of the sequences drawn.
    QString sort;
    /// A column right of the rows with each row's percent identity (RowOrder::Identity) to the reference,
    /// else to the consensus of the sequences drawn.
    bool identity = false;
    /// Each line's first and last residue number of its sequence left and right of it, counted from the
    /// name's own "/start-end" where it has one.
    bool residueNumbers = false;
    /// Frames around residues or columns, as ResolveHighlights reads them.
    QStringList highlights;
    /// Annotation rows by the names ChooseAnnotations takes, in the order drawn.
    QStringList annotationRows;
    QString fontFamily = QStringLiteral("DejaVu Sans Mono");
    double fontSize = 10;  // points; fractions allowed
    double scale = 1;      // pixel density as a multiple of a 96 dpi screen; vector pages keep their size
    bool wrap = false;
    /// The title of an HTML page (the input's name); empty: "Alignment".
    QString title;
    /// Columns per wrapped line: kFitToWidth (as many as `width` holds), or a fixed positive count.
    int residuesPerLine = kFitToWidth;
    int width = 1200;          // residue area width in 96-dpi pixels of a picture wrapped to fit
    long long pageHeight = 0;  // pages of at most this many 96-dpi pixels; 0 = one picture, whatever its size
    /// The largest picture drawn, in pixels of all its pages: 2^34 holds every real figure (the 100,000-row
    /// test alignment is 1.2 x 10^10); beyond it a request is refused before anything is painted.
    std::int64_t maxPixels = std::int64_t(1) << 34;

    /// The residue font asked for: `fontFamily` at `fontSize` times `scale`.
    QFont Font() const;
    /// The residue font drawn with: the one asked for when the system has it, else the default monospace
    /// family (else the system's fixed font) at the same size, with a warning that names both.
    QFont DrawingFont(QString& warning) const;
    /// The print density a picture records: 96 dpi times `scale`.
    int PixelsPerMetre() const;
    /// A length given in pixels of a 96 dpi screen (`width`, `pageHeight`), in pixels of the picture.
    std::int64_t AtScale(std::int64_t pixels) const;
    /// A length in pixels of the picture, in 96-dpi pixels, rounded up.
    std::int64_t AtOneToOne(std::int64_t pixels) const;
    /// The ruler's number of a 0-based column: 1 at the origin, 0 and below before it.
    int ColumnNumber(int column) const { return column + 2 - std::max(rulerOrigin, 1); }
    /// The 0-based column of a ruler number.
    int ColumnOfNumber(int number) const { return number - 2 + std::max(rulerOrigin, 1); }
};

/// Whether `byConservation` pales the colours of this alignment: conservation is scored for amino acids.
MSARENDER_EXPORT bool ShadedByConservation(const SDM::Alignment& alignment, const PictureSettings& settings);

/// Brings a model in line with the settings that live in it (colour scheme, names, consensus, hidden
/// sequences). It remembers what it applied, so that a host that applies the settings on every change (the
/// viewer) touches the model only when one of them changed.
class MSARENDER_EXPORT ModelSettings {
public:
    /// For a model as a reader built it: its own scheme, identifiers for names, nothing hidden.
    explicit ModelSettings(const SDM::Alignment& alignment);

    /// Applies `settings`; an error message when `hide` names no sequence, else empty. `changed` tells
    /// whether the model changed. Sequences that `hide` names are hidden; a later list that names fewer
    /// shows none again (the viewer shows sequences through its own menu).
    QString Apply(SDM::Alignment& alignment, const PictureSettings& settings, bool& changed);

private:
    QString scheme;
    QString schemeFile;
    int identityThreshold = -1;
    bool byConservation = false;
    QString shadedSequences;
    bool fullNames = false;
    bool ranges = false;
    QString columns;
    bool consensus = false;
    QString hidden;
    QString reference;
    bool blankIdentical = false;
};
