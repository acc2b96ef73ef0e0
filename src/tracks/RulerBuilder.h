#pragma once

#include <QFont>
#include <QPixmap>
#include <memory>
#include <vector>

class QPainter;

/// One tick of a ruler band, in pixels of the band.
struct RulerMark {
    int x;           // the tick's column centre
    int number;      // the position number shown for the column
    bool shortTick;  // a quarter-cell tick
    bool longTick;   // a half-cell tick, with a label when numbers are shown
};

/// Paints ruler bands: ticks under columns and position numbers counted from the ruler origin.
class RulerBuilder {
public:
    /// The marks of a band of `count` columns from `firstColumn`, with cell width W.
    static std::vector<RulerMark> CalculateMarks(int cellWidth, unsigned firstColumn, unsigned count,
                                                 int rulerOrigin);
    /// A new band of (count + 5) x W by gridRows x H pixels; null when it cannot be allocated.
    static std::unique_ptr<QPixmap> BuildRulerPixmap(int cellWidth, int cellHeight, bool showRuler,
                                                     bool showRulerNumbers, unsigned firstColumn, unsigned count,
                                                     int gridRows, const QFont& font, int rulerOrigin);
    static void DrawRulerLabel(QPainter& painter, int xc, int top, int cellHeight, int cellWidth, int number);
};
