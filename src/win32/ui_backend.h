// The Win32 backend of the forms toolkit. Each control is a real child window (BUTTON,
// COMBOBOX, SCROLLBAR, or a class of our own for forms, frames and picture boxes); labels,
// shapes and images are painted by their container, as the classic toolkit's windowless
// controls are, and each keeps a window of its own with an empty window region, so it hides
// nothing yet carries its caption and state. Every window carries the property
// "QMControlName" (a global atom holding the control or form name), so a test runner in
// another process finds "cmdApply" or "optFeedbackSound(1)" by name; every message box
// carries "QMMessageBoxFlags" (the flags it was asked for).
//
//     qm::win32::Win32Ui ui;
//     qm::ui::Application app(ui);
//     app.SetPath(ui.ProgramFolder());
//     app.SetPrevInstance(ui.AnotherInstanceRunning());
//     MainForm frmMain(app, ...);
//     return app.Run(frmMain);
#pragma once

#include <memory>
#include <string>

#include "ui/backend.h"

namespace qm::win32 {

class Win32Ui final : public ui::Backend {
  public:
    Win32Ui();
    ~Win32Ui() override;
    Win32Ui(const Win32Ui&) = delete;
    Win32Ui& operator=(const Win32Ui&) = delete;

    // The folder of the running program, without a trailing backslash.
    std::string ProgramFolder() const;
    // True when another copy of this program (same file name) is running; the check holds a
    // named mutex for the rest of this process's life.
    bool AnotherInstanceRunning();
    // Tells the user about a fault that escaped the program code (an exception), so the
    // program ends with a message instead of vanishing.
    void ReportFault(const std::string& what);

    void Create(ui::Widget& widget) override;
    void Destroy(ui::Widget& widget) override;
    void Update(ui::Widget& widget, ui::Prop what) override;
    void SetFocus(ui::Widget& widget) override;
    void DoEvents(ui::Application& app) override;
    void RunLoop(ui::Application& app) override;
    int MessageBox(const std::string& text, int flags, const std::string& title) override;
    void Beep() override;
    void SetScreenMousePointer(int pointer) override;
    double TwipsPerPixel() const override;
    int ScreenWidthPixels() const override;
    int ScreenHeightPixels() const override;
    ui::Insets FormFrame(int borderStyle, bool hasCaption) const override;
    ui::TextExtent MeasureText(const ui::Font& font, const std::string& text,
                               int wrapWidth) override;
    ui::Color SystemColor(int index) const override;
    void DrawText(ui::Surface& surface, int x, int y, const std::string& text,
                  const ui::Font& font, ui::Color color) override;

    struct Impl;

  private:
    std::unique_ptr<Impl> impl_;
};

}  // namespace qm::win32
