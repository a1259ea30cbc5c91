#include "ui/form.h"

#include <algorithm>

#include "ui/application.h"

namespace qm::ui {

Form::Form(Application& app, std::string name) : Widget(app, Kind::Form, std::move(name)) {
    form_ = this;
    s_.visible = false;  // a form shows when it is shown
    s_.borderStyle = vbSizable;
    s_.caption = Name();
    s_.width = 4800;
    s_.height = 3600;
    s_.tabStop = false;
}

Form::~Form() {
    if (loaded_) {
        GetBackend().Destroy(*this);
        loaded_ = false;
        App().Unloaded(*this);
    }
}

void Form::Unregister(Widget& w) {
    all_.erase(std::remove(all_.begin(), all_.end(), &w), all_.end());
    if (focus_ == &w) focus_ = nullptr;
}

std::vector<Widget*> Form::AllWidgets() const { return all_; }

Widget* Form::FindByName(const std::string& name) const {
    if (name == Name()) return const_cast<Form*>(this);
    for (Widget* w : all_)
        if (w->Name() == name) return w;
    return nullptr;
}

Insets Form::FrameInsets() const {
    return GetBackend().FormFrame(s_.borderStyle, s_.borderStyle != vbBSNone);
}

double Form::ScaleWidth() const { return ClientPixelRect().width * GetBackend().TwipsPerPixel(); }

double Form::ScaleHeight() const { return ClientPixelRect().height * GetBackend().TwipsPerPixel(); }

void Form::SetKeyPreview(bool preview) {
    f_.keyPreview = preview;
    Changed(Prop::KeyPreview);
}

void Form::SetControlBox(bool box) {
    f_.controlBox = box;
    Changed(Prop::Appearance);
}

void Form::SetWindowState(int state) {
    if (state == f_.windowState) return;
    int old = f_.windowState;
    f_.windowState = state;
    if (!loaded_ || !displayed_) return;
    Changed(Prop::WindowState);
    if (old == vbMaximized || state == vbMaximized) ApplyWindowState();
}

void Form::ApplyWindowState() {
    if (f_.windowState == vbMaximized) {
        normalLeft_ = s_.left;
        normalTop_ = s_.top;
        normalWidth_ = s_.width;
        normalHeight_ = s_.height;
        const Screen& screen = App().screen;
        SetGeometry(0, 0, screen.Width(), screen.Height());
    } else if (f_.windowState == vbNormal && normalWidth_ > 0) {
        SetGeometry(normalLeft_, normalTop_, normalWidth_, normalHeight_);
        normalWidth_ = 0;
    }
}

CommandButton* Form::DefaultButton() const {
    for (Widget* w : all_)
        if (w->GetKind() == Kind::CommandButton && static_cast<CommandButton*>(w)->Default())
            return static_cast<CommandButton*>(w);
    return nullptr;
}

CommandButton* Form::CancelButton() const {
    for (Widget* w : all_)
        if (w->GetKind() == Kind::CommandButton && static_cast<CommandButton*>(w)->Cancel())
            return static_cast<CommandButton*>(w);
    return nullptr;
}

Widget* Form::NextTabStop(Widget* from, bool backwards) const {
    std::vector<Widget*> stops;
    for (Widget* w : all_)
        if (w->CanTakeFocus() && w->TabStop() && w->IsShowing() && w->IsEffectivelyEnabled())
            stops.push_back(w);
    if (stops.empty()) return nullptr;
    auto it = std::find(stops.begin(), stops.end(), from);
    if (it == stops.end()) return backwards ? stops.back() : stops.front();
    std::ptrdiff_t i = it - stops.begin();
    std::ptrdiff_t n = static_cast<std::ptrdiff_t>(stops.size());
    return stops[static_cast<std::size_t>((i + (backwards ? n - 1 : 1)) % n)];
}

void Form::CreatePeers() {
    Backend& b = GetBackend();
    b.Create(*this);
    // Containers are created before their contents, which creation order guarantees.
    for (Widget* w : all_) b.Create(*w);
}

void Form::DestroyPeers() {
    Backend& b = GetBackend();
    for (auto it = all_.rbegin(); it != all_.rend(); ++it) b.Destroy(**it);
    b.Destroy(*this);
}

void Form::Load() {
    if (loaded_ || App().Ended()) return;
    if (!designSaved_) {
        SaveDesign();
        for (Widget* w : all_) w->SaveDesign();
        designSaved_ = true;
    }
    loaded_ = true;
    displayed_ = false;
    focus_ = nullptr;
    App().Loaded(*this);
    CreatePeers();
    Form_Load();
}

void Form::Show() {
    if (App().Ended()) return;
    Load();
    if (!loaded_) return;
    bool first = !displayed_;
    if (!s_.visible) {
        s_.visible = true;
        if (first) ApplyWindowState();
        Changed(Prop::Visible);
    }
    if (first) {
        displayed_ = true;
        Resized();
        if (!loaded_ || App().Ended()) return;
    }
    if (!focus_) {
        if (Widget* w = NextTabStop(nullptr, false)) w->SetFocus();
    }
    if (App().ActiveForm() != this) {
        Form* previous = App().ActiveForm();
        App().SetActive(this);
        if (previous) previous->Form_Deactivate();
        if (loaded_ && App().ActiveForm() == this) Form_Activate();
    }
}

void Form::Hide() {
    if (!loaded_) Load();
    if (!loaded_) return;
    if (s_.visible) {
        s_.visible = false;
        Changed(Prop::Visible);
    }
    if (App().ActiveForm() == this) App().SetActive(nullptr);
}

void Form::Unload() {
    if (!loaded_) return;
    bool cancel = false;
    Form_Unload(cancel);
    if (cancel || !loaded_) return;
    Discard();
}

void Form::Discard() {
    if (!loaded_) return;
    if (s_.visible) {
        s_.visible = false;
        Changed(Prop::Visible);
    }
    DestroyPeers();
    loaded_ = false;
    displayed_ = false;
    focus_ = nullptr;
    App().Unloaded(*this);
    RestoreDesign();
    for (Widget* w : all_) w->RestoreDesign();
}

void Form::SaveDesign() {
    Widget::SaveDesign();
    fDesign_ = f_;
}

void Form::RestoreDesign() {
    Widget::RestoreDesign();
    f_ = fDesign_;
    normalWidth_ = 0;
}

void Form::GeometryChanged(bool sizeChanged) {
    if (sizeChanged && loaded_ && displayed_) Resized();
}

void Form::Resized() {
    // Docked picture boxes follow the client area: top ones stacked from the top, bottom ones
    // from the bottom, each as wide as the form.
    double width = ScaleWidth();
    double top = 0;
    double bottom = ScaleHeight();
    for (Widget* w : Children()) {
        if (w->GetKind() != Kind::PictureBox) continue;
        auto* pic = static_cast<PictureBox*>(w);
        if (pic->Align() == vbAlignTop) {
            pic->SetGeometry(0, top, width, pic->HeightTwips());
            top += pic->HeightTwips();
        } else if (pic->Align() == vbAlignBottom) {
            bottom -= pic->HeightTwips();
            pic->SetGeometry(0, bottom, width, pic->HeightTwips());
        }
        if (!loaded_) return;
    }
    Form_Resize();
}

void Form::DeliverResize(int outerWidthPx, int outerHeightPx) {
    if (!loaded_) return;
    double tpp = GetBackend().TwipsPerPixel();
    double w = outerWidthPx * tpp, h = outerHeightPx * tpp;
    if (w == s_.width && h == s_.height) return;
    s_.width = w;
    s_.height = h;
    GeometryChanged(true);
}

void Form::DeliverMove(int leftPx, int topPx) {
    double tpp = GetBackend().TwipsPerPixel();
    s_.left = leftPx * tpp;
    s_.top = topPx * tpp;
}

void Form::DeliverClose() { Unload(); }

void Form::DeliverActivate() {
    if (!loaded_ || !s_.visible || App().ActiveForm() == this) return;
    Form* previous = App().ActiveForm();
    App().SetActive(this);
    if (previous) previous->Form_Deactivate();
    if (loaded_ && App().ActiveForm() == this) Form_Activate();
}

void Form::RaiseMouse(MouseAction action, int button, int shift, double x, double y) {
    switch (action) {
        case MouseAction::Down:
            Form_MouseDown(button, shift, x, y);
            break;
        case MouseAction::Move:
            Form_MouseMove(button, shift, x, y);
            break;
        case MouseAction::Up:
            Form_MouseUp(button, shift, x, y);
            break;
    }
}

void Form::Form_MouseDown(int, int, double, double) {}
void Form::Form_MouseMove(int, int, double, double) {}
void Form::Form_MouseUp(int, int, double, double) {}
void Form::Form_KeyDown(int&, int) {}
void Form::Form_KeyUp(int&, int) {}
void Form::Form_KeyPress(int&) {}

}  // namespace qm::ui
