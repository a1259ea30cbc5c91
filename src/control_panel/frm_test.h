// frmTest: the full-screen drawing test. Strokes drawn by touch (or mouse) appear in the chosen
// colour and pen width, and the L M R boxes show which button the driver reports. The touch
// mode is drag-and-drop while the screen is open and goes back to the previous one on close.
#pragma once

#include <cstdint>

#include "control_panel/control_panel.h"
#include "ui/forms.h"

namespace qm {

class TestForm : public ui::Form {
public:
    explicit TestForm(ControlPanel& cp);

    ui::PictureBox picHead{*this, "picHead"};
    ui::Image imgIcon{picHead, "imgIcon"};
    ui::Label lblTitle{picHead, "lblTitle"};
    ui::CommandButton cmdClear{picHead, "cmdClear"};
    ui::CommandButton cmdExit{picHead, "cmdExit"};
    ui::PictureBox picHome{*this, "picHome"};
    ui::PictureBox picMesg{*this, "picMesg"};
    ui::Label lblHelpBox{picMesg, "lblHelpBox"};
    ui::Label lblHelp{picMesg, "lblHelp"};
    ui::Label lblWidthName{picMesg, "lblWidthName"};
    ui::ControlArray<ui::Label> lblWidth{picMesg, "lblWidth", {0, 1, 2, 3}};
    ui::Label lblColorName{picMesg, "lblColorName"};
    ui::ControlArray<ui::Label> lblColor{picMesg, "lblColor", {0, 1, 2, 3, 4}};
    ui::Label lblButtonName{picMesg, "lblButtonName"};
    ui::ControlArray<ui::Label> lblButton{picMesg, "lblButton", {0, 1, 2}};

    bool PenDown = false;
    int SelectedWidth = 0;
    int SelectedColor = 0;
    std::uint8_t SavedVirtualButton = 0;

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_Unload(bool& cancel) override;

private:
    void SelectWidth(int index);
    void SelectColor(int index);
    void picHead_Resize();
    void picMesg_Resize();
    void picHome_MouseDown(int button, double x, double y);
    void picHome_MouseMove(double x, double y);
    void picHome_MouseUp(int button);
    // The indicator of a mouse button: L for the left, M for the middle, R for the right.
    ui::Label* ButtonIndicator(int button);

    ControlPanel& cp_;
    bool touchModeSet_ = false;  // the drag-and-drop mode was sent since this load
};

}  // namespace qm
