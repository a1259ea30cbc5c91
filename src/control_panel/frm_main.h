// frmMain: the control panel's main window. One status line per driver setting beside the
// button that opens its dialog; the calibration mode list; support and exit.
#pragma once

#include "common_ui/window_helpers.h"
#include "control_panel/control_panel.h"
#include "ui/forms.h"

namespace qm {

class MainForm : public ui::Form {
public:
    explicit MainForm(ControlPanel& cp);

    ui::PictureBox picLogo{*this, "picLogo"};
    ui::Label lblOemTitle{picLogo, "lblOemTitle"};
    ui::Label lblSystem{picLogo, "lblSystem"};
    ui::PictureBox picIcon{*this, "picIcon"};
    ui::Image imgIcon{picIcon, "imgIcon"};

    // Frames first: the classic toolkit draws later controls above earlier ones.
    ui::Shape shpSerialPort{*this, "shpSerialPort"};
    ui::Shape shpVirtualButton{*this, "shpVirtualButton"};
    ui::Shape shpFeedbackSound{*this, "shpFeedbackSound"};
    ui::Shape shpMouseSpeed{*this, "shpMouseSpeed"};
    ui::Shape shpSleepTime{*this, "shpSleepTime"};
    ui::Shape shpCalibration{*this, "shpCalibration"};
    ui::Shape shpSensitivity{*this, "shpSensitivity"};
    ui::Shape shpDetection{*this, "shpDetection"};

    ui::CommandButton cmdSerialPort{*this, "cmdSerialPort"};
    ui::Label lblSerialPort{*this, "lblSerialPort"};
    ui::CommandButton cmdVirtualButton{*this, "cmdVirtualButton"};
    ui::Label lblVirtualButton{*this, "lblVirtualButton"};
    ui::CommandButton cmdFeedbackSound{*this, "cmdFeedbackSound"};
    ui::Label lblFeedbackSound{*this, "lblFeedbackSound"};
    ui::CommandButton cmdMouseSpeed{*this, "cmdMouseSpeed"};
    ui::Label lblMouseSpeed{*this, "lblMouseSpeed"};
    ui::CommandButton cmdSleepTime{*this, "cmdSleepTime"};
    ui::Label lblSleepTime{*this, "lblSleepTime"};
    ui::CommandButton cmdCalibration{*this, "cmdCalibration"};
    ui::ComboBox cboCalibration{*this, "cboCalibration"};
    ui::CommandButton cmdSupport{*this, "cmdSupport"};
    ui::CommandButton cmdExit{*this, "cmdExit"};
    ui::CommandButton cmdSensivitity{*this, "cmdSensivitity"};
    ui::Label lblSensitivity{*this, "lblSensitivity"};
    ui::Label lblDetection{*this, "lblDetection"};
    ui::CommandButton cmdTest{*this, "cmdTest"};
    ui::CommandButton cmdSMIon{*this, "cmdSMIon"};
    ui::CommandButton cmdSMIoff{*this, "cmdSMIoff"};

    BrandingHeader Header() { return {picLogo, lblOemTitle, lblSystem}; }

    // The status lines, from the parameter block; the dialogs call it again after a change.
    void ShowStatusLines();

protected:
    void Form_Load() override;
    void Form_KeyDown(int& keyCode, int shift) override;
    void Form_Unload(bool& cancel) override;

private:
    void LayOutForBuild();
    void SetUpSupportButton();
    void FillCalibrationList();
    // Hourglass, hide this window, show the dialog (none yet for a later dialog), normal.
    void OpenDialog(ui::Form* dialog, bool hideFirst);
    bool Fail(int exitCode);

    void cmdMouseSpeed_Click();
    void cmdExit_MouseDown(int button, int shift);
    void cmdSerialPort_MouseDown(int button, int shift);
    void cmdSupport_Click();
    void cboCalibration_Click();
    void cmdExit_Click();

    ControlPanel& cp_;
};

}  // namespace qm
