// Builds small BMP files in memory for the decoder and bitmap tests.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

struct BmpLayout {
    std::uint32_t headerSize = 40;  // 12 for the OS/2 core header; 40, 108 or 124 otherwise
    std::int32_t width = 0;
    std::int32_t height = 0;  // negative: rows stored top-down
    std::uint16_t bitsPerPixel = 24;
    std::uint16_t planes = 1;
    std::uint32_t compression = 0;
    std::uint32_t coloursUsed = 0;
    std::vector<std::uint32_t> palette;  // 0xRRGGBB
    std::vector<std::uint32_t> masks;    // written after a 40-byte header, inside bigger ones
    std::vector<std::uint8_t> data;      // the pixel data exactly as stored
};

inline void Put16(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v) {
    out[at] = static_cast<std::uint8_t>(v);
    out[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

inline void Put32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v) {
    Put16(out, at, v);
    Put16(out, at + 2, v >> 16);
}

inline std::vector<std::uint8_t> MakeBmp(const BmpLayout& s) {
    const bool core = s.headerSize == 12;
    const std::size_t maskBytes = s.headerSize == 40 ? s.masks.size() * 4 : 0;
    const std::size_t entry = core ? 3 : 4;
    const std::size_t offBits = 14 + s.headerSize + maskBytes + s.palette.size() * entry;
    std::vector<std::uint8_t> out(offBits, 0);
    out[0] = 'B';
    out[1] = 'M';
    Put32(out, 2, static_cast<std::uint32_t>(offBits + s.data.size()));
    Put32(out, 10, static_cast<std::uint32_t>(offBits));
    Put32(out, 14, s.headerSize);
    if (core) {
        Put16(out, 18, static_cast<std::uint32_t>(s.width));
        Put16(out, 20, static_cast<std::uint32_t>(s.height));
        Put16(out, 22, s.planes);
        Put16(out, 24, s.bitsPerPixel);
    } else {
        Put32(out, 18, static_cast<std::uint32_t>(s.width));
        Put32(out, 22, static_cast<std::uint32_t>(s.height));
        Put16(out, 26, s.planes);
        Put16(out, 28, s.bitsPerPixel);
        Put32(out, 30, s.compression);
        Put32(out, 34, static_cast<std::uint32_t>(s.data.size()));
        Put32(out, 46, s.coloursUsed);
        for (std::size_t i = 0; i < s.masks.size(); ++i) Put32(out, 54 + 4 * i, s.masks[i]);
    }
    std::size_t at = 14 + s.headerSize + maskBytes;
    for (std::uint32_t c : s.palette) {
        out[at] = static_cast<std::uint8_t>(c);
        out[at + 1] = static_cast<std::uint8_t>(c >> 8);
        out[at + 2] = static_cast<std::uint8_t>(c >> 16);
        at += entry;
    }
    out.insert(out.end(), s.data.begin(), s.data.end());
    return out;
}

// Stored rows: each given row is padded with zeros to a multiple of 4 bytes.
inline std::vector<std::uint8_t> Rows(std::initializer_list<std::vector<std::uint8_t>> rows) {
    std::vector<std::uint8_t> out;
    for (const auto& row : rows) {
        out.insert(out.end(), row.begin(), row.end());
        out.resize((out.size() + 3) / 4 * 4, 0);
    }
    return out;
}

// A 24-bit BMP of the given pixels (0xRRGGBB, row by row from the top).
inline std::vector<std::uint8_t> MakeBmp24(int width, int height,
                                           const std::vector<std::uint32_t>& pixels) {
    BmpLayout s;
    s.width = width;
    s.height = height;
    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
    s.data.assign(stride * static_cast<std::size_t>(height), 0);
    for (int y = 0; y < height; ++y) {
        const std::size_t row = static_cast<std::size_t>(height - 1 - y) * stride;
        for (int x = 0; x < width; ++x) {
            const std::uint32_t c = pixels[static_cast<std::size_t>(y * width + x)];
            const std::size_t at = row + 3 * static_cast<std::size_t>(x);
            s.data[at] = static_cast<std::uint8_t>(c);
            s.data[at + 1] = static_cast<std::uint8_t>(c >> 8);
            s.data[at + 2] = static_cast<std::uint8_t>(c >> 16);
        }
    }
    return MakeBmp(s);
}
