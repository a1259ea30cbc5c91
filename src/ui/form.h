// Forms and control arrays.
//
// A form is a class deriving from ui::Form, with its controls as members and its own events as
// overrides of the Form_* handlers:
//
//     class SleepTimeForm : public ui::Form {
//     public:
//         explicit SleepTimeForm(ui::Application& app);
//         ui::HScrollBar hscSleepTime{*this, "hscSleepTime"};
//         ui::CommandButton cmdApply{*this, "cmdApply"};
//     protected:
//         void Form_Load() override;
//     private:
//         void hscSleepTime_Change();
//     };
//
// Show loads the form the first time (Form_Load), displays it (Form_Resize the first time)
// and activates it (Form_Activate) unless it is already the active form. Unload fires
// Form_Unload, destroys the window and puts every control back to its design; a later Show
// loads it again.
#pragma once

#include <initializer_list>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "ui/controls.h"

namespace qm::ui {

class Form : public Widget {
  public:
    Form(Application& app, std::string name);
    ~Form() override;

    void Load();  // loads without showing (nothing when already loaded)
    void Show();
    void Hide();  // loads first when needed, as the classic toolkit does
    void Unload();
    bool IsLoaded() const { return loaded_; }

    bool KeyPreview() const { return f_.keyPreview; }
    void SetKeyPreview(bool preview);
    int WindowState() const { return f_.windowState; }
    void SetWindowState(int state);  // vbNormal, vbMinimized, vbMaximized
    bool ControlBox() const { return f_.controlBox; }
    void SetControlBox(bool box);
    // Client area in twips (the form's scale).
    double ScaleWidth() const;
    double ScaleHeight() const;
    Insets FrameInsets() const;  // non-client frame in pixels

    Widget* ActiveControl() const { return focus_; }
    CommandButton* DefaultButton() const;
    CommandButton* CancelButton() const;
    // Every widget of the form, containers before their contents, in creation order.
    std::vector<Widget*> AllWidgets() const;
    Widget* FindByName(const std::string& name) const;
    // The next control that takes the focus with Tab (or Shift+Tab), nullptr if none.
    Widget* NextTabStop(Widget* from, bool backwards) const;

    // From a backend: the user resized the window (outer size in pixels), moved it, closed
    // it with the close box (Unload), or activated it.
    void DeliverResize(int outerWidthPx, int outerHeightPx);
    void DeliverMove(int leftPx, int topPx);
    void DeliverClose();
    void DeliverActivate();

  protected:
    virtual void Form_Load() {}
    virtual void Form_Activate() {}
    virtual void Form_Deactivate() {}
    virtual void Form_Resize() {}
    // Set cancel to keep the form loaded.
    virtual void Form_Unload(bool& cancel) { (void)cancel; }
    virtual void Form_Click() {}
    virtual void Form_DblClick() {}
    virtual void Form_MouseDown(int button, int shift, double x, double y);
    virtual void Form_MouseMove(int button, int shift, double x, double y);
    virtual void Form_MouseUp(int button, int shift, double x, double y);
    virtual void Form_KeyDown(int& keyCode, int shift);
    virtual void Form_KeyUp(int& keyCode, int shift);
    virtual void Form_KeyPress(int& keyAscii);

    void RaiseClick() override { Form_Click(); }
    void RaiseDblClick() override { Form_DblClick(); }
    void RaiseMouse(MouseAction action, int button, int shift, double x, double y) override;
    void RaiseKeyDown(int& keyCode, int shift) override { Form_KeyDown(keyCode, shift); }
    void RaiseKeyUp(int& keyCode, int shift) override { Form_KeyUp(keyCode, shift); }
    void RaiseKeyPress(int& keyAscii) override { Form_KeyPress(keyAscii); }
    void GeometryChanged(bool sizeChanged) override;
    void SaveDesign() override;
    void RestoreDesign() override;

  private:
    friend class Widget;
    friend class Application;
    friend class CommandButton;
    friend class PictureBox;
    void Register(Widget& w) { all_.push_back(&w); }
    void Unregister(Widget& w);
    void SetFocusTo(Widget* w) { focus_ = w; }
    void Resized();  // docking, picture box Resize events, Form_Resize
    void ApplyWindowState();
    // End of the program: windows go without any event.
    void Discard();
    void CreatePeers();
    void DestroyPeers();

    struct FormState {
        bool keyPreview = false;
        int windowState = vbNormal;
        bool controlBox = true;
    };
    FormState f_, fDesign_;
    bool loaded_ = false;
    bool designSaved_ = false;
    bool displayed_ = false;  // shown since it was loaded
    double normalLeft_ = 0, normalTop_ = 0, normalWidth_ = 0, normalHeight_ = 0;
    Widget* focus_ = nullptr;
    std::vector<Widget*> all_;  // every control, in creation order
};

// Controls sharing a name and told apart by index: optFeedbackSound(1..4). The array's
// handlers receive the index first, as the classic toolkit's array events do:
//
//     ui::ControlArray<ui::OptionButton> optFeedbackSound{Frame1, "optFeedbackSound", {1, 2, 3,
//     4}}; optFeedbackSound.onClick = [this](int index) { optFeedbackSound_Click(index); };
//     optFeedbackSound(2).SetValue(true);
template <class T>
class ControlArray {
  public:
    ControlArray(Widget& container, std::string name, std::initializer_list<int> indexes)
        : container_(container), name_(std::move(name)) {
        for (int i : indexes) Load(i);
    }
    ControlArray(const ControlArray&) = delete;
    ControlArray& operator=(const ControlArray&) = delete;

    std::function<void(int index)> onClick;
    std::function<void(int index)> onDblClick;
    std::function<void(int index)> onChange;
    std::function<void(int index)> onScroll;
    std::function<void(int index, int button, int shift, double x, double y)> onMouseDown;
    std::function<void(int index, int button, int shift, double x, double y)> onMouseMove;
    std::function<void(int index, int button, int shift, double x, double y)> onMouseUp;
    std::function<void(int index, int& keyCode, int shift)> onKeyDown;
    std::function<void(int index, int& keyAscii)> onKeyPress;

    T& operator()(int index) { return At(index); }
    const T& operator()(int index) const { return At(index); }
    T& operator[](int index) { return At(index); }
    bool Contains(int index) const { return items_.count(index) != 0; }
    int Count() const { return static_cast<int>(items_.size()); }
    int LBound() const { return items_.empty() ? 0 : items_.begin()->first; }
    int UBound() const { return items_.empty() ? -1 : items_.rbegin()->first; }
    std::vector<int> Indexes() const {
        std::vector<int> out;
        for (auto& [i, _] : items_) out.push_back(i);
        return out;
    }

    // A new element (before the form first loads: part of the design).
    T& Load(int index) {
        auto [it, inserted] = items_.emplace(index, nullptr);
        if (!inserted) throw std::logic_error("control array element exists: " + name_);
        it->second = std::make_unique<T>(container_, name_, index);
        Wire(*it->second, index);
        return *it->second;
    }

    T& At(int index) const {
        auto it = items_.find(index);
        if (it == items_.end())
            throw std::out_of_range(name_ + "(" + std::to_string(index) + ") does not exist");
        return *it->second;
    }

  private:
    void Wire(T& c, int i) {
        c.onClick = [this, i] {
            if (onClick) onClick(i);
        };
        c.onDblClick = [this, i] {
            if (onDblClick) onDblClick(i);
        };
        c.onMouseDown = [this, i](int b, int s, double x, double y) {
            if (onMouseDown) onMouseDown(i, b, s, x, y);
        };
        c.onMouseMove = [this, i](int b, int s, double x, double y) {
            if (onMouseMove) onMouseMove(i, b, s, x, y);
        };
        c.onMouseUp = [this, i](int b, int s, double x, double y) {
            if (onMouseUp) onMouseUp(i, b, s, x, y);
        };
        c.onKeyDown = [this, i](int& k, int s) {
            if (onKeyDown) onKeyDown(i, k, s);
        };
        c.onKeyPress = [this, i](int& k) {
            if (onKeyPress) onKeyPress(i, k);
        };
        if constexpr (requires { c.onChange; }) {
            c.onChange = [this, i] {
                if (onChange) onChange(i);
            };
        }
        if constexpr (requires { c.onScroll; }) {
            c.onScroll = [this, i] {
                if (onScroll) onScroll(i);
            };
        }
    }

    Widget& container_;
    std::string name_;
    std::map<int, std::unique_ptr<T>> items_;
};

}  // namespace qm::ui
