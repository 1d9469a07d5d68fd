#include "ui/board_geometry.h"

#include <algorithm>
#include <cstdint>

namespace {

// The double-precision constants of the geometry. Products with them are
// taken in long double so that they are exact (or, for 1/7, carry 64
// significant bits) before the one rounding or truncation that follows.
constexpr double kBoardShare = 0.9;
constexpr double kHeightShare = 0.97;
constexpr double kBorderShare = 0.03;
constexpr double kOneSeventh = 1.0 / 7.0;

int NonNegative(int v) { return std::max(v, 0); }

long double Exact(int whole, double constant) {
    return static_cast<long double>(whole) * static_cast<long double>(constant);
}

// Truncation of a non-negative value that fits an int by construction.
int Truncate(long double v) { return static_cast<int>(v); }

// (width - 2 * border) x (1/7) before any rounding to float.
long double SeventhOfInside(int W, long double border) {
    return (static_cast<long double>(W) - 2.0L * border) * static_cast<long double>(kOneSeventh);
}

}  // namespace

int BoardBitmapWidth(int pbW, int pbH) {
    pbW = NonNegative(pbW);
    pbH = NonNegative(pbH);
    // Fit the widest 7:6 rectangle into the paint box; 64-bit products keep
    // huge sizes from overflowing.
    const std::int64_t fitted =
        static_cast<std::int64_t>(pbW) * 6 / 7 > pbH ? static_cast<std::int64_t>(pbH) * 7 / 6 : pbW;
    return Truncate(static_cast<long double>(fitted) * static_cast<long double>(kBoardShare));
}

int BoardBitmapHeight(int W) {
    const int m = static_cast<int>(static_cast<std::int64_t>(NonNegative(W)) * 6 / 7);
    return Truncate(Exact(m, kHeightShare));
}

float BorderWidth(int W) { return static_cast<float>(Exact(NonNegative(W), kBorderShare)); }

float CellPitch(int W) {
    W = NonNegative(W);
    return static_cast<float>(SeventhOfInside(W, BorderWidth(W)));
}

int CellTileSize(int W) {
    W = NonNegative(W);
    // The +2 is added before the rounding to float, then the float is truncated.
    return Truncate(static_cast<float>(SeventhOfInside(W, BorderWidth(W)) + 2.0L));
}

int BorderTileSize(int W) { return Truncate(BorderWidth(W)); }

int WholeBorder(int W) { return Truncate(Exact(NonNegative(W), kBorderShare)); }

float WholeCellPitch(int W) {
    W = NonNegative(W);
    return static_cast<float>(SeventhOfInside(W, WholeBorder(W)));
}

TBoardGeometry BoardGeometryFor(int pbW, int pbH) {
    TBoardGeometry g;
    g.W = BoardBitmapWidth(pbW, pbH);
    g.H = BoardBitmapHeight(g.W);
    g.b = BorderWidth(g.W);
    g.c = CellPitch(g.W);
    g.T = CellTileSize(g.W);
    g.B = BorderTileSize(g.W);
    return g;
}

int ColumnAt(int X, int paintBoxWidth, int boardWidth) {
    // The board bitmap is shown at this x offset, halved toward zero; taken
    // in 64 bits so that no pair of widths can overflow.
    const std::int64_t offs =
        (static_cast<std::int64_t>(paintBoxWidth) - static_cast<std::int64_t>(boardWidth)) / 2;
    const float b = BorderWidth(boardWidth);
    const float c = CellPitch(boardWidth);
    const float L = static_cast<float>(static_cast<long double>(offs) + b);
    int column = 0;
    for (int k = 1; k < 7; ++k) {
        // L + k c is exact in double: both terms are floats, k has 3 bits.
        if (static_cast<double>(X) >= static_cast<double>(L) + k * static_cast<double>(c)) ++column;
    }
    return column;
}

namespace {

// Truncation toward zero of a sum that is exact in double.
int TruncateExact(double v) { return static_cast<int>(v); }

}  // namespace

int CellLeft(int W, int column) {
    return TruncateExact(WholeBorder(W) + column * static_cast<double>(WholeCellPitch(W)));
}

int CellTop(int W, int row) {
    return TruncateExact((5 - row) * static_cast<double>(WholeCellPitch(W)));
}

int RightBorderLeft(int W) {
    return TruncateExact(7 * static_cast<double>(CellPitch(W)) + BorderWidth(W));
}

int BottomBorderTop(int W) { return TruncateExact(6 * static_cast<double>(CellPitch(W))); }

int NextBorderTile(int position, int W) {
    return TruncateExact(position + static_cast<double>(BorderWidth(W)));
}

int RightCornerLeft(int W) { return TruncateExact(W - static_cast<double>(BorderWidth(W)) + 1); }

int CornerTop(int W, int H) { return TruncateExact(H - static_cast<double>(BorderWidth(W))); }

int BoardOffset(int paintBoxSize, int boardSize) {
    return static_cast<int>(
        (static_cast<std::int64_t>(paintBoxSize) - static_cast<std::int64_t>(boardSize)) / 2);
}
