#include "renderer/GlyphMemo.h"

#include <QPainter>
#include <QPixmap>

GlyphMemo& GlyphMemo::Shared() {
    thread_local GlyphMemo memo;
    return memo;
}

void GlyphMemo::UseFont(const QFont& newFont, QSize cell) {
    if (hasFont && cellSize == cell && font == newFont) return;
    entries.fill(Entry());
    font = newFont;
    cellSize = cell;
    hasFont = true;
}

std::size_t GlyphMemo::EntryOf(std::uint64_t residue, unsigned state) {
    const std::uint64_t mixed = (residue ^ (std::uint64_t(state) << 61)) * 0x9E3779B97F4A7C15ull;
    return std::size_t(mixed >> (64 - kEntryBits));
}

const QRgb* GlyphMemo::Find(std::uint64_t residue, unsigned state) const {
    const Entry& entry = entries[EntryOf(residue, state)];
    return entry.residue == residue && entry.state == state ? entry.pixels : nullptr;
}

QImage GlyphMemo::Remember(std::uint64_t residue, unsigned state, const QPixmap* glyph) {
    QImage cell(cellSize, QImage::Format_RGB32);
    cell.fill(Qt::white);
    if (!glyph) return cell;  // not remembered: the glyph may be drawn next time
    {
        QPainter painter(&cell);
        painter.drawPixmap(0, 0, *glyph);
    }
    // Lines of 32-bit pixels need no padding: the cell's lines lie one after another.
    entries[EntryOf(residue, state)] =
        Entry{residue, state, cell, reinterpret_cast<const QRgb*>(cell.constBits())};
    return cell;
}
