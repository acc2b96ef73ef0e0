// RenderSequenceData::CopyImageData: a fresh picture of chosen rows and columns, drawn from the model.

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cstdint>

#include "font/ColorConversion.h"
#include "model/AlignmentHelper.h"
#include "msarender/CellGeometry.h"
#include "msarender/RenderSequenceData.h"
#include "renderer/PixmapAllocation.h"
#include "sqv/SVAlignment.h"

/// What an export draws and how large the picture is, decided before anything is allocated.
struct RenderSequenceData::ExportLayout {
    std::vector<unsigned> rows;  // in drawing order
    bool byColumns = false;      // chosen columns per row rather than whole sequences
    unsigned columnCount = 0;
    unsigned lineCount = 0;  // secondary-structure lines of all exported rows
    int nameWidth = 0;
    unsigned perBlock = 0;
    unsigned blocks = 1;
    std::int64_t width = 0;
    std::int64_t height = 0;
};

namespace {

unsigned CeilDiv(unsigned value, unsigned divisor) {
    return value / divisor + (value % divisor != 0 ? 1 : 0);
}

std::string AlignedText(const std::vector<char>& aligned, std::size_t first, std::size_t end) {
    end = std::min(end, aligned.size());
    return first < end
               ? std::string(aligned.begin() + std::ptrdiff_t(first), aligned.begin() + std::ptrdiff_t(end))
               : std::string();
}

}  // namespace

QPixmap* RenderSequenceData::CopyImageData(std::vector<unsigned> sequenceIndexes,
                                           std::map<unsigned, std::vector<unsigned>> columnsByRow, bool,
                                           bool includeGaps) {
    if (svAlignment == nullptr) return nullptr;
    const Corvane::AlignmentHelper helper(*svAlignment);
    ExportLayout layout;
    if (!PlanExport(helper, std::move(sequenceIndexes), columnsByRow, layout)) return nullptr;
    std::unique_ptr<QPixmap> picture = PixmapAllocation::MakeWhite(layout.width, layout.height);
    if (!picture) return nullptr;

    QPainter painter(picture.get());
    painter.setFont(font);
    int y = 0;
    unsigned first = 0;
    unsigned end = layout.perBlock;
    unsigned count = layout.perBlock;
    const unsigned step = unsigned(std::max(residuesPerBlock, 0));
    for (unsigned block = 0; block < layout.blocks; ++block) {
        PaintExportBlock(helper, painter, layout, columnsByRow, first, end, count, includeGaps, y);
        if (layout.blocks > 1) {
            first += step;
            end += step;
            if (end > layout.columnCount) {
                end = layout.columnCount;
                count = first < layout.columnCount ? layout.columnCount - first : 0;
            }
        }
    }
    painter.end();
    return picture.release();  // the caller owns the picture
}

bool RenderSequenceData::PlanExport(const Corvane::AlignmentHelper& helper,
                                    std::vector<unsigned> sequenceIndexes,
                                    const std::map<unsigned, std::vector<unsigned>>& columnsByRow,
                                    ExportLayout& layout) const {
    const CellGeometry cells(fontAttributes);
    if (!helper.HasRows() || !cells.IsUsable() || (aspects.wrap && residuesPerBlock <= 0)) return false;
    helper.MapSequencesToRows(sequenceIndexes);
    if (sequenceIndexes.empty() && columnsByRow.empty()) return false;

    layout.byColumns = !columnsByRow.empty();
    layout.rows = std::move(sequenceIndexes);
    layout.columnCount = maxTotalLength;
    if (layout.byColumns) {
        layout.rows.clear();
        layout.columnCount = 0;
        for (const auto& [row, columns] : columnsByRow) {
            layout.rows.push_back(row);
            layout.columnCount = std::max(layout.columnCount, unsigned(columns.size()));
        }
    }

    if (aspects.showSecondaryStructure && !ssStringsPerRow.empty() && !layout.byColumns) {
        for (unsigned row : layout.rows) {
            if (row >= ssStringsPerRow.size()) continue;
            for (const auto& entry : ssStringsPerRow[row]) layout.lineCount += entry.second.empty() ? 0 : 1;
        }
    }

    // A picture of one row's columns is residues only; every other picture has a name column.
    if (columnsByRow.size() != 1) {
        std::string longest;
        Corvane::FindLongestRowLabel(helper, longest, aspects.showSecondaryStructure, layout.rows);
        layout.nameWidth = QFontMetrics(font).boundingRect(SQC::ToQString(longest)).width();
    }

    const unsigned perBlock = unsigned(std::max(residuesPerBlock, 0));
    layout.perBlock = aspects.wrap ? perBlock : maxTotalLength;
    if (aspects.wrap)
        layout.blocks = !layout.byColumns                ? blockCount
                        : layout.columnCount <= perBlock ? 1
                                                         : CeilDiv(layout.columnCount, perBlock);

    const std::int64_t shownColumns =
        aspects.wrap ? std::min(layout.columnCount, layout.perBlock) : layout.columnCount;
    layout.width = cells.Width(shownColumns) + layout.nameWidth;
    const std::int64_t blockLines =
        std::int64_t(layout.rows.size()) + layout.lineCount + (aspects.showRuler ? kRulerBandRows : 0);
    const bool stacked = aspects.wrap && layout.columnCount > perBlock;
    layout.height = cells.Height(blockLines * (stacked ? std::int64_t(layout.blocks) : 1));
    return true;
}

void RenderSequenceData::PaintExportBlock(const Corvane::AlignmentHelper& helper, QPainter& painter,
                                          const ExportLayout& layout,
                                          const std::map<unsigned, std::vector<unsigned>>& columnsByRow,
                                          unsigned first, unsigned end, unsigned count, bool includeGaps,
                                          int& y) const {
    const CellGeometry cells(fontAttributes);
    if (aspects.showRuler) {
        CopyRulerPixmap(helper, painter, count, layout.nameWidth, y, first);
        y += cells.RulerBandHeight();
    }
    const bool withCartoons = aspects.showSecondaryStructure && !ssStringsPerRow.empty() && cartoonDrawer;
    for (unsigned row : layout.rows) {
        const std::vector<char>& aligned = svAlignment->GetAlignedSequence(row);
        if (aligned.empty()) continue;  // its line stays white at the bottom of the picture
        if (!layout.byColumns) {
            CopySequenceNamePixmap(helper, painter, row, cells.Baseline(y));
            const std::size_t textEnd = std::min<std::size_t>(std::size_t(first) + count, maxTotalLength);
            CopyResiduePixmap(helper, painter, AlignedText(aligned, first, textEnd), row, layout.nameWidth, y,
                              first, end, includeGaps);
            if (withCartoons && row < ssStringsPerRow.size())
                CopySSCartoonPixmap(helper, painter, int(row), layout.nameWidth, y, first, count,
                                    includeGaps);
        } else {
            const std::vector<unsigned>& columns = columnsByRow.at(row);
            if (!columns.empty()) {
                int x = layout.nameWidth;
                if (layout.rows.size() > 1)
                    CopySequenceNamePixmap(helper, painter, row, cells.Baseline(y));
                else
                    x = 0;
                CopyResiduePixmap(helper, painter, AlignedText(aligned, 0, maxTotalLength), row, x, y,
                                  columns, first, end, includeGaps);
            }
        }
        y += cells.CellHeight();
    }
}
