#include "tracks/RulerBuilder.h"

#include <QColor>
#include <QPainter>
#include <QPen>
#include <QRect>
#include <algorithm>
#include <climits>

#include "font/ShadedText.h"
#include "msarender/CellGeometry.h"
#include "qtcommon/QFormat.h"

namespace {

const QRgb kRulerBackground = 0xFFEDEDE1u;
const QRgb kWhite = 0xFFFFFFFFu;
const QRgb kBlack = 0xFF000000u;
const int kMarginColumns = 5;
const int kLabelLimitCells = 10;
const int kMaxScientificPrecision = 8;
const int kBaselineLift = 3;

// Width 0: cosmetic one-pixel lines whatever the painter's transform.
QPen CosmeticPen(QRgb colour) {
    return QPen(QColor(colour), 0, Qt::SolidLine);
}

int LabelWidth(QPainter& painter, const QString& text, int cellWidth, int cellHeight) {
    return painter.boundingRect(QRect(0, 0, cellWidth, cellHeight), Qt::AlignLeft, text).width();
}

// The label of `number` and its width: measuring is the costly part of a ruler band, so each text is
// measured once.
QString MeasuredLabelText(QPainter& painter, int number, int cellWidth, int cellHeight, int& width) {
    const int limit = CellGeometry(cellWidth, cellHeight).ColumnLeft(kLabelLimitCells);
    QString text = QtCommon::QFormat("%L1", true).arg(number, 0, 10, QChar(' '));
    width = LabelWidth(painter, text, cellWidth, cellHeight);
    for (int precision = kMaxScientificPrecision; precision >= 1 && width > limit; --precision) {
        text = QtCommon::QFormat("%L1", true).arg(double(number), 0, 'e', precision, QChar(' '));
        width = LabelWidth(painter, text, cellWidth, cellHeight);
    }
    return text;
}

void PaintBackground(QPainter& painter, int width, int bottom, bool showRuler) {
    painter.fillRect(QRect(QPoint(0, 0), QPoint(width - 1, bottom - 1)),
                     QColor(showRuler ? kRulerBackground : kWhite));
    painter.setPen(CosmeticPen(kWhite));
    painter.drawLine(0, 0, width, 0);
    painter.setPen(CosmeticPen(kBlack));
    painter.drawLine(0, 1, width, 1);
    painter.drawLine(0, bottom, width, bottom);
}

void PaintMarks(QPainter& painter, const std::vector<RulerMark>& marks, int cellWidth, int cellHeight,
                int bottom, bool showRulerNumbers, int right, int breaks) {
    painter.setPen(CosmeticPen(kBlack));
    for (const RulerMark& mark : marks) {
        if (mark.shortTick) {
            painter.drawLine(mark.x, bottom, mark.x, bottom - cellHeight / 4);
        }
        if (mark.longTick) {
            painter.drawLine(mark.x, bottom, mark.x, bottom - cellHeight / 2);
            if (showRulerNumbers) {
                RulerBuilder::DrawRulerLabel(painter, mark.x, bottom - (3 * cellHeight) / 2, cellHeight,
                                             cellWidth, mark.number, right, breaks);
            }
        }
    }
}

}  // namespace

RulerNumbering RulerNumbering::PerColumn(std::shared_ptr<const std::vector<long long>> numbers) {
    RulerNumbering numbering;
    numbering.perColumn = numbers ? std::move(numbers) : std::make_shared<const std::vector<long long>>();
    return numbering;
}

std::optional<long long> RulerNumbering::NumberOf(long long column) const {
    if (perColumn) {
        if (column < 0 || column >= (long long)perColumn->size() ||
            (*perColumn)[std::size_t(column)] == kNone)
            return std::nullopt;
        return (*perColumn)[std::size_t(column)];
    }
    // Negative origins are treated as 0: numbering then starts at the first column of the alignment.
    if (origin <= 0) return column + 1;
    if (column < origin) return std::nullopt;
    return column - origin + 1;
}

bool RulerNumbering::NoneBefore(long long column, long long end) const {
    if (perColumn) return column >= (long long)perColumn->size() || column >= end;
    return origin > end;
}

std::vector<RulerMark> RulerBuilder::CalculateMarks(int cellWidth, unsigned firstColumn, unsigned count,
                                                    const RulerNumbering& numbering) {
    std::vector<RulerMark> marks;
    const long long end = (long long)firstColumn + count;
    if (numbering.NoneBefore(firstColumn, end)) {
        return marks;
    }
    for (long long column = firstColumn; column < end; ++column) {
        const std::optional<long long> shown = numbering.NumberOf(column);
        const long long x = CellGeometry(cellWidth, 1).CentreX(column - firstColumn);
        if (x > INT_MAX) {
            break;
        }
        if (!shown) {
            continue;
        }
        const long long number = *shown;
        if (number > INT_MAX || number < INT_MIN) {
            break;
        }
        const bool first = number == 1;
        const bool tenth = number % 10 == 0;
        const bool fifth = number % 5 == 0 && !tenth;
        marks.push_back(RulerMark{int(x), int(number), first || fifth, first || tenth});
    }
    return marks;
}

std::unique_ptr<QPixmap> RulerBuilder::BuildRulerPixmap(int cellWidth, int cellHeight, bool showRuler,
                                                        bool showRulerNumbers, unsigned firstColumn,
                                                        unsigned count, int gridRows, const QFont& font,
                                                        const RulerNumbering& numbering, unsigned markedCount,
                                                        int breaks) {
    const CellGeometry cells(cellWidth, cellHeight);
    const std::int64_t width = cells.Width(std::int64_t(count) + kMarginColumns);
    const std::int64_t height = cells.Height(gridRows);
    if (cellWidth <= 0 || cellHeight <= 0 || gridRows <= 0 || width > INT_MAX || height > INT_MAX) {
        return nullptr;
    }
    auto band = std::make_unique<QPixmap>(int(width), int(height));
    if (band->isNull()) {
        return nullptr;
    }
    QPainter painter(band.get());
    PaintBand(painter, cellWidth, cellHeight, showRuler, showRulerNumbers, firstColumn, count, gridRows, font,
              numbering, markedCount, breaks, kMarginColumns);
    return band;
}

void RulerBuilder::PaintBand(QPainter& painter, int cellWidth, int cellHeight, bool showRuler,
                             bool showRulerNumbers, unsigned firstColumn, unsigned count, int gridRows,
                             const QFont& font, const RulerNumbering& numbering, unsigned markedCount,
                             int breaks, unsigned marginColumns) {
    const CellGeometry cells(cellWidth, cellHeight);
    const std::int64_t width = cells.Width(std::int64_t(count) + marginColumns);
    const std::int64_t height = cells.Height(gridRows);
    if (cellWidth <= 0 || cellHeight <= 0 || gridRows <= 0 || width > INT_MAX || height > INT_MAX) {
        return;
    }
    // The background leaves the last row to the bottom line; fill it too so no pixel stays undefined.
    painter.fillRect(QRect(0, 0, int(width), int(height)), QColor(showRuler ? kRulerBackground : kWhite));
    const int bottom = int(height) - 1;
    painter.save();
    painter.setFont(font);
    PaintBackground(painter, int(width), bottom, showRuler);
    if (showRuler) {
        PaintMarks(painter, CalculateMarks(cellWidth, firstColumn, std::min(count, markedCount), numbering),
                   cellWidth, cellHeight, bottom, showRulerNumbers, cells.ColumnLeft(count), breaks);
    }
    painter.restore();
}

void RulerBuilder::DrawRulerLabel(QPainter& painter, int xc, int top, int cellHeight, int cellWidth,
                                  int number, int right, int breaks) {
    int width = 0;
    const QString text = MeasuredLabelText(painter, number, cellWidth, cellHeight, width);
    const int visibleWidth = xc < 0 ? width + xc : width;
    if (visibleWidth <= 0) {
        return;
    }
    const int centredLeft = xc - width / 2;
    if (((breaks & kBreakOnLeft) && centredLeft < 0) ||
        ((breaks & kBreakOnRight) && centredLeft + width > right))
        return;
    painter.setPen(CosmeticPen(kBlack));
    DrawLabelText(painter, QPointF(LabelLeft(xc, width, right), top + cellHeight - kBaselineLift), text);
}

QString RulerBuilder::LabelText(QPainter& painter, int number, int cellWidth, int cellHeight) {
    int width = 0;
    return MeasuredLabelText(painter, number, cellWidth, cellHeight, width);
}

int RulerBuilder::LabelLeft(int xc, int labelWidth, int right) {
    if (xc < 0) {
        return 0;
    }
    const int left = std::min(xc - labelWidth / 2, right - labelWidth);
    return left < 0 ? 0 : left;
}

void RulerBuilder::DrawBreakMark(QPainter& painter, int x, int top, int height) {
    painter.save();
    painter.setPen(CosmeticPen(kBlack));
    for (int bar : {x - 1, x + 1}) painter.drawLine(bar, top + 2, bar, top + height - 1);
    painter.setPen(CosmeticPen(kRulerBackground));
    painter.drawLine(x, top + 2, x, top + height - 2);
    painter.restore();
}
