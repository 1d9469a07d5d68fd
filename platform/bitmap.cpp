#include "platform/bitmap.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <vector>

#include "platform/bmp_decode.h"
#include "platform/exception.h"

namespace {

// The largest picture the decoder takes, at 32 bits a pixel, with a
// megabyte to spare for headers, palette and padding. Reading a bigger file
// would only spend memory on bytes the decoder cannot use.
constexpr std::uintmax_t kMaxFileBytes =
    static_cast<std::uintmax_t>(kBmpMaxPixels) * 4 + (std::uintmax_t{1} << 20);

[[noreturn]] void FailLoad(const std::string& path, const std::string& reason) {
    throw Exception("Cannot load bitmap \"" + path + "\": " + reason + ".");
}

std::vector<std::uint8_t> ReadWholeFile(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (status.type() == fs::file_type::not_found) FailLoad(path, "file not found");
    if (ec) FailLoad(path, ec.message());
    if (status.type() == fs::file_type::directory) FailLoad(path, "it is a directory");
    if (status.type() != fs::file_type::regular) FailLoad(path, "not a regular file");
    const std::uintmax_t size = fs::file_size(path, ec);
    if (ec) FailLoad(path, ec.message());
    if (size > kMaxFileBytes) FailLoad(path, "file too large");

    std::ifstream in(path, std::ios::binary);
    if (!in) FailLoad(path, "cannot open the file for reading");
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (static_cast<std::uintmax_t>(in.gcount()) != size) FailLoad(path, "read error");
    return bytes;
}

QImage NewImage(int width, int height) {
    if (width <= 0 || height <= 0) return QImage();
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull()) {
        throw Exception("Not enough memory for a bitmap of " + std::to_string(width) + " x " +
                        std::to_string(height) + " pixels.");
    }
    return image;
}

}  // namespace

TBitmap::TBitmap() : canvas_(image_) {}

void TBitmap::SetSize(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == Width() && height == Height()) return;
    QImage resized = NewImage(width, height);
    if (!resized.isNull()) {
        resized.fill(0xFFFFFFFFu);
        const int keepW = std::min(width, image_.width());
        const int keepH = std::min(height, image_.height());
        for (int y = 0; y < keepH; ++y) {
            std::memcpy(resized.scanLine(y), image_.constScanLine(y),
                        static_cast<std::size_t>(keepW) * sizeof(std::uint32_t));
        }
    }
    image_ = std::move(resized);
    width_ = width;
    height_ = height;
}

void TBitmap::LoadFromFile(const std::string& path) {
    BmpImage decoded;
    {
        // The file's bytes go before the picture is copied, so that a load
        // holds no more than two of the three at once.
        const std::vector<std::uint8_t> bytes = ReadWholeFile(path);
        std::string error;
        if (!DecodeBmp(bytes, decoded, error)) FailLoad(path, error);
    }
    QImage loaded = NewImage(decoded.width, decoded.height);
    for (int y = 0; y < decoded.height; ++y) {
        std::memcpy(loaded.scanLine(y),
                    decoded.pixels.data() +
                        static_cast<std::size_t>(y) * static_cast<std::size_t>(decoded.width),
                    static_cast<std::size_t>(decoded.width) * sizeof(std::uint32_t));
    }
    image_ = std::move(loaded);
    width_ = decoded.width;
    height_ = decoded.height;
}

TColor TBitmap::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height()) return clNone;
    return reinterpret_cast<const std::uint32_t*>(image_.constScanLine(y))[x] & 0xFFFFFFu;
}
