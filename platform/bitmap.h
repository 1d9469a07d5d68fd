// An off-screen picture: width x height opaque pixels and a canvas to draw on
// them. A new bitmap is empty (0 x 0).
//
// The pixels live in a QImage of Format_RGB32 (0xFFRRGGBB), so a bitmap can be
// put on screen without conversion. Width and Height are never negative and
// are kept apart from the image, so a bitmap may be 1 x 0 (its width set before
// its height); the image is null exactly when one of them is 0.
#pragma once

#include <QImage>
#include <string>

#include "platform/canvas.h"
#include "platform/graphics_types.h"

class TBitmap {
  public:
    TBitmap();
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    int Width() const { return width_; }
    int Height() const { return height_; }

    // Resizes the bitmap. Pixels inside both the old and the new size keep
    // their colour; new pixels are white. A negative size counts as 0.
    // Throws Exception if the memory for the new size cannot be had.
    void SetSize(int width, int height);
    void SetWidth(int width) { SetSize(width, Height()); }
    void SetHeight(int height) { SetSize(Width(), height); }

    // Replaces the picture with the Windows BMP file at `path`. The file is
    // read as a BMP whatever its name or content claims to be. Throws
    // Exception, leaving the bitmap as it was, when the file is missing, is a
    // directory or otherwise not a regular file, cannot be read, or is not a
    // valid BMP.
    void LoadFromFile(const std::string& path);

    TCanvas& Canvas() { return canvas_; }

    // The colour at (x, y), or clNone outside the bitmap.
    TColor Pixel(int x, int y) const;

    // The pixels, for putting the bitmap on screen.
    const QImage& Image() const { return image_; }

  private:
    QImage image_;
    int width_ = 0;
    int height_ = 0;
    TCanvas canvas_;
};
