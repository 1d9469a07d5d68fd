// A strict decoder for Windows BMP files, in plain C++ so that it can be
// fuzzed on its own.
//
// Accepted: the OS/2 core header (12 bytes) and the Windows headers of 40
// bytes and more (V2..V5); 1, 4, 8, 16, 24 and 32 bits per pixel; BI_RGB,
// BI_RLE8, BI_RLE4, BI_BITFIELDS and BI_ALPHABITFIELDS; rows stored bottom-up
// (positive height) or top-down (negative height, uncompressed only).
//
// Everything the file declares is checked against the bytes it holds before
// anything large is allocated, so that no file, however it is built, makes
// us hold more than kBmpMaxPixels pixels (64 MB at four bytes a pixel):
//   - 1 <= width, height <= kBmpMaxSide and width * height <= kBmpMaxPixels;
//   - uncompressed pixel data must lie wholly inside the file;
//   - RLE images may not declare more than kBmpRlePixelsPerByte pixels per
//     byte of compressed data (plus kBmpRleFreePixels). One two-byte run
//     code paints at most 255 pixels, so data made of runs never exceeds
//     127.5 pixels a byte and every honestly encoded image passes; only files
//     that leave most of the picture to line-end, delta and end codes, which
//     paint nothing, are refused. The allowance keeps small pictures with
//     such skips loading;
//   - RLE runs, deltas and rows must stay inside the image, and palette
//     indices inside the palette.
// Any violation is a decoding failure with a one-line reason.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

constexpr std::int32_t kBmpMaxSide = 16384;
constexpr std::int64_t kBmpMaxPixels = std::int64_t{1} << 24;  // 4096 x 4096
constexpr std::int64_t kBmpRlePixelsPerByte = 128;
constexpr std::int64_t kBmpRleFreePixels = std::int64_t{1} << 16;

// A decoded picture. `pixels` holds width * height values, row by row from
// the top, each 0xFFRRGGBB (opaque; alpha in the file is ignored). Pixels that
// an RLE image skips with a delta or an end-of-line code are black.
struct BmpImage {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint32_t> pixels;
};

// Decodes the BMP file held in `file`. On success fills `image` and returns
// true; on failure returns false, leaves `image` empty and puts a short
// reason (no trailing full stop) into `error`.
bool DecodeBmp(std::span<const std::uint8_t> file, BmpImage& image, std::string& error);
