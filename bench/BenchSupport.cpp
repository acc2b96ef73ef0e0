#include "BenchSupport.h"

#include <QPainter>
#include <boost/make_shared.hpp>
#include <string>

#include "msarender/FontAttributes.h"
#include "residue/ResidueFactory.h"
#include "residue/ResidueRenderData.h"
#include "sdm/schemes/ColorSchemes.h"

namespace bench {

namespace {

const char kAminoAcids[] = "ACDEFGHIKLMNPQRSTVWY";

// Deterministic and cheap: the same alignment on every run and machine.
struct Lcg {
    std::uint32_t state;
    std::uint32_t Next() {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    }
};

// Gaps come in runs of 1 to 8 columns, about one column in six.
std::string AlignedRow(unsigned row, unsigned columns, std::uint64_t& residues) {
    std::string text(columns, '-');
    Lcg random{row * 2654435761u + 1u};
    unsigned column = 0;
    while (column < columns) {
        if (random.Next() % 24 == 0) {
            column += 1 + random.Next() % 8;
            continue;
        }
        text[column++] = kAminoAcids[random.Next() % 20];
        ++residues;
    }
    return text;
}

std::unique_ptr<BenchAlignment>& Kept() {
    static std::unique_ptr<BenchAlignment> kept;
    return kept;
}

}  // namespace

QFont BenchFont() {
    QFont font(QStringLiteral("DejaVu Sans Mono"), 10);
    font.setStyleHint(QFont::Monospace);
    return font;
}

BenchAlignment& SharedAlignment(unsigned rows, unsigned columns) {
    std::unique_ptr<BenchAlignment>& kept = Kept();
    if (kept && kept->rows == rows && kept->columns == columns) return *kept;
    kept.reset();
    auto made = std::make_unique<BenchAlignment>();
    made->rows = rows;
    made->columns = columns;
    made->model = boost::make_shared<SDM::Alignment>();
    made->model->SetSequenceClass(SDM::AminoAcid);
    made->model->setColorScheme(SDM::MakeColorScheme("zappo"));
    for (unsigned row = 0; row < rows; ++row) {
        made->model->addSequence(boost::make_shared<SDM::AASequence>(
            "sequence_" + std::to_string(row + 1), AlignedRow(row, columns, made->residues)));
    }
    made->view = std::make_unique<SQV::SVAlignment>(made->model);
    made->view->Update();
    kept = std::move(made);
    return *kept;
}

void ReleaseSharedAlignment() {
    Kept().reset();
}

RenderSequenceData::RenderAspects ViewAspects(QSize view) {
    RenderSequenceData::RenderAspects aspects;
    aspects.viewRect = QRect(QPoint(0, 0), view);
    aspects.nameRect = QRect(0, 0, 160, view.height());
    aspects.wrap = true;
    aspects.residuesPerLine = -1;
    return aspects;
}

QPixmap ReadyGlyph() {
    ResidueRenderData data;
    data.residue = 'K';
    data.backgroundColour = 0xFFC8C8FFu;
    std::unique_ptr<QPixmap> glyph = ResidueFactory::Instance()->CreatePixmap(data, BenchFont());
    return glyph ? *glyph : QPixmap();
}

QPixmap ReadyStrip(int columns) {
    const SQC::FontAttributes cell(BenchFont());
    QPixmap strip(columns * cell.GetMaxWidth(), cell.GetMaxHeight());
    const QPixmap glyph = ReadyGlyph();
    QPainter painter(&strip);
    for (int column = 0; column < columns; ++column)
        painter.drawPixmap(column * cell.GetMaxWidth(), 0, glyph);
    return strip;
}

void ComposeFromPieces(QSize frameSize, const std::vector<QPixmap>& pieces, QSize pieceStep,
                       long long perLine, long long count) {
    QPixmap frame(frameSize);
    frame.fill(Qt::white);
    QPainter painter(&frame);
    perLine = std::max(perLine, 1LL);
    for (long long i = 0; i < count; ++i) {
        const int x = int(i % perLine) * pieceStep.width();
        const int y = int(i / perLine) * pieceStep.height();
        painter.drawPixmap(x, y, pieces[std::size_t(i) % pieces.size()]);
    }
    painter.end();
}

}  // namespace bench
