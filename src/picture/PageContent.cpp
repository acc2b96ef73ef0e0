// AlignmentPicture's interactive page: the planned picture painted band by band and taken apart into the
// names column, the track strips and one glyph index per residue cell.

#include <QPainter>
#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "msarender/CellGeometry.h"
#include "msarender/picture/AlignmentPicture.h"
#include "msarender/picture/HtmlPage.h"
#include "sqv/UserProperties.h"  // SQC::SequenceConstants

namespace {

using Line = RenderSequenceData::PicturePlan::Line;

// Lines are painted in bands of about this many rows: few calls, little memory.
const int kBandRows = 512;

// The distinct cells met so far. A cell is found by its residue and a few of its pixels, then compared whole.
class GlyphTable {
public:
    GlyphTable(int cellWidth, int cellHeight) : width(cellWidth), height(cellHeight) {}

    int IndexOf(const QImage& band, int x, int y, char residue) {
        std::vector<int>& candidates = byKey[Key(band, x, y, residue)];
        for (int index : candidates)
            if (residues[std::size_t(index)] == residue && Same(glyphs[std::size_t(index)], band, x, y))
                return index;
        glyphs.push_back(band.copy(x, y, width, height));
        residues.push_back(residue);
        candidates.push_back(int(glyphs.size()) - 1);
        return candidates.back();
    }

    QImage Atlas() const {
        const int count = int(glyphs.size());
        const int across = std::min(count, HtmlPageContent::kGlyphsPerRow);
        const int down = (count + HtmlPageContent::kGlyphsPerRow - 1) / HtmlPageContent::kGlyphsPerRow;
        QImage atlas(std::max(across, 1) * width, std::max(down, 1) * height, QImage::Format_RGB32);
        atlas.fill(Qt::white);
        QPainter painter(&atlas);
        for (int i = 0; i < count; ++i)
            painter.drawImage((i % HtmlPageContent::kGlyphsPerRow) * width,
                              (i / HtmlPageContent::kGlyphsPerRow) * height, glyphs[std::size_t(i)]);
        return atlas;
    }

    QByteArray Residues() const { return QByteArray(residues.data(), int(residues.size())); }
    std::size_t Count() const { return glyphs.size(); }

private:
    std::uint64_t Key(const QImage& band, int x, int y, char residue) const {
        std::uint64_t key = std::uint64_t(std::uint8_t(residue)) * 0x9E3779B97F4A7C15ull;
        const auto mix = [&key](QRgb pixel) { key = (key ^ pixel) * 0x100000001B3ull; };
        const QRgb* middle = reinterpret_cast<const QRgb*>(band.constScanLine(y + height / 2)) + x;
        for (int i = 0; i < width; ++i) mix(middle[i]);
        for (int row = 0; row < height; ++row)
            mix(reinterpret_cast<const QRgb*>(band.constScanLine(y + row))[x + width / 2]);
        return key;
    }

    bool Same(const QImage& glyph, const QImage& band, int x, int y) const {
        for (int row = 0; row < height; ++row)
            if (std::memcmp(glyph.constScanLine(row), band.constScanLine(y + row) + x * 4,
                            std::size_t(width) * 4) != 0)
                return false;
        return true;
    }

    int width;
    int height;
    std::vector<QImage> glyphs;
    std::vector<char> residues;
    std::unordered_map<std::uint64_t, std::vector<int>> byKey;
};

// Pieces of at most kPieceSide pixels of `image` rows [top, top + height) from x = `left`, `width` wide.
std::vector<QImage> Pieces(const QImage& image, int left, int top, int width, int height) {
    std::vector<QImage> pieces;
    for (int x = 0; x < width; x += HtmlPageContent::kPieceSide)
        pieces.push_back(image.copy(left + x, top, std::min(HtmlPageContent::kPieceSide, width - x), height));
    return pieces;
}

// A fixed column of the page, `width` wide and the layout's height, white, in pieces of kPieceSide rows.
std::vector<QImage> ColumnPieces(int width, std::int64_t height) {
    std::vector<QImage> pieces;
    for (std::int64_t top = 0; top < height && width > 0; top += HtmlPageContent::kPieceSide) {
        QImage piece(width, int(std::min<std::int64_t>(HtmlPageContent::kPieceSide, height - top)),
                     QImage::Format_RGB32);
        piece.fill(Qt::white);
        pieces.push_back(piece);
    }
    return pieces;
}

// The band's pixels from x = `left` into the column pieces they fall in; the band starts at layout row `top`.
void CopyIntoColumn(std::vector<QImage>& pieces, const QImage& band, int left, std::int64_t top) {
    for (std::size_t p = 0; p < pieces.size(); ++p) {
        const std::int64_t pieceTop = std::int64_t(p) * HtmlPageContent::kPieceSide;
        if (pieceTop >= top + band.height() || pieceTop + pieces[p].height() <= top) continue;
        QPainter painter(&pieces[p]);
        painter.drawImage(0, int(top - pieceTop), band, left, 0, pieces[p].width(), band.height());
    }
}

// The blocks' tops and columns; the widest block's columns are the residue area's width.
std::vector<HtmlPageContent::Block> BlocksOf(const RenderSequenceData::PicturePlan& plan, int columns) {
    std::vector<HtmlPageContent::Block> blocks;
    for (std::size_t start : plan.blockStarts) {
        if (start >= plan.lines.size()) continue;
        const Line& line = plan.lines[start];
        blocks.push_back({line.top, int(line.first), std::min(int(line.end), columns)});
    }
    return blocks;
}

// The height of every block when they are all alike (a wrapped page's): the fixed columns beside them then
// repeat from block to block. 0 for one block, or blocks of different heights.
std::int64_t BlockPeriod(const std::vector<HtmlPageContent::Block>& blocks, std::int64_t height) {
    if (blocks.size() < 2) return 0;
    const std::int64_t period = blocks[1].top - blocks[0].top;
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        const std::int64_t end = i + 1 < blocks.size() ? blocks[i + 1].top : height;
        if (blocks[i].top != std::int64_t(i) * period || end - blocks[i].top != period) return 0;
    }
    return period;
}

// Where each run of consecutive chosen columns starts, as positions among them; {0} for all columns.
std::vector<int> RunStarts(const std::vector<unsigned>& chosen) {
    std::vector<int> starts{0};
    for (std::size_t p = 1; p < chosen.size(); ++p)
        if (chosen[p] != chosen[p - 1] + 1) starts.push_back(int(p));
    return starts;
}

// The ruler's number of each of the page's columns, unless it counts them from the first one's: the
// reference's residue numbers (`byReference`) of the chosen columns or of all, or the chosen columns' own.
std::vector<long long> ColumnNumbersOf(const std::vector<unsigned>& chosen,
                                       std::vector<long long> byReference, const PictureSettings& settings) {
    if (chosen.empty()) return byReference;
    std::vector<long long> numbers;
    numbers.reserve(chosen.size());
    for (unsigned column : chosen)
        numbers.push_back(byReference.empty() ? settings.ColumnNumber(int(column)) : byReference[column]);
    return numbers;
}

// The residues of `aligned` before the first column of each run: what the hover counts a residue's number
// from when the page leaves columns out. Zero for a page of all columns.
std::vector<long long> ResiduesBeforeRuns(const std::vector<char>& aligned,
                                          const std::vector<unsigned>& chosen,
                                          const std::vector<int>& runStarts) {
    std::vector<long long> counts;
    long long residues = 0;
    unsigned column = 0;
    for (int start : runStarts) {
        const unsigned first = chosen.empty() ? 0 : chosen[std::size_t(start)];
        for (; column < first && column < aligned.size(); ++column)
            if (!SQC::SequenceConstants::IsGap(aligned[column])) ++residues;
        counts.push_back(residues);
    }
    return counts;
}

}  // namespace

QString AlignmentPicture::CheckPageLayout() const {
    if (!plan.includeGaps)
        return QStringLiteral("an HTML page shows the sequences with their gaps: --no-gaps is for pictures");
    if (!plan.namesShown)
        return QStringLiteral(
            "an HTML page of chosen columns needs more than one sequence: a picture of one sequence's "
            "columns has no names");
    if (plan.byColumns && plan.rulerColumns.empty())
        return QStringLiteral("an HTML page shows the same columns of every sequence");
    return QString();
}

HtmlPageContent AlignmentPicture::PageContent() const {
    const CellGeometry cells = Cells();
    HtmlPageContent page;
    page.title = settings.title.isEmpty() ? QStringLiteral("Alignment") : settings.title;
    page.cellWidth = cells.CellWidth();
    page.cellHeight = cells.CellHeight();
    // The page's columns: the alignment's, or the chosen ones (their numbers and runs then go with them).
    const std::vector<unsigned>& chosen = plan.rulerColumns;
    const auto alignmentColumn = [&](int column) {
        return chosen.empty() ? unsigned(column) : chosen[column];
    };
    page.columns = int(chosen.empty() ? alignment->columnCount() : chosen.size());
    page.firstColumnNumber = settings.ColumnNumber(0);
    page.columnNumbers = ColumnNumbersOf(chosen, RulerNumbersByReference(), settings);
    page.runStarts = RunStarts(chosen);
    page.height = plan.height;
    // Left of the residues: the tree, the names and their numbers, without the picture's gutter (a view has
    // none) unless it keeps residue numbers apart from the residues; right of them, what the picture draws
    // after the lines' ends.
    const int residuesLeft = treeWidth + plan.nameWidth;
    page.blocks = BlocksOf(plan, page.columns);
    for (const HtmlPageContent::Block& block : page.blocks)
        page.lineColumns = std::max(page.lineColumns, block.end - block.first);
    const int residuesWidth = cells.ColumnLeft(page.lineColumns);
    page.nameWidth = residuesLeft - (settings.residueNumbers ? 0 : cells.CellWidth());
    page.rightWidth = int(std::max<std::int64_t>(Width() - residuesLeft - residuesWidth, 0));
    page.columnPeriod = settings.residueNumbers ? 0 : BlockPeriod(page.blocks, plan.height);
    const std::int64_t columnHeight = page.columnPeriod > 0 ? page.columnPeriod : plan.height;
    page.namePieces = ColumnPieces(page.nameWidth, columnHeight);
    page.rightPieces = ColumnPieces(page.rightWidth, columnHeight);

    RenderSequenceData::PicturePlan viewPlan = plan;
    viewPlan.viewLabels = true;  // labels and ruler numbers as --view draws them
    GlyphTable glyphs(page.cellWidth, page.cellHeight);
    std::vector<int> indexes;
    indexes.reserve(std::size_t(sequenceIndexes.size()) * std::size_t(page.columns));
    // A wrapped row has a line in every block: each is one of the page's sequences, met in the first block.
    std::unordered_map<unsigned, int> sequenceOfRow;
    // Rows between lines (the labels over highlighted blocks) go with the band of the line below them.
    std::int64_t painted = 0;
    for (std::size_t first = 0; first < plan.lines.size();) {
        std::size_t end = first + 1;
        while (end < plan.lines.size() && plan.lines[end].top + plan.lines[end].height - painted <= kBandRows)
            ++end;
        const std::int64_t bandTop = painted;
        const int bandRows = int(plan.lines[end - 1].top + plan.lines[end - 1].height - bandTop);
        const QImage band = PaintLinesBand(viewPlan, bandTop, bandRows);
        if (band.isNull()) return HtmlPageContent();
        CopyIntoColumn(page.namePieces, band, 0, bandTop);
        CopyIntoColumn(page.rightPieces, band, residuesLeft + residuesWidth, bandTop);
        for (std::size_t i = first; i < end; ++i) {
            const Line& line = plan.lines[i];
            const int y = int(line.top - bandTop);
            if (line.top > painted) {
                const int rows = int(line.top - painted);
                page.lines.push_back({painted, rows});
                page.strips.push_back(
                    {painted, rows, Pieces(band, residuesLeft, int(painted - bandTop), residuesWidth, rows)});
            }
            painted = line.top + line.height;
            page.lines.push_back({line.top, line.height});
            if (line.kind != Line::Kind::Row) {
                page.strips.push_back(
                    {line.top, line.height, Pieces(band, residuesLeft, y, residuesWidth, line.height)});
                continue;
            }
            const auto [known, isNew] = sequenceOfRow.emplace(line.row, int(page.sequences.size()));
            if (isNew) {
                if (page.sequences.size() >= sequenceIndexes.size()) return HtmlPageContent();
                const auto model = alignment->getSequence(sequenceIndexes[page.sequences.size()]);
                const SDM::Sequence::Numbering numbering = model->numbering();
                page.sequences.push_back(
                    {line.top, QString::fromStdString(model->getIdentifier()),
                     QString::fromStdString(model->getDescription()), numbering.start, int(numbering.step),
                     ResiduesBeforeRuns(view.GetAlignedSequence(line.row), chosen, page.runStarts)});
                indexes.resize(page.sequences.size() * std::size_t(page.columns));
            }
            const int sequence = known->second;
            const int end = std::min(int(line.end), page.columns);
            page.rowLines.push_back({line.top, sequence, int(line.first), end});
            const std::vector<char>& aligned = view.GetAlignedSequence(line.row);
            for (int column = int(line.first); column < end; ++column) {
                const unsigned at = alignmentColumn(column);
                const char residue = at < aligned.size() ? aligned[at] : '-';
                indexes[std::size_t(sequence) * std::size_t(page.columns) + std::size_t(column)] =
                    glyphs.IndexOf(band, residuesLeft + cells.ColumnLeft(column - int(line.first)), y,
                                   residue);
            }
            if (line.height > page.cellHeight)
                page.strips.push_back({line.top + page.cellHeight, line.height - page.cellHeight,
                                       Pieces(band, residuesLeft, y + page.cellHeight, residuesWidth,
                                              line.height - page.cellHeight)});
        }
        first = end;
    }
    page.glyphs = glyphs.Atlas();
    page.glyphResidues = glyphs.Residues();
    page.bytesPerCell = glyphs.Count() > 256 ? 2 : 1;
    page.cells.resize(qsizetype(indexes.size()) * page.bytesPerCell);
    char* out = page.cells.data();
    for (int index : indexes) {
        *out++ = char(index & 0xff);
        if (page.bytesPerCell == 2) *out++ = char(index >> 8);
    }
    return page;
}

QString AlignmentPicture::EncodeHtml(QIODevice& out) const {
    if (QString error = CheckPageLayout(); !error.isEmpty()) return error;
    const HtmlPageContent content = PageContent();
    if (content.lines.empty()) return QStringLiteral("not enough memory to draw the page");
    if (content.glyphResidues.size() > 65536)
        return QStringLiteral("the alignment has more than 65,536 distinct cells: a page cannot hold them");
    return EncodeHtmlPage(content, out);
}
