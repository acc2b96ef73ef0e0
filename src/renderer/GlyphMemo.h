#pragma once

#include <QFont>
#include <QImage>
#include <QSize>
#include <array>
#include <cstdint>

class QPixmap;

/// The cells of recently drawn residues, by the residue's key and the cell's state (selected, fixed,
/// masked), each a glyph of the glyph cache made into an opaque cell-sized image. A strip copies its cells
/// from here row by row, without building the glyph cache's key, searching its tree or going through a
/// painter for every cell. Direct-mapped, so it never grows; it holds the cells of one font and cell size and
/// forgets them when another comes. One per thread, like the glyph cache: pictures of different fonts are
/// drawn on several threads at once.
class GlyphMemo {
public:
    enum CellState : unsigned { Selected = 1, Fixed = 2, Masked = 4 };

    static GlyphMemo& Shared();

    /// Forgets every cell unless they were made for `font` and `cell`.
    void UseFont(const QFont& font, QSize cell);
    /// The pixels of the cell remembered for this residue and state (its lines one after another), or null.
    const QRgb* Find(std::uint64_t residue, unsigned state) const;
    /// Makes `glyph` (null: none could be drawn) into the cell of this residue and state; the cell is white
    /// where the glyph is missing or translucent, and the glyph's pixels beyond the cell are cut off.
    QImage Remember(std::uint64_t residue, unsigned state, const QPixmap* glyph);

private:
    struct Entry {
        std::uint64_t residue = 0;
        unsigned state = 0;
        QImage cell;
        const QRgb* pixels = nullptr;  // the cell's; null: empty entry
    };
    static constexpr int kEntryBits = 10;
    static constexpr std::size_t kEntries = std::size_t(1) << kEntryBits;

    static std::size_t EntryOf(std::uint64_t residue, unsigned state);

    std::array<Entry, kEntries> entries{};
    QFont font;
    QSize cellSize;
    bool hasFont = false;
};
