// Pixel buffers: the retained drawing surface of a picture box, and pictures (bitmaps loaded
// from .bmp files or built in memory). Drawing is done here, in software, so what a form draws
// is pixel-exact and the same on every backend.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ui/types.h"

namespace qm::ui {

// Plain RGB pixels (system colours already resolved), row by row from the top.
class Surface {
  public:
    Surface() = default;
    Surface(int width, int height, Color fill = vbWhite);

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    // Outside the surface: 0xFFFFFFFF, a value no RGB colour has.
    Color At(int x, int y) const;
    void Set(int x, int y, Color c);  // ignored outside
    const std::vector<Color>& Pixels() const { return pixels_; }

    // Keeps what fits at the top-left corner; new area takes `fill`.
    void Resize(int width, int height, Color fill);
    void Fill(Color c);
    // Rectangle between two corners, both included; outline only unless `filled`.
    void FillRect(int x1, int y1, int x2, int y2, Color c);
    void Box(int x1, int y1, int x2, int y2, Color c, int penWidth = 1);
    // Both end points included; a pen wider than one pixel stamps a square centred on each point.
    void Line(int x1, int y1, int x2, int y2, Color c, int penWidth = 1);
    void Dot(int x, int y, Color c, int penWidth = 1);
    // Copies `src` with its top-left corner at (x, y); transparent pixels of src are skipped.
    void Blit(const class Picture& src, int x, int y);
    void BlitStretched(const class Picture& src, int x, int y, int w, int h);
    void Blit(const Surface& src, int x, int y);

    // How many pixels hold exactly this colour (a test's quick look at a drawing).
    int Count(Color c) const;

  private:
    int width_ = 0;
    int height_ = 0;
    std::vector<Color> pixels_;
};

// A picture: pixels plus an optional mask (false = transparent, as icons have).
class Picture {
  public:
    Picture(int width, int height, std::vector<Color> pixels, std::vector<bool> mask = {});

    int Width() const { return width_; }
    int Height() const { return height_; }
    Color At(int x, int y) const;
    bool Opaque(int x, int y) const;

  private:
    int width_;
    int height_;
    std::vector<Color> pixels_;
    std::vector<bool> mask_;
};

// Pictures are shared: a dialog's logo takes the main window's picture without reading the
// file again.
using PicturePtr = std::shared_ptr<const Picture>;

// Windows bitmap files: uncompressed 1, 4, 8, 24 and 32 bits per pixel, bottom-up or top-down.
// Anything else (missing file, truncated data, another format) gives nullptr.
PicturePtr LoadPicture(const std::string& path);
PicturePtr DecodeBmp(const std::uint8_t* data, std::size_t size);

}  // namespace qm::ui
