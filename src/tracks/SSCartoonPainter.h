#pragma once

#include <QPixmap>
#include <QSize>
#include <memory>
#include <string>

class QPainter;

/// Draws secondary-structure cartoon lines: one cell per column, a shaded tube for a helix ('H'), a bar
/// ending in an arrow head for a sheet ('S'), a thin tube for coil and a dashed line for a gap ('-').
/// Paints five one-cell templates once and assembles lines from them.
class SSCartoonPainter {
public:
    SSCartoonPainter(int cellWidth, int cellHeight, unsigned helixColour, unsigned sheetColour,
                     unsigned coilColour, unsigned gapColour);
    ~SSCartoonPainter();

    void BuildTemplates();
    void ReleaseTemplates();
    /// A new pixmap of the string's cartoon (string length x cell width by cell height), owned by the
    /// caller; null when it cannot be allocated.
    std::unique_ptr<QPixmap> CartoonPixmap(const std::string& ssString) const;

    /// Paints the string's cartoon onto `painter` with its first cell's top-left corner at (x, y): the
    /// shapes of CartoonPixmap as rectangles, polygons and lines, for vector devices.
    void PaintCartoon(QPainter& painter, const std::string& ssString, int x, int y) const;

    static void PaintTube(QPainter& painter, int x1, int y1, int x2, int y2, unsigned colour);
    static void PaintDashedLine(QPainter& painter, int x1, int y1, int x2, int y2, unsigned colour);

    /// The lighter shades of a tube: `eighths` of the way from `colour` towards full red and green.
    static unsigned TubeShade(unsigned colour, int eighths);

private:
    enum class CellShape { Helix, Coil, Sheet, SheetEnd, Gap };
    static CellShape ShapeFor(const std::string& ssString, std::size_t index);
    void PaintCell(QPainter& painter, CellShape shape, int x, int y) const;
    /// The template for the character at `index`; null when that template could not be made.
    const QPixmap* TemplateFor(const std::string& ssString, std::size_t index) const;

    QSize cellSize;
    std::unique_ptr<QPixmap> helixTemplate;
    std::unique_ptr<QPixmap> coilTemplate;
    std::unique_ptr<QPixmap> sheetTemplate;
    std::unique_ptr<QPixmap> sheetEndTemplate;
    std::unique_ptr<QPixmap> gapTemplate;
    unsigned helixColour;
    unsigned sheetColour;
    unsigned coilColour;
    unsigned gapColour;
};
