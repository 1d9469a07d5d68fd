#include "ui/board_view.h"

#include "platform/application.h"
#include "ui/board_geometry.h"

namespace {

// Resizes a tile, fills it with its canvas's brush (white unless someone
// changed it) and stretches its image over it, so that an empty image leaves
// a white tile.
void RebuildTile(TBitmap& tile, const TBitmap& image, int width, int height) {
    tile.SetWidth(width);
    tile.SetHeight(height);
    const TRect whole = Rect(0, 0, width, height);
    tile.Canvas().FillRect(whole);
    tile.Canvas().StretchDraw(whole, image);
}

}  // namespace

void CreateBoardBitmaps(TBoardBitmaps& b) {
    for (auto* slot : {&b.bmpBoard, &b.bmpHole, &b.bmpRedStone, &b.bmpBlueStone, &b.bmpBorderL,
                       &b.bmpBorderR, &b.bmpBorderB, &b.bmpBorderRB, &b.bmpBorderLB, &b.imgBoard,
                       &b.imgRedStone, &b.imgBlueStone, &b.imgBorderL, &b.imgBorderR, &b.imgBorderB,
                       &b.imgBorderRB, &b.imgBorderLB}) {
        *slot = std::make_unique<TBitmap>();
    }
}

bool LoadBoardImages(TBoardBitmaps& b) {
    TBitmap* const targets[] = {b.imgBoard.get(),    b.imgRedStone.get(), b.imgBlueStone.get(),
                                b.imgBorderL.get(),  b.imgBorderR.get(),  b.imgBorderB.get(),
                                b.imgBorderRB.get(), b.imgBorderLB.get()};
    static_assert(std::size(targets) == kBoardImageFiles.size());
    try {
        for (std::size_t i = 0; i < kBoardImageFiles.size(); ++i) {
            targets[i]->LoadFromFile(GetCurrentDir() + "/images/" + kBoardImageFiles[i]);
        }
    } catch (...) {
        // Whatever went wrong, the user can only reinstall; the caller says so.
        return false;
    }
    return true;
}

void ScaleTiles(TBoardBitmaps& b, int pbW, int pbH) {
    b.bmpBoard->SetWidth(BoardBitmapWidth(pbW, pbH));
    b.bmpBoard->SetHeight(BoardBitmapHeight(b.bmpBoard->Width()));
    // The tiles follow the width the board bitmap actually has.
    const int W = b.bmpBoard->Width();

    const int T = CellTileSize(W);
    RebuildTile(*b.bmpHole, *b.imgBoard, T, T);
    RebuildTile(*b.bmpRedStone, *b.imgRedStone, T, T);
    RebuildTile(*b.bmpBlueStone, *b.imgBlueStone, T, T);

    const int B = BorderTileSize(W);
    RebuildTile(*b.bmpBorderL, *b.imgBorderL, B, B);
    // One pixel wider, so that it reaches the board's right edge.
    RebuildTile(*b.bmpBorderR, *b.imgBorderR, B + 1, B);
    RebuildTile(*b.bmpBorderB, *b.imgBorderB, B, B);
    RebuildTile(*b.bmpBorderRB, *b.imgBorderRB, B, B);
    RebuildTile(*b.bmpBorderLB, *b.imgBorderLB, B, B);
}

void DrawCell(TBoardBitmaps& b, int column, int row, int kind) {
    const TBitmap* tile = kind == kHoleTile   ? b.bmpHole.get()
                          : kind == kBlueTile ? b.bmpBlueStone.get()
                          : kind == kRedTile  ? b.bmpRedStone.get()
                                              : nullptr;
    if (tile == nullptr) return;
    const int W = b.bmpBoard->Width();
    b.bmpBoard->Canvas().Draw(CellLeft(W, column), CellTop(W, row), *tile);
}

void ComposeBoard(TBoardBitmaps& b, const TPosition& position) {
    TCanvas& canvas = b.bmpBoard->Canvas();
    const int W = b.bmpBoard->Width();
    const int H = b.bmpBoard->Height();

    // A board narrower than 34 pixels has border tiles 0 wide and steps that
    // do not advance; those loops stop instead of spinning.
    const int xR = RightBorderLeft(W);
    for (int y = 0; y < H;) {
        canvas.Draw(0, y, *b.bmpBorderL);
        canvas.Draw(xR, y, *b.bmpBorderR);
        const int next = NextBorderTile(y, W);
        if (next <= y) break;
        y = next;
    }
    const int yB = BottomBorderTop(W);
    for (int x = 0; x < W;) {
        canvas.Draw(x, yB, *b.bmpBorderB);
        const int next = NextBorderTile(x, W);
        if (next <= x) break;
        x = next;
    }
    // The corners go over both ends of the bottom border, the cells over
    // everything they reach into.
    canvas.Draw(RightCornerLeft(W), CornerTop(W, H), *b.bmpBorderRB);
    canvas.Draw(0, CornerTop(W, H), *b.bmpBorderLB);

    for (int column = 0; column < kColumns; ++column) {
        for (int row = 0; row < kRows; ++row) {
            const int bit = 1 << row;
            const int kind = (position.Stones[Blue][column] & bit) != 0  ? kBlueTile
                             : (position.Stones[Red][column] & bit) != 0 ? kRedTile
                                                                         : kHoleTile;
            DrawCell(b, column, row, kind);
        }
    }
}

std::array<TCellCode, 4> WinningLine(const TPosition& position) {
    // The board inside a margin of three empty cells, so that every cell a
    // test reads from a board cell lies inside the grid.
    constexpr int kMargin = 3;
    constexpr int kSide = 13;
    int grid[kSide][kSide];
    for (auto& line : grid) {
        for (int& cell : line) cell = -1;
    }
    for (int column = 0; column < kColumns; ++column) {
        for (int row = 0; row < kRows; ++row) {
            const int bit = 1 << row;
            int& cell = grid[column + kMargin][row + kMargin];
            if ((position.Stones[Blue][column] & bit) != 0) {
                cell = Blue;
            } else if ((position.Stones[Red][column] & bit) != 0) {
                cell = Red;
            }
        }
    }

    struct Direction {
        int dc, dr;
    };
    // Right, up, up-right, up-left: for one starting cell a later direction
    // replaces an earlier one.
    constexpr Direction kDirections[] = {{1, 0}, {0, 1}, {1, 1}, {-1, 1}};

    std::array<TCellCode, 4> line = {kNoCell, kNoCell, kNoCell, kNoCell};
    for (int column = 0; column < kColumns; ++column) {
        for (int row = 0; row < kRows; ++row) {
            const int v = grid[column + kMargin][row + kMargin];
            if (v == -1) continue;
            for (const Direction d : kDirections) {
                bool four = true;
                for (int k = 1; k < 4; ++k) {
                    four = four && grid[column + k * d.dc + kMargin][row + k * d.dr + kMargin] == v;
                }
                if (!four) continue;
                for (std::size_t k = 0; k < line.size(); ++k) {
                    const int step = static_cast<int>(k);
                    line[k] = (column + step * d.dc) * 256 + (row + step * d.dr);
                }
            }
        }
    }
    return line;
}
