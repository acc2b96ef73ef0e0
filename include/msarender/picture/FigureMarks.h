#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>
#include <boost/shared_ptr.hpp>
#include <cstdint>
#include <string>
#include <vector>

#include "msarender/CellGeometry.h"
#include "msarender/Export.h"
#include "msarender/RenderSequenceData.h"

class QPainter;
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

/// What a figure draws beside and over its rows, once the rows are planned: each line's first and last
/// residue number left and right of it, each row's percent identity in a right-hand column, and
/// highlights framed (or shaded) with their labels in a line above their block.
class MSARENDER_EXPORT FigureMarks {
public:
    struct Request {
        bool residueNumbers = false;
        bool identity = false;
        std::string identityTarget;  // aligned text the identity is counted against
        std::vector<FigureHighlight> highlights;
        bool shadeHighlights = false;  // a tint over the residues rather than a frame
    };

    FigureMarks() = default;
    /// Widens `plan` for the numbers and the identity column and makes room for labels; warnings for
    /// marks the plan cannot show go to `warnings`.
    FigureMarks(Request request, RenderSequenceData::PicturePlan& plan, const CellGeometry& cells,
                const QFont& font, QStringList& warnings);

    /// A text drawn in a line: numbers and identities on its baseline, labels above its top.
    struct Text {
        std::int64_t lineTop = 0;
        int x = 0;
        int width = 0;
        bool alignRight = false;
        QString text;
    };
    /// A frame's part on one row line.
    struct Box {
        std::int64_t lineTop = 0;  // the row line it frames
        QRect rect;                // y relative to the line's top
        QColor colour;
        bool top = true;  // edges drawn
        bool bottom = true;
    };

    /// What is drawn, in line order: the numbers and identities, the labels, the frames.
    const std::vector<Text>& Marks() const { return marks; }
    const std::vector<Text>& Labels() const { return labels; }
    const std::vector<Box>& Boxes() const { return boxes; }
    bool IsEmpty() const { return marks.empty() && labels.empty() && boxes.empty(); }
    /// Paints the marks of the plan's lines that start in [linesBegin, linesEnd), picture row `top` at the
    /// painter's y = 0.
    void Paint(QPainter& painter, std::int64_t top, int height, std::int64_t linesBegin,
               std::int64_t linesEnd) const;

private:
    void PlanNumbers(RenderSequenceData::PicturePlan& plan);
    void PlanIdentity(RenderSequenceData::PicturePlan& plan);
    void PlanHighlights(RenderSequenceData::PicturePlan& plan);

    Request request;
    CellGeometry cells{0, 0};
    QFont font;
    std::vector<Text> marks;   // numbers and identities
    std::vector<Text> labels;  // highlight labels
    std::vector<Box> boxes;
};
