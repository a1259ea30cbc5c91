// The headless backend of the forms toolkit: no windows. A test builds the program's forms on
// it, then acts as the user (clicks, mouse buttons with shift state, keys routed through key
// preview, scroll bar drags, list picks), reads every property from the model, answers message
// boxes from a script and checks what was drawn, pixel by pixel.
//
//     sim::HeadlessUi ui;                  // 1024 x 768 pixels, 15 twips per pixel
//     ui::Application app(ui);
//     FeedbackSoundForm frm(app, ...);
//     frm.Show();
//     ui.Click(frm.optFeedbackSound(3));
//     ui.Answer(ui::vbYes);                // the next message box is answered Yes
//     ui.AtDoEvents(3, [&] { ui.PressKey(frm, ui::vbKeyEscape); });
//     EXPECT_EQ(ui.Boxes().at(0).text, "...");
#pragma once

#include <deque>
#include <functional>
#include <initializer_list>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "ui/forms.h"

namespace qm::sim {

// A message box came up with no scripted answer, or with an answer that is not one of its
// buttons. Thrown out of the program code, so the test fails with the box's text.
class UnscriptedMessageBox : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class HeadlessUi : public ui::Backend {
  public:
    explicit HeadlessUi(int screenWidth = 1024, int screenHeight = 768,
                        double twipsPerPixel = 15.0);

    // ---- the user ----
    // Each returns false, delivering nothing, when the target cannot take the input: its form
    // is not loaded or not shown, or the control (or a container of it) is hidden or disabled.
    // Positions are pixels relative to the control's inner area; -1 means its centre.
    bool Click(ui::Widget& target, int shift = 0);  // left button down, up, then Click
    bool DblClick(ui::Widget& target);
    bool MouseDown(ui::Widget& target, int button, int shift = 0, int x = -1, int y = -1);
    bool MouseMove(ui::Widget& target, int button, int shift = 0, int x = -1, int y = -1);
    bool MouseUp(ui::Widget& target, int button, int shift = 0, int x = -1, int y = -1);
    // A key on the form's focused control (the form itself when none): KeyDown through key
    // preview, then what the dialog manager does with Tab, Enter (focused or default button),
    // Esc (cancel button), Space (focused button) and Alt+letter (access keys), else KeyPress
    // with the key's character; then KeyUp.
    bool PressKey(ui::Form& form, int keyCode, int shift = 0);
    bool TypeText(ui::Form& form, const std::string& text);
    bool Pick(ui::ComboBox& combo, int index);
    bool Edit(ui::ComboBox& combo, const std::string& text);
    bool Scroll(ui::HScrollBar& bar, ui::ScrollAction action);
    // Drags the thumb through the positions (Scroll for each) and drops it at the last.
    bool DragThumb(ui::HScrollBar& bar, const std::vector<int>& positions);
    bool CloseBox(ui::Form& form);  // the window's close box

    // ---- input during the program's polling loops ----
    // Runs `action` inside the n-th DoEvents call from now (1 = the next one).
    void AtDoEvents(int n, std::function<void()> action);
    int DoEventsCount() const { return doEvents_; }
    // A program polling longer than this many DoEvents calls is taken to hang: DoEvents throws.
    void SetDoEventsLimit(long limit) { doEventsLimit_ = limit; }

    // ---- message boxes ----
    struct Box {
        std::string text;
        int flags = 0;
        std::string title;
        int answer = 0;
    };
    void Answer(int button);
    void Answer(std::initializer_list<int> buttons);
    // Called for a box without a scripted answer; its result answers the box. When empty
    // (the default) such a box throws UnscriptedMessageBox.
    std::function<int(const Box&)> onUnscripted;
    // Called while a box is up (before it is answered), e.g. to check the screen behind it.
    std::function<void(const Box&)> onBox;
    const std::vector<Box>& Boxes() const { return boxes_; }
    std::size_t PendingAnswers() const { return answers_.size(); }
    int Beeps() const { return beeps_; }

    // ---- what the user sees ----
    // A container's inner area with everything inside it (see ui::Compose).
    ui::Surface Render(const ui::Widget& container) const { return ui::Compose(container, true); }
    int ScreenMousePointer() const { return screenPointer_; }
    struct PrintedText {
        std::string text;
        int x = 0, y = 0;
        ui::Color color = 0;
    };
    const std::vector<PrintedText>& Printed() const { return printed_; }
    // Backend calls seen: peers alive now, and the updates each property group received.
    bool HasPeer(const ui::Widget& w) const { return peers_.count(&w) != 0; }
    int Updates(ui::Prop what) const;
    const ui::Widget* Focused() const { return focused_; }

    // ---- ui::Backend ----
    void Create(ui::Widget& widget) override;
    void Destroy(ui::Widget& widget) override;
    void Update(ui::Widget& widget, ui::Prop what) override;
    void SetFocus(ui::Widget& widget) override;
    void DoEvents(ui::Application& app) override;
    void RunLoop(ui::Application& app) override;
    int MessageBox(const std::string& text, int flags, const std::string& title) override;
    void Beep() override { ++beeps_; }
    void SetScreenMousePointer(int pointer) override { screenPointer_ = pointer; }
    double TwipsPerPixel() const override { return twipsPerPixel_; }
    int ScreenWidthPixels() const override { return screenWidth_; }
    int ScreenHeightPixels() const override { return screenHeight_; }
    ui::Insets FormFrame(int borderStyle, bool hasCaption) const override;
    // Fixed metrics: a character is (points x 2/3) pixels wide, a line (points x 4/3 + 3) high.
    ui::TextExtent MeasureText(const ui::Font& font, const std::string& text,
                               int wrapWidth) override;
    ui::Color SystemColor(int index) const override;
    void DrawText(ui::Surface& surface, int x, int y, const std::string& text, const ui::Font& font,
                  ui::Color color) override;

  private:
    bool Reachable(const ui::Widget& w) const;
    bool Mouse(ui::Widget& target, ui::MouseAction action, int button, int shift, int x, int y);
    bool AccessKey(ui::Form& form, char letter);

    int screenWidth_;
    int screenHeight_;
    double twipsPerPixel_;
    int doEvents_ = 0;
    long doEventsLimit_ = 1000000;
    struct Scheduled {
        int at;
        std::function<void()> action;
    };
    std::vector<Scheduled> scheduled_;
    std::deque<int> answers_;
    std::vector<Box> boxes_;
    int beeps_ = 0;
    int screenPointer_ = 0;
    std::vector<PrintedText> printed_;
    std::set<const ui::Widget*> peers_;
    std::vector<int> updates_;
    const ui::Widget* focused_ = nullptr;
};

}  // namespace qm::sim
