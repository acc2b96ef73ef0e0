#pragma once

#include <QFont>
#include <QPixmap>
#include <QString>
#include <climits>
#include <memory>
#include <optional>
#include <vector>

class QPainter;

/// One numbered column of a ruler band, in pixels of the band. Columns before the ruler origin have no
/// number and no mark; a numbered column may still have no tick.
struct RulerMark {
    int x;           // the tick's column centre
    int number;      // the position number shown for the column
    bool shortTick;  // a quarter-cell tick
    bool longTick;   // a half-cell tick, with a label when numbers are shown
};

/// The number a ruler gives each alignment column: counted from an origin (every column from it on), or
/// one per column given by the host, such as a sequence's residue numbers with none where it has a gap.
/// Converts from an origin, so that a plain ruler is asked for by its origin alone.
class RulerNumbering {
public:
    RulerNumbering(int rulerOrigin = 1) : origin(rulerOrigin) {}  // NOLINT: an origin is a numbering
    /// Columns numbered by `numbers` (index = 0-based column); columns it does not number, or leaves at
    /// kNone, have no number.
    static RulerNumbering PerColumn(std::shared_ptr<const std::vector<long long>> numbers);
    static constexpr long long kNone = LLONG_MIN;

    /// The number of a 0-based column, or none for a blank column.
    std::optional<long long> NumberOf(long long column) const;
    /// Whether no column from `column` on is numbered before `end`: the band then has no marks at all.
    bool NoneBefore(long long column, long long end) const;

private:
    int origin;
    std::shared_ptr<const std::vector<long long>> perColumn;  // null: counted from the origin
};

/// Which ends of a band are breaks in the column numbering: labels are shifted inside a band's plain ends
/// but left out where they would cross a break, so that neighbours across it never collide.
enum RulerBreaks { kNoBreaks = 0, kBreakOnLeft = 1, kBreakOnRight = 2 };

/// Paints ruler bands: ticks under columns and position numbers counted from the ruler origin.
/// Stateless; the caller owns every band it returns.
class RulerBuilder {
public:
    /// The marks of a band of `count` columns from `firstColumn`, with cell width W. With origin 0 column c
    /// is numbered c + 1; with origin L >= 1 column L is numbered 1 and earlier columns are blank. Number 1
    /// gets both ticks, other multiples of 5 a short one, multiples of 10 a long one with a label.
    static std::vector<RulerMark> CalculateMarks(int cellWidth, unsigned firstColumn, unsigned count,
                                                 const RulerNumbering& numbering);
    /// A new band of (count + 5) x W by gridRows x H pixels; null when it cannot be allocated. Only the
    /// first `markedCount` columns get marks (the alignment may end inside the band's line), and labels stay
    /// whole inside the `count` columns.
    static std::unique_ptr<QPixmap> BuildRulerPixmap(int cellWidth, int cellHeight, bool showRuler,
                                                     bool showRulerNumbers, unsigned firstColumn,
                                                     unsigned count, int gridRows, const QFont& font,
                                                     const RulerNumbering& numbering,
                                                     unsigned markedCount = UINT_MAX, int breaks = kNoBreaks);
    /// Paints a band onto `painter`, its top-left corner at the painter's origin: lines, a filled background
    /// and numbers as text, for vector devices as for pixmaps. It is `count` columns wide, and its
    /// background and lines go on for `marginColumns` more (BuildRulerPixmap's margin).
    static void PaintBand(QPainter& painter, int cellWidth, int cellHeight, bool showRuler,
                          bool showRulerNumbers, unsigned firstColumn, unsigned count, int gridRows,
                          const QFont& font, const RulerNumbering& numbering, unsigned markedCount = UINT_MAX,
                          int breaks = kNoBreaks, unsigned marginColumns = 0);
    /// Draws the label of `number` centred on xc, in the cell row starting at `top`, kept whole between 0
    /// and `right`.
    static void DrawRulerLabel(QPainter& painter, int xc, int top, int cellHeight, int cellWidth, int number,
                               int right = INT_MAX, int breaks = kNoBreaks);
    /// Marks a break between columns that are not neighbours in the alignment: a double bar across the
    /// band of `height` pixels from `top`, at x.
    static void DrawBreakMark(QPainter& painter, int x, int top, int height);

    /// The label text of `number` in the painter's font: digits grouped by the locale, or scientific
    /// notation with the largest precision (at most 8) that fits in ten cells.
    static QString LabelText(QPainter& painter, int number, int cellWidth, int cellHeight);
    /// Left edge of a label `labelWidth` wide centred on xc, moved left to end by `right` and then right to
    /// start at 0 when it would not.
    static int LabelLeft(int xc, int labelWidth, int right = INT_MAX);
};
