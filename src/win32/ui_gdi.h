// GDI pieces of the Win32 forms backend: fonts and brushes made once per value, and the
// bridge between the toolkit's pixel surfaces and device-independent bitmaps.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "ui/surface.h"
#include "ui/types.h"

namespace qm::win32 {

// The toolkit's colours are laid out as COLORREF values (red in the low byte).
inline COLORREF ToColorRef(ui::Color c) { return static_cast<COLORREF>(c & 0x00FFFFFFu); }

// Fonts by value, made on first use and kept until the backend goes.
class FontCache {
  public:
    explicit FontCache(int dpi) : dpi_(dpi) {}
    ~FontCache();
    FontCache(const FontCache&) = delete;
    FontCache& operator=(const FontCache&) = delete;
    HFONT Get(const ui::Font& font);

  private:
    int dpi_;
    std::vector<std::pair<ui::Font, HFONT>> fonts_;
};

// Solid brushes by colour.
class BrushCache {
  public:
    BrushCache() = default;
    ~BrushCache();
    BrushCache(const BrushCache&) = delete;
    BrushCache& operator=(const BrushCache&) = delete;
    HBRUSH Get(ui::Color rgb);

  private:
    std::map<ui::Color, HBRUSH> brushes_;
};

// A top-down 32-bit bitmap selected into a memory DC, for painting off screen.
class OffscreenBitmap {
  public:
    OffscreenBitmap(HDC reference, int width, int height);
    ~OffscreenBitmap();
    OffscreenBitmap(const OffscreenBitmap&) = delete;
    OffscreenBitmap& operator=(const OffscreenBitmap&) = delete;

    bool Ok() const { return bits_ != nullptr; }
    HDC Dc() const { return dc_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void Fill(ui::Color rgb);
    // Copies the surface with its top-left corner at (x, y); what falls outside is dropped.
    void Put(const ui::Surface& surface, int x, int y);
    // Reads the pixels back into the surface at (x, y) (after GDI drew on them).
    void Get(ui::Surface& surface, int x, int y) const;

  private:
    int width_ = 0;
    int height_ = 0;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    std::uint32_t* bits_ = nullptr;
};

}  // namespace qm::win32
