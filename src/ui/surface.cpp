#include "ui/surface.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace qm::ui {

namespace {
constexpr Color kOutside = 0xFFFFFFFFu;
}

Surface::Surface(int width, int height, Color fill)
    : width_(std::max(0, width)),
      height_(std::max(0, height)),
      pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), fill) {}

Color Surface::At(int x, int y) const {
    if (!Contains(x, y)) return kOutside;
    return pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                   static_cast<std::size_t>(x)];
}

void Surface::Set(int x, int y, Color c) {
    if (!Contains(x, y)) return;
    pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
            static_cast<std::size_t>(x)] = c;
}

void Surface::Resize(int width, int height, Color fill) {
    Surface next(width, height, fill);
    int w = std::min(width_, next.width_), h = std::min(height_, next.height_);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) next.Set(x, y, At(x, y));
    *this = std::move(next);
}

void Surface::Fill(Color c) { std::fill(pixels_.begin(), pixels_.end(), c); }

void Surface::FillRect(int x1, int y1, int x2, int y2, Color c) {
    if (x1 > x2) std::swap(x1, x2);
    if (y1 > y2) std::swap(y1, y2);
    x1 = std::max(x1, 0);
    y1 = std::max(y1, 0);
    x2 = std::min(x2, width_ - 1);
    y2 = std::min(y2, height_ - 1);
    for (int y = y1; y <= y2; ++y)
        for (int x = x1; x <= x2; ++x) Set(x, y, c);
}

void Surface::Box(int x1, int y1, int x2, int y2, Color c, int penWidth) {
    Line(x1, y1, x2, y1, c, penWidth);
    Line(x2, y1, x2, y2, c, penWidth);
    Line(x2, y2, x1, y2, c, penWidth);
    Line(x1, y2, x1, y1, c, penWidth);
}

void Surface::Dot(int x, int y, Color c, int penWidth) {
    if (penWidth <= 1) {
        Set(x, y, c);
        return;
    }
    int from = -(penWidth - 1) / 2;
    for (int dy = from; dy < from + penWidth; ++dy)
        for (int dx = from; dx < from + penWidth; ++dx) Set(x + dx, y + dy, c);
}

void Surface::Line(int x1, int y1, int x2, int y2, Color c, int penWidth) {
    // Bresenham; far-off end points are clamped in steps so a wild coordinate cannot spin
    // for billions of iterations.
    const int limit = 1 << 20;
    x1 = std::clamp(x1, -limit, limit);
    x2 = std::clamp(x2, -limit, limit);
    y1 = std::clamp(y1, -limit, limit);
    y2 = std::clamp(y2, -limit, limit);
    int dx = std::abs(x2 - x1), sx = x1 < x2 ? 1 : -1;
    int dy = -std::abs(y2 - y1), sy = y1 < y2 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        Dot(x1, y1, c, penWidth);
        if (x1 == x2 && y1 == y2) break;
        int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x1 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y1 += sy;
        }
    }
}

void Surface::Blit(const Picture& src, int x, int y) {
    for (int sy = 0; sy < src.Height(); ++sy)
        for (int sx = 0; sx < src.Width(); ++sx)
            if (src.Opaque(sx, sy)) Set(x + sx, y + sy, src.At(sx, sy));
}

void Surface::BlitStretched(const Picture& src, int x, int y, int w, int h) {
    if (w <= 0 || h <= 0 || src.Width() == 0 || src.Height() == 0) return;
    for (int dy = 0; dy < h; ++dy) {
        int sy = static_cast<int>(static_cast<long long>(dy) * src.Height() / h);
        for (int dx = 0; dx < w; ++dx) {
            int sx = static_cast<int>(static_cast<long long>(dx) * src.Width() / w);
            if (src.Opaque(sx, sy)) Set(x + dx, y + dy, src.At(sx, sy));
        }
    }
}

void Surface::Blit(const Surface& src, int x, int y) {
    for (int sy = 0; sy < src.Height(); ++sy)
        for (int sx = 0; sx < src.Width(); ++sx) Set(x + sx, y + sy, src.At(sx, sy));
}

int Surface::Count(Color c) const {
    return static_cast<int>(std::count(pixels_.begin(), pixels_.end(), c));
}

// ---------------------------------------------------------------- Picture

Picture::Picture(int width, int height, std::vector<Color> pixels, std::vector<bool> mask)
    : width_(std::max(0, width)),
      height_(std::max(0, height)),
      pixels_(std::move(pixels)),
      mask_(std::move(mask)) {
    pixels_.resize(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), vbBlack);
    if (!mask_.empty()) mask_.resize(pixels_.size(), true);
}

Color Picture::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return kOutside;
    return pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                   static_cast<std::size_t>(x)];
}

bool Picture::Opaque(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return false;
    if (mask_.empty()) return true;
    return mask_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                 static_cast<std::size_t>(x)];
}

// ---------------------------------------------------------------- BMP

namespace {

std::uint32_t U16(const std::uint8_t* p) { return p[0] | (p[1] << 8); }
std::uint32_t U32(const std::uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

}  // namespace

PicturePtr DecodeBmp(const std::uint8_t* data, std::size_t size) {
    if (!data || size < 14 + 40 || data[0] != 'B' || data[1] != 'M') return nullptr;
    std::uint32_t pixelOffset = U32(data + 10);
    std::uint32_t headerSize = U32(data + 14);
    if (headerSize < 40 || 14 + static_cast<std::size_t>(headerSize) > size) return nullptr;
    std::int32_t width = static_cast<std::int32_t>(U32(data + 18));
    std::int32_t rawHeight = static_cast<std::int32_t>(U32(data + 22));
    std::uint32_t bits = U16(data + 28);
    std::uint32_t compression = U32(data + 30);
    std::uint32_t colorsUsed = U32(data + 46);
    bool topDown = rawHeight < 0;
    long long height = topDown ? -static_cast<long long>(rawHeight) : rawHeight;
    // BI_RGB, or BI_BITFIELDS with the usual 32-bit layout.
    if (compression != 0 && !(compression == 3 && bits == 32)) return nullptr;
    if (width <= 0 || height <= 0 || width > 16384 || height > 16384) return nullptr;
    if (static_cast<long long>(width) * height > 16 * 1024 * 1024) return nullptr;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return nullptr;

    std::vector<Color> palette;
    if (bits <= 8) {
        std::size_t entries = colorsUsed ? colorsUsed : (1u << bits);
        if (entries > 256) return nullptr;
        std::size_t at = 14 + headerSize;
        if (at + entries * 4 > size) return nullptr;
        for (std::size_t i = 0; i < entries; ++i) {
            const std::uint8_t* e = data + at + i * 4;
            palette.push_back(Rgb(e[2], e[1], e[0]));
        }
    }
    std::size_t stride = ((static_cast<std::size_t>(width) * bits + 31) / 32) * 4;
    if (pixelOffset > size || stride * static_cast<std::size_t>(height) > size - pixelOffset)
        return nullptr;

    std::vector<Color> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (long long row = 0; row < height; ++row) {
        const std::uint8_t* line =
            data + pixelOffset +
            stride * static_cast<std::size_t>(topDown ? row : height - 1 - row);
        for (std::int32_t x = 0; x < width; ++x) {
            Color c = vbBlack;
            std::size_t ux = static_cast<std::size_t>(x);
            if (bits == 24 || bits == 32) {
                const std::uint8_t* p = line + ux * (bits / 8);
                c = Rgb(p[2], p[1], p[0]);
            } else {
                std::size_t bitPos = ux * bits;
                unsigned byte = line[bitPos / 8];
                unsigned shift = 8 - bits - static_cast<unsigned>(bitPos % 8);
                unsigned index = (byte >> shift) & ((1u << bits) - 1);
                c = index < palette.size() ? palette[index] : vbBlack;
            }
            pixels[static_cast<std::size_t>(row) * static_cast<std::size_t>(width) + ux] = c;
        }
    }
    return std::make_shared<Picture>(width, static_cast<int>(height), std::move(pixels));
}

PicturePtr LoadPicture(const std::string& path) {
    // C stdio rather than a file stream: the streams bring the whole locale machinery of the
    // C++ runtime into every program.
    std::FILE* in = std::fopen(path.c_str(), "rb");
    if (!in) return nullptr;
    std::vector<std::uint8_t> bytes;
    std::uint8_t chunk[4096];
    for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, in)) > 0;)
        bytes.insert(bytes.end(), chunk, chunk + n);
    std::fclose(in);
    return DecodeBmp(bytes.data(), bytes.size());
}

}  // namespace qm::ui
