#include "platform/canvas.h"

#include <QImage>
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/bitmap.h"

namespace {

constexpr std::uint32_t kOpaque = 0xFF000000u;

// The part of [from, from + length) that lies inside [0, limit), in 64 bits so
// that no coordinate near INT_MAX can overflow.
struct Span {
    std::int64_t begin;
    std::int64_t end;
    bool Empty() const { return end <= begin; }
};

Span Clip(std::int64_t from, std::int64_t length, std::int64_t limit) {
    return Span{std::max<std::int64_t>(from, 0), std::min<std::int64_t>(from + length, limit)};
}

std::uint32_t* Line(QImage& image, std::int64_t y) {
    return reinterpret_cast<std::uint32_t*>(image.scanLine(static_cast<int>(y)));
}

const std::uint32_t* ConstLine(const QImage& image, std::int64_t y) {
    return reinterpret_cast<const std::uint32_t*>(image.constScanLine(static_cast<int>(y)));
}

}  // namespace

void TCanvas::FillRect(const TRect& rect) {
    if (rect.IsEmpty()) return;
    const Span xs = Clip(rect.Left, std::int64_t{rect.Right} - rect.Left, target_.width());
    const Span ys = Clip(rect.Top, std::int64_t{rect.Bottom} - rect.Top, target_.height());
    if (xs.Empty() || ys.Empty()) return;
    const std::uint32_t colour = kOpaque | (Brush.Color & 0xFFFFFFu);
    for (std::int64_t y = ys.begin; y < ys.end; ++y) {
        std::uint32_t* line = Line(target_, y);
        std::fill(line + xs.begin, line + xs.end, colour);
    }
}

void TCanvas::Draw(int x, int y, const TBitmap& source) {
    // A shallow copy keeps the source's pixels intact if it is this very
    // bitmap: writing to the target then detaches the target instead.
    const QImage src = source.Image();
    if (src.isNull()) return;
    const Span xs = Clip(x, src.width(), target_.width());
    const Span ys = Clip(y, src.height(), target_.height());
    if (xs.Empty() || ys.Empty()) return;
    const auto bytes = static_cast<std::size_t>(xs.end - xs.begin) * sizeof(std::uint32_t);
    for (std::int64_t ty = ys.begin; ty < ys.end; ++ty) {
        std::memcpy(Line(target_, ty) + xs.begin, ConstLine(src, ty - y) + (xs.begin - x), bytes);
    }
}

void TCanvas::StretchDraw(const TRect& rect, const TBitmap& source) {
    const QImage src = source.Image();
    if (rect.IsEmpty() || src.isNull()) return;
    const std::int64_t dw = std::int64_t{rect.Right} - rect.Left;
    const std::int64_t dh = std::int64_t{rect.Bottom} - rect.Top;
    const Span xs = Clip(rect.Left, dw, target_.width());
    const Span ys = Clip(rect.Top, dh, target_.height());
    if (xs.Empty() || ys.Empty()) return;
    const std::int64_t sw = src.width();
    const std::int64_t sh = src.height();
    std::vector<std::int64_t> sourceX(static_cast<std::size_t>(xs.end - xs.begin));
    for (std::int64_t x = xs.begin; x < xs.end; ++x) {
        sourceX[static_cast<std::size_t>(x - xs.begin)] = (x - rect.Left) * sw / dw;
    }
    for (std::int64_t y = ys.begin; y < ys.end; ++y) {
        const std::uint32_t* from = ConstLine(src, (y - rect.Top) * sh / dh);
        std::uint32_t* to = Line(target_, y) + xs.begin;
        for (std::size_t i = 0; i < sourceX.size(); ++i) to[i] = from[sourceX[i]];
    }
}
