#include "control_panel/product_icon.h"

namespace qm {

ui::PicturePtr ProductIconPicture() {
    constexpr int kSize = 32;
    ui::Surface s(kSize, kSize, ui::Rgb(31, 78, 154));
    s.FillRect(7, 6, 24, 20, ui::vbWhite);
    s.FillRect(9, 8, 22, 18, ui::Rgb(31, 78, 154));
    s.FillRect(14, 11, 18, 15, ui::Rgb(224, 48, 48));
    s.FillRect(12, 22, 20, 26, ui::vbWhite);
    return std::make_shared<ui::Picture>(kSize, kSize, s.Pixels());
}

}  // namespace qm
