#include "ui/input.h"

#include <cctype>
#include <vector>

#include "ui/controls.h"
#include "ui/form.h"

namespace qm::ui {

char AccessKeyOf(const std::string& caption) {
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] == '&') {
            ++i;
            continue;
        }
        return static_cast<char>(std::toupper(static_cast<unsigned char>(caption[i + 1])));
    }
    return 0;
}

bool IsReachable(const Widget& w) {
    const Form& form = w.ParentForm();
    return form.IsLoaded() && form.Visible() && w.IsShowing() && w.IsEffectivelyEnabled();
}

bool PressAccessKey(Form& form, char letter) {
    std::vector<Widget*> all = form.AllWidgets();
    for (std::size_t i = 0; i < all.size(); ++i) {
        Widget* w = all[i];
        switch (w->GetKind()) {
            case Kind::CommandButton:
            case Kind::OptionButton:
            case Kind::CheckBox:
            case Kind::Label:
            case Kind::Frame:
                break;
            default:
                continue;
        }
        if (w->GetKind() == Kind::Label && !w->UseMnemonic()) continue;
        if (AccessKeyOf(w->Caption()) != letter || !IsReachable(*w)) continue;
        if (w->GetKind() == Kind::Label || w->GetKind() == Kind::Frame) {
            // A label's access key moves the focus to the next control that takes it.
            for (std::size_t j = i + 1; j < all.size(); ++j)
                if (all[j]->CanTakeFocus() && IsReachable(*all[j])) {
                    all[j]->SetFocus();
                    break;
                }
            return true;
        }
        w->SetFocus();
        w->DeliverClick();
        return true;
    }
    return false;
}

}  // namespace qm::ui
