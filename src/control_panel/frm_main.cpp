#include "control_panel/frm_main.h"

#include "common/file_exists.h"
#include "common/status_texts.h"
#include "common_ui/message_boxes.h"
#include "control_panel/product_icon.h"

namespace qm {

namespace {

constexpr ui::Color kFrameFill = ui::Rgb(224, 224, 224);
constexpr ui::Color kFrameBorder = ui::Rgb(160, 160, 160);
constexpr ui::Color kDetectionFill = ui::Rgb(192, 192, 192);

constexpr double kButtonLeft = 480, kButtonWidth = 1695, kRowHeight = 435;
constexpr double kFrameLeft = 2280, kFrameWidth = 3855;
constexpr double kLabelLeft = 2400, kLabelInset = 120, kLabelWidth = 3615, kLabelHeight = 195;

void DesignFrame(ui::Shape& shp, double left, double top, double width, ui::Color fill) {
    shp.Move(left, top, width, kRowHeight);
    shp.SetFillStyle(ui::vbFSSolid);
    shp.SetFillColor(fill);
    shp.SetBorderColor(kFrameBorder);
}

void DesignStatusLabel(ui::Label& lbl, double top, const std::string& caption) {
    lbl.Move(kLabelLeft, top + kLabelInset, kLabelWidth, kLabelHeight);
    lbl.SetBackStyle(ui::vbTransparent);
    lbl.SetCaption(caption);
}

void DesignButton(ui::CommandButton& cmd, double left, double top, double width,
                  const std::string& caption) {
    cmd.Move(left, top, width, kRowHeight);
    cmd.SetCaption(caption);
}

// A control that the design keeps out of sight until code shows it.
void DesignHidden(ui::Widget& w) {
    w.SetVisible(false);
    w.SetEnabled(false);
}

void HideRow(std::initializer_list<ui::Widget*> row) {
    for (ui::Widget* w : row) {
        w->SetEnabled(false);
        w->SetVisible(false);
    }
}

}  // namespace

MainForm::MainForm(ControlPanel& cp) : ui::Form(cp.app, "frmMain"), cp_(cp) {
    SetBorderStyle(ui::vbFixedSingle);
    Move(0, 0, 6705, 5850);

    picLogo.Move(480, 360, 4740, 780);
    picLogo.SetScaleMode(ui::vbPixels);
    picLogo.SetBorderStyle(ui::vbBSNone);
    picLogo.SetTabStop(false);
    // Inside the logo box positions are pixels.
    lblOemTitle.Move(0, 0, 196, 31);
    lblOemTitle.SetCaption("Vestamorel");
    lblOemTitle.SetBackStyle(ui::vbTransparent);
    lblOemTitle.SetFont({"Times New Roman", 18, true, false, false});
    lblOemTitle.SetForeColor(ui::vbRed);
    lblSystem.Move(0, 40, 207, 13);
    lblSystem.SetCaption("TouchScreen Control Panel Version ");
    lblSystem.SetBackStyle(ui::vbTransparent);
    lblSystem.SetFont({"MS Sans Serif", 8.25, true, false, false});
    lblSystem.SetForeColor(ui::vbBlue);
    lblSystem.SetAutoSize(true);

    picIcon.Move(5280, 360, 780, 780);
    picIcon.SetBorderStyle(ui::vbBSNone);
    picIcon.SetTabStop(false);
    imgIcon.SetPicture(ProductIconPicture());
    imgIcon.onDblClick = [this] { OpenDialog(cp_.FindForm("frmAbout"), true); };

    DesignFrame(shpSerialPort, kFrameLeft, 1500, kFrameWidth, kFrameFill);
    DesignFrame(shpVirtualButton, kFrameLeft, 2100, kFrameWidth, kFrameFill);
    DesignFrame(shpFeedbackSound, kFrameLeft, 2700, kFrameWidth, kFrameFill);
    DesignFrame(shpMouseSpeed, kFrameLeft, 3300, kFrameWidth, kFrameFill);
    DesignFrame(shpSleepTime, kFrameLeft, 3900, kFrameWidth, kFrameFill);
    DesignFrame(shpCalibration, kFrameLeft, 4500, 1695, kFrameFill);
    DesignFrame(shpSensitivity, kFrameLeft, 5040, kFrameWidth, kFrameFill);
    DesignFrame(shpDetection, kButtonLeft, 4980, kButtonWidth, kDetectionFill);
    DesignHidden(shpSensitivity);
    DesignHidden(shpDetection);

    DesignButton(cmdSerialPort, kButtonLeft, 1500, kButtonWidth, "&Serial Port");
    DesignStatusLabel(lblSerialPort, 1500, "COM?, Port=????h, IRQ=??, ????? BPS");
    DesignButton(cmdVirtualButton, kButtonLeft, 2100, kButtonWidth, "&Virtual Button");
    DesignStatusLabel(lblVirtualButton, 2100, "Drag Drop Mode");
    DesignButton(cmdFeedbackSound, kButtonLeft, 2700, kButtonWidth, "&Feedback Sound");
    DesignStatusLabel(lblFeedbackSound, 2700, "Silence");
    DesignButton(cmdMouseSpeed, kButtonLeft, 3300, kButtonWidth, "&Mouse Speed");
    DesignStatusLabel(lblMouseSpeed, 3300, "HS=50%, VS=50%, Acceleration=Slow");
    DesignButton(cmdSleepTime, kButtonLeft, 3900, kButtonWidth, "&Power Save");
    DesignStatusLabel(lblSleepTime, 3900, "Disable Power Down Function");
    DesignButton(cmdCalibration, kButtonLeft, 4500, kButtonWidth, "&Calibration");
    cboCalibration.SetStyle(ui::vbComboDropdownList);
    cboCalibration.Move(2340, 4560, 1600, 315);
    DesignButton(cmdSupport, 4080, 4500, 975, "S&upport");
    DesignButton(cmdExit, 5160, 4500, 975, "E&xit");

    DesignButton(cmdSensivitity, kButtonLeft, 5040, kButtonWidth, "&Touch Sensitivity");
    DesignStatusLabel(lblSensitivity, 5040, "Level 0 (Normal)");
    DesignHidden(cmdSensivitity);
    DesignHidden(lblSensitivity);
    lblDetection.Move(960, 5100, 735, kLabelHeight);
    lblDetection.SetCaption("Detection");
    lblDetection.SetBackStyle(ui::vbTransparent);
    DesignHidden(lblDetection);
    DesignButton(cmdTest, 6180, 2460, 975, "&Test");
    DesignButton(cmdSMIon, 6180, 1500, 975, "SMI on");
    DesignButton(cmdSMIoff, 6180, 1980, 975, "SMI Off");
    DesignHidden(cmdTest);
    DesignHidden(cmdSMIon);
    DesignHidden(cmdSMIoff);

    cmdSerialPort.onClick = [this] { OpenDialog(cp_.FindForm("frmSerialPort"), false); };
    cmdSerialPort.onMouseDown = [this](int b, int s, double, double) { cmdSerialPort_MouseDown(b, s); };
    cmdVirtualButton.onClick = [this] { OpenDialog(cp_.FindForm("frmVirtualButton"), false); };
    cmdFeedbackSound.onClick = [this] { OpenDialog(cp_.FindForm("frmFeedbackSound"), false); };
    cmdMouseSpeed.onClick = [this] { cmdMouseSpeed_Click(); };
    cmdSleepTime.onClick = [this] { OpenDialog(cp_.FindForm("frmSleepTime"), false); };
    cmdSensivitity.onClick = [this] { OpenDialog(cp_.FindForm("frmSensitivity"), false); };
    cmdCalibration.onClick = [this] { OpenDialog(cp_.FindForm("frmCalibration"), true); };
    cmdTest.onClick = [this] { OpenDialog(cp_.FindForm("frmTest"), true); };
    cmdExit.onMouseDown = [this](int b, int s, double, double) { cmdExit_MouseDown(b, s); };
    cmdExit.onClick = [this] { cmdExit_Click(); };
    cmdSupport.onClick = [this] { cmdSupport_Click(); };
    cboCalibration.onClick = [this] { cboCalibration_Click(); };
    cmdSMIon.onClick = [this] { cp_.link.StartVrProgram(cp_.store.InstallPath); };
    cmdSMIoff.onClick = [this] { cp_.link.CloseVrProgram(); };
}

bool MainForm::Fail(int exitCode) {
    App().End(exitCode);
    return false;
}

void MainForm::Form_Load() {
    ui::Application& app = App();
    ui::Screen& screen = app.screen;

    SetCaption(app.Title());
    lblSystem.SetCaption(lblSystem.Caption() + VersionText(cp_.variant));

    if (!ApplySingleInstanceRule(app, cp_.ports.windows, *this)) {
        Fail(kExitStartFailed);
        return;
    }

    LayOutForBuild();
    if (!cp_.variant.isPs2) SetKeyPreview(true);

    screen.SetMousePointer(ui::vbHourglass);
    const bool loaded = cp_.store.LoadProductData();
    screen.SetMousePointer(ui::vbDefault);
    if (!loaded) {
        ErrorBox(app, "Fail to load data from Register File!", Caption());
        Fail(kExitStartFailed);
        return;
    }

    cp_.LogoPresent = ApplyMainBranding(Header(), cp_.ports.files, cp_.store.InstallPath,
                                        cp_.store.VenderName, cp_.store.VenderStyle);
    SetUpSupportButton();

    screen.SetMousePointer(ui::vbHourglass);
    FillNameTables(cp_.names);

    if (!cp_.link.OpenDriver()) {
        ReportDriverOpenFailure(app, cp_.variant);
        Fail(kExitStartFailed);
        return;
    }
    cp_.link.GetParameters();
    if (cp_.link.Block().ComPort == 0) {
        ErrorBox(app, "TouchScreen Controller Not Found!", Caption());
        cp_.link.CloseDriver();
        Fail(kExitStartFailed);
        return;
    }

    ShowStatusLines();
    cp_.store.LoadCalibrationMode();
    FillCalibrationList();
    CenterForm(*this);
    CenterIcon(picIcon, imgIcon);
    screen.SetMousePointer(ui::vbDefault);
}

void MainForm::LayOutForBuild() {
    // Both figures are read before anything moves.
    const double rowStep = cmdCalibration.Top() - cmdSleepTime.Top();
    const double powerSaveTop = cmdSleepTime.Top();

    if (cp_.variant.isPs2) {
        HideRow({&cmdSerialPort});
        HideRow({&cmdSleepTime, &shpSleepTime, &lblSleepTime});
        const double dx = cmdSerialPort.Left() - shpDetection.Left();
        const double dy = cmdSerialPort.Top() - shpDetection.Top();
        shpDetection.Move(shpDetection.Left() + dx, shpDetection.Top() + dy);
        lblDetection.Move(lblDetection.Left() + dx, lblDetection.Top() + dy);
        shpDetection.SetVisible(true);
        lblDetection.SetVisible(true);
    } else {
        HideRow({&cmdMouseSpeed, &shpMouseSpeed, &lblMouseSpeed});
        cmdSleepTime.SetTop(cmdMouseSpeed.Top());
        shpSleepTime.SetTop(shpMouseSpeed.Top());
        lblSleepTime.SetTop(lblMouseSpeed.Top());
    }

    for (ui::Widget* w : {static_cast<ui::Widget*>(&cmdCalibration),
                          static_cast<ui::Widget*>(&shpCalibration),
                          static_cast<ui::Widget*>(&cmdSupport), static_cast<ui::Widget*>(&cmdExit)})
        w->SetTop(powerSaveTop);
    cboCalibration.SetTop(shpCalibration.Top() + 60);
    SetHeight(Height() - rowStep);
}

void MainForm::SetUpSupportButton() {
    const std::string& folder = cp_.store.InstallPath;
    if (FileExists(cp_.ports.files, folder + "\\QMVender.Cut")) {
        cmdSupport.SetCaption("");
        cmdSupport.SetEnabled(false);
        return;
    }
    cp_.VendorBitmapPath = folder + "\\QMVender.Bmp";
    if (!FileExists(cp_.ports.files, cp_.VendorBitmapPath)) cmdSupport.SetCaption("&About");
}

void MainForm::ShowStatusLines() {
    const DriverParameterBlock& b = cp_.link.Block();
    const NameTables& n = cp_.names;
    if (cp_.variant.isPs2) {
        lblSerialPort.SetCaption("TouchScreen or Mouse found on PS/2 port");
    } else {
        lblSerialPort.SetCaption(
            SerialPortLineText(n, b.ComPort, b.BasePort, b.Irq, b.BaudRateIndex));
        lblSleepTime.SetCaption(PowerDownText(b.PowerDownTime));
    }
    lblVirtualButton.SetCaption(
        TouchModeText(n, b.VirtualButton, b.RightButtonFunction, b.RightButtonAutoMode));
    lblFeedbackSound.SetCaption(FeedbackSoundText(n, b.FeedbackSound));
    lblSensitivity.SetCaption(SensitivityText(b.Sensitivity));
    lblMouseSpeed.SetCaption(
        MouseSpeedText(n, b.MouseHSpeed, b.MouseVSpeed, b.MouseAcceleration, b.MouseBypass));
}

void MainForm::FillCalibrationList() {
    cboCalibration.AddItem(" 4 points, mode 1");
    cboCalibration.AddItem(" 4 points, mode 2");
    std::int32_t& mode = cp_.store.CalibrationMode;
    if (mode < 0 || mode >= cboCalibration.ListCount()) mode = 0;
    cboCalibration.SetListIndex(mode);  // fires Click, which writes the value back
}

void MainForm::OpenDialog(ui::Form* dialog, bool hideFirst) {
    // A dialog this program does not carry yet: the button does nothing.
    if (!dialog) return;
    ui::Screen& screen = App().screen;
    screen.SetMousePointer(ui::vbHourglass);
    if (hideFirst) Hide();
    dialog->Show();
    if (!hideFirst) Hide();
    screen.SetMousePointer(ui::vbDefault);
}

void MainForm::cmdMouseSpeed_Click() { OpenDialog(cp_.FindForm("frmMouseSpeed"), false); }

void MainForm::Form_KeyDown(int& keyCode, int shift) {
    // Ctrl+J reaches the mouse speed dialog, whose row the serial build hides.
    if (!cp_.variant.isPs2 && keyCode == ui::vbKeyJ && shift == ui::vbCtrlMask)
        cmdMouseSpeed_Click();
}

void MainForm::cmdExit_MouseDown(int button, int shift) {
    if (button == ui::vbMiddleButton && shift == (ui::vbShiftMask | ui::vbCtrlMask))
        OpenDialog(cp_.FindForm("frmTest"), false);
}

void MainForm::cmdSerialPort_MouseDown(int button, int shift) {
    if (button == ui::vbMiddleButton && shift == (ui::vbShiftMask | ui::vbCtrlMask))
        OpenDialog(cp_.FindForm("frmMcuInfo"), false);
}

void MainForm::cmdSupport_Click() {
    const bool vendorBitmap = FileExists(cp_.ports.files, cp_.VendorBitmapPath);
    OpenDialog(cp_.FindForm(vendorBitmap ? "frmSupport" : "frmAbout"), true);
}

void MainForm::cboCalibration_Click() {
    cp_.store.CalibrationMode = cboCalibration.ListIndex();
    cp_.store.SaveCalibrationMode();  // a failed write leaves the choice for this run
}

void MainForm::cmdExit_Click() {
    Unload();
    App().End(kExitNormal);
}

void MainForm::Form_Unload(bool& cancel) {
    (void)cancel;
    cp_.link.CloseDriver();
}

}  // namespace qm
