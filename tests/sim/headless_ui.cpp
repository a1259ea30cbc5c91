#include "sim/headless_ui.h"
#include "ui/input.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace qm::sim {

using namespace qm::ui;

namespace {

std::vector<int> ButtonsOf(int flags) {
    switch (flags & 7) {
        case vbOKCancel:
            return {vbOK, vbCancel};
        case vbAbortRetryIgnore:
            return {vbAbort, vbRetry, vbIgnore};
        case vbYesNoCancel:
            return {vbYes, vbNo, vbCancel};
        case vbYesNo:
            return {vbYes, vbNo};
        case vbRetryCancel:
            return {vbRetry, vbCancel};
        default:
            return {vbOK};
    }
}

// The character a key gives (0 for none), as the keyboard translation makes it.
int CharFor(int keyCode, int shift) {
    bool ctrl = shift & vbCtrlMask;
    if (keyCode >= 'A' && keyCode <= 'Z') {
        if (ctrl) return keyCode - 'A' + 1;
        return (shift & vbShiftMask) ? keyCode : keyCode - 'A' + 'a';
    }
    if (ctrl) return 0;
    if (keyCode >= '0' && keyCode <= '9') return keyCode;
    switch (keyCode) {
        case vbKeyBack:
        case vbKeyReturn:
        case vbKeyEscape:
        case vbKeySpace:
            return keyCode;
        default:
            return 0;
    }
}

// The key code and shift state that type a character.
std::pair<int, int> KeyFor(char c) {
    unsigned char u = static_cast<unsigned char>(c);
    if (std::isupper(u)) return {u, vbShiftMask};
    if (std::islower(u)) return {std::toupper(u), 0};
    return {u, 0};
}

}  // namespace

HeadlessUi::HeadlessUi(int screenWidth, int screenHeight, double twipsPerPixel)
    : screenWidth_(screenWidth), screenHeight_(screenHeight), twipsPerPixel_(twipsPerPixel) {
    updates_.assign(static_cast<std::size_t>(Prop::KeyPreview) + 1, 0);
}

// ---------------------------------------------------------------- input

bool HeadlessUi::Reachable(const Widget& w) const { return IsReachable(w); }

bool HeadlessUi::Mouse(Widget& target, MouseAction action, int button, int shift, int x, int y) {
    if (!Reachable(target)) return false;
    PixelRect inner = target.ClientPixelRect();
    if (x < 0) x = inner.width / 2;
    if (y < 0) y = inner.height / 2;
    target.DeliverMouse(action, button, shift, x, y);
    return true;
}

bool HeadlessUi::MouseDown(Widget& target, int button, int shift, int x, int y) {
    return Mouse(target, MouseAction::Down, button, shift, x, y);
}
bool HeadlessUi::MouseMove(Widget& target, int button, int shift, int x, int y) {
    return Mouse(target, MouseAction::Move, button, shift, x, y);
}
bool HeadlessUi::MouseUp(Widget& target, int button, int shift, int x, int y) {
    return Mouse(target, MouseAction::Up, button, shift, x, y);
}

bool HeadlessUi::Click(Widget& target, int shift) {
    if (!MouseDown(target, vbLeftButton, shift)) return false;
    if (Reachable(target)) MouseUp(target, vbLeftButton, shift);
    if (Reachable(target)) target.DeliverClick();
    return true;
}

bool HeadlessUi::DblClick(Widget& target) {
    if (!Click(target)) return false;
    if (Reachable(target)) target.DeliverDblClick();
    if (Reachable(target)) MouseUp(target, vbLeftButton, 0);
    return true;
}

bool HeadlessUi::AccessKey(Form& form, char letter) { return PressAccessKey(form, letter); }

bool HeadlessUi::PressKey(Form& form, int keyCode, int shift) {
    if (!form.IsLoaded() || !form.Visible() || !form.Enabled()) return false;
    Widget* target = form.ActiveControl();
    if (!target) target = &form;
    int key = target->DeliverKeyDown(keyCode, shift);
    if (key != 0 && form.IsLoaded()) {
        Widget* focus = target == &form ? nullptr : target;
        bool isButton = focus && focus->GetKind() == Kind::CommandButton;
        if (key == vbKeyTab && !(shift & (vbCtrlMask | vbAltMask))) {
            if (Widget* next = form.NextTabStop(focus, shift & vbShiftMask)) next->SetFocus();
        } else if ((shift & vbAltMask) && key >= 'A' && key <= 'Z') {
            AccessKey(form, static_cast<char>(key));
        } else if (key == vbKeyReturn && shift == 0 &&
                   (isButton || (form.DefaultButton() && Reachable(*form.DefaultButton())))) {
            (isButton ? focus : form.DefaultButton())->DeliverClick();
        } else if (key == vbKeyEscape && shift == 0 && form.CancelButton() &&
                   Reachable(*form.CancelButton())) {
            form.CancelButton()->DeliverClick();
        } else if (int c = CharFor(key, shift)) {
            int left = target->DeliverKeyPress(c);
            bool clickable = focus && (focus->GetKind() == Kind::CommandButton ||
                                       focus->GetKind() == Kind::CheckBox ||
                                       focus->GetKind() == Kind::OptionButton);
            if (left == vbKeySpace && clickable && Reachable(*focus)) focus->DeliverClick();
        }
    }
    if (form.IsLoaded()) target->DeliverKeyUp(keyCode, shift);
    return true;
}

bool HeadlessUi::TypeText(Form& form, const std::string& text) {
    for (char c : text) {
        auto [key, shift] = KeyFor(c);
        if (!PressKey(form, key, shift)) return false;
    }
    return true;
}

bool HeadlessUi::Pick(ComboBox& combo, int index) {
    if (!Reachable(combo)) return false;
    combo.SetFocus();
    combo.DeliverPick(index);
    return true;
}

bool HeadlessUi::Edit(ComboBox& combo, const std::string& text) {
    if (!Reachable(combo)) return false;
    combo.SetFocus();
    combo.DeliverEdit(text);
    return true;
}

bool HeadlessUi::Scroll(HScrollBar& bar, ScrollAction action) {
    if (!Reachable(bar)) return false;
    bar.DeliverScroll(action, bar.Value());
    return true;
}

bool HeadlessUi::DragThumb(HScrollBar& bar, const std::vector<int>& positions) {
    if (!Reachable(bar) || positions.empty()) return false;
    for (int p : positions) bar.DeliverScroll(ScrollAction::Track, p);
    bar.DeliverScroll(ScrollAction::EndTrack, positions.back());
    return true;
}

bool HeadlessUi::CloseBox(Form& form) {
    if (!form.IsLoaded() || !form.Visible()) return false;
    form.DeliverClose();
    return true;
}

// ---------------------------------------------------------------- polling loops

void HeadlessUi::AtDoEvents(int n, std::function<void()> action) {
    scheduled_.push_back({doEvents_ + std::max(1, n), std::move(action)});
}

void HeadlessUi::DoEvents(Application&) {
    ++doEvents_;
    if (doEvents_ > doEventsLimit_)
        throw std::runtime_error("the program is still polling after " +
                                 std::to_string(doEventsLimit_) + " DoEvents calls");
    // Actions may schedule more; run those due now, in the order they were scheduled.
    for (;;) {
        auto due = std::find_if(scheduled_.begin(), scheduled_.end(),
                                [&](const Scheduled& s) { return s.at <= doEvents_; });
        if (due == scheduled_.end()) break;
        std::function<void()> action = std::move(due->action);
        scheduled_.erase(due);
        action();
    }
}

void HeadlessUi::RunLoop(Application&) {}

// ---------------------------------------------------------------- message boxes

void HeadlessUi::Answer(int button) { answers_.push_back(button); }

void HeadlessUi::Answer(std::initializer_list<int> buttons) {
    for (int b : buttons) answers_.push_back(b);
}

int HeadlessUi::MessageBox(const std::string& text, int flags, const std::string& title) {
    Box box{text, flags, title, 0};
    if (onBox) onBox(box);
    int answer = 0;
    if (!answers_.empty()) {
        answer = answers_.front();
        answers_.pop_front();
    } else if (onUnscripted) {
        answer = onUnscripted(box);
    } else {
        boxes_.push_back(box);
        throw UnscriptedMessageBox("message box without a scripted answer: \"" + text +
                                   "\" (flags " + std::to_string(flags) + ", title \"" + title +
                                   "\")");
    }
    std::vector<int> allowed = ButtonsOf(flags);
    if (std::find(allowed.begin(), allowed.end(), answer) == allowed.end()) {
        boxes_.push_back(box);
        throw UnscriptedMessageBox("answer " + std::to_string(answer) +
                                   " is not a button of the box \"" + text + "\" (flags " +
                                   std::to_string(flags) + ")");
    }
    box.answer = answer;
    boxes_.push_back(box);
    return answer;
}

// ---------------------------------------------------------------- peers

void HeadlessUi::Create(Widget& widget) {
    if (widget.Container() && !peers_.count(widget.Container()))
        throw std::logic_error(widget.Name() + " created before its container");
    if (!peers_.insert(&widget).second) throw std::logic_error(widget.Name() + " created twice");
}

void HeadlessUi::Destroy(Widget& widget) {
    peers_.erase(&widget);
    if (focused_ == &widget) focused_ = nullptr;
}

void HeadlessUi::Update(Widget& widget, Prop what) {
    if (!peers_.count(&widget)) throw std::logic_error(widget.Name() + " updated without a peer");
    ++updates_[static_cast<std::size_t>(what)];
}

int HeadlessUi::Updates(Prop what) const { return updates_[static_cast<std::size_t>(what)]; }

void HeadlessUi::SetFocus(Widget& widget) { focused_ = &widget; }

// ---------------------------------------------------------------- metrics

Insets HeadlessUi::FormFrame(int borderStyle, bool hasCaption) const {
    if (borderStyle == vbBSNone) return {};
    return {3, hasCaption ? 22 : 3, 3, 3};
}

TextExtent HeadlessUi::MeasureText(const Font& font, const std::string& text, int wrapWidth) {
    int charWidth = std::max(1, static_cast<int>(std::lround(font.size * 2 / 3)));
    int lineHeight = static_cast<int>(std::lround(font.size * 4 / 3)) + 3;
    int width = static_cast<int>(text.size()) * charWidth;
    int lines = 1;
    if (wrapWidth > 0 && width > wrapWidth) {
        lines = (width + wrapWidth - 1) / wrapWidth;
        width = wrapWidth;
    }
    return {width, lines * lineHeight};
}

Color HeadlessUi::SystemColor(int index) const {
    switch (index) {
        case 5:  // window
            return Rgb(255, 255, 255);
        case 8:   // window text
        case 18:  // button text
            return Rgb(0, 0, 0);
        case 17:  // grey text
            return Rgb(128, 128, 128);
        default:  // button face and the rest of the 3D colours
            return Rgb(212, 208, 200);
    }
}

void HeadlessUi::DrawText(Surface&, int x, int y, const std::string& text, const Font&,
                          Color color) {
    printed_.push_back({text, x, y, color});
}

}  // namespace qm::sim
