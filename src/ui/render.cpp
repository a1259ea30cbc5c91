#include "ui/render.h"

#include <algorithm>

namespace qm::ui {

namespace {

void PaintShape(const Shape& shape, Surface& out, const PixelRect& r) {
    if (r.width <= 0 || r.height <= 0) return;
    int x2 = r.x + r.width - 1, y2 = r.y + r.height - 1;
    if (shape.BackStyle() == vbOpaque)
        out.FillRect(r.x, r.y, x2, y2, shape.Resolve(shape.BackColor()));
    if (shape.FillStyle() == vbFSSolid)
        out.FillRect(r.x, r.y, x2, y2, shape.Resolve(shape.FillColor()));
    if (shape.BorderStyle() != vbBSNone) {
        Color c = shape.Resolve(shape.BorderColor());
        for (int i = 0; i < shape.BorderWidth(); ++i) out.Box(r.x + i, r.y + i, x2 - i, y2 - i, c);
    }
}

}  // namespace

void PaintWindowless(const Widget& child, Surface& out) {
    if (!child.Visible()) return;
    PixelRect r = child.PixelBounds();
    switch (child.GetKind()) {
        case Kind::Label:
            if (child.BackStyle() == vbOpaque && r.width > 0 && r.height > 0)
                out.FillRect(r.x, r.y, r.x + r.width - 1, r.y + r.height - 1,
                             child.Resolve(child.BackColor()));
            if (child.BorderStyle() == vbFixedSingle && r.width > 0 && r.height > 0)
                out.Box(r.x, r.y, r.x + r.width - 1, r.y + r.height - 1, vbBlack);
            break;
        case Kind::Shape:
            PaintShape(static_cast<const Shape&>(child), out, r);
            break;
        case Kind::Image: {
            const auto& image = static_cast<const Image&>(child);
            if (!image.GetPicture()) break;
            if (image.Stretch())
                out.BlitStretched(*image.GetPicture(), r.x, r.y, r.width, r.height);
            else
                out.Blit(*image.GetPicture(), r.x, r.y);
            break;
        }
        default:
            break;
    }
}

Surface Compose(const Widget& container, bool deep) {
    PixelRect inner = container.ClientPixelRect();
    Surface out;
    if (container.GetKind() == Kind::PictureBox) {
        out = static_cast<const PictureBox&>(container).Pixels();
        if (out.Width() != inner.width || out.Height() != inner.height)
            out.Resize(inner.width, inner.height, container.Resolve(container.BackColor()));
    } else {
        out = Surface(inner.width, inner.height, container.Resolve(container.BackColor()));
    }
    // Windowless controls lie below windowed ones, as in the classic toolkit.
    for (const Widget* child : container.Children())
        if (child->IsWindowless()) PaintWindowless(*child, out);
    if (!deep) return out;
    for (const Widget* child : container.Children()) {
        if (child->IsWindowless() || !child->Visible()) continue;
        PixelRect r = child->PixelBounds();
        if (child->IsContainer()) {
            Surface inside = Compose(*child, true);
            PixelRect ci = child->ClientPixelRect();
            if (child->BorderStyle() == vbFixedSingle && child->GetKind() == Kind::PictureBox)
                out.Box(r.x, r.y, r.x + r.width - 1, r.y + r.height - 1, Rgb(128, 128, 128));
            out.Blit(inside, r.x + ci.x, r.y + ci.y);
        } else if (r.width > 0 && r.height > 0) {
            out.FillRect(r.x, r.y, r.x + r.width - 1, r.y + r.height - 1,
                         child->Resolve(child->BackColor()));
        }
    }
    return out;
}

}  // namespace qm::ui
