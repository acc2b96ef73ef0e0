#pragma once

#include <cstdint>

namespace Common {

/// An RGBA colour packed into 32 bits with red in the low byte, then green, blue and alpha
/// (the packing of colour properties). Alpha 0 in a stored property means "opaque".
class Color {
public:
    Color() = default;
    Color(std::uint8_t red, std::uint8_t green, std::uint8_t blue, std::uint8_t alpha = 0xFF)
        : packed_(red | (green << 8) | (blue << 16) | (std::uint32_t(alpha) << 24)) {}
    virtual ~Color() = default;
    Color(const Color&) = default;
    Color& operator=(const Color&) = default;

    /// From the red-in-low-byte packing.
    static Color FromPacked(std::uint32_t packed) {
        Color c;
        c.packed_ = packed;
        return c;
    }
    /// From the Qt packing 0xAARRGGBB.
    static Color FromArgb(std::uint32_t argb) {
        return Color((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF, (argb >> 24) & 0xFF);
    }

    std::uint8_t Red() const { return packed_ & 0xFF; }
    std::uint8_t Green() const { return (packed_ >> 8) & 0xFF; }
    std::uint8_t Blue() const { return (packed_ >> 16) & 0xFF; }
    std::uint8_t Alpha() const { return (packed_ >> 24) & 0xFF; }
    std::uint32_t Packed() const { return packed_; }

    bool operator==(const Color& other) const { return packed_ == other.packed_; }
    bool operator!=(const Color& other) const { return packed_ != other.packed_; }

private:
    std::uint32_t packed_ = 0xFF000000u;  // opaque black
};

}  // namespace Common
