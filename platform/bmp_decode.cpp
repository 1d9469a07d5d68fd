#include "platform/bmp_decode.h"

#include <array>
#include <bit>

namespace {

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiRle8 = 1;
constexpr std::uint32_t kBiRle4 = 2;
constexpr std::uint32_t kBiBitfields = 3;
constexpr std::uint32_t kBiAlphaBitfields = 6;

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kV2HeaderSize = 52;  // the first to carry the colour masks itself
constexpr std::uint32_t kOpaqueBlack = 0xFF000000u;

std::uint16_t U16(std::span<const std::uint8_t> d, std::size_t at) {
    return static_cast<std::uint16_t>(d[at] | (d[at + 1] << 8));
}

std::uint32_t U32(std::span<const std::uint8_t> d, std::size_t at) {
    return static_cast<std::uint32_t>(d[at]) | (static_cast<std::uint32_t>(d[at + 1]) << 8) |
           (static_cast<std::uint32_t>(d[at + 2]) << 16) |
           (static_cast<std::uint32_t>(d[at + 3]) << 24);
}

std::int32_t I32(std::span<const std::uint8_t> d, std::size_t at) {
    return static_cast<std::int32_t>(U32(d, at));
}

std::uint32_t Rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    return kOpaqueBlack | (r << 16) | (g << 8) | b;
}

// One colour channel of a 16- or 32-bit pixel: where its bits sit and how to
// widen them to 8 bits.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    int bits = 0;

    std::uint32_t Extract(std::uint32_t pixel) const {
        if (bits == 0) return 0;
        const std::uint32_t v = (pixel & mask) >> shift;
        if (bits >= 8) return v >> (bits - 8);
        return v * 255u / ((1u << bits) - 1u);
    }
};

// Returns false when the mask's set bits are not one contiguous run.
bool MakeChannel(std::uint32_t mask, Channel& channel) {
    channel = Channel{};
    if (mask == 0) return true;
    const int shift = std::countr_zero(mask);
    const std::uint32_t run = mask >> shift;
    if ((run & (run + 1)) != 0) return false;
    channel.mask = mask;
    channel.shift = shift;
    channel.bits = std::popcount(run);
    return true;
}

// Everything the headers say, checked and normalised.
struct Layout {
    std::int32_t width = 0;
    std::int32_t height = 0;
    bool topDown = false;
    int bitsPerPixel = 0;
    std::uint32_t compression = kBiRgb;
    std::array<Channel, 3> channels;  // red, green, blue for 16 and 32 bits
    std::vector<std::uint32_t> palette;
    std::span<const std::uint8_t> data;  // from the pixel-data offset to the end of the file
};

class Decoder {
  public:
    Decoder(std::span<const std::uint8_t> file, BmpImage& image, std::string& error)
        : file_(file), image_(image), error_(error) {}

    bool Run() {
        if (!ReadHeaders() || !ReadPalette() || !CheckSize()) return false;
        image_.width = layout_.width;
        image_.height = layout_.height;
        image_.pixels.assign(
            static_cast<std::size_t>(layout_.width) * static_cast<std::size_t>(layout_.height),
            kOpaqueBlack);
        const bool ok = layout_.compression == kBiRle8 || layout_.compression == kBiRle4
                            ? DecodeRle()
                            : DecodeRows();
        if (!ok) image_ = BmpImage{};
        return ok;
    }

  private:
    bool Fail(std::string message) {
        error_ = std::move(message);
        return false;
    }

    bool ReadHeaders() {
        if (file_.size() < kFileHeaderSize + 4) return Fail("file too short for a BMP header");
        if (file_[0] != 'B' || file_[1] != 'M') return Fail("not a BMP file (no BM signature)");
        pixelOffset_ = U32(file_, 10);
        headerSize_ = U32(file_, kFileHeaderSize);
        if (headerSize_ != kCoreHeaderSize && headerSize_ < kInfoHeaderSize)
            return Fail("unsupported BMP header size " + std::to_string(headerSize_));
        if (headerSize_ > file_.size() - kFileHeaderSize)
            return Fail("file too short for its " + std::to_string(headerSize_) + "-byte header");
        const std::size_t h = kFileHeaderSize;
        std::int64_t width = 0;
        std::int64_t height = 0;
        int planes = 0;
        std::uint32_t coloursUsed = 0;
        if (headerSize_ == kCoreHeaderSize) {
            core_ = true;
            width = U16(file_, h + 4);
            height = U16(file_, h + 6);
            planes = U16(file_, h + 8);
            layout_.bitsPerPixel = U16(file_, h + 10);
        } else {
            width = I32(file_, h + 4);
            height = I32(file_, h + 8);
            planes = U16(file_, h + 12);
            layout_.bitsPerPixel = U16(file_, h + 14);
            layout_.compression = U32(file_, h + 16);
            coloursUsed = U32(file_, h + 32);
        }
        if (planes != 1) return Fail("bad plane count " + std::to_string(planes));
        if (width <= 0) return Fail("width " + std::to_string(width) + " is not positive");
        if (height == 0) return Fail("height is zero");
        layout_.topDown = height < 0;
        if (height < 0) height = -height;  // a 64-bit negation: INT32_MIN is safe here
        if (width > kBmpMaxSide || height > kBmpMaxSide || width * height > kBmpMaxPixels)
            return Fail("image of " + std::to_string(width) + " x " + std::to_string(height) +
                        " pixels is too large");
        layout_.width = static_cast<std::int32_t>(width);
        layout_.height = static_cast<std::int32_t>(height);
        coloursUsed_ = coloursUsed;
        return CheckDepthAndCompression() && ReadMasks();
    }

    bool CheckDepthAndCompression() {
        const int bpp = layout_.bitsPerPixel;
        const bool depthOk =
            core_ ? (bpp == 1 || bpp == 4 || bpp == 8 || bpp == 24)
                  : (bpp == 1 || bpp == 4 || bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32);
        if (!depthOk) return Fail("unsupported bit depth " + std::to_string(bpp));
        switch (layout_.compression) {
            case kBiRgb:
                return true;
            case kBiRle8:
                if (bpp != 8) return Fail("RLE8 compression needs 8 bits per pixel");
                break;
            case kBiRle4:
                if (bpp != 4) return Fail("RLE4 compression needs 4 bits per pixel");
                break;
            case kBiBitfields:
            case kBiAlphaBitfields:
                if (bpp != 16 && bpp != 32) return Fail("bit fields need 16 or 32 bits per pixel");
                return true;
            default:
                return Fail("unsupported compression " + std::to_string(layout_.compression));
        }
        if (layout_.topDown) return Fail("an RLE image cannot be stored top-down");
        return true;
    }

    // Sets the channels for 16- and 32-bit pixels and finds where the palette
    // starts: after the header, and after separate masks if there are any.
    bool ReadMasks() {
        paletteOffset_ = kFileHeaderSize + headerSize_;
        std::array<std::uint32_t, 3> masks{};
        if (layout_.compression == kBiBitfields || layout_.compression == kBiAlphaBitfields) {
            const std::size_t at = kFileHeaderSize + kInfoHeaderSize;
            if (headerSize_ < kV2HeaderSize) {
                const std::size_t maskBytes = layout_.compression == kBiAlphaBitfields ? 16 : 12;
                if (file_.size() < at + maskBytes)
                    return Fail("file too short for its colour masks");
                paletteOffset_ = at + maskBytes;
            }
            masks = {U32(file_, at), U32(file_, at + 4), U32(file_, at + 8)};
        } else if (layout_.bitsPerPixel == 16) {
            masks = {0x7C00, 0x03E0, 0x001F};
        } else if (layout_.bitsPerPixel == 32) {
            masks = {0xFF0000, 0x00FF00, 0x0000FF};
        }
        for (std::size_t i = 0; i < masks.size(); ++i) {
            if (!MakeChannel(masks[i], layout_.channels[i]))
                return Fail("colour mask is not one run of bits");
        }
        return true;
    }

    bool ReadPalette() {
        if (pixelOffset_ < paletteOffset_ || pixelOffset_ >= file_.size())
            return Fail("pixel data offset " + std::to_string(pixelOffset_) +
                        " lies outside the file");
        layout_.data = file_.subspan(pixelOffset_);
        if (layout_.bitsPerPixel > 8) return true;
        const std::size_t maxColours = std::size_t{1} << layout_.bitsPerPixel;
        const std::size_t entrySize = core_ ? 3 : 4;
        const std::size_t room = (pixelOffset_ - paletteOffset_) / entrySize;
        // Without a colour count (the core header never has one) the palette
        // fills the gap before the pixels, up to its full size; indices past
        // its end are caught where they are used.
        std::size_t count = std::min(maxColours, room);
        if (coloursUsed_ != 0) {
            if (coloursUsed_ > maxColours)
                return Fail("palette of " + std::to_string(coloursUsed_) +
                            " colours is too big for " + std::to_string(layout_.bitsPerPixel) +
                            "-bit pixels");
            count = coloursUsed_;
        }
        if (count == 0 || count > room) return Fail("palette does not fit before the pixel data");
        layout_.palette.resize(count);
        for (std::size_t i = 0; i < count; ++i) {
            const std::size_t at = paletteOffset_ + i * entrySize;
            layout_.palette[i] = Rgb(file_[at + 2], file_[at + 1], file_[at]);
        }
        return true;
    }

    bool CheckSize() {
        const std::int64_t pixels = std::int64_t{layout_.width} * layout_.height;
        const auto available = static_cast<std::int64_t>(layout_.data.size());
        if (layout_.compression == kBiRle8 || layout_.compression == kBiRle4) {
            if (pixels > kBmpRleFreePixels + available * kBmpRlePixelsPerByte)
                return Fail("RLE image declares " + std::to_string(pixels) +
                            " pixels but holds only " + std::to_string(available) + " bytes");
            return true;
        }
        const std::int64_t rowBits = std::int64_t{layout_.width} * layout_.bitsPerPixel;
        stride_ = (rowBits + 31) / 32 * 4;
        // The last row may lack its padding; some writers leave it out.
        const std::int64_t needed = (layout_.height - 1) * stride_ + (rowBits + 7) / 8;
        if (needed > available)
            return Fail("pixel data truncated: " + std::to_string(needed) + " bytes needed, " +
                        std::to_string(available) + " present");
        return true;
    }

    std::uint32_t* Row(std::int32_t fileRow) {
        const std::int32_t y = layout_.topDown ? fileRow : layout_.height - 1 - fileRow;
        return image_.pixels.data() +
               static_cast<std::size_t>(y) * static_cast<std::size_t>(layout_.width);
    }

    bool PaletteColour(unsigned index, std::uint32_t& colour) {
        if (index >= layout_.palette.size())
            return Fail("palette index " + std::to_string(index) + " out of range (palette has " +
                        std::to_string(layout_.palette.size()) + " colours)");
        colour = layout_.palette[index];
        return true;
    }

    std::uint32_t Masked(std::uint32_t v) const {
        return Rgb(layout_.channels[0].Extract(v), layout_.channels[1].Extract(v),
                   layout_.channels[2].Extract(v));
    }

    bool DecodeRows() {
        const int bpp = layout_.bitsPerPixel;
        for (std::int32_t r = 0; r < layout_.height; ++r) {
            const std::span<const std::uint8_t> src =
                layout_.data.subspan(static_cast<std::size_t>(r * stride_));
            std::uint32_t* out = Row(r);
            for (std::int32_t x = 0; x < layout_.width; ++x) {
                const auto ux = static_cast<std::size_t>(x);
                switch (bpp) {
                    case 1:
                    case 4:
                    case 8: {
                        const auto depth = static_cast<unsigned>(bpp);
                        const std::size_t bit = ux * depth;
                        const unsigned shift = 8u - depth - static_cast<unsigned>(bit % 8);
                        const unsigned index =
                            (static_cast<unsigned>(src[bit / 8]) >> shift) & ((1u << depth) - 1);
                        if (!PaletteColour(index, out[x])) return false;
                        break;
                    }
                    case 16:
                        out[x] = Masked(U16(src, ux * 2));
                        break;
                    case 24:
                        out[x] = Rgb(src[ux * 3 + 2], src[ux * 3 + 1], src[ux * 3]);
                        break;
                    default:
                        out[x] = Masked(U32(src, ux * 4));
                        break;
                }
            }
        }
        return true;
    }

    // Paints `count` pixels of a run at (x, y): RLE8 repeats `value`, RLE4
    // alternates its high and low nibbles.
    bool PutRun(std::int64_t x, std::int64_t y, unsigned count, std::uint8_t value) {
        if (!CheckRun(x, y, count)) return false;
        std::uint32_t* out = Row(static_cast<std::int32_t>(y)) + x;
        // The colours are looked up once per run: a picture at the pixel
        // budget is mostly long runs.
        std::uint32_t even = 0;
        std::uint32_t odd = 0;
        const bool rle8 = layout_.compression == kBiRle8;
        if (!PaletteColour(rle8 ? value : value >> 4u, even)) return false;
        if (rle8 || count < 2)
            odd = even;
        else if (!PaletteColour(value & 15u, odd))
            return false;
        for (unsigned k = 0; k < count; ++k) out[k] = k % 2 == 0 ? even : odd;
        return true;
    }

    bool CheckRun(std::int64_t x, std::int64_t y, unsigned count) {
        if (y >= layout_.height) return Fail("RLE data runs past the last row");
        if (x + count > layout_.width) return Fail("RLE run overruns the end of its row");
        return true;
    }

    bool DecodeRle() {
        const std::span<const std::uint8_t> d = layout_.data;
        const bool rle8 = layout_.compression == kBiRle8;
        std::int64_t x = 0;
        std::int64_t y = 0;  // rows counted from the first in the file, the bottom one
        std::size_t pos = 0;
        for (;;) {
            if (d.size() - pos < 2) return Fail("RLE data ends without an end-of-bitmap code");
            const std::uint8_t first = d[pos];
            const std::uint8_t second = d[pos + 1];
            pos += 2;
            if (first > 0) {
                if (!PutRun(x, y, first, second)) return false;
                x += first;
                continue;
            }
            switch (second) {
                case 0:  // end of line
                    x = 0;
                    if (++y > layout_.height) return Fail("RLE data has too many rows");
                    break;
                case 1:  // end of bitmap
                    return true;
                case 2:  // delta: move right and up
                    if (d.size() - pos < 2) return Fail("RLE delta is truncated");
                    x += d[pos];
                    y += d[pos + 1];
                    pos += 2;
                    if (x > layout_.width || y > layout_.height)
                        return Fail("RLE delta moves outside the image");
                    break;
                default: {  // absolute run of `second` pixels, padded to a 16-bit boundary
                    const unsigned count = second;
                    const std::size_t bytes = rle8 ? count : (count + 1) / 2;
                    const std::size_t padded = bytes + bytes % 2;
                    if (d.size() - pos < padded) return Fail("RLE absolute run is truncated");
                    if (!CheckRun(x, y, count)) return false;
                    std::uint32_t* out = Row(static_cast<std::int32_t>(y)) + x;
                    for (unsigned k = 0; k < count; ++k) {
                        const std::uint8_t byte = d[pos + (rle8 ? k : k / 2)];
                        const unsigned index = rle8 ? byte : (k % 2 == 0 ? byte >> 4 : byte & 15);
                        if (!PaletteColour(index, out[k])) return false;
                    }
                    x += count;
                    pos += padded;
                    break;
                }
            }
        }
    }

    std::span<const std::uint8_t> file_;
    BmpImage& image_;
    std::string& error_;
    Layout layout_;
    bool core_ = false;
    std::uint32_t pixelOffset_ = 0;
    std::uint32_t headerSize_ = 0;
    std::uint32_t coloursUsed_ = 0;
    std::size_t paletteOffset_ = 0;
    std::int64_t stride_ = 0;
};

}  // namespace

bool DecodeBmp(std::span<const std::uint8_t> file, BmpImage& image, std::string& error) {
    image = BmpImage{};
    error.clear();
    return Decoder(file, image, error).Run();
}
