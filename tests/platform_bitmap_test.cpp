#include <gtest/gtest.h>
#include <unistd.h>

#include <QImage>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "platform/bitmap.h"
#include "platform/exception.h"
#include "tests/platform_bmp_builder.h"

namespace {

// A bitmap whose every pixel has its own colour: x in red, y in green.
void FillDistinct(TBitmap& bitmap, int width, int height) {
    bitmap.SetSize(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            bitmap.Canvas().Brush.Color = RgbColor(x, y, 7);
            bitmap.Canvas().FillRect(Rect(x, y, x + 1, y + 1));
        }
    }
}

// Every pixel of `bitmap` as one string row per line: '.' for `background`,
// otherwise the source x and y encoded by FillDistinct, like "2,1".
std::vector<std::string> Picture(const TBitmap& bitmap, TColor background) {
    std::vector<std::string> rows;
    for (int y = 0; y < bitmap.Height(); ++y) {
        std::string row;
        for (int x = 0; x < bitmap.Width(); ++x) {
            const TColor c = bitmap.Pixel(x, y);
            if (!row.empty()) row += ' ';
            row += c == background ? std::string(".")
                                   : std::to_string(c >> 16) + "," + std::to_string((c >> 8) & 255);
        }
        rows.push_back(row);
    }
    return rows;
}

TEST(Bitmap, StartsEmptyAndResizesKeepingOldPixelsAndWhiteningNewOnes) {
    TBitmap bitmap;
    EXPECT_EQ(bitmap.Width(), 0);
    EXPECT_EQ(bitmap.Height(), 0);
    EXPECT_TRUE(bitmap.Image().isNull());
    EXPECT_EQ(bitmap.Pixel(0, 0), clNone);

    // A width set before the height is kept, though there are no pixels yet.
    bitmap.SetWidth(2);
    EXPECT_EQ(bitmap.Width(), 2);
    EXPECT_EQ(bitmap.Height(), 0);
    EXPECT_TRUE(bitmap.Image().isNull());
    EXPECT_EQ(bitmap.Pixel(0, 0), clNone);
    bitmap.SetHeight(2);
    bitmap.Canvas().Brush.Color = clNavy;
    bitmap.Canvas().FillRect(Rect(0, 0, 2, 2));
    bitmap.SetWidth(3);
    EXPECT_EQ(bitmap.Width(), 3);
    EXPECT_EQ(bitmap.Height(), 2);
    EXPECT_EQ(bitmap.Pixel(1, 1), clNavy);
    EXPECT_EQ(bitmap.Pixel(2, 0), clWhite);
    EXPECT_EQ(bitmap.Pixel(3, 0), clNone);
    EXPECT_EQ(bitmap.Image().format(), QImage::Format_RGB32);

    bitmap.SetHeight(-5);
    EXPECT_EQ(bitmap.Width(), 3);
    EXPECT_EQ(bitmap.Height(), 0);
    EXPECT_TRUE(bitmap.Image().isNull());
}

TEST(Canvas, FillRectFillsRightAndBottomExclusiveClippedToTheBitmap) {
    TBitmap bitmap;
    bitmap.SetSize(4, 3);
    EXPECT_EQ(bitmap.Canvas().Brush.Color, clWhite);
    bitmap.Canvas().Brush.Color = clBlack;
    bitmap.Canvas().FillRect(Rect(-5, 1, 2, 99));
    bitmap.Canvas().FillRect(Rect(3, 0, 2, 3));  // right < left: nothing
    bitmap.Canvas().FillRect(Rect(INT32_MIN, INT32_MIN, INT32_MIN + 1, 0));
    EXPECT_EQ(Picture(bitmap, clWhite),
              (std::vector<std::string>{". . . .", "0,0 0,0 . .", "0,0 0,0 . ."}));
}

TEST(Canvas, DrawCopiesAtTheSourceSizeClippedOnEverySide) {
    TBitmap source;
    FillDistinct(source, 3, 2);
    TBitmap target;
    target.SetSize(4, 3);
    target.Canvas().Draw(2, 1, source);
    EXPECT_EQ(Picture(target, clWhite),
              (std::vector<std::string>{". . . .", ". . 0,0 1,0", ". . 0,1 1,1"}));

    TBitmap other;
    other.SetSize(4, 3);
    other.Canvas().Draw(-2, -1, source);
    EXPECT_EQ(Picture(other, clWhite),
              (std::vector<std::string>{"2,1 . . .", ". . . .", ". . . ."}));

    TBitmap empty;
    other.Canvas().Draw(0, 0, empty);
    other.Canvas().Draw(INT32_MAX, INT32_MAX, source);
    EXPECT_EQ(other.Pixel(0, 0), RgbColor(2, 1, 7));
}

TEST(Canvas, DrawOfABitmapOntoItselfReadsTheOriginalPixels) {
    TBitmap bitmap;
    FillDistinct(bitmap, 3, 1);
    bitmap.Canvas().Draw(1, 0, bitmap);
    EXPECT_EQ(Picture(bitmap, clWhite), (std::vector<std::string>{"0,0 0,0 1,0"}));
}

// Destination pixel dx of a stretch from sw to dw pixels shows source pixel
// dx * sw / dw, truncated; the same rule holds for rows.
TEST(Canvas, StretchDrawPicksSourcePixelsByTruncatedProportion) {
    struct Case {
        int sourceWidth;
        int destWidth;
        std::vector<int> sourceX;
    };
    const std::vector<Case> cases = {
        {4, 10, {0, 0, 0, 1, 1, 2, 2, 2, 3, 3}},
        {5, 3, {0, 1, 3}},
        {57, 1, {0}},
        {1, 3, {0, 0, 0}},
        {3, 3, {0, 1, 2}},
        {13, 12, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}},  // drops only the last column
        {12, 13, {0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.sourceWidth) + " -> " + std::to_string(c.destWidth));
        TBitmap source;
        FillDistinct(source, c.sourceWidth, c.sourceWidth);
        TBitmap target;
        target.SetSize(c.destWidth, c.destWidth);
        target.Canvas().StretchDraw(Rect(0, 0, c.destWidth, c.destWidth), source);
        for (int d = 0; d < c.destWidth; ++d) {
            const int from = c.sourceX[static_cast<std::size_t>(d)];
            EXPECT_EQ(target.Pixel(d, 0), RgbColor(from, 0, 7)) << "column " << d;
            EXPECT_EQ(target.Pixel(0, d), RgbColor(0, from, 7)) << "row " << d;
        }
    }
}

TEST(Canvas, StretchDrawMeasuresFromTheRectNotFromItsVisiblePart) {
    TBitmap source;
    FillDistinct(source, 2, 2);
    TBitmap target;
    target.SetSize(3, 3);
    // Rect 4 x 4 from (-1, -1): pixel d of the rect shows source d * 2 / 4.
    target.Canvas().StretchDraw(Rect(-1, -1, 3, 3), source);
    EXPECT_EQ(Picture(target, clWhite),
              (std::vector<std::string>{"0,0 1,0 1,0", "0,1 1,1 1,1", "0,1 1,1 1,1"}));
}

TEST(Canvas, StretchDrawOfNothingOrIntoNothingDrawsNothing) {
    TBitmap source;
    FillDistinct(source, 2, 2);
    TBitmap empty;
    TBitmap target;
    target.SetSize(2, 2);
    target.Canvas().StretchDraw(Rect(0, 0, 2, 2), empty);
    target.Canvas().StretchDraw(Rect(2, 0, 0, 2), source);  // mirrored rect
    target.Canvas().StretchDraw(Rect(0, 0, 2, 0), source);
    EXPECT_EQ(Picture(target, clWhite), (std::vector<std::string>{". .", ". ."}));
    // The tile size of a 0 x 0 board: 2 x 2 cells and empty borders.
    TBitmap tile;
    tile.SetSize(2, 2);
    tile.Canvas().FillRect(Rect(0, 0, 2, 2));
    tile.Canvas().StretchDraw(Rect(0, 0, 2, 2), source);
    EXPECT_EQ(tile.Pixel(1, 1), RgbColor(1, 1, 7));
}

class BitmapFile : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("fourfall-bitmap-test-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::permissions(dir_ / "locked.bmp", std::filesystem::perms::owner_all, ec);
        std::filesystem::remove_all(dir_, ec);
    }

    std::string Write(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        const std::filesystem::path path = dir_ / name;
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return path.string();
    }

    // Loading `path` must throw an Exception naming the file and `reason`, and
    // leave the loaded 1 x 1 bitmap as it was.
    void ExpectLoadFails(const std::string& path, const std::string& reason) {
        SCOPED_TRACE(path);
        TBitmap bitmap;
        bitmap.LoadFromFile(Write("one.bmp", MakeBmp24(1, 1, {0x123456})));
        try {
            bitmap.LoadFromFile(path);
            ADD_FAILURE() << "no exception";
        } catch (const Exception& e) {
            EXPECT_NE(e.Message().find(path), std::string::npos) << e.Message();
            EXPECT_NE(e.Message().find(reason), std::string::npos) << e.Message();
        }
        EXPECT_EQ(bitmap.Width(), 1);
        EXPECT_EQ(bitmap.Pixel(0, 0), 0x123456u);
    }

    std::filesystem::path dir_;
};

TEST_F(BitmapFile, LoadsABmpFileWithItsSizeAndColours) {
    TBitmap bitmap;
    bitmap.LoadFromFile(Write("board.bmp", MakeBmp24(2, 3, {1, 2, 3, 4, 5, 0xABCDEF})));
    EXPECT_EQ(bitmap.Width(), 2);
    EXPECT_EQ(bitmap.Height(), 3);
    EXPECT_EQ(bitmap.Pixel(0, 0), 1u);
    EXPECT_EQ(bitmap.Pixel(1, 2), 0xABCDEFu);
    EXPECT_EQ(bitmap.Image().format(), QImage::Format_RGB32);
}

TEST_F(BitmapFile, RefusesWhatIsNotAReadableBmpFile) {
    QImage png(4, 4, QImage::Format_RGB32);
    png.fill(Qt::red);
    const std::string renamed = (dir_ / "png.bmp").string();
    ASSERT_TRUE(png.save(QString::fromStdString(renamed), "PNG"));
    ExpectLoadFails(renamed, "no BM signature");

    std::vector<std::uint8_t> truncated = MakeBmp24(4, 4, std::vector<std::uint32_t>(16, 0));
    truncated.resize(truncated.size() - 10);
    ExpectLoadFails(Write("short.bmp", truncated), "truncated");
    ExpectLoadFails(Write("garbage.bmp", {'B', 'M', 1, 2, 3}), "too short");
    ExpectLoadFails(Write("empty.bmp", {}), "too short");
    ExpectLoadFails((dir_ / "missing.bmp").string(), "file not found");
    std::filesystem::create_directory(dir_ / "dir.bmp");
    ExpectLoadFails((dir_ / "dir.bmp").string(), "directory");
    ExpectLoadFails("/dev/null", "not a regular file");
}

TEST_F(BitmapFile, RefusesAnUnreadableFile) {
    const std::string path = Write("locked.bmp", MakeBmp24(1, 1, {0}));
    std::filesystem::permissions(path, std::filesystem::perms::none);
    if (std::ifstream(path).is_open()) GTEST_SKIP() << "running with rights to read any file";
    ExpectLoadFails(path, "cannot open");
}

}  // namespace

namespace {

// The board images as committed: each of the eight file names the game loads,
// spelled exactly, holds a BMP that the loader accepts.
TEST(BoardImages, AllEightLoad) {
    const std::vector<std::pair<std::string, int>> images = {
        {"board.bmp", 57},   {"drstone.bmp", 57}, {"dbstone.bmp", 57},  {"borderL.bmp", 12},
        {"borderR.bmp", 12}, {"borderB.bmp", 12}, {"borderRB.bmp", 12}, {"borderLB.bmp", 12},
    };
    for (const auto& [name, height] : images) {
        SCOPED_TRACE(name);
        TBitmap bitmap;
        ASSERT_NO_THROW(bitmap.LoadFromFile(std::string(FOURFALL_IMAGES_DIR) + "/" + name));
        EXPECT_EQ(bitmap.Height(), height);
        EXPECT_GE(bitmap.Width(), height);
    }
}

}  // namespace
