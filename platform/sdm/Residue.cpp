#include "sdm/Residue.h"

#include <array>
#include <atomic>
#include <map>
#include <mutex>
#include <unordered_map>
#include <vector>

namespace SDM {

namespace {

constexpr std::size_t kTableCapacity = 0x10000;  // indexes are 16 bits

// Append-only: an index once handed out keeps its colour for the life of the process. Models are read and
// drawn on several threads at once: entries are added under the lock, into storage reserved once (so none
// ever moves), and read without it up to the count published after each entry is written.
struct Palette {
    std::vector<Common::Color> colors;
    std::unordered_map<std::uint32_t, std::uint16_t> indexOf;
    std::mutex adding;
    std::atomic<std::size_t> published{0};

    Palette() {
        colors.reserve(kTableCapacity);
        intern(Common::Color(0xFF, 0xFF, 0xFF));  // 0: white
        intern(Common::Color(0, 0, 0));           // 1: black
    }

    std::uint16_t intern(const Common::Color& color) {
        // Each thread remembers what it asked for: a model's few colours are looked up without the lock.
        thread_local std::unordered_map<std::uint32_t, std::uint16_t> seen;
        const auto known = seen.find(color.Packed());
        if (known != seen.end()) return known->second;
        const std::uint16_t index = add(color);
        seen.emplace(color.Packed(), index);
        return index;
    }

    Common::Color at(std::uint16_t index) const {
        return index < published.load(std::memory_order_acquire) ? colors.data()[index]
                                                                 : Common::Color(0, 0, 0);
    }

    std::uint16_t add(const Common::Color& color) {
        const std::lock_guard<std::mutex> lock(adding);
        auto found = indexOf.find(color.Packed());
        if (found != indexOf.end()) return found->second;
        if (colors.size() >= kTableCapacity) return nearest(color);
        auto index = std::uint16_t(colors.size());
        colors.push_back(color);
        indexOf.emplace(color.Packed(), index);
        published.store(colors.size(), std::memory_order_release);
        return index;
    }

    // Only reached once 65536 distinct colours exist.
    std::uint16_t nearest(const Common::Color& color) const {
        std::uint16_t best = 0;
        long bestDistance = -1;
        for (std::size_t i = 0; i < colors.size(); ++i) {
            long dr = long(colors[i].Red()) - color.Red();
            long dg = long(colors[i].Green()) - color.Green();
            long db = long(colors[i].Blue()) - color.Blue();
            long distance = dr * dr + dg * dg + db * db;
            if (bestDistance < 0 || distance < bestDistance) {
                bestDistance = distance;
                best = std::uint16_t(i);
            }
        }
        return best;
    }
};

Palette& SharedPalette() {
    static Palette palette;
    return palette;
}

// Shared by threads as the palette is: added under the lock, read up to the published count.
struct MarkTable {
    using Key = std::array<std::uint32_t, 3>;
    std::vector<MarkColors> entries;
    std::map<Key, std::uint16_t> indexOf;
    std::mutex adding;
    std::atomic<std::size_t> published{0};

    MarkTable() {
        entries.reserve(kTableCapacity);
        intern(MarkColors());  // 0: all black
    }

    MarkColors at(std::uint16_t index) const {
        return index < published.load(std::memory_order_acquire) ? entries.data()[index] : MarkColors();
    }

    static Key keyOf(const MarkColors& colors) {
        return {colors.underline.Packed(), colors.overline.Packed(), colors.caret.Packed()};
    }

    std::uint16_t intern(const MarkColors& colors) {
        const std::lock_guard<std::mutex> lock(adding);
        Key key = keyOf(colors);
        auto found = indexOf.find(key);
        if (found != indexOf.end()) return found->second;
        if (entries.size() >= kTableCapacity) return 0;
        auto index = std::uint16_t(entries.size());
        entries.push_back(colors);
        indexOf.emplace(key, index);
        published.store(entries.size(), std::memory_order_release);
        return index;
    }
};

MarkTable& SharedMarks() {
    static MarkTable table;
    return table;
}

// Highlight colour that selected backgrounds are pulled towards.
const Common::Color kSelectionBlue(0x10, 0x20, 0x90);

std::uint8_t Blend(std::uint8_t from, std::uint8_t to, int towardsPercent) {
    return std::uint8_t((from * (100 - towardsPercent) + to * towardsPercent) / 100);
}

}  // namespace

Residue::Residue(char code, const Common::Color& background, const Common::Color& text)
    : code_(code), background_(PaletteIndex(background)), text_(PaletteIndex(text)) {}

std::uint16_t Residue::PaletteIndex(const Common::Color& color) {
    return SharedPalette().intern(color);
}

Common::Color Residue::PaletteColor(std::uint16_t index) {
    return SharedPalette().at(index);
}

Common::Color Residue::getStateColor(ResidueAttributes::ColorType type, bool selected) const {
    switch (type) {
        case ResidueAttributes::Background: {
            Common::Color background = PaletteColor(background_);
            return selected ? SelectedBackground(background) : background;
        }
        case ResidueAttributes::Text: {
            Common::Color text = PaletteColor(text_);
            return selected ? SelectedText(text) : text;
        }
        case ResidueAttributes::Underline:
            return getMarkColors().underline;
        case ResidueAttributes::Overline:
            return getMarkColors().overline;
        case ResidueAttributes::Caret:
            return getMarkColors().caret;
    }
    return Common::Color(0, 0, 0);
}

void Residue::setBackground(const Common::Color& color) {
    background_ = PaletteIndex(color);
}
void Residue::setText(const Common::Color& color) {
    text_ = PaletteIndex(color);
}

void Residue::setMarkColors(const MarkColors& colors) {
    marks_ = SharedMarks().intern(colors);
}

MarkColors Residue::getMarkColors() const {
    return SharedMarks().at(marks_);
}

Common::Color SelectedBackground(const Common::Color& background) {
    // Strongly towards dark blue, so the highlight reads on every scheme colour and white text stays legible.
    constexpr int towards = 75;
    return Common::Color(Blend(background.Red(), kSelectionBlue.Red(), towards),
                         Blend(background.Green(), kSelectionBlue.Green(), towards),
                         Blend(background.Blue(), kSelectionBlue.Blue(), towards), 0xFF);
}

Common::Color SelectedText(const Common::Color& text) {
    (void)text;  // every selected letter is white on the dark highlight
    return Common::Color(0xFF, 0xFF, 0xFF);
}

}  // namespace SDM
