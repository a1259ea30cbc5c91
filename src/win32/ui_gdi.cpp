#include "win32/ui_gdi.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace qm::win32 {

namespace {

// DIB pixels are 0x00RRGGBB; the toolkit's colours 0x00BBGGRR.
std::uint32_t ToDib(ui::Color c) {
    return ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}
ui::Color FromDib(std::uint32_t p) {
    return ((p & 0xFFu) << 16) | (p & 0xFF00u) | ((p >> 16) & 0xFFu);
}

}  // namespace

// ---------------------------------------------------------------- fonts

FontCache::~FontCache() {
    for (auto& entry : fonts_) DeleteObject(entry.second);
}

HFONT FontCache::Get(const ui::Font& font) {
    for (auto& entry : fonts_)
        if (entry.first == font) return entry.second;
    LOGFONTA lf{};
    double points = std::clamp(font.size, 1.0, 2048.0);
    lf.lfHeight = -static_cast<LONG>(std::lround(points * dpi_ / 72.0));
    lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = font.italic ? TRUE : FALSE;
    lf.lfUnderline = font.underline ? TRUE : FALSE;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    std::strncpy(lf.lfFaceName, font.name.c_str(), LF_FACESIZE - 1);
    HFONT made = CreateFontIndirectA(&lf);
    if (!made) made = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    fonts_.emplace_back(font, made);
    return made;
}

// ---------------------------------------------------------------- brushes

BrushCache::~BrushCache() {
    for (auto& entry : brushes_) DeleteObject(entry.second);
}

HBRUSH BrushCache::Get(ui::Color rgb) {
    rgb &= 0x00FFFFFFu;
    auto it = brushes_.find(rgb);
    if (it != brushes_.end()) return it->second;
    HBRUSH made = CreateSolidBrush(ToColorRef(rgb));
    brushes_.emplace(rgb, made);
    return made;
}

// ---------------------------------------------------------------- off-screen bitmaps

OffscreenBitmap::OffscreenBitmap(HDC reference, int width, int height)
    : width_(std::max(0, width)), height_(std::max(0, height)) {
    if (width_ == 0 || height_ == 0) return;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = width_;
    bi.bmiHeader.biHeight = -height_;  // top-down
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(reference, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap_ || !bits) return;
    dc_ = CreateCompatibleDC(reference);
    if (!dc_) return;
    old_ = SelectObject(dc_, bitmap_);
    bits_ = static_cast<std::uint32_t*>(bits);
}

OffscreenBitmap::~OffscreenBitmap() {
    if (dc_) {
        if (old_) SelectObject(dc_, old_);
        DeleteDC(dc_);
    }
    if (bitmap_) DeleteObject(bitmap_);
}

void OffscreenBitmap::Fill(ui::Color rgb) {
    if (!bits_) return;
    GdiFlush();
    std::fill(bits_, bits_ + static_cast<std::size_t>(width_) * height_, ToDib(rgb));
}

void OffscreenBitmap::Put(const ui::Surface& surface, int x, int y) {
    if (!bits_) return;
    GdiFlush();
    const auto& pixels = surface.Pixels();
    const int x0 = std::max(0, x), x1 = std::min(width_, x + surface.Width());
    const int y0 = std::max(0, y), y1 = std::min(height_, y + surface.Height());
    for (int row = y0; row < y1; ++row) {
        const ui::Color* src =
            pixels.data() + static_cast<std::size_t>(row - y) * surface.Width() + (x0 - x);
        std::uint32_t* dst = bits_ + static_cast<std::size_t>(row) * width_ + x0;
        for (int col = x0; col < x1; ++col) *dst++ = ToDib(*src++);
    }
}

void OffscreenBitmap::Get(ui::Surface& surface, int x, int y) const {
    if (!bits_) return;
    GdiFlush();
    for (int row = 0; row < height_; ++row)
        for (int col = 0; col < width_; ++col)
            if (surface.Contains(x + col, y + row))
                surface.Set(x + col, y + row,
                            FromDib(bits_[static_cast<std::size_t>(row) * width_ + col]));
}

}  // namespace qm::win32
