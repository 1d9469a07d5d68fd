// The drawing surface of a TBitmap. A canvas has no pixels of its own: it
// draws into its bitmap's image, clipped to the bitmap's bounds.
//
// Every operation is opaque: drawn pixels replace what was there. The brush
// colour starts as clWhite, the default brush of a new bitmap.
//
// StretchDraw uses a plain pixel-repeating stretch (nearest neighbour, no
// filtering). For a source of sw x sh pixels drawn into a rect of dw x dh,
// destination pixel (Left + dx, Top + dy), 0 <= dx < dw, 0 <= dy < dh, takes
// source pixel (dx * sw / dw, dy * sh / dh), both divisions truncating. So an
// enlargement repeats source pixels and a reduction drops some, and the
// first destination pixel always shows the first source pixel.
#pragma once

#include "platform/graphics_types.h"

class QImage;
class TBitmap;

struct TBrush {
    TColor Color = clWhite;
};

class TCanvas {
  public:
    explicit TCanvas(QImage& target) : target_(target) {}
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    TBrush Brush;

    // Fills `rect` (right and bottom exclusive) with Brush.Color. An empty rect
    // fills nothing.
    void FillRect(const TRect& rect);

    // Copies `source` with its top-left corner at (x, y), at its own size.
    // A source of width or height 0 draws nothing.
    void Draw(int x, int y, const TBitmap& source);

    // Stretches `source` over `rect` by the rule in the header comment. An
    // empty rect (including one with Right < Left or Bottom < Top) or an empty
    // source draws nothing.
    void StretchDraw(const TRect& rect, const TBitmap& source);

  private:
    QImage& target_;
};
