#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/bmp_decode.h"
#include "tests/platform_bmp_builder.h"

namespace {

constexpr std::uint32_t R = 0xFF0000, G = 0x00FF00, B = 0x0000FF;
constexpr std::uint32_t W = 0xFFFFFF, K = 0x000000, Y = 0xFFFF00;

struct Valid {
    const char* name;
    BmpLayout layout;
    int width;
    int height;
    std::vector<std::uint32_t> expected;  // 0xRRGGBB from the top row down
};

BmpLayout Layout(int width, int height, std::uint16_t bpp, std::vector<std::uint8_t> data) {
    BmpLayout s;
    s.width = width;
    s.height = height;
    s.bitsPerPixel = bpp;
    s.data = std::move(data);
    return s;
}

BmpLayout With(BmpLayout s, auto change) {
    change(s);
    return s;
}

// Top row R G B, bottom row W K Y, stored bottom-up in 24 bits.
const std::vector<std::uint8_t> kRgbRows24 =
    Rows({{0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0xFF, 0xFF}, {0, 0, 0xFF, 0, 0xFF, 0, 0xFF, 0, 0}});
const std::vector<std::uint32_t> kRgbPicture = {R, G, B, W, K, Y};

std::vector<Valid> ValidFiles() {
    return {
        {"24 bits bottom-up", Layout(3, 2, 24, kRgbRows24), 3, 2, kRgbPicture},
        {"24 bits top-down",
         Layout(3, -2, 24,
                Rows({{0, 0, 0xFF, 0, 0xFF, 0, 0xFF, 0, 0},
                      {0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0xFF, 0xFF}})),
         3, 2, kRgbPicture},
        {"24 bits, last row without padding",
         Layout(3, 2, 24, std::vector<std::uint8_t>(kRgbRows24.begin(), kRgbRows24.end() - 3)), 3,
         2, kRgbPicture},
        {"OS/2 core header, 24 bits",
         With(Layout(3, 2, 24, kRgbRows24), [](BmpLayout& s) { s.headerSize = 12; }), 3, 2,
         kRgbPicture},
        {"32 bits", Layout(2, 1, 32, {0, 0, 0xFF, 0x77, 0xFF, 0, 0, 0x77}), 2, 1, {R, B}},
        {"16 bits 5-5-5, five-bit values widened",
         Layout(2, 1, 16, {0x00, 0x7C, 0x10, 0x42}),
         2,
         1,
         {R, 0x838383}},
        {"16 bits 5-6-5 bit fields after a 40-byte header",
         With(Layout(3, 1, 16, Rows({{0x00, 0xF8, 0xE0, 0x07, 0xE0, 0xFF}})),
              [](BmpLayout& s) {
                  s.compression = 3;
                  s.masks = {0xF800, 0x07E0, 0x001F};
              }),
         3,
         1,
         {R, G, Y}},
        {"32 bits, bit fields inside a 124-byte header, channels swapped",
         With(Layout(2, 1, 32, {0xFF, 0, 0, 0, 0, 0xFF, 0, 0}),
              [](BmpLayout& s) {
                  s.headerSize = 124;
                  s.compression = 3;
                  s.masks = {0x0000FF, 0x00FF00, 0xFF0000};
              }),
         2,
         1,
         {R, G}},
        {"8-bit palette",
         With(Layout(3, 2, 8, Rows({{3, 4, 5}, {0, 1, 2}})),
              [](BmpLayout& s) { s.palette = {R, G, B, W, K, Y}; }),
         3, 2, kRgbPicture},
        {"8-bit palette, OS/2 core header",
         With(Layout(3, 2, 8, Rows({{3, 4, 5}, {0, 1, 2}})),
              [](BmpLayout& s) {
                  s.headerSize = 12;
                  s.palette = {R, G, B, W, K, Y};
              }),
         3, 2, kRgbPicture},
        {"4-bit palette, odd width",
         With(Layout(3, 2, 4, Rows({{0x34, 0x50}, {0x01, 0x20}})),
              [](BmpLayout& s) { s.palette = {R, G, B, W, K, Y}; }),
         3, 2, kRgbPicture},
        {"1-bit palette, row across two bytes",
         With(Layout(9, 2, 1, Rows({{0xFF, 0x00}, {0xAA, 0x80}})),
              [](BmpLayout& s) {
                  s.palette = {K, W};
              }),
         9,
         2,
         {W, K, W, K, W, K, W, K, W, W, W, W, W, W, W, W, W, K}},
        {"RLE8 with runs, absolute runs, a delta, line ends",
         With(Layout(4, 3, 8, {0, 4, 2, 2, 3, 3, 0, 0,          // bottom row: absolute G G B B
                               0, 2, 1, 0, 1, 2, 1, 3, 0, 0,    // skip one, then G, B
                               0, 3, 1, 1, 1, 0, 1, 1, 0, 1}),  // absolute R R R (padded), R, end
              [](BmpLayout& s) {
                  s.compression = 1;
                  s.palette = {K, R, G, B};
              }),
         4,
         3,
         {R, R, R, R, K, G, B, K, G, G, B, B}},
        {"RLE4 with an alternating run and an absolute run",
         With(Layout(5, 2, 4, {5, 0x12, 0, 0, 0, 3, 0x31, 0x20, 2, 0x33, 0, 1}),
              [](BmpLayout& s) {
                  s.compression = 2;
                  s.palette = {K, R, G, B};
              }),
         5,
         2,
         {B, R, G, B, B, R, G, R, G, R}},
    };
}

TEST(BmpDecode, DecodesEveryDepthAndCompressionItSupports) {
    for (const Valid& c : ValidFiles()) {
        SCOPED_TRACE(c.name);
        BmpImage image;
        std::string error;
        ASSERT_TRUE(DecodeBmp(MakeBmp(c.layout), image, error)) << error;
        ASSERT_EQ(image.width, c.width);
        ASSERT_EQ(image.height, c.height);
        ASSERT_EQ(image.pixels.size(), c.expected.size());
        for (std::size_t i = 0; i < c.expected.size(); ++i) {
            EXPECT_EQ(image.pixels[i], 0xFF000000u | c.expected[i]) << "pixel " << i;
        }
    }
}

struct Broken {
    const char* name;
    std::vector<std::uint8_t> file;
    const char* error;
};

std::vector<std::uint8_t> Raw(const BmpLayout& s, auto change) {
    std::vector<std::uint8_t> file = MakeBmp(s);
    change(file);
    return file;
}

BmpLayout Rle8(int width, int height, std::vector<std::uint8_t> data) {
    BmpLayout s = Layout(width, height, 8, std::move(data));
    s.compression = 1;
    s.palette = {K, R};
    return s;
}

std::vector<Broken> BrokenFiles() {
    const BmpLayout good = Layout(3, 2, 24, kRgbRows24);
    const BmpLayout indexed = With(Layout(3, 2, 8, Rows({{3, 4, 5}, {0, 1, 2}})),
                                   [](BmpLayout& s) { s.palette = {R, G, B, W, K, Y}; });
    return {
        {"empty file", {}, "too short"},
        {"signature only", {'B', 'M'}, "too short"},
        {"a PNG file",
         {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 0x0D, 'I', 'H', 'D', 'R', 0, 0},
         "no BM signature"},
        {"unknown header size", Raw(good, [](auto& f) { Put32(f, 14, 20); }), "header size 20"},
        {"header larger than the file", Raw(good, [](auto& f) { Put32(f, 14, 4000); }),
         "too short for its 4000-byte header"},
        {"zero width", MakeBmp(With(good, [](BmpLayout& s) { s.width = 0; })), "width 0"},
        {"negative width", MakeBmp(With(good, [](BmpLayout& s) { s.width = -3; })), "width -3"},
        {"zero height", MakeBmp(With(good, [](BmpLayout& s) { s.height = 0; })), "height is zero"},
        {"most negative height", MakeBmp(With(good, [](BmpLayout& s) { s.height = INT32_MIN; })),
         "too large"},
        {"width beyond the side limit",
         MakeBmp(With(good, [](BmpLayout& s) { s.width = kBmpMaxSide + 1; })), "too large"},
        {"huge declared size, tiny data",
         MakeBmp(With(good, [](BmpLayout& s) { s.width = s.height = 4096; })), "truncated"},
        {"huge declared RLE image", MakeBmp(With(Rle8(4000, 4000, {0, 1}), [](BmpLayout&) {})),
         "holds only 2 bytes"},
        {"two planes", MakeBmp(With(good, [](BmpLayout& s) { s.planes = 2; })), "plane count 2"},
        {"2 bits per pixel", MakeBmp(With(good, [](BmpLayout& s) { s.bitsPerPixel = 2; })),
         "bit depth 2"},
        {"0 bits per pixel", MakeBmp(With(good, [](BmpLayout& s) { s.bitsPerPixel = 0; })),
         "bit depth 0"},
        {"16 bits in an OS/2 core header",
         MakeBmp(With(good,
                      [](BmpLayout& s) {
                          s.headerSize = 12;
                          s.bitsPerPixel = 16;
                      })),
         "bit depth 16"},
        {"JPEG compression", MakeBmp(With(good, [](BmpLayout& s) { s.compression = 4; })),
         "compression 4"},
        {"RLE8 on 24 bits", MakeBmp(With(good, [](BmpLayout& s) { s.compression = 1; })),
         "RLE8 compression needs 8 bits"},
        {"RLE4 on 8 bits", MakeBmp(With(indexed, [](BmpLayout& s) { s.compression = 2; })),
         "RLE4 compression needs 4 bits"},
        {"bit fields on 24 bits",
         MakeBmp(With(good,
                      [](BmpLayout& s) {
                          s.compression = 3;
                          s.masks = {0xFF0000, 0xFF00, 0xFF};
                      })),
         "bit fields need 16 or 32"},
        {"bit fields without their masks",
         Raw(Layout(1, 1, 32, {}), [](auto& f) { Put32(f, 30, 3); }), "colour masks"},
        {"a mask in two pieces",
         MakeBmp(With(Layout(1, 1, 32, {0, 0, 0, 0}),
                      [](BmpLayout& s) {
                          s.compression = 3;
                          s.masks = {0xF0F000, 0xFF00, 0xFF};
                      })),
         "one run of bits"},
        {"top-down RLE", MakeBmp(Rle8(2, -2, {2, 1, 0, 1})), "top-down"},
        {"palette bigger than the depth allows",
         MakeBmp(With(indexed,
                      [](BmpLayout& s) {
                          s.bitsPerPixel = 4;
                          s.coloursUsed = 17;
                      })),
         "palette of 17 colours"},
        {"palette claimed larger than stored",
         MakeBmp(With(indexed, [](BmpLayout& s) { s.coloursUsed = 200; })), "palette does not fit"},
        {"pixel offset past the end", Raw(good, [](auto& f) { Put32(f, 10, 5000); }),
         "offset 5000"},
        {"pixel offset inside the header", Raw(good, [](auto& f) { Put32(f, 10, 20); }),
         "offset 20"},
        {"truncated pixel data", Raw(good, [](auto& f) { f.erase(f.end() - 4, f.end()); }),
         "truncated: 21 bytes needed, 20 present"},
        {"palette index out of range",
         MakeBmp(With(indexed,
                      [](BmpLayout& s) {
                          s.data = Rows({{3, 4, 5}, {0, 9, 2}});
                      })),
         "palette index 9 out of range (palette has 6 colours)"},
        {"RLE run overruns its row", MakeBmp(Rle8(2, 2, {3, 1, 0, 1})), "overruns"},
        {"RLE absolute run overruns its row", MakeBmp(Rle8(2, 2, {0, 3, 1, 1, 1, 0, 0, 1})),
         "overruns"},
        {"RLE absolute run truncated", MakeBmp(Rle8(4, 1, {0, 4, 1, 1})), "truncated"},
        {"RLE past the last row", MakeBmp(Rle8(1, 1, {0, 0, 1, 1, 0, 1})), "past the last row"},
        {"RLE with too many line ends", MakeBmp(Rle8(1, 1, {0, 0, 0, 0, 0, 1})), "too many rows"},
        {"RLE delta out of the image", MakeBmp(Rle8(2, 2, {0, 2, 3, 0, 0, 1})), "delta moves"},
        {"RLE delta cut off", MakeBmp(Rle8(2, 2, {0, 2, 1})), "delta is truncated"},
        {"RLE without an end code", MakeBmp(Rle8(2, 1, {2, 1})), "end-of-bitmap"},
        {"RLE palette index out of range", MakeBmp(Rle8(2, 1, {2, 7, 0, 1})), "palette index 7"},
        {"RLE4 nibble out of range",
         MakeBmp(With(Layout(2, 1, 4, {2, 0x05, 0, 1}),
                      [](BmpLayout& s) {
                          s.compression = 2;
                          s.palette = {K, R};
                      })),
         "palette index 5"},
    };
}

TEST(BmpDecode, RefusesBrokenFilesWithAReason) {
    for (const Broken& c : BrokenFiles()) {
        SCOPED_TRACE(c.name);
        BmpImage image;
        image.width = 99;
        std::string error;
        EXPECT_FALSE(DecodeBmp(c.file, image, error));
        EXPECT_NE(error.find(c.error), std::string::npos) << "error: " << error;
        EXPECT_EQ(image.width, 0);
        EXPECT_EQ(image.height, 0);
        EXPECT_TRUE(image.pixels.empty());
    }
}

// Every cut-off and every single-byte change of a valid file decodes or is
// refused cleanly: never a crash or a read outside the buffer (the sanitizer
// build checks the latter), and a success always yields a whole picture.
TEST(BmpDecode, SurvivesEveryTruncationAndByteChange) {
    for (const Valid& c : ValidFiles()) {
        SCOPED_TRACE(c.name);
        const std::vector<std::uint8_t> file = MakeBmp(c.layout);
        auto check = [](const std::vector<std::uint8_t>& bytes) {
            BmpImage image;
            std::string error;
            if (DecodeBmp(bytes, image, error)) {
                ASSERT_EQ(image.pixels.size(), static_cast<std::size_t>(image.width) *
                                                   static_cast<std::size_t>(image.height));
                ASSERT_TRUE(error.empty());
            } else {
                ASSERT_FALSE(error.empty());
                ASSERT_TRUE(image.pixels.empty());
            }
        };
        for (std::size_t n = 0; n < file.size(); ++n) {
            check(std::vector<std::uint8_t>(file.begin(),
                                            file.begin() + static_cast<std::ptrdiff_t>(n)));
        }
        for (std::size_t at = 0; at < file.size(); ++at) {
            for (const std::uint8_t value :
                 std::initializer_list<std::uint8_t>{0x00, 0x01, 0x7F, 0x80, 0xFF}) {
                std::vector<std::uint8_t> changed = file;
                changed[at] = value;
                check(changed);
            }
        }
    }
}

// RLE8 data that paints a whole width x height picture with colour 1 in runs
// of at most 255 pixels, the densest encoding a real writer produces.
std::vector<std::uint8_t> SolidRle8Rows(int width, int height) {
    std::vector<std::uint8_t> data;
    for (int y = 0; y < height; ++y) {
        for (int left = width; left > 0; left -= 255) {
            data.push_back(static_cast<std::uint8_t>(std::min(left, 255)));
            data.push_back(1);
        }
        data.insert(data.end(), {0, 0});
    }
    data.back() = 1;  // the last line end becomes the end of the bitmap
    return data;
}

// No file may make the decoder hold more than kBmpMaxPixels pixels, and a
// compressed file no more than its bytes can paint; pictures right at those
// limits still decode.
TEST(BmpDecode, KeepsEveryPictureWithinThePixelBudget) {
    // 1024 bytes of RLE data whose first code already ends the bitmap.
    std::vector<std::uint8_t> endFirst(1024, 0);
    endFirst[1] = 1;
    constexpr std::int64_t kEndFirstPixels = kBmpRleFreePixels + 1024 * kBmpRlePixelsPerByte;
    static_assert(kEndFirstPixels == 512 * 384);
    // What a hostile file looks like: a 64 KB RLE file of a 8192 x 8192
    // picture made of a single end-of-bitmap code.
    std::vector<std::uint8_t> hostile(65534 - 14 - 40 - 8, 0);
    hostile[1] = 1;

    struct Row {
        const char* name;
        BmpLayout layout;
        const char* error;  // nullptr: decodes
    } rows[] = {
        {"4096 x 4096 in runs, the most pixels allowed",
         Rle8(4096, 4096, SolidRle8Rows(4096, 4096)), nullptr},
        {"4096 x 4096 uncompressed at one bit a pixel",
         With(Layout(4096, 4096, 1, std::vector<std::uint8_t>(4096 * 512, 0xFF)),
              [](BmpLayout& s) {
                  s.palette = {K, W};
              }),
         nullptr},
        {"one row more than allowed", Rle8(4096, 4097, SolidRle8Rows(4096, 4097)), "too large"},
        {"as many pixels as 1024 bytes may declare", Rle8(512, 384, endFirst), nullptr},
        {"one row more than 1024 bytes may declare", Rle8(512, 385, endFirst), "holds only 1024"},
        {"64 KB declaring 8192 x 8192", Rle8(8192, 8192, hostile), "too large"},
        {"64 KB declaring 4096 x 4096", Rle8(4096, 4096, hostile), "holds only 65472 bytes"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        BmpImage image;
        std::string error;
        const bool ok = DecodeBmp(MakeBmp(r.layout), image, error);
        if (r.error == nullptr) {
            ASSERT_TRUE(ok) << error;
            EXPECT_EQ(static_cast<std::int64_t>(image.pixels.size()),
                      std::int64_t{r.layout.width} * r.layout.height);
        } else {
            EXPECT_FALSE(ok);
            EXPECT_NE(error.find(r.error), std::string::npos) << "error: " << error;
        }
    }
}

}  // namespace
