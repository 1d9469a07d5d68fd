// Small value types shared by the bitmap and canvas code.
//
// TColor is 0x00RRGGBB: red in bits 16..23, green in 8..15, blue in 0..7 and
// the top byte zero (unlike the Windows 0x00BBGGRR layout, it matches Qt's
// RGB32 pixels). clNone is the one value with a non-zero top byte.
//
// TRect spans Left <= x < Right and Top <= y < Bottom: the right and bottom
// edges are exclusive. A rect with Right <= Left or Bottom <= Top is empty.
#pragma once

#include <cstdint>

using TColor = std::uint32_t;

constexpr TColor RgbColor(int red, int green, int blue) {
    return (static_cast<TColor>(red & 0xFF) << 16) | (static_cast<TColor>(green & 0xFF) << 8) |
           static_cast<TColor>(blue & 0xFF);
}

constexpr TColor clBlack = RgbColor(0, 0, 0);
constexpr TColor clWhite = RgbColor(255, 255, 255);
constexpr TColor clNavy = RgbColor(0, 0, 128);
constexpr TColor clNone = 0xFFFFFFFFu;

struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    constexpr int Width() const { return Right - Left; }
    constexpr int Height() const { return Bottom - Top; }
    constexpr bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    friend constexpr bool operator==(const TRect&, const TRect&) = default;
};

constexpr TRect Rect(int left, int top, int right, int bottom) {
    return TRect{left, top, right, bottom};
}
