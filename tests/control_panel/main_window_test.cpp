#include <gtest/gtest.h>

#include "control_panel/control_panel.h"
#include "control_panel/frm_main.h"
#include "sim/world.h"

namespace qm {
namespace {

constexpr int kErrorFlags = ui::vbCritical | ui::vbSystemModal;
const char* const kInstall = "C:\\Program Files\\TouchScreen";

// One control panel run in a simulated world of one hardware build.
struct Panel {
    explicit Panel(const Variant& v, bool installed = true)
        : world(v),
          app(world.ui),
          cp(app,
             ControlPanelPorts{world.driver, world.registry, world.processes, world.windows,
                               world.files, world.systemSettings, world.clock},
             v) {
        if (installed) world.InstallProductData(kInstall);
        DriverParameterBlock& b = world.driver.Block();
        b.ComPort = 1;
        b.BasePort = 0x3F8;
        b.Irq = 4;
        b.BaudRateIndex = 4;
        b.VirtualButton = 4;
        b.RightButtonFunction = 1;
        b.RightButtonAutoMode = 1;
        b.FeedbackSound = 4;
        b.Sensitivity = 127;
        b.MouseHSpeed = 10;
        b.MouseVSpeed = 20;
        b.MouseAcceleration = 2;
        b.PowerDownTime = 9;
    }
    int Start() { return cp.Run(); }
    MainForm& frm() { return cp.frmMain(); }
    std::string Caption() const { return ControlPanel::Title(world.variant); }
    std::optional<std::uint32_t> StoredMode() const {
        return world.registry.ReadDword(kHkeyLocalMachine, world.ProductKey(), "CalibrationMode");
    }

    sim::World world;
    ui::Application app;
    ControlPanel cp;
};

// A dialog of a later step, standing in so a test sees which form a gesture opens.
struct StubForm : ui::Form {
    StubForm(ui::Application& app, const char* name) : ui::Form(app, name) {}
};

const Variant* const kBuilds[] = {&kSerialVariant, &kPs2Variant};

TEST(MainWindowStart, FailurePathsShowTheirBoxAndEnd) {
    struct Case {
        const char* what;
        std::function<void(Panel&)> arrange;
        std::string text;     // empty: no box
        bool titleIsCaption;  // else the application title (the same text here)
        bool driverOpened;     // an open was attempted
    };
    for (const Variant* v : kBuilds) {
        const std::string driverFile = DriverFileName(*v);
        const Case cases[] = {
            {"second instance, running window not found",
             [](Panel& p) { p.app.SetPrevInstance(true); },
             "Application is running!\r\rPlease find and select the running window from Taskbar.",
             true, false},
            {"vendor data missing",
             [](Panel& p) {
                 p.world.registry.RemoveValue(kHkeyLocalMachine, p.world.ProductKey(), "SystemPath");
             },
             "Fail to load data from Register File!", true, false},
            {"driver missing", [](Panel& p) { p.world.driver.SetPresent(false); },
             "Fail to open " + driverFile + "!", false, true},
            {"no controller", [](Panel& p) { p.world.driver.Block().ComPort = 0; },
             "TouchScreen Controller Not Found!", true, true},
            {"parameter read fails",
             [](Panel& p) { p.world.driver.FailRequest(IOCTL_TOUCH_GET_PARAMETERS); },
             "TouchScreen Controller Not Found!", true, true},
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(v->variantName) + ": " + c.what);
            Panel p(*v);
            c.arrange(p);
            p.world.ui.Answer(ui::vbOK);
            EXPECT_EQ(p.Start(), kExitStartFailed);
            EXPECT_TRUE(p.app.Ended());
            EXPECT_FALSE(p.frm().IsLoaded());
            ASSERT_EQ(p.world.ui.Boxes().size(), 1u);
            const auto& box = p.world.ui.Boxes()[0];
            EXPECT_EQ(box.text, c.text);
            EXPECT_EQ(box.flags, kErrorFlags);
            EXPECT_EQ(box.title, c.titleIsCaption ? p.Caption() : p.app.Title());
            EXPECT_EQ(p.world.ui.Beeps(), 1);
            EXPECT_EQ(p.world.driver.Opens().size(), c.driverOpened ? 1u : 0u);
            EXPECT_EQ(p.world.driver.OpenHandleCount(), 0u) << "the handle is closed on exit";
            EXPECT_EQ(p.world.registry.OpenHandleCount(), 0u);
        }
        SCOPED_TRACE("product key missing");
        Panel p(*v, /*installed=*/false);
        p.world.ui.Answer(ui::vbOK);
        EXPECT_EQ(p.Start(), kExitStartFailed);
        ASSERT_EQ(p.world.ui.Boxes().size(), 1u);
        EXPECT_EQ(p.world.ui.Boxes()[0].text, "Fail to load data from Register File!");
        EXPECT_TRUE(p.world.registry.HasKey(kHkeyLocalMachine, p.world.ProductKey()))
            << "opening the key creates it";
        EXPECT_TRUE(p.world.driver.Opens().empty());
    }
}

TEST(MainWindowStart, SecondInstanceBringsTheRunningWindowForward) {
    for (const Variant* v : kBuilds) {
        Panel p(*v);
        p.app.SetPrevInstance(true);
        p.world.windows.Add("Some Other Window");
        p.world.windows.Add(p.Caption(), /*parent=*/0x500);  // a child window is skipped
        const WindowHandle running = p.world.windows.Add(p.Caption());
        EXPECT_EQ(p.Start(), kExitStartFailed);
        EXPECT_TRUE(p.world.ui.Boxes().empty());
        const std::vector<sim::WindowCall> expected = {
            {sim::WindowCallKind::SetForeground, running},
            {sim::WindowCallKind::BringToTop, running}};
        EXPECT_EQ(p.world.windows.Calls(), expected);
        EXPECT_TRUE(p.world.driver.Opens().empty());
    }
}

TEST(MainWindowStart, CaptionSystemLineAndStatusLinesOfBothBuilds) {
    {
        Panel p(kSerialVariant);
        ASSERT_EQ(p.Start(), kExitNormal);
        MainForm& f = p.frm();
        EXPECT_TRUE(f.Visible());
        EXPECT_EQ(f.Caption(), " TouchScreen Control Panel #QM-COM");
        EXPECT_EQ(f.lblSystem.Caption(), "TouchScreen Control Panel Version 7.0.COM");
        EXPECT_EQ(f.lblSerialPort.Caption(), "COM1, Port=03F8, IRQ=4, (9600,N,8,1)");
        EXPECT_EQ(f.lblSleepTime.Caption(), "Power Down When Idle  1 Min.  30 Sec.");
        EXPECT_EQ(f.lblVirtualButton.Caption(), "Drag Drop Mode, RBF Enable ( Automatic Mode )");
        EXPECT_EQ(f.lblFeedbackSound.Caption(), "Both Touch Down && Lift Off");
        EXPECT_EQ(f.lblFeedbackSound.DisplayText(), "Both Touch Down & Lift Off");
        EXPECT_EQ(f.lblSensitivity.Caption(), "Level 0");
        EXPECT_EQ(f.lblMouseSpeed.Caption(), "HS=50%, VS=100%, Acceleration=Medium");
        EXPECT_TRUE(f.KeyPreview());
        EXPECT_EQ(p.app.screen.MousePointer(), ui::vbDefault);
        EXPECT_TRUE(p.world.ui.Boxes().empty());
        EXPECT_EQ(p.world.driver.Codes(), std::vector<std::uint32_t>{IOCTL_TOUCH_GET_PARAMETERS});
    }
    {
        Panel p(kPs2Variant);
        p.world.driver.Block().MouseBypass = 1;
        ASSERT_EQ(p.Start(), kExitNormal);
        MainForm& f = p.frm();
        EXPECT_EQ(f.Caption(), " TouchScreen Control Panel #QM-PS2");
        EXPECT_EQ(f.lblSystem.Caption(), "TouchScreen Control Panel Version 7.0.PS2");
        EXPECT_EQ(f.lblSerialPort.Caption(), "TouchScreen or Mouse found on PS/2 port");
        EXPECT_EQ(f.lblSleepTime.Caption(), "Disable Power Down Function") << "left at its design";
        EXPECT_EQ(f.lblMouseSpeed.Caption(), "Enable Bypass Mode");
        EXPECT_FALSE(f.KeyPreview());
    }
}

TEST(MainWindowStart, DriverBytesOutOfRangeShowAsInvalid) {
    Panel p(kSerialVariant);
    DriverParameterBlock& b = p.world.driver.Block();
    b.BaudRateIndex = 12;
    b.VirtualButton = 0;
    b.RightButtonFunction = 7;
    b.RightButtonAutoMode = 255;
    b.FeedbackSound = 200;
    b.MouseAcceleration = 5;
    b.PowerDownTime = 255;
    ASSERT_EQ(p.Start(), kExitNormal);
    MainForm& f = p.frm();
    EXPECT_EQ(f.lblSerialPort.Caption(), "COM1, Port=03F8, IRQ=4, (Invalid#12,N,8,1)");
    EXPECT_EQ(f.lblVirtualButton.Caption(), "Invalid#0,7,255");
    EXPECT_EQ(f.lblFeedbackSound.Caption(), "Invalid#200");
    EXPECT_EQ(f.lblMouseSpeed.Caption(), "HS=50%, VS=100%, Acceleration=Invalid#5");
    EXPECT_EQ(f.lblSleepTime.Caption(), "Power Down When Idle  42 Min.  30 Sec.");
}

TEST(MainWindowLayout, SerialBuildHidesTheMouseSpeedRowAndMovesRowsUp) {
    Panel p(kSerialVariant);
    const double designHeight = p.frm().Height();
    ASSERT_EQ(p.Start(), kExitNormal);
    MainForm& f = p.frm();
    for (ui::Widget* w : {static_cast<ui::Widget*>(&f.cmdMouseSpeed),
                          static_cast<ui::Widget*>(&f.shpMouseSpeed),
                          static_cast<ui::Widget*>(&f.lblMouseSpeed)}) {
        EXPECT_FALSE(w->Visible()) << w->Name();
        EXPECT_FALSE(w->Enabled()) << w->Name();
    }
    EXPECT_EQ(f.cmdSleepTime.Top(), 3300);
    EXPECT_EQ(f.shpSleepTime.Top(), 3300);
    EXPECT_EQ(f.lblSleepTime.Top(), 3420);
    for (ui::Widget* w : {static_cast<ui::Widget*>(&f.cmdCalibration),
                          static_cast<ui::Widget*>(&f.shpCalibration),
                          static_cast<ui::Widget*>(&f.cmdSupport), static_cast<ui::Widget*>(&f.cmdExit)})
        EXPECT_EQ(w->Top(), 3900) << w->Name();
    EXPECT_EQ(f.cboCalibration.Top(), 3960);
    EXPECT_EQ(f.Height(), designHeight - 600);
    EXPECT_TRUE(f.cmdSerialPort.Visible());
    EXPECT_FALSE(f.shpDetection.Visible());
    EXPECT_FALSE(f.lblDetection.Visible());
}

TEST(MainWindowLayout, Ps2BuildShowsDetectionInPlaceOfTheSerialPortButton) {
    Panel p(kPs2Variant);
    const double designHeight = p.frm().Height();
    ASSERT_EQ(p.Start(), kExitNormal);
    MainForm& f = p.frm();
    for (ui::Widget* w : {static_cast<ui::Widget*>(&f.cmdSerialPort),
                          static_cast<ui::Widget*>(&f.cmdSleepTime),
                          static_cast<ui::Widget*>(&f.shpSleepTime),
                          static_cast<ui::Widget*>(&f.lblSleepTime)}) {
        EXPECT_FALSE(w->Visible()) << w->Name();
        EXPECT_FALSE(w->Enabled()) << w->Name();
    }
    EXPECT_TRUE(f.shpDetection.Visible());
    EXPECT_TRUE(f.lblDetection.Visible());
    EXPECT_EQ(f.shpDetection.Left(), 480);
    EXPECT_EQ(f.shpDetection.Top(), 1500);
    EXPECT_EQ(f.lblDetection.Left(), 960);
    EXPECT_EQ(f.lblDetection.Top(), 1620);
    EXPECT_TRUE(f.cmdMouseSpeed.Visible());
    EXPECT_EQ(f.cmdMouseSpeed.Top(), 3300);
    EXPECT_EQ(f.cmdCalibration.Top(), 3900);
    EXPECT_EQ(f.cmdExit.Top(), 3900);
    EXPECT_EQ(f.cboCalibration.Top(), 3960);
    EXPECT_EQ(f.Height(), designHeight - 600);
}

TEST(MainWindowCalibrationList, StoredModeSelectsAndIsWrittenBack) {
    struct Case {
        std::optional<std::uint32_t> stored;
        bool storedAsText;
        int selected;
    };
    const Case cases[] = {
        {std::nullopt, false, 0}, {0u, false, 0}, {1u, false, 1},
        {5u, false, 0},           {0xFFFFFFFFu, false, 0}, {1u, true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored ? std::to_string(*c.stored) : "absent");
        Panel p(kSerialVariant);
        if (c.stored && c.storedAsText)
            p.world.registry.PutString(kHkeyLocalMachine, p.world.ProductKey(), "CalibrationMode", "1");
        else if (c.stored)
            p.world.registry.PutDword(kHkeyLocalMachine, p.world.ProductKey(), "CalibrationMode", *c.stored);
        ASSERT_EQ(p.Start(), kExitNormal);
        ui::ComboBox& cbo = p.frm().cboCalibration;
        ASSERT_EQ(cbo.ListCount(), 2);
        EXPECT_EQ(cbo.List(0), " 4 points, mode 1");
        EXPECT_EQ(cbo.List(1), " 4 points, mode 2");
        EXPECT_EQ(cbo.ListIndex(), c.selected);
        EXPECT_EQ(p.StoredMode(), static_cast<std::uint32_t>(c.selected));
        EXPECT_EQ(p.cp.store.CalibrationMode, c.selected);
    }
}

TEST(MainWindowCalibrationList, PickingAModeStoresIt) {
    Panel p(kPs2Variant);
    ASSERT_EQ(p.Start(), kExitNormal);
    ASSERT_TRUE(p.world.ui.Pick(p.frm().cboCalibration, 1));
    EXPECT_EQ(p.StoredMode(), 1u);
    // The serial build's key is a different one and stays untouched.
    EXPECT_FALSE(p.world.registry.ReadDword(kHkeyLocalMachine,
                                            "SOFTWARE\\Vestamorel\\TouchScreen\\QM-COM",
                                            "CalibrationMode"));
}

TEST(MainWindowSupportButton, VendorFilesDecideItsLook) {
    struct Case {
        bool cut, bmp;
        const char* caption;
        bool enabled;
        const char* opens;
    };
    const Case cases[] = {
        {true, true, "", false, nullptr},
        {true, false, "", false, nullptr},
        {false, true, "S&upport", true, "frmSupport"},
        {false, false, "&About", true, "frmAbout"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("cut ") + (c.cut ? "yes" : "no") + ", bmp " + (c.bmp ? "yes" : "no"));
        Panel p(kSerialVariant);
        StubForm support(p.app, "frmSupport"), about(p.app, "frmAbout");
        p.cp.AddForm(support);
        p.cp.AddForm(about);
        if (c.cut) p.world.files.AddFile(std::string(kInstall) + "\\qmvender.cut");
        if (c.bmp) p.world.files.AddFile(std::string(kInstall) + "\\QMVender.Bmp");
        ASSERT_EQ(p.Start(), kExitNormal);
        EXPECT_EQ(p.frm().cmdSupport.Caption(), c.caption);
        EXPECT_EQ(p.frm().cmdSupport.Enabled(), c.enabled);
        EXPECT_EQ(p.world.ui.Click(p.frm().cmdSupport), c.opens != nullptr);
        if (c.opens) {
            EXPECT_TRUE(p.cp.FindForm(c.opens)->Visible());
            EXPECT_FALSE(p.frm().Visible());
        }
    }
}

TEST(MainWindowGestures, CtrlJOpensMouseSpeedOnlyInTheSerialBuild) {
    for (const Variant* v : kBuilds) {
        SCOPED_TRACE(std::string(v->variantName));
        Panel p(*v);
        StubForm mouseSpeed(p.app, "frmMouseSpeed");
        p.cp.AddForm(mouseSpeed);
        ASSERT_EQ(p.Start(), kExitNormal);
        p.world.ui.PressKey(p.frm(), ui::vbKeyJ, ui::vbCtrlMask | ui::vbShiftMask);
        p.world.ui.PressKey(p.frm(), ui::vbKeyJ, 0);
        EXPECT_FALSE(mouseSpeed.IsLoaded()) << "only Ctrl alone with J";
        p.world.ui.PressKey(p.frm(), ui::vbKeyJ, ui::vbCtrlMask);
        EXPECT_EQ(mouseSpeed.Visible(), !v->isPs2);
        EXPECT_EQ(p.frm().Visible(), v->isPs2);
    }
}

TEST(MainWindowGestures, MiddleButtonWithExactlyShiftCtrlOnExitOpensTheDrawingTest) {
    const int shifts[] = {0, ui::vbShiftMask, ui::vbCtrlMask, ui::vbShiftMask | ui::vbCtrlMask | ui::vbAltMask};
    for (int shift : shifts) {
        Panel p(kSerialVariant);
        StubForm test(p.app, "frmTest");
        p.cp.AddForm(test);
        ASSERT_EQ(p.Start(), kExitNormal);
        p.world.ui.MouseDown(p.frm().cmdExit, ui::vbMiddleButton, shift);
        p.world.ui.MouseDown(p.frm().cmdExit, ui::vbRightButton, ui::vbShiftMask | ui::vbCtrlMask);
        EXPECT_FALSE(test.IsLoaded()) << "shift " << shift;
        EXPECT_TRUE(p.frm().Visible());
    }
    Panel p(kSerialVariant);
    StubForm test(p.app, "frmTest");
    p.cp.AddForm(test);
    ASSERT_EQ(p.Start(), kExitNormal);
    p.world.ui.MouseDown(p.frm().cmdExit, ui::vbMiddleButton, ui::vbShiftMask | ui::vbCtrlMask);
    EXPECT_TRUE(test.Visible());
    EXPECT_FALSE(p.frm().Visible());
    EXPECT_FALSE(p.app.Ended());
}

TEST(MainWindowGestures, ButtonsOfLaterDialogsDoNothingYet) {
    Panel p(kSerialVariant);
    ASSERT_EQ(p.Start(), kExitNormal);
    MainForm& f = p.frm();
    for (ui::CommandButton* b : {&f.cmdSerialPort, &f.cmdVirtualButton, &f.cmdFeedbackSound,
                                 &f.cmdSleepTime, &f.cmdSupport}) {
        p.world.ui.Click(*b);
        EXPECT_TRUE(f.Visible()) << b->Name();
    }
    p.world.ui.DblClick(f.imgIcon);
    p.world.ui.MouseDown(f.cmdSerialPort, ui::vbMiddleButton, ui::vbShiftMask | ui::vbCtrlMask);
    EXPECT_TRUE(f.Visible());
    EXPECT_FALSE(p.app.Ended());
}

TEST(MainWindowGestures, HiddenButtonsAndExit) {
    Panel p(kSerialVariant);
    ASSERT_EQ(p.Start(), kExitNormal);
    MainForm& f = p.frm();
    for (ui::CommandButton* b : {&f.cmdTest, &f.cmdSMIon, &f.cmdSMIoff, &f.cmdSensivitity})
        EXPECT_FALSE(b->Visible()) << b->Name();
    // Code may still press them: the vr program is started by quoted full path.
    f.cmdSMIon.SetValue(true);
    ASSERT_EQ(p.world.processes.Launches().size(), 1u);
    EXPECT_EQ(p.world.processes.Launches()[0].commandLine,
              "\"C:\\Program Files\\TouchScreen\\QMWS3Cvr.exe\"");
    p.world.driver.SetVrRegistration(0x2222);
    f.cmdSMIoff.SetValue(true);
    ASSERT_EQ(p.world.windows.Messages().size(), 1u);
    EXPECT_EQ(p.world.windows.Messages()[0].wParam, VRM_CLOSE);

    EXPECT_TRUE(p.world.ui.Click(f.cmdExit));
    EXPECT_TRUE(p.app.Ended());
    EXPECT_FALSE(f.IsLoaded());
    EXPECT_EQ(p.world.driver.OpenHandleCount(), 0u);
}

TEST(MainWindowBranding, StyleOrLogo) {
    {
        Panel p(kSerialVariant);
        ASSERT_EQ(p.Start(), kExitNormal);
        MainForm& f = p.frm();
        EXPECT_FALSE(p.cp.LogoPresent);
        EXPECT_EQ(f.lblOemTitle.Caption(), "Acme Kiosks");
        EXPECT_EQ(f.lblOemTitle.FontName(), "Times New Roman");
        EXPECT_FALSE(f.lblOemTitle.FontBold());
        EXPECT_EQ(f.lblOemTitle.FontSize(), 12);
        EXPECT_EQ(f.lblOemTitle.ForeColor(), ui::Rgb(0, 128, 0));
        EXPECT_EQ(f.lblSystem.ForeColor(), ui::Rgb(128, 0, 0));
    }
    {
        Panel p(kSerialVariant);
        p.world.files.AddFile(std::string(kInstall) + "\\QMLogo.Bmp");
        const double top = p.frm().lblSystem.Top();
        ASSERT_EQ(p.Start(), kExitNormal);
        MainForm& f = p.frm();
        EXPECT_TRUE(p.cp.LogoPresent);
        EXPECT_FALSE(f.lblOemTitle.Visible());
        EXPECT_NE(f.lblOemTitle.Caption(), "Acme Kiosks");
        EXPECT_EQ(f.lblSystem.Top(), top - 2);
        EXPECT_EQ(f.lblSystem.Left(), 2);
    }
}

}  // namespace
}  // namespace qm
