#pragma once

#include "ui/surface.h"

namespace qm {

// The product icon shown in the main window's icon box (the same design as the program's
// icon resource): a blue tile with a white screen and a red touch point.
ui::PicturePtr ProductIconPicture();

}  // namespace qm
