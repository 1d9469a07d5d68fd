// Board geometry: where the board sits in the paint box, how big its tiles
// are, and which column a click falls in.
//
// The board is drawn on a bitmap W x H pixels, centred in the paint box. It
// has a border of width b on the left, the right and the bottom (none at the
// top) and seven columns of cells with pitch c between the side borders:
//
//   |<b>|<-c->|<-c->|<-c->|<-c->|<-c->|<-c->|<-c->|<b>|
//   +---+-----+-----+-----+-----+-----+-----+-----+---+  row 5
//   |   |     |     |     |     |     |     |     |   |   ...
//   |   |     |     |     |     |     |     |     |   |  row 0
//   +---+-----+-----+-----+-----+-----+-----+-----+---+
//   |               bottom border, height b             |
//   0                                                   W
//
//   symbol  type   definition (pbW x pbH = paint box size)
//   F       int    pbW, or pbH * 7 / 6 when pbW * 6 / 7 > pbH (7:6 fit)
//   W       int    F x 0.9 truncated                (= 9 * F / 10)
//   m       int    W * 6 / 7
//   H       int    m x 0.97 truncated               (= (97 * m - 1) / 100, m >= 1)
//   b       float  W x 0.03                         border width, not whole pixels
//   c       float  (W - 2b) x (1/7)                 cell pitch
//   T       int    (W - 2b) x (1/7) + 2 as float, truncated (= 47 * W / 350 + 2)
//   B       int    b truncated                      (= 3 * W / 100) border tile size
//   B0      int    W x 0.03 truncated               (= (3 * W - 1) / 100, W >= 1)
//   c0      float  (W - 2 * B0) x (1/7)             pitch of the drawn cells
//
// The exact values matter, because a click one pixel off a boundary picks a
// different column and the tiles must cover the board without gaps. So:
//   - integer divisions and conversions to integers truncate toward zero;
//   - 0.9, 0.97, 0.03 and 1/7 are their double-precision values, and an
//     integer times one of them is formed exactly (in long double, whose
//     64-bit mantissa is enough for these sizes) before it is truncated or
//     rounded. double(0.97) lies just below 0.97, so m = 100 gives H = 96;
//     double(0.03) lies just below 0.03, so B0 = B - 1 for W a multiple of 100;
//   - products with 1/7 are formed with 64 significant bits before they are
//     rounded to float. double(1/7) lies just below 1/7, so a quotient that
//     falls halfway between two floats rounds down: W = 296 gives
//     c = 39.748569, where a double product would give 39.748573;
//   - b, c, c0 and the intermediate of T are rounded to nearest float when
//     they are formed; every later sum or product with whole numbers (such as
//     7c + b, or L + k c in ColumnAt) is exact in double and never rounded to
//     float.
//
// Worked values: paint box 461 x 519 gives W 414, H 343, b 12.42,
// c 55.594284, T 57, B 12; 445 x 400 gives W 400, H 331, b 12, c 53.714287,
// T 55, B 12, B0 11, c0 54.
//
// Negative sizes (which no widget reports) are treated as 0.
#pragma once

struct TBoardGeometry {
    int W = 0;    // board bitmap width
    int H = 0;    // board bitmap height
    float b = 0;  // border width
    float c = 0;  // cell pitch
    int T = 0;    // cell tile size, T x T
    int B = 0;    // border tile size, B x B (the right one is B + 1 wide)
};

// Everything the window's rescale needs for a paint box of pbW x pbH.
TBoardGeometry BoardGeometryFor(int pbW, int pbH);

// The single steps, for callers that hold W from the board bitmap.
int BoardBitmapWidth(int pbW, int pbH);
int BoardBitmapHeight(int W);
float BorderWidth(int W);
float CellPitch(int W);
int CellTileSize(int W);
int BorderTileSize(int W);
int WholeBorder(int W);       // B0
float WholeCellPitch(int W);  // c0

// Column (0..6) of a click at X pixels from the paint box's left edge, for a
// paint box `paintBoxWidth` wide showing a board bitmap `boardWidth` wide.
// Only X counts: anything left of the board is column 0, anything right of it
// column 6. With L = (paintBoxWidth - boardWidth) / 2 + b (rounded to float),
// the column is the number of k in 1..6 with X >= L + k c, so a click exactly
// on a boundary belongs to the column on its right. The boundaries follow the
// unrounded border b, not the whole pixels at which the cells are drawn.
int ColumnAt(int X, int paintBoxWidth, int boardWidth);

// Where the tiles of a board bitmap W x H go, in the bitmap's pixels. The
// sums are formed exactly in double from the float b, c and c0 and then
// truncated, as the header comment describes.
//
//   CellLeft(W, column)    B0 + column x c0      left edge of a cell tile
//   CellTop(W, row)        (5 - row) x c0        top edge; row 0 is the bottom
//   RightBorderLeft(W)     7c + b                x of the right border tiles
//   BottomBorderTop(W)     6c                    y of the bottom border tiles
//   NextBorderTile(p, W)   p + b                 the next side or bottom tile
//   RightCornerLeft(W)     W - b + 1             x of the bottom-right corner
//   CornerTop(W, H)        H - b                 y of both bottom corners
//
// Worked values for 414 x 343: cells at x 12, 67, 123, 179, 234, 290, 346 and
// y 278, 222, 167, 111, 55, 0; right border at 401; bottom border at 333;
// corners at (0, 330) and (402, 330).
int CellLeft(int W, int column);
int CellTop(int W, int row);
int RightBorderLeft(int W);
int BottomBorderTop(int W);
int NextBorderTile(int position, int W);
int RightCornerLeft(int W);
int CornerTop(int W, int H);

// Offset at which a board `boardSize` pixels long is shown in a paint box
// `paintBoxSize` long: half the difference, truncated toward zero, so an odd
// spare pixel goes to the right or bottom.
int BoardOffset(int paintBoxSize, int boardSize);
