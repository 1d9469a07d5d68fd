// Feeds arbitrary bytes to the BMP decoder. Besides crashes and sanitizer
// reports it checks what callers rely on: a decoded picture is exactly
// width * height opaque pixels within the size limits, a tiny file never
// turns into a huge picture, a refusal leaves nothing behind and explains
// itself in one line, and decoding the same bytes twice gives the same
// result.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "platform/bmp_decode.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

bool IsOneLine(const std::string& text) {
    for (char ch : text)
        if (ch == '\n' || ch == '\r' || ch == '\0') return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> file(data, size);
    BmpImage image;
    image.width = 7;  // stale contents that a refusal must clear
    image.pixels.assign(3, 0);
    std::string error = "stale";
    const bool ok = DecodeBmp(file, image, error);

    if (ok) {
        FUZZ_CHECK(error.empty());
        FUZZ_CHECK(image.width >= 1 && image.width <= kBmpMaxSide);
        FUZZ_CHECK(image.height >= 1 && image.height <= kBmpMaxSide);
        const std::int64_t count = std::int64_t{image.width} * image.height;
        FUZZ_CHECK(count <= kBmpMaxPixels);
        FUZZ_CHECK(image.pixels.size() * sizeof(std::uint32_t) ==
                   static_cast<std::size_t>(count) * 4);
        // The most any file can stand for: one pixel per bit uncompressed,
        // and the RLE allowance per byte compressed.
        FUZZ_CHECK(count <=
                   kBmpRleFreePixels + static_cast<std::int64_t>(size) * kBmpRlePixelsPerByte);
        for (std::uint32_t pixel : image.pixels) FUZZ_CHECK((pixel >> 24) == 0xFF);
    } else {
        FUZZ_CHECK(!error.empty() && error != "stale");
        FUZZ_CHECK(IsOneLine(error));
        FUZZ_CHECK(error.back() != '.');
        FUZZ_CHECK(image.width == 0 && image.height == 0 && image.pixels.empty());
    }

    BmpImage again;
    std::string againError;
    FUZZ_CHECK(DecodeBmp(file, again, againError) == ok);
    FUZZ_CHECK(againError == error);
    FUZZ_CHECK(again.width == image.width && again.height == image.height);
    FUZZ_CHECK(again.pixels == image.pixels);
    return 0;
}
