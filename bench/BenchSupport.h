#pragma once

#include <QFont>
#include <QObject>
#include <QPaintDevice>
#include <QPixmap>
#include <QSize>
#include <QVariant>
#include <boost/shared_ptr.hpp>
#include <cstdint>
#include <memory>
#include <vector>

#include "msarender/RenderSequenceData.h"
#include "sdm/Alignment.h"
#include "sqv/SVAlignment.h"

namespace bench {

/// The font of every figure: 10-point DejaVu Sans Mono.
QFont BenchFont();

/// The host's view widget as the renderer sees it: a paint device that reports itself as a widget and
/// carries a "font" property, without linking Qt Widgets.
class ViewWidget : public QObject, public QPaintDevice {
public:
    explicit ViewWidget(const QFont& font) { setProperty("font", font); }
    int devType() const override { return QInternal::Widget; }
    QPaintEngine* paintEngine() const override { return nullptr; }
};

/// A generated amino-acid alignment, coloured with the Zappo scheme, and its view side (already updated).
struct BenchAlignment {
    unsigned rows = 0;
    unsigned columns = 0;
    std::uint64_t residues = 0;  // cells that are not gaps
    boost::shared_ptr<SDM::Alignment> model;
    std::unique_ptr<SQV::SVAlignment> view;

    std::uint64_t Cells() const { return std::uint64_t(rows) * columns; }
};

/// The alignment of `rows` x `columns`, about one cell in six a gap (in runs, as real alignments have them).
/// One alignment is kept at a time: asking for another size frees the previous one, so that the largest
/// sizes never sit in memory together.
BenchAlignment& SharedAlignment(unsigned rows, unsigned columns);
/// Frees the kept alignment.
void ReleaseSharedAlignment();

/// The view of the scrolling figures: 1920 x 1080, wrapped to the view width (residues per line -1).
RenderSequenceData::RenderAspects ViewAspects(QSize view = QSize(1920, 1080));

/// A glyph of the bench font as the cache draws it: one cell wide, one cell plus one pixel high.
QPixmap ReadyGlyph();
/// A strip of `columns` cells with letters, as the renderer caches one row of a block.
QPixmap ReadyStrip(int columns);

/// What the machine needs at best to produce a frame of `frameSize` from ready pixmaps: a new white
/// frame, then `count` copies of `pieces` (taken in turn) laid `perLine` to a line, `pieceStep` apart.
void ComposeFromPieces(QSize frameSize, const std::vector<QPixmap>& pieces, QSize pieceStep,
                       long long perLine, long long count);

}  // namespace bench
