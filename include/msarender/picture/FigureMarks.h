#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>
#include <QStringList>
#include <boost/shared_ptr.hpp>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "msarender/CellGeometry.h"
#include "msarender/Export.h"
#include "msarender/RenderSequenceData.h"

class QPainter;
struct PictureSettings;
namespace SDM {
class Alignment;
class Sequence;
}  // namespace SDM

/// A framed stretch of a figure: residues of one sequence, or whole columns, with a label above its block.
struct FigureHighlight {
    boost::shared_ptr<SDM::Sequence> sequence;  // empty: every row
    unsigned firstColumn = 0;                   // 0-based alignment columns, inclusive
    unsigned lastColumn = 0;
    QColor colour;
    QString label;
};

/// FigureHighlights from "NAME:START-END[:COLOUR[:LABEL]]" (START-END in the sequence's own residue numbers)
/// or "columns:START-END[:COLOUR[:LABEL]]" (1-based columns); the message names the first bad one.
struct HighlightList {
    std::vector<FigureHighlight> highlights;
    QString error;
};
MSARENDER_EXPORT HighlightList ResolveHighlights(const SDM::Alignment& alignment, const QStringList& specs);
/// The syntax error of one highlight, or an empty string; names and ranges are checked once read.
MSARENDER_EXPORT QString CheckHighlightSyntax(const QString& spec);

/// The residue number of each alignment column (`columns` of them) where `sequence` has a residue, counted
/// from its name's /start-end as --residue-numbers counts; RenderSequenceData::kNoRulerNumber where it has
/// a gap or has ended. What a ruler numbered by a reference shows (RenderSequenceData::SetRulerNumbers).
MSARENDER_EXPORT std::vector<long long> ResidueNumbersByColumn(const SDM::Sequence& sequence,
                                                               unsigned columns);

/// The percent identity as a figure shows it: a whole number with '%', never "100%" for a row that differs
/// anywhere; "-" when the two share no residue column.
MSARENDER_EXPORT QString IdentityText(const std::optional<double>& percent);

/// What a figure draws beside and over its rows, once the rows are planned: each line's first and last
/// residue number left and right of it, each row's percent identity in a right-hand column, and
/// highlights framed with their labels in a line above their block's rows.
class MSARENDER_EXPORT FigureMarks {
public:
    struct Request {
        bool residueNumbers = false;
        bool identity = false;
        std::string identityTarget;  // aligned text the identity is counted against
        std::vector<FigureHighlight> highlights;
    };

    FigureMarks() = default;
    /// Widens `plan` for the numbers and the identity column and adds the label lines; warnings for marks
    /// the plan cannot show go to `warnings`.
    FigureMarks(const SDM::Alignment& alignment, Request request, RenderSequenceData::PicturePlan& plan,
                const CellGeometry& cells, const QFont& font, QStringList& warnings);

    /// A text drawn on the baseline of the line (one cell high) at `lineTop`: numbers, identities, labels.
    struct Text {
        std::int64_t lineTop = 0;
        int x = 0;
        int width = 0;  // the room it is right-aligned in
        bool alignRight = false;
        QString text;
        QColor colour = Qt::black;
    };
    /// A frame's part on one row line: its sides, and its top and bottom edges where it begins and ends.
    struct Box {
        std::int64_t lineTop = 0;  // the row line it frames
        QRect rect;                // y relative to the line's top
        QColor colour;
        bool top = true;
        bool bottom = true;
    };

    const std::vector<Text>& Marks() const { return marks; }  // numbers and identities
    const std::vector<Text>& Labels() const { return labels; }
    const std::vector<Box>& Boxes() const { return boxes; }
    bool IsEmpty() const { return marks.empty() && labels.empty() && boxes.empty(); }
    /// The frame's line width in pixels.
    int FrameWidth() const { return frameWidth; }
    /// Paints what belongs to lines starting in [linesBegin, linesEnd) and reaching into picture rows
    /// [top, top + height), picture row `top` at the painter's y = 0.
    void Paint(QPainter& painter, std::int64_t top, int height, std::int64_t linesBegin,
               std::int64_t linesEnd) const;

private:
    struct LineBox {
        std::size_t line;
        QRect rect;
        std::size_t highlight;
        bool top;
        bool bottom;
    };
    void Widen(RenderSequenceData::PicturePlan& plan);
    std::vector<LineBox> FrameLines(const RenderSequenceData::PicturePlan& plan) const;
    void PlanLabels(RenderSequenceData::PicturePlan& plan, const std::vector<LineBox>& frames);
    void PlanNumbers(const RenderSequenceData::PicturePlan& plan);
    void PlanIdentity(const RenderSequenceData::PicturePlan& plan);

    const SDM::Alignment* alignment = nullptr;
    Request request;
    CellGeometry cells{0, 0};
    QFont font;
    int numberWidth = 0;    // the widest residue number
    int rightNumbersX = 0;  // where the line-end numbers start
    int identityX = 0;
    int identityWidth = 0;
    int frameWidth = 0;
    std::vector<Text> marks;
    std::vector<Text> labels;
    std::vector<Box> boxes;
};

/// What `settings` asks a figure to mark: residue numbers, the identity column counted against
/// `identityTarget()` (asked only when the column is on), and the highlights; `error` names a bad one.
MSARENDER_EXPORT FigureMarks::Request MarksAsked(const SDM::Alignment& alignment,
                                                 const PictureSettings& settings,
                                                 const std::function<std::string()>& identityTarget,
                                                 QString& error);
