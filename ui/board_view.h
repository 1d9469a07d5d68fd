// The board picture: the eight board images, the tiles scaled from them to
// the paint box, the composed board bitmap, and the winning four.
//
// These functions only draw on bitmaps; the window shows the result. Sizes
// and positions come from ui/board_geometry.h.
#pragma once

#include <array>
#include <memory>
#include <string>

#include "engine/position.h"
#include "platform/bitmap.h"

// The window's 17 bitmaps. The `img` ones hold the images as loaded and never
// change afterwards; the `bmp` tiles and bmpBoard are sized only by
// ScaleTiles. All are null until CreateBoardBitmaps.
struct TBoardBitmaps {
    std::unique_ptr<TBitmap> bmpBoard;      // composed board, W x H
    std::unique_ptr<TBitmap> bmpHole;       // empty cell, T x T
    std::unique_ptr<TBitmap> bmpRedStone;   // cell with a Red stone, T x T
    std::unique_ptr<TBitmap> bmpBlueStone;  // cell with a Blue stone, T x T
    std::unique_ptr<TBitmap> bmpBorderL;    // B x B
    std::unique_ptr<TBitmap> bmpBorderR;    // (B + 1) x B
    std::unique_ptr<TBitmap> bmpBorderB;    // B x B
    std::unique_ptr<TBitmap> imgBoard;
    std::unique_ptr<TBitmap> imgRedStone;
    std::unique_ptr<TBitmap> imgBlueStone;
    std::unique_ptr<TBitmap> imgBorderL;
    std::unique_ptr<TBitmap> imgBorderR;
    std::unique_ptr<TBitmap> imgBorderB;
    std::unique_ptr<TBitmap> imgBorderRB;
    std::unique_ptr<TBitmap> bmpBorderRB;  // B x B
    std::unique_ptr<TBitmap> imgBorderLB;
    std::unique_ptr<TBitmap> bmpBorderLB;  // B x B

    bool Exist() const { return bmpBoard != nullptr; }
};

// Makes all 17 bitmaps, empty.
void CreateBoardBitmaps(TBoardBitmaps& bitmaps);

// The image files under `<current directory>/images/`, in loading order.
inline constexpr std::array<const char*, 8> kBoardImageFiles = {
    "board.bmp",   "drstone.bmp", "dbstone.bmp",  "borderL.bmp",
    "borderR.bmp", "borderB.bmp", "borderRB.bmp", "borderLB.bmp"};

// Loads the eight images in the order of kBoardImageFiles, reading the current
// directory afresh for each. Stops at the first file that fails and returns
// false; the images after it stay empty.
bool LoadBoardImages(TBoardBitmaps& bitmaps);

// Sizes bmpBoard for a paint box of pbW x pbH and rebuilds the eight tiles
// from the images: each tile is filled white, then the image is stretched
// over it.
void ScaleTiles(TBoardBitmaps& bitmaps, int pbW, int pbH);

// What DrawCell draws: 0 the hole, 1 a Blue stone, 2 a Red stone; any other
// value draws nothing.
enum TCellKind : int { kHoleTile = 0, kBlueTile = 1, kRedTile = 2 };

// Draws the tile of `kind` for a cell (column 0..6 from the left, row 0..5
// from the bottom) on bmpBoard. Nothing reaches the screen.
void DrawCell(TBoardBitmaps& bitmaps, int column, int row, int kind);

// Composes the whole board on bmpBoard from the tiles and `position`: side
// borders, bottom border, corners, then the 42 cells over them. Every pixel
// of a board at least 34 wide is covered, so nothing is cleared first.
void ComposeBoard(TBoardBitmaps& bitmaps, const TPosition& position);

// A cell as column * 256 + row; -1 for none.
using TCellCode = int;
inline constexpr TCellCode kNoCell = -1;

// The four in a row that blinks: the cells of the last four found when the
// board is scanned column by column from the left, each column from the
// bottom, testing from each stone right, up, up-right and up-left in that
// order. So a horizontal four counts from its leftmost cell, the others from
// their lowest, and of overlapping fours the one starting furthest along
// wins. All four codes are kNoCell when no four stands on the board.
std::array<TCellCode, 4> WinningLine(const TPosition& position);
