// Loads arbitrary bytes the way the game loads its pictures: written to a
// file, read back by TBitmap::LoadFromFile. A load either gives exactly the
// picture the decoder gives for the same bytes, or throws Exception with the
// decoder's reason and leaves the bitmap as it was.
#include <unistd.h>

#include <QImage>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <span>
#include <string>

#include "platform/bitmap.h"
#include "platform/bmp_decode.h"
#include "platform/exception.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

// One scratch file per process, removed at exit.
class ScratchFile {
  public:
    ScratchFile() {
        const char* dir = std::getenv("TMPDIR");
        path_ = std::string(dir != nullptr && *dir != '\0' ? dir : "/tmp") +
                "/fourfall-bitmap-fuzz-XXXXXX";
        const int fd = mkstemp(path_.data());
        FUZZ_CHECK(fd >= 0);
        close(fd);
    }
    ~ScratchFile() { std::remove(path_.c_str()); }

    const std::string& Write(const std::uint8_t* data, std::size_t size) {
        std::FILE* out = std::fopen(path_.c_str(), "wb");
        FUZZ_CHECK(out != nullptr);
        FUZZ_CHECK(size == 0 || std::fwrite(data, 1, size, out) == size);
        FUZZ_CHECK(std::fclose(out) == 0);
        return path_;
    }

  private:
    std::string path_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static ScratchFile scratch;
    const std::string& path = scratch.Write(data, size);

    // A bitmap with a picture already in it, which a failed load must keep.
    TBitmap bitmap;
    bitmap.SetSize(2, 3);
    bitmap.Canvas().Brush.Color = RgbColor(1, 2, 3);
    bitmap.Canvas().FillRect(Rect(0, 0, 2, 3));
    bool loaded = true;
    std::string message;
    try {
        bitmap.LoadFromFile(path);
    } catch (const Exception& e) {
        loaded = false;
        message = e.what();
    }

    // Decoded only now, so that a picture at the budget is held twice at
    // most, as the game itself holds it while loading.
    BmpImage decoded;
    std::string reason;
    const bool ok = DecodeBmp(std::span<const std::uint8_t>(data, size), decoded, reason);
    FUZZ_CHECK(loaded == ok);
    if (!loaded) {
        FUZZ_CHECK(message == "Cannot load bitmap \"" + path + "\": " + reason + ".");
        FUZZ_CHECK(bitmap.Width() == 2 && bitmap.Height() == 3);
        FUZZ_CHECK(bitmap.Pixel(1, 2) == RgbColor(1, 2, 3));
        return 0;
    }
    FUZZ_CHECK(bitmap.Width() == decoded.width && bitmap.Height() == decoded.height);
    const QImage& image = bitmap.Image();
    const auto rowBytes = static_cast<std::size_t>(decoded.width) * sizeof(std::uint32_t);
    for (int y = 0; y < decoded.height; ++y) {
        const std::uint32_t* row =
            decoded.pixels.data() +
            static_cast<std::size_t>(y) * static_cast<std::size_t>(decoded.width);
        FUZZ_CHECK(std::memcmp(image.constScanLine(y), row, rowBytes) == 0);
    }
    return 0;
}
