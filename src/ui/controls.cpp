#include "ui/controls.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "ui/application.h"
#include "ui/form.h"

namespace qm::ui {

namespace {

std::string ElementName(const std::string& name, int index) {
    return index < 0 ? name : name + "(" + std::to_string(index) + ")";
}

int Round(double v) { return static_cast<int>(std::lround(v)); }

// Picture boxes draw a sunken border two pixels wide.
constexpr int kPictureBorder = 2;

}  // namespace

std::string DisplayedText(const std::string& caption, bool useMnemonic) {
    if (!useMnemonic) return caption;
    std::string out;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size()) {
            ++i;  // "&&" shows one "&"; "&x" shows x
        } else if (caption[i] == '&') {
            continue;  // a trailing marker shows nothing
        }
        out += caption[i];
    }
    return out;
}

// ---------------------------------------------------------------- Widget

Widget::Widget(Application& app, Kind kind, std::string name)
    : app_(app), kind_(kind), name_(name), baseName_(std::move(name)) {}  // Form sets form_

Widget::Widget(Widget& container, Kind kind, std::string name, int index)
    : app_(container.app_),
      kind_(kind),
      name_(ElementName(name, index)),
      baseName_(std::move(name)),
      index_(index),
      form_(container.form_),
      container_(&container) {
    if (!container.IsContainer())
        throw std::logic_error(name_ + ": " + container.name_ + " cannot hold controls");
    container.children_.push_back(this);
    form_->Register(*this);
    s_.caption = baseName_;
}

Widget::~Widget() {
    if (container_) {
        if (form_->IsLoaded()) app_.GetBackend().Destroy(*this);
        auto& siblings = container_->children_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
        form_->Unregister(*this);
    }
}

bool Widget::IsContainer() const {
    return kind_ == Kind::Form || kind_ == Kind::Frame || kind_ == Kind::PictureBox;
}

bool Widget::IsWindowless() const {
    return kind_ == Kind::Label || kind_ == Kind::Shape || kind_ == Kind::Image;
}

bool Widget::CanTakeFocus() const {
    switch (kind_) {
        case Kind::CommandButton:
        case Kind::OptionButton:
        case Kind::CheckBox:
        case Kind::ComboBox:
        case Kind::HScrollBar:
        case Kind::PictureBox:
            return true;
        default:
            return false;
    }
}

Backend& Widget::GetBackend() const { return app_.GetBackend(); }

bool Widget::Live() const { return form_->IsLoaded(); }

void Widget::Changed(Prop what) {
    if (Live()) GetBackend().Update(*this, what);
}

double Widget::ContainerUnit() const {
    if (container_ && container_->kind_ == Kind::PictureBox &&
        static_cast<const PictureBox*>(container_)->ScaleMode() == vbPixels)
        return GetBackend().TwipsPerPixel();
    return 1.0;
}

double Widget::OwnUnit() const { return ContainerUnit(); }

double Widget::Left() const { return s_.left / ContainerUnit(); }
double Widget::Top() const { return s_.top / ContainerUnit(); }
double Widget::Width() const { return s_.width / ContainerUnit(); }
double Widget::Height() const { return s_.height / ContainerUnit(); }

void Widget::SetLeft(double v) { SetGeometry(v * ContainerUnit(), s_.top, s_.width, s_.height); }
void Widget::SetTop(double v) { SetGeometry(s_.left, v * ContainerUnit(), s_.width, s_.height); }
void Widget::SetWidth(double v) { SetGeometry(s_.left, s_.top, v * ContainerUnit(), s_.height); }
void Widget::SetHeight(double v) { SetGeometry(s_.left, s_.top, s_.width, v * ContainerUnit()); }

void Widget::Move(double left, double top) {
    double u = ContainerUnit();
    SetGeometry(left * u, top * u, s_.width, s_.height);
}

void Widget::Move(double left, double top, double width, double height) {
    double u = ContainerUnit();
    SetGeometry(left * u, top * u, width * u, height * u);
}

void Widget::SetGeometry(double left, double top, double width, double height) {
    width = std::max(0.0, width);
    height = std::max(0.0, height);
    if (left == s_.left && top == s_.top && width == s_.width && height == s_.height) return;
    bool sizeChanged = width != s_.width || height != s_.height;
    s_.left = left;
    s_.top = top;
    s_.width = width;
    s_.height = height;
    Changed(Prop::Geometry);
    GeometryChanged(sizeChanged);
}

void Widget::GeometryChanged(bool) {}

void Widget::ApplyAutoSize() {
    if (!s_.autoSize || kind_ != Kind::Label) return;
    double tpp = GetBackend().TwipsPerPixel();
    int wrap = s_.wordWrap ? Round(s_.width / tpp) : 0;
    TextExtent e = GetBackend().MeasureText(s_.font, DisplayText(), wrap);
    double w = s_.wordWrap ? s_.width : e.width * tpp;
    int border = s_.borderStyle == vbFixedSingle ? 2 : 0;
    SetGeometry(s_.left, s_.top, w + (s_.wordWrap ? 0 : border * tpp), (e.height + border) * tpp);
}

void Widget::SetCaption(const std::string& caption) {
    if (caption == s_.caption) return;
    s_.caption = caption;
    Changed(Prop::Caption);
    ApplyAutoSize();
}

void Widget::SetVisible(bool visible) {
    if (kind_ == Kind::Form) {
        if (visible)
            form_->Show();
        else
            form_->Hide();
        return;
    }
    if (visible == s_.visible) return;
    s_.visible = visible;
    Changed(Prop::Visible);
    if (!visible && form_->focus_ == this) form_->SetFocusTo(nullptr);
}

void Widget::SetEnabled(bool enabled) {
    if (enabled == s_.enabled) return;
    s_.enabled = enabled;
    Changed(Prop::Enabled);
    if (!enabled && form_->focus_ == this) form_->SetFocusTo(nullptr);
}

void Widget::SetForeColor(Color c) {
    if (c == s_.foreColor) return;
    s_.foreColor = c;
    Changed(Prop::Colors);
}

void Widget::SetBackColor(Color c) {
    if (c == s_.backColor) return;
    s_.backColor = c;
    Changed(Prop::Colors);
}

void Widget::SetBackStyle(int style) {
    if (style == s_.backStyle) return;
    s_.backStyle = style;
    Changed(Prop::Appearance);
}

void Widget::SetBorderStyle(int style) {
    if (style == s_.borderStyle) return;
    s_.borderStyle = style;
    Changed(Prop::Appearance);
    GeometryChanged(true);  // the inner area changed
    ApplyAutoSize();
}

void Widget::SetFont(const Font& font) {
    if (font == s_.font) return;
    s_.font = font;
    Changed(Prop::Font);
    ApplyAutoSize();
}

void Widget::SetFontName(const std::string& name) {
    Font f = s_.font;
    f.name = name;
    SetFont(f);
}
void Widget::SetFontSize(double points) {
    Font f = s_.font;
    f.size = points;
    SetFont(f);
}
void Widget::SetFontBold(bool bold) {
    Font f = s_.font;
    f.bold = bold;
    SetFont(f);
}
void Widget::SetFontItalic(bool italic) {
    Font f = s_.font;
    f.italic = italic;
    SetFont(f);
}

void Widget::SetAlignment(int alignment) {
    if (alignment == s_.alignment) return;
    s_.alignment = alignment;
    Changed(Prop::Appearance);
}

void Widget::SetWordWrap(bool wrap) {
    if (wrap == s_.wordWrap) return;
    s_.wordWrap = wrap;
    Changed(Prop::Appearance);
    ApplyAutoSize();
}

void Widget::SetAutoSize(bool autoSize) {
    if (autoSize == s_.autoSize) return;
    s_.autoSize = autoSize;
    ApplyAutoSize();
}

void Widget::SetUseMnemonic(bool use) {
    if (use == s_.useMnemonic) return;
    s_.useMnemonic = use;
    Changed(Prop::Caption);
    ApplyAutoSize();
}

void Widget::SetTabStop(bool tabStop) { s_.tabStop = tabStop; }

void Widget::SetMousePointer(int pointer) {
    if (pointer == s_.mousePointer) return;
    s_.mousePointer = pointer;
    Changed(Prop::MousePointer);
}

std::string Widget::DisplayText() const {
    switch (kind_) {
        case Kind::Form:
            return s_.caption;
        case Kind::Label:
            return DisplayedText(s_.caption, s_.useMnemonic);
        case Kind::ComboBox:
            return static_cast<const ComboBox*>(this)->Text();
        default:
            return DisplayedText(s_.caption, true);
    }
}

bool Widget::IsShowing() const {
    for (const Widget* w = this; w; w = w->container_)
        if (!w->s_.visible) return false;
    return true;
}

bool Widget::IsEffectivelyEnabled() const {
    for (const Widget* w = this; w; w = w->container_)
        if (!w->s_.enabled) return false;
    return true;
}

void Widget::SetFocus() {
    if (kind_ == Kind::Form) {
        if (Live()) GetBackend().SetFocus(*this);
        return;
    }
    if (!Live() || !CanTakeFocus() || !IsShowing() || !IsEffectivelyEnabled()) return;
    bool changed = form_->focus_ != this;
    form_->SetFocusTo(this);
    GetBackend().SetFocus(*this);
    if (changed) RaiseGotFocus();
}

bool Widget::HasFocus() const { return form_->focus_ == this; }

void Widget::DeliverGotFocus() {
    if (!Live() || kind_ == Kind::Form || form_->focus_ == this) return;
    form_->SetFocusTo(this);
    RaiseGotFocus();
}

Color Widget::Resolve(Color c) const {
    return IsSystemColor(c) ? GetBackend().SystemColor(static_cast<int>(c & 0xFF)) : c;
}

PixelRect Widget::PixelBounds() const {
    double tpp = GetBackend().TwipsPerPixel();
    return {Round(s_.left / tpp), Round(s_.top / tpp), Round(s_.width / tpp),
            Round(s_.height / tpp)};
}

PixelRect Widget::ClientPixelRect() const {
    PixelRect b = PixelBounds();
    if (kind_ == Kind::Form) {
        Insets in = form_->FrameInsets();
        return {in.left, in.top, std::max(0, b.width - in.left - in.right),
                std::max(0, b.height - in.top - in.bottom)};
    }
    if (kind_ == Kind::PictureBox && s_.borderStyle == vbFixedSingle)
        return {kPictureBorder, kPictureBorder, std::max(0, b.width - 2 * kPictureBorder),
                std::max(0, b.height - 2 * kPictureBorder)};
    return {0, 0, b.width, b.height};
}

PixelRect Widget::FormPixelBounds() const {
    if (!container_) {
        PixelRect c = ClientPixelRect();
        return {0, 0, c.width, c.height};
    }
    PixelRect b = PixelBounds();
    if (container_->container_) {
        PixelRect outer = container_->FormPixelBounds();
        PixelRect inner = container_->ClientPixelRect();
        b.x += outer.x + inner.x;
        b.y += outer.y + inner.y;
    }
    return b;
}

void Widget::DeliverMouse(MouseAction action, int button, int shift, int px, int py) {
    if (!Live() || !IsShowing() || !IsEffectivelyEnabled()) return;
    if (action == MouseAction::Down && CanTakeFocus()) SetFocus();
    double scale = GetBackend().TwipsPerPixel() / OwnUnit();
    RaiseMouse(action, button, shift, px * scale, py * scale);
}

void Widget::DeliverClick() {
    if (!Live() || !IsShowing() || !IsEffectivelyEnabled()) return;
    RaiseClick();
}

void Widget::DeliverDblClick() {
    if (!Live() || !IsShowing() || !IsEffectivelyEnabled()) return;
    RaiseDblClick();
}

int Widget::DeliverKeyDown(int keyCode, int shift) {
    if (!Live()) return keyCode;
    if (form_->KeyPreview() && kind_ != Kind::Form) {
        form_->RaiseKeyDown(keyCode, shift);
        if (keyCode == 0 || !Live()) return 0;
    }
    RaiseKeyDown(keyCode, shift);
    return keyCode;
}

int Widget::DeliverKeyUp(int keyCode, int shift) {
    if (!Live()) return keyCode;
    if (form_->KeyPreview() && kind_ != Kind::Form) {
        form_->RaiseKeyUp(keyCode, shift);
        if (keyCode == 0 || !Live()) return 0;
    }
    RaiseKeyUp(keyCode, shift);
    return keyCode;
}

int Widget::DeliverKeyPress(int keyAscii) {
    if (!Live()) return keyAscii;
    if (form_->KeyPreview() && kind_ != Kind::Form) {
        form_->RaiseKeyPress(keyAscii);
        if (keyAscii == 0 || !Live()) return 0;
    }
    RaiseKeyPress(keyAscii);
    return keyAscii;
}

void Widget::SaveDesign() { design_ = s_; }
void Widget::RestoreDesign() { s_ = design_; }

// ---------------------------------------------------------------- Control

Control::Control(Widget& container, Kind kind, std::string name, int index)
    : Widget(container, kind, std::move(name), index) {}

void Control::RaiseClick() {
    if (onClick) onClick();
}
void Control::RaiseDblClick() {
    if (onDblClick) onDblClick();
}
void Control::RaiseMouse(MouseAction action, int button, int shift, double x, double y) {
    const MouseHandler& h = action == MouseAction::Down   ? onMouseDown
                            : action == MouseAction::Move ? onMouseMove
                                                          : onMouseUp;
    if (h) h(button, shift, x, y);
}
void Control::RaiseKeyDown(int& keyCode, int shift) {
    if (onKeyDown) onKeyDown(keyCode, shift);
}
void Control::RaiseKeyUp(int& keyCode, int shift) {
    if (onKeyUp) onKeyUp(keyCode, shift);
}
void Control::RaiseKeyPress(int& keyAscii) {
    if (onKeyPress) onKeyPress(keyAscii);
}
void Control::RaiseGotFocus() {
    if (onGotFocus) onGotFocus();
}

// ---------------------------------------------------------------- Label

Label::Label(Widget& container, std::string name, int index)
    : Control(container, Kind::Label, std::move(name), index) {
    s_.tabStop = false;
    s_.width = 1215;
    s_.height = 255;
}

// ---------------------------------------------------------------- CommandButton

CommandButton::CommandButton(Widget& container, std::string name, int index)
    : Control(container, Kind::CommandButton, std::move(name), index) {
    s_.width = 1215;
    s_.height = 495;
}

void CommandButton::SetDefault(bool isDefault) {
    if (isDefault == b_.isDefault) return;
    if (isDefault) {
        for (Widget* w : ParentForm().AllWidgets()) {
            if (w != this && w->GetKind() == Kind::CommandButton) {
                auto* other = static_cast<CommandButton*>(w);
                if (other->b_.isDefault) {
                    other->b_.isDefault = false;
                    other->Changed(Prop::Buttons);
                }
            }
        }
    }
    b_.isDefault = isDefault;
    Changed(Prop::Buttons);
}

void CommandButton::SetCancel(bool isCancel) {
    if (isCancel == b_.isCancel) return;
    if (isCancel) {
        for (Widget* w : ParentForm().AllWidgets()) {
            if (w != this && w->GetKind() == Kind::CommandButton) {
                auto* other = static_cast<CommandButton*>(w);
                if (other->b_.isCancel) {
                    other->b_.isCancel = false;
                    other->Changed(Prop::Buttons);
                }
            }
        }
    }
    b_.isCancel = isCancel;
    Changed(Prop::Buttons);
}

void CommandButton::SetStyle(int style) {
    if (style == b_.style) return;
    b_.style = style;
    Changed(Prop::Appearance);
}

void CommandButton::SetPicture(PicturePtr picture) {
    b_.picture = std::move(picture);
    Changed(Prop::Picture);
}

void CommandButton::SetValue(bool value) {
    if (value && Live()) RaiseClick();
}

void CommandButton::SaveDesign() {
    Widget::SaveDesign();
    bDesign_ = b_;
}
void CommandButton::RestoreDesign() {
    Widget::RestoreDesign();
    b_ = bDesign_;
}

// ---------------------------------------------------------------- OptionButton

OptionButton::OptionButton(Widget& container, std::string name, int index)
    : Control(container, Kind::OptionButton, std::move(name), index) {
    s_.width = 1215;
    s_.height = 255;
}

void OptionButton::SetValue(bool value) {
    if (value == value_) return;
    value_ = value;
    Changed(Prop::Value);
    if (!value) return;
    for (Widget* w : Container()->Children()) {
        if (w != this && w->GetKind() == Kind::OptionButton) {
            auto* other = static_cast<OptionButton*>(w);
            if (other->value_) {
                other->value_ = false;
                other->Changed(Prop::Value);
            }
        }
    }
    if (Live()) RaiseClick();
}

void OptionButton::DeliverClick() {
    if (!Live() || !IsShowing() || !IsEffectivelyEnabled()) return;
    SetValue(true);
}

void OptionButton::SaveDesign() {
    Widget::SaveDesign();
    valueDesign_ = value_;
}
void OptionButton::RestoreDesign() {
    Widget::RestoreDesign();
    value_ = valueDesign_;
}

// ---------------------------------------------------------------- CheckBox

CheckBox::CheckBox(Widget& container, std::string name, int index)
    : Control(container, Kind::CheckBox, std::move(name), index) {
    s_.width = 1215;
    s_.height = 255;
}

void CheckBox::SetValue(int value) {
    value = std::clamp(value, vbUnchecked, vbGrayed);
    if (value == value_) return;
    value_ = value;
    Changed(Prop::Value);
    if (Live()) RaiseClick();
}

void CheckBox::DeliverClick() {
    if (!Live() || !IsShowing() || !IsEffectivelyEnabled()) return;
    SetValue(value_ == vbChecked ? vbUnchecked : vbChecked);
}

void CheckBox::SaveDesign() {
    Widget::SaveDesign();
    valueDesign_ = value_;
}
void CheckBox::RestoreDesign() {
    Widget::RestoreDesign();
    value_ = valueDesign_;
}

// ---------------------------------------------------------------- ComboBox

ComboBox::ComboBox(Widget& container, std::string name, int index)
    : Control(container, Kind::ComboBox, std::move(name), index) {
    s_.backColor = vbWindowBackground;
    s_.foreColor = vbWindowText;
    s_.width = 1215;
    s_.height = 315;
}

void ComboBox::SetStyle(int style) {
    if (style == c_.style) return;
    c_.style = style;
    Changed(Prop::Appearance);
}

void ComboBox::AddItem(const std::string& item, int index) {
    int count = ListCount();
    if (index < 0 || index > count) index = count;
    c_.items.insert(c_.items.begin() + index, item);
    if (c_.listIndex >= index) ++c_.listIndex;
    Changed(Prop::List);
}

void ComboBox::RemoveItem(int index) {
    if (index < 0 || index >= ListCount()) return;
    c_.items.erase(c_.items.begin() + index);
    if (c_.listIndex == index) {
        c_.listIndex = -1;
        if (c_.style == vbComboDropdownList) c_.text.clear();
    } else if (c_.listIndex > index) {
        --c_.listIndex;
    }
    Changed(Prop::List);
}

void ComboBox::Clear() {
    c_.items.clear();
    c_.listIndex = -1;
    c_.text.clear();
    Changed(Prop::List);
}

std::string ComboBox::List(int index) const {
    if (index < 0 || index >= ListCount()) return {};
    return c_.items[static_cast<std::size_t>(index)];
}

void ComboBox::SetListIndex(int index) {
    if (index < -1 || index >= ListCount()) return;
    c_.listIndex = index;
    if (index >= 0)
        c_.text = c_.items[static_cast<std::size_t>(index)];
    else if (c_.style == vbComboDropdownList)
        c_.text.clear();
    Changed(Prop::Value);
    if (Live()) RaiseClick();
}

std::string ComboBox::Text() const {
    if (c_.style == vbComboDropdownList) return List(c_.listIndex);
    return c_.text;
}

void ComboBox::SetText(const std::string& text) {
    auto match = std::find(c_.items.begin(), c_.items.end(), text);
    int found = match == c_.items.end() ? -1 : static_cast<int>(match - c_.items.begin());
    if (c_.style == vbComboDropdownList) {
        if (found >= 0) SetListIndex(found);
        return;
    }
    if (text == c_.text) return;
    c_.text = text;
    c_.listIndex = found;
    Changed(Prop::Value);
    if (Live() && onChange) onChange();
}

void ComboBox::DeliverPick(int index) {
    if (!Live() || !IsShowing() || !IsEffectivelyEnabled()) return;
    SetListIndex(index);
}

void ComboBox::DeliverEdit(const std::string& text) {
    if (!Live() || !IsShowing() || !IsEffectivelyEnabled()) return;
    if (c_.style != vbComboDropdownList) SetText(text);
}

void ComboBox::SaveDesign() {
    Widget::SaveDesign();
    cDesign_ = c_;
}
void ComboBox::RestoreDesign() {
    Widget::RestoreDesign();
    c_ = cDesign_;
}

// ---------------------------------------------------------------- HScrollBar

HScrollBar::HScrollBar(Widget& container, std::string name, int index)
    : Control(container, Kind::HScrollBar, std::move(name), index) {
    s_.width = 1215;
    s_.height = 255;
}

void HScrollBar::SetValueFiring(int value, bool fireChange, bool fireScroll) {
    value = std::clamp(value, std::min(v_.min, v_.max), std::max(v_.min, v_.max));
    if (value == v_.value) return;
    v_.value = value;
    Changed(Prop::Value);
    if (!Live()) return;
    if (fireScroll && onScroll) onScroll();
    if (fireChange && onChange) onChange();
}

void HScrollBar::SetValue(int value) { SetValueFiring(value, true, false); }

void HScrollBar::SetMin(int min) {
    v_.min = min;
    Changed(Prop::Value);
    SetValueFiring(v_.value, true, false);
}

void HScrollBar::SetMax(int max) {
    v_.max = max;
    Changed(Prop::Value);
    SetValueFiring(v_.value, true, false);
}

void HScrollBar::SetSmallChange(int step) {
    v_.smallChange = step;
    Changed(Prop::Value);
}

void HScrollBar::SetLargeChange(int step) {
    v_.largeChange = step;
    Changed(Prop::Value);
}

void HScrollBar::DeliverScroll(ScrollAction action, int position) {
    if (!Live() || !IsShowing() || !IsEffectivelyEnabled()) return;
    int dir = v_.max >= v_.min ? 1 : -1;
    switch (action) {
        case ScrollAction::LineLeft:
            SetValueFiring(v_.value - dir * v_.smallChange, true, false);
            break;
        case ScrollAction::LineRight:
            SetValueFiring(v_.value + dir * v_.smallChange, true, false);
            break;
        case ScrollAction::PageLeft:
            SetValueFiring(v_.value - dir * v_.largeChange, true, false);
            break;
        case ScrollAction::PageRight:
            SetValueFiring(v_.value + dir * v_.largeChange, true, false);
            break;
        case ScrollAction::Home:
            SetValueFiring(v_.min, true, false);
            break;
        case ScrollAction::End:
            SetValueFiring(v_.max, true, false);
            break;
        case ScrollAction::Track:
            if (!dragging_) {
                dragging_ = true;
                dragStart_ = v_.value;
            }
            SetValueFiring(position, false, true);
            break;
        case ScrollAction::EndTrack:
            if (!dragging_) {
                SetValueFiring(position, true, false);
                break;
            }
            dragging_ = false;
            SetValueFiring(position, false, false);
            if (v_.value != dragStart_ && Live() && onChange) onChange();
            break;
    }
}

void HScrollBar::SaveDesign() {
    Widget::SaveDesign();
    vDesign_ = v_;
}
void HScrollBar::RestoreDesign() {
    Widget::RestoreDesign();
    v_ = vDesign_;
    dragging_ = false;
}

// ---------------------------------------------------------------- Frame

Frame::Frame(Widget& container, std::string name, int index)
    : Control(container, Kind::Frame, std::move(name), index) {
    s_.tabStop = false;
    s_.borderStyle = vbFixedSingle;  // a frame shows its border unless told otherwise
    s_.width = 1815;
    s_.height = 1215;
}

// ---------------------------------------------------------------- Shape

Shape::Shape(Widget& container, std::string name, int index)
    : Control(container, Kind::Shape, std::move(name), index) {
    s_.tabStop = false;
    s_.backStyle = vbTransparent;
    s_.backColor = vbWindowBackground;
    s_.borderStyle = vbFixedSingle;
    s_.caption.clear();
    s_.width = 1215;
    s_.height = 615;
}

void Shape::SetShape(int shape) {
    sh_.shape = shape;
    Changed(Prop::Appearance);
}
void Shape::SetBorderColor(Color c) {
    sh_.borderColor = c;
    Changed(Prop::Colors);
}
void Shape::SetBorderWidth(int width) {
    sh_.borderWidth = std::max(1, width);
    Changed(Prop::Appearance);
}
void Shape::SetFillColor(Color c) {
    sh_.fillColor = c;
    Changed(Prop::Colors);
}
void Shape::SetFillStyle(int style) {
    sh_.fillStyle = style;
    Changed(Prop::Appearance);
}

void Shape::SaveDesign() {
    Widget::SaveDesign();
    shDesign_ = sh_;
}
void Shape::RestoreDesign() {
    Widget::RestoreDesign();
    sh_ = shDesign_;
}

// ---------------------------------------------------------------- Image

Image::Image(Widget& container, std::string name, int index)
    : Control(container, Kind::Image, std::move(name), index) {
    s_.tabStop = false;
    s_.caption.clear();
    s_.width = 480;
    s_.height = 480;
}

void Image::SetPicture(PicturePtr picture) {
    picture_ = std::move(picture);
    Changed(Prop::Picture);
    if (picture_ && !stretch_) {
        double tpp = GetBackend().TwipsPerPixel();
        SetGeometry(s_.left, s_.top, picture_->Width() * tpp, picture_->Height() * tpp);
    }
}

void Image::SetStretch(bool stretch) {
    stretch_ = stretch;
    Changed(Prop::Picture);
}

void Image::SaveDesign() {
    Widget::SaveDesign();
    pictureDesign_ = picture_;
    stretchDesign_ = stretch_;
}
void Image::RestoreDesign() {
    Widget::RestoreDesign();
    picture_ = pictureDesign_;
    stretch_ = stretchDesign_;
}

// ---------------------------------------------------------------- PictureBox

PictureBox::PictureBox(Widget& container, std::string name, int index)
    : Control(container, Kind::PictureBox, std::move(name), index) {
    s_.borderStyle = vbFixedSingle;
    s_.caption.clear();
    s_.width = 1215;
    s_.height = 1215;
    PixelRect c = ClientPixelRect();
    surface_ = Surface(c.width, c.height, Resolve(s_.backColor));
}

double PictureBox::OwnUnit() const {
    return p_.scaleMode == vbPixels ? GetBackend().TwipsPerPixel() : 1.0;
}

void PictureBox::SetScaleMode(int mode) { p_.scaleMode = mode == vbPixels ? vbPixels : vbTwips; }

double PictureBox::ScaleWidth() const {
    return ClientPixelRect().width * GetBackend().TwipsPerPixel() / OwnUnit();
}

double PictureBox::ScaleHeight() const {
    return ClientPixelRect().height * GetBackend().TwipsPerPixel() / OwnUnit();
}

void PictureBox::SetAlign(int align) {
    if (align == p_.align) return;
    p_.align = align;
    if (Container()->GetKind() == Kind::Form && ParentForm().IsLoaded()) ParentForm().Resized();
}

void PictureBox::Repaint() {
    surface_.Fill(Resolve(s_.backColor));
    if (p_.picture) surface_.Blit(*p_.picture, 0, 0);
}

void PictureBox::SurfaceChanged() { Changed(Prop::Surface); }

void PictureBox::SetPicture(PicturePtr picture) {
    p_.picture = std::move(picture);
    if (p_.picture && s_.autoSize) {
        double tpp = GetBackend().TwipsPerPixel();
        int border = s_.borderStyle == vbFixedSingle ? 2 * kPictureBorder : 0;
        SetGeometry(s_.left, s_.top, (p_.picture->Width() + border) * tpp,
                    (p_.picture->Height() + border) * tpp);
    }
    Changed(Prop::Picture);
    Repaint();
    SurfaceChanged();
}

bool PictureBox::LoadPictureFile(const std::string& path) {
    PicturePtr p = LoadPicture(path);
    if (!p) return false;
    SetPicture(std::move(p));
    return true;
}

void PictureBox::SetBackColor(Color c) {
    s_.backColor = c;
    Changed(Prop::Colors);
    Cls();
}

void PictureBox::SetDrawWidth(int width) { p_.drawWidth = std::max(1, width); }

void PictureBox::Cls() {
    Repaint();
    currentX_ = 0;
    currentY_ = 0;
    SurfaceChanged();
}

int PictureBox::ToPixelX(double x) const {
    return Round(x * OwnUnit() / GetBackend().TwipsPerPixel());
}
int PictureBox::ToPixelY(double y) const {
    return Round(y * OwnUnit() / GetBackend().TwipsPerPixel());
}

void PictureBox::PSet(double x, double y) { PSet(x, y, s_.foreColor); }

void PictureBox::PSet(double x, double y, Color c) {
    surface_.Dot(ToPixelX(x), ToPixelY(y), Resolve(c), p_.drawWidth);
    currentX_ = x;
    currentY_ = y;
    SurfaceChanged();
}

void PictureBox::Line(double x1, double y1, double x2, double y2) {
    Line(x1, y1, x2, y2, s_.foreColor);
}

void PictureBox::Line(double x1, double y1, double x2, double y2, Color c) {
    surface_.Line(ToPixelX(x1), ToPixelY(y1), ToPixelX(x2), ToPixelY(y2), Resolve(c), p_.drawWidth);
    currentX_ = x2;
    currentY_ = y2;
    SurfaceChanged();
}

void PictureBox::LineTo(double x2, double y2) { Line(currentX_, currentY_, x2, y2); }

void PictureBox::LineTo(double x2, double y2, Color c) { Line(currentX_, currentY_, x2, y2, c); }

void PictureBox::Box(double x1, double y1, double x2, double y2, Color c, bool filled) {
    if (filled)
        surface_.FillRect(ToPixelX(x1), ToPixelY(y1), ToPixelX(x2), ToPixelY(y2), Resolve(c));
    else
        surface_.Box(ToPixelX(x1), ToPixelY(y1), ToPixelX(x2), ToPixelY(y2), Resolve(c),
                     p_.drawWidth);
    currentX_ = x2;
    currentY_ = y2;
    SurfaceChanged();
}

void PictureBox::Print(const std::string& text) {
    GetBackend().DrawText(surface_, ToPixelX(currentX_), ToPixelY(currentY_), text, s_.font,
                          Resolve(s_.foreColor));
    TextExtent e = GetBackend().MeasureText(s_.font, text, 0);
    currentX_ = 0;
    currentY_ += e.height * GetBackend().TwipsPerPixel() / OwnUnit();
    SurfaceChanged();
}

Color PictureBox::Point(double x, double y) const { return surface_.At(ToPixelX(x), ToPixelY(y)); }

void PictureBox::GeometryChanged(bool sizeChanged) {
    if (!sizeChanged) return;
    PixelRect c = ClientPixelRect();
    if (c.width != surface_.Width() || c.height != surface_.Height()) {
        surface_.Resize(c.width, c.height, Resolve(s_.backColor));
        SurfaceChanged();
    }
    if (Live() && ParentForm().displayed_) RaiseResize();
}

void PictureBox::RaiseResize() {
    if (onResize) onResize();
}

void PictureBox::SaveDesign() {
    Widget::SaveDesign();
    pDesign_ = p_;
}

void PictureBox::RestoreDesign() {
    Widget::RestoreDesign();
    p_ = pDesign_;
    PixelRect c = ClientPixelRect();
    surface_ = Surface(c.width, c.height, Resolve(s_.backColor));
    Repaint();
    currentX_ = currentY_ = 0;
}

}  // namespace qm::ui
