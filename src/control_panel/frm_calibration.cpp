#include "control_panel/frm_calibration.h"

#include "common/classic.h"
#include "common_ui/message_boxes.h"
#include "common_ui/window_helpers.h"

namespace qm {

namespace {

constexpr ui::Color kFormGrey = ui::Rgb(192, 192, 192);
constexpr ui::Color kIndicatorOn = ui::Rgb(255, 255, 0);
constexpr ui::Color kIndicatorOff = ui::Rgb(255, 255, 255);
constexpr ui::Color kPromptGreen = ui::Rgb(0, 255, 0);

const char* const kQuestionTitle = "TouchScreen Calibration";
const char* const kCompleteText =
    "CALIBRATION IS COMPLETE.\r\rFor test, touch on the screen and check cursor position.\r"
    "To save new calibration, click Yes button.\rTo restore old calibration, click No button.";
const char* const kBreakText = "Are you sure you want to break calibration?";

void DesignPromptLine(ui::Label& lbl, ui::Color color, int alignment, const std::string& text) {
    lbl.SetBackStyle(ui::vbTransparent);
    lbl.SetForeColor(color);
    lbl.SetAlignment(alignment);
    lbl.SetFont({"MS Sans Serif", 9.75, true, false, false});
    lbl.SetCaption(text);
}

}  // namespace

CalibrationForm::CalibrationForm(ControlPanel& cp)
    : ui::Form(cp.app, "frmCalibration"), cp_(cp), engine_(cp.link, *this) {
    SetCaption("Calibration");
    SetBorderStyle(ui::vbBSNone);
    SetWindowState(ui::vbMaximized);
    SetBackColor(kFormGrey);

    // Everything inside the drawing surface is laid out in pixels.
    picCalibration.SetBorderStyle(ui::vbBSNone);
    picCalibration.SetScaleMode(ui::vbPixels);
    picCalibration.SetBackColor(ui::vbWindowBackground);
    picCalibration.onKeyPress = [this](int& keyAscii) { HandleCalibrationKey(keyAscii); };

    picHome.SetBorderStyle(ui::vbBSNone);
    picHome.SetScaleMode(ui::vbPixels);
    picHome.SetTabStop(false);
    picHome.Move(0, 0, 456, 132);

    picStat.SetScaleMode(ui::vbPixels);
    picStat.SetTabStop(false);
    picStat.SetBackColor(kIndicatorOff);
    picStat.Move(28, 8, 400, 24);
    lblResolution.SetBackStyle(ui::vbTransparent);
    lblResolution.SetAlignment(ui::vbCenter);
    lblResolution.SetFont({"MS Sans Serif", 8.25, true, false, false});
    lblResolution.SetCaption("Resolution: 1280 X 1024");
    lblResolution.Move(0, 3, 396, 16);

    picMesg.SetBorderStyle(ui::vbBSNone);
    picMesg.SetScaleMode(ui::vbPixels);
    picMesg.SetTabStop(false);
    picMesg.SetBackColor(ui::vbBlack);
    picMesg.Move(8, 40, 440, 60);
    DesignPromptLine(lblMesg3, ui::vbYellow, ui::vbCenter,
                     "Please lift off from TouchScreen to start calibration");
    lblMesg3.Move(0, 4, 440, 16);
    lblMesg3.SetVisible(false);
    DesignPromptLine(lblMesg1, kPromptGreen, ui::vbCenter,
                     "Please touch on the center of Cross Mark that");
    lblMesg1.Move(0, 10, 440, 16);
    DesignPromptLine(lblMesg2, kPromptGreen, ui::vbLeftJustify,
                     "show on the TOP-LEFT coner of the screen");
    lblMesg2.Move(72, 32, 368, 16);

    lblHelp.SetBackStyle(ui::vbTransparent);
    lblHelp.SetForeColor(ui::vbBlue);
    lblHelp.SetAlignment(ui::vbCenter);
    lblHelp.SetFont({"MS Sans Serif", 8.25, true, false, false});
    lblHelp.SetCaption("Press ESC key to break calibration");
    lblHelp.Move(0, 108, 456, 16);

    lblTitle.SetBackStyle(ui::vbTransparent);
    lblTitle.SetForeColor(ui::vbRed);
    lblTitle.SetFont({"Times New Roman", 21.75, true, false, false});
    lblTitle.SetCaption("TouchScreen Calibration");
    lblTitle.SetAutoSize(true);
}

// ---------------------------------------------------------------- events

void CalibrationForm::Form_Load() {
    DriverParameterBlock& b = cp_.link.Block();
    lblResolution.SetCaption("Resolution: " + NumberText(b.ScreenWidth) + " X " +
                             NumberText(b.ScreenHeight));
    SavedAutoMode = b.RightButtonAutoMode;
    // Touches on the targets must not turn into right clicks while the screen is open.
    if (b.RightButtonFunction == 1) {
        if (b.VirtualButton == 4 && b.RightButtonAutoMode != 0) {
            b.RightButtonAutoMode = 0;
            cp_.link.SetTouchMode();
        } else {
            cp_.link.HideRbHelper();
        }
    }
}

void CalibrationForm::Form_Resize() {
    picCalibration.Move(0, 0, ScaleWidth(), ScaleHeight());
    const double width = picCalibration.ScaleWidth();
    const double height = picCalibration.ScaleHeight();

    picHome.SetWidth(2 * picMesg.Left() + picMesg.Width());
    picHome.Move((width - picHome.Width()) / 2, (height - picHome.Height()) / 2);
    lblTitle.Move((width - lblTitle.Width()) / 2, picHome.Top() - 1.5 * lblTitle.Height());
    picStat.SetLeft((picHome.Width() - picStat.Width()) / 2);
    picMesg.SetLeft((picHome.Width() - picMesg.Width()) / 2);
    lblMesg3.SetTop((picStat.Height() - lblMesg3.Height()) / 2);

    const ui::PixelRect inner = picCalibration.ClientPixelRect();
    engine_.SetSurfaceSize(inner.width, inner.height);
}

void CalibrationForm::Form_Activate() {
    // The run keeps this event busy; an activation while it runs is not a new run.
    if (running_) return;
    running_ = true;
    RunCalibration();
    running_ = false;
    Unload();
}

void CalibrationForm::Form_Unload(bool& cancel) {
    if (running_) {
        // Closed while the run polls: end the run as a break, then close.
        engine_.BreakRequested = true;
        cancel = true;
        return;
    }
    DriverParameterBlock& b = cp_.link.Block();
    if (b.RightButtonFunction == 1) {
        if (b.VirtualButton == 4 && SavedAutoMode != 0) {
            b.RightButtonAutoMode = 1;
            cp_.link.SetTouchMode();
        } else {
            cp_.link.ShowRbHelper();
        }
    }
    cp_.ShowMainWindow();
    ShowMouseCursor();
}

// ---------------------------------------------------------------- the run

bool CalibrationForm::Touched() const {
    return (cp_.link.RawPoint().RawStatus & kRawTouchedBit) != 0;
}

void CalibrationForm::RunCalibration() {
    engine_.BreakRequested = false;
    engine_.BeginCalibrationRun();
    HideMouseCursor();

    cp_.link.GetRawPoint();
    if (Touched()) {
        ShowLiftOffPrompt("START CALIBRATION!");
        SetTouchIndicator(true);
        cp_.link.SetCalibrationState(kCalibrationStateWaitLiftOff);
        do {
            DoEvents();
            cp_.link.GetRawPoint();
        } while (Touched());
    }
    SetTouchIndicator(false);

    if (!engine_.BreakRequested) {
        const std::int32_t mode = cp_.store.CalibrationMode;
        int result = kCalibrationStopped;
        if (mode == 0) {
            result = engine_.CalibrateCorners();
        } else if (mode == 1) {
            result = engine_.CalibrateEdges();
        } else {
            App().MsgBox("Fail to calibration! ( mode " + NumberText(mode) + " not support )",
                         ui::vbOKOnly);
        }
        if (result == kCalibrationOk) {
            // The driver maps touches with the new values from now on, so the user can try
            // them while the question is open.
            engine_.ApplyNewCalibration();
            picCalibration.SetVisible(false);
            ShowMouseCursor();
            cp_.link.SetCalibrationState(kCalibrationStateIdle);
            if (AskBox(App(), kCompleteText, ui::vbDefaultButton1, kQuestionTitle) == ui::vbNo) {
                ui::Screen& screen = App().screen;
                screen.SetMousePointer(ui::vbHourglass);
                engine_.RestoreOldCalibration();
                screen.SetMousePointer(ui::vbDefault);
            }
        }
    }
    ShowMouseCursor();
}

void CalibrationForm::HandleCalibrationKey(int keyCode) {
    if (keyCode != ui::vbKeyEscape) return;
    cp_.link.SetCalibrationState(kCalibrationStateIdle);
    const int shown = engine_.CurrentTarget;
    if (shown != 0) engine_.DrawTarget(shown, false);
    picMesg.SetVisible(false);
    lblHelp.SetVisible(false);
    ShowMouseCursor();
    engine_.BreakRequested =
        AskBox(App(), kBreakText, ui::vbDefaultButton2, kQuestionTitle) == ui::vbYes;
    HideMouseCursor();
    lblHelp.SetVisible(true);
    picMesg.SetVisible(true);
    if (shown != 0) engine_.DrawTarget(shown, true);
}

// ---------------------------------------------------------------- for the engine

void CalibrationForm::DrawLine(int x1, int y1, int x2, int y2, ui::Color color) {
    picCalibration.Line(x1, y1, x2, y2, color);
}

void CalibrationForm::DrawRectangle(int x1, int y1, int x2, int y2, ui::Color color) {
    picCalibration.Box(x1, y1, x2, y2, color);
}

void CalibrationForm::ShowTouchPrompt(const std::string& placeName) {
    lblMesg3.SetVisible(false);
    lblMesg1.SetCaption("Please touch on the center of Cross Mark that");
    lblMesg2.SetCaption("show on the " + placeName + " of the screen");
    lblMesg2.SetLeft(lblMesg1.Left());
    lblMesg1.SetVisible(true);
    lblMesg2.SetVisible(true);
}

void CalibrationForm::ShowLiftOffPrompt(const std::string& text) {
    lblMesg1.SetVisible(false);
    lblMesg2.SetVisible(false);
    lblMesg3.SetCaption("PLEASE LIFT OFF TO " + text);
    lblMesg3.SetVisible(true);
}

void CalibrationForm::SetTouchIndicator(bool on) {
    picStat.SetBackColor(on ? kIndicatorOn : kIndicatorOff);
}

void CalibrationForm::DoEvents() {
    App().DoEvents();
    // A program that is ending runs no more events: the run must not wait for them.
    if (App().Ended()) engine_.BreakRequested = true;
}

void CalibrationForm::ShowMouseCursor() { qm::ShowMouseCursor(cp_.ports.systemSettings); }

void CalibrationForm::HideMouseCursor() { qm::HideMouseCursor(cp_.ports.systemSettings); }

void CalibrationForm::ErrorBox(const std::string& text, const std::string& title) {
    qm::ErrorBox(App(), text, title);
}

}  // namespace qm
