// frmCalibration: the full-screen calibration screen. It hides the cursor and suspends the
// right-button function, lets the engine collect the points on its drawing surface, hands the
// new calibration to the driver at once and asks whether it is to stay; Esc asks whether to
// break off. The whole run happens in the activate event, which closes the screen at the end.
#pragma once

#include <cstdint>

#include "control_panel/calibration_engine.h"
#include "control_panel/control_panel.h"
#include "ui/forms.h"

namespace qm {

class CalibrationForm : public ui::Form, public CalibrationScreen {
public:
    explicit CalibrationForm(ControlPanel& cp);

    // Hiding picCalibration hides everything but the form's background.
    ui::PictureBox picCalibration{*this, "picCalibration"};
    ui::PictureBox picHome{picCalibration, "picHome"};
    ui::PictureBox picStat{picHome, "picStat"};
    ui::Label lblResolution{picStat, "lblResolution"};
    ui::PictureBox picMesg{picHome, "picMesg"};
    ui::Label lblMesg3{picMesg, "lblMesg3"};
    ui::Label lblMesg1{picMesg, "lblMesg1"};
    ui::Label lblMesg2{picMesg, "lblMesg2"};
    ui::Label lblHelp{picHome, "lblHelp"};
    ui::Label lblTitle{picCalibration, "lblTitle"};

    // The engine and its state: one per program, kept from one run to the next.
    CalibrationEngine& Engine() { return engine_; }

    // The whole run, from the start wait to the keep-or-restore question.
    void RunCalibration();
    // Key presses on the drawing surface; only Esc (27) does anything.
    void HandleCalibrationKey(int keyCode);

    // What the engine calls.
    void DrawLine(int x1, int y1, int x2, int y2, ui::Color color) override;
    void DrawRectangle(int x1, int y1, int x2, int y2, ui::Color color) override;
    void ShowTouchPrompt(const std::string& placeName) override;
    void ShowLiftOffPrompt(const std::string& text) override;
    void SetTouchIndicator(bool on) override;
    void DoEvents() override;
    void ShowMouseCursor() override;
    void HideMouseCursor() override;
    void ErrorBox(const std::string& text, const std::string& title) override;

protected:
    void Form_Load() override;
    void Form_Resize() override;
    void Form_Activate() override;
    void Form_Unload(bool& cancel) override;

private:
    bool Touched() const;

    ControlPanel& cp_;
    CalibrationEngine engine_;
    std::uint8_t SavedAutoMode = 0;
    bool running_ = false;
};

}  // namespace qm
