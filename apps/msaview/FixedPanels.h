#pragma once

#include <QImage>
#include <QWidget>
#include <functional>

#include "DisplayOptions.h"
#include "ViewRenderer.h"

class AlignmentDocument;
class QPainter;
struct AnnotationRow;

/// An unwrapped view's fixed parts: the ruler band above the rows and the annotation rows below them,
/// both scrolling sideways with the residues but never away. They are drawn from a picture plan of a
/// second renderer that lays the alignment out with every display option, which also serves pictures of
/// the view (the view's own renderer then composes the rows alone).
class FixedPanels {
public:
    /// Whether a view with these options keeps a fixed ruler and annotation panel.
    static bool Apply(const DisplayOptions& options) {
        return !options.wrap && (options.showRuler || !options.annotationRows.isEmpty());
    }
    /// The options the rows are composed with while the panels show the ruler and annotations.
    static DisplayOptions RowsOnly(DisplayOptions options);

    /// Lays the panels out again after a change of the view (a cheaper change than a layout keeps them).
    void Update(QPaintDevice& device, AlignmentDocument& document, const DisplayOptions& options,
                const ViewGeometry& geometry, ViewRenderer::Change change, bool modelChanged);
    void Clear();

    int HeaderHeight() const { return headerHeight; }
    /// The height of the annotation rows, limited to `most` pixels (whole rows).
    int FooterHeight(int most) const;
    /// The widest name of the panel's rows (annotation labels), in pixels.
    int NameWidth() const { return names; }

    /// Paints the header or the footer: the name column up to `nameWidth` minus its gap, the residues from
    /// `nameWidth` on, scrolled left by `scrollX`.
    void PaintHeader(QPainter& painter, QSize size, int nameWidth, int nameGap, int scrollX) const;
    void PaintFooter(QPainter& painter, QSize size, int nameWidth, int nameGap, int scrollX) const;

    /// The annotation row shown `y` pixels below the footer's top, or null.
    const AnnotationRow* AnnotationAt(int y) const;
    /// The renderer that lays out the whole figure: for pictures of the view.
    const RenderSequenceData& FigureRenderer() const { return figure.Renderer(); }
    bool IsLaidOut() const { return laidOut; }

private:
    /// A panel as last painted: vertical scrolling repaints it unchanged.
    struct Painted {
        QImage image;
        int nameWidth = -1;
        int scrollX = -1;
    };
    void PaintLines(QPainter& painter, QSize size, int nameWidth, int nameGap, int scrollX, std::int64_t top,
                    bool withNames, Painted& painted) const;
    QImage PaintPart(QSize size, int pictureX, std::int64_t top) const;

    ViewRenderer figure;
    RenderSequenceData::PicturePlan plan;
    bool laidOut = false;
    std::int64_t rulerTop = 0;
    std::int64_t annotationTop = 0;
    int headerHeight = 0;
    int annotationHeight = 0;
    int names = 0;
    mutable Painted header;
    mutable Painted footer;
};

/// A strip of the view outside its viewport (the fixed header or footer), painted by its owner.
class PanelStrip : public QWidget {
public:
    explicit PanelStrip(QWidget* parent, std::function<void(QPainter&, QSize)> paint);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::function<void(QPainter&, QSize)> paint;
};
