// How a container looks, in pixels: the container's own pixels (a picture box's drawing, or
// its back colour) with its windowless children on top, in creation order. Both backends use
// it: the Win32 one paints it (and adds the label texts with the platform's fonts), the
// headless one hands it to tests. Text itself is not drawn here.
#pragma once

#include <vector>

#include "ui/controls.h"
#include "ui/surface.h"

namespace qm::ui {

// The container's inner area. With `deep`, windowed children are painted too: picture boxes
// and frames with their contents, other controls as flat boxes in their back colour (the
// headless backend's picture of a whole form).
Surface Compose(const Widget& container, bool deep = false);

// Paints one windowless child (label, shape, image) onto `out`, whose origin is the
// container's inner area.
void PaintWindowless(const Widget& child, Surface& out);

}  // namespace qm::ui
