// The control panel of both hardware builds under Wine against the stand-in driver: the
// start-up failures as the user meets them, the single-instance rule between two real
// processes, and the main window's status lines and layout read from the real windows.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "runner/bench.h"

namespace qm::wine {
namespace {

constexpr DWORD kStartMs = 60000;
constexpr DWORD kExitMs = 30000;
constexpr UINT kErrorBoxFlags = MB_OK | MB_ICONSTOP | MB_SYSTEMMODAL;
constexpr DWORD kExitStartFailed = 1;

std::string BuildName(const testing::TestParamInfo<Build>& info) {
    return info.param == Build::Serial ? "Serial" : "Ps2";
}

std::string Caption(Build build) { return " TouchScreen Control Panel #" + ProductTag(build); }

std::string ProgramFile(Build build) {
    return build == Build::Serial ? "QMwS3ccp.exe" : "QMwS3pcp.exe";
}

std::string FixturePath() {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string path = self;
    return path.substr(0, path.find_last_of('\\')) + "\\qm_bench_fixture.exe";
}

// Layout units: twips at the display's resolution (15 twips per pixel at 96 dpi).
int Dpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}
int Px(double twips) { return static_cast<int>(twips * Dpi() / 1440.0 + 0.5); }
int Twips(int pixels) { return pixels * 1440 / Dpi(); }

// Puts a product value back when the scope ends, whatever the test did to it.
class ValueRestorer {
public:
    ValueRestorer(Build build, std::string name)
        : key_(ProductKeyPath(build)), name_(std::move(name)),
          saved_(ReadString(HKEY_LOCAL_MACHINE, key_, name_)) {}
    ~ValueRestorer() {
        if (saved_)
            WriteString(HKEY_LOCAL_MACHINE, key_, name_, *saved_);
        else
            DeleteValue(HKEY_LOCAL_MACHINE, key_, name_);
    }
    ValueRestorer(const ValueRestorer&) = delete;
    ValueRestorer& operator=(const ValueRestorer&) = delete;
    bool HadValue() const { return saved_.has_value(); }

private:
    std::string key_, name_;
    std::optional<std::string> saved_;
};

class ControlPanelTest : public testing::TestWithParam<Build> {
protected:
    void SetUp() override {
        ASSERT_TRUE(FileExists(Program())) << Program() << " is not installed: build the windows preset";
        driver.emplace(GetParam());
        ASSERT_TRUE(driver->IsOpen()) << "cannot open the stand-in driver (error " << driver->LastError()
                                      << ")";
        ASSERT_TRUE(driver->Reset());
        DeleteValue(HKEY_LOCAL_MACHINE, ProductKeyPath(GetParam()), "CalibrationMode");
    }
    void TearDown() override {
        if (!driver || !driver->IsOpen()) {
            StartDriverService(GetParam());
            driver.emplace(GetParam());
        }
        if (driver->IsOpen()) driver->Reset();
        DeleteValue(HKEY_LOCAL_MACHINE, ProductKeyPath(GetParam()), "CalibrationMode");
    }

    std::string Program() const { return ProgramPath(GetParam(), ProgramFile(GetParam())); }

    // The error box of a failed start: text, title, flags, icon, one OK button; no main
    // window beside it. Answering it ends the program with the start-failure code.
    void ExpectErrorBoxAndEnd(ScopedProcess& app, const std::string& text, const std::string& title,
                              const std::string& shot = "") {
        MessageBoxInfo box = WaitForMessageBox(app.get(), kStartMs);
        ASSERT_TRUE(box) << "no message box; program "
                         << (IsRunning(app.get()) ? "still running" : "ended");
        EXPECT_EQ(box.text, text);
        EXPECT_EQ(box.title, title);
        ASSERT_TRUE(box.flags.has_value()) << "the box carries no QMMessageBoxFlags";
        EXPECT_EQ(*box.flags, kErrorBoxFlags);
        EXPECT_STREQ(IconName(box.shownIcon), IconName(BoxIcon::Stop));
        EXPECT_EQ(box.buttons, (std::vector<std::pair<int, std::string>>{{IDOK, "OK"}}));
        for (HWND w : TopWindowsOf(app->pid))
            EXPECT_EQ(w, box.window) << "a window beside the box: \"" << Text(w) << "\"";
        if (!shot.empty()) {
            EXPECT_FALSE(Screenshot(shot).empty()) << "no screenshot helper answered";
        }
        ASSERT_TRUE(Answer(box, IDOK));
        EXPECT_EQ(WaitForExit(app.get(), kExitMs), std::optional<DWORD>(kExitStartFailed));
    }

    std::string ShotName(const std::string& what) const {
        std::string name = GetParam() == Build::Serial ? "control_panel_com_" : "control_panel_ps2_";
        for (char c : what) name += c == ' ' ? '_' : c;
        return name;
    }

    HWND StartMainWindow(ScopedProcess& app) {
        if (!app.get()) return nullptr;
        HWND main = WaitForWindow(app.get(), Caption(GetParam()), kStartMs);
        if (!main) {
            MessageBoxInfo box = WaitForMessageBox(app.get(), 100);
            ADD_FAILURE() << "no main window"
                          << (box ? " but a box: \"" + box.title + "\" / \"" + box.text + "\"" : "");
        }
        return main;
    }

public:
    // The runner's own handle; empty while a case has the driver stopped.
    std::optional<BenchDriver> driver;
};

TEST_P(ControlPanelTest, StartFailuresShowTheirErrorBoxAndEnd) {
    const Build build = GetParam();
    struct Case {
        const char* what;
        std::string text;
        std::string title;
        // Sets the failure up and returns what undoes it (run however the case ends).
        std::function<std::function<void()>(ControlPanelTest&)> arrange;
        std::optional<std::vector<std::uint32_t>> requests;  // the driver's log afterwards
    };
    const Case cases[] = {
        {"driver missing", "Fail to open " + DriverName(build) + ".sys!", Caption(build),
         [build](ControlPanelTest& t) -> std::function<void()> {
             t.driver.reset();  // no handle survives the stop
             EXPECT_TRUE(StopDriverService(build)) << "cannot stop " << DriverName(build);
             BenchDriver gone(build);
             EXPECT_FALSE(gone.IsOpen()) << "the device is still there after the stop";
             return [build, &t] {
                 EXPECT_TRUE(StartDriverService(build)) << "cannot restart " << DriverName(build);
                 t.driver.emplace(build);
             };
         },
         std::nullopt},
        {"controller not found", "TouchScreen Controller Not Found!", Caption(build),
         [](ControlPanelTest& t) -> std::function<void()> {
             Block block = DefaultBlock();
             block[field::ComPort] = 0;
             EXPECT_TRUE(t.driver->SetBlock(block));
             return [] {};
         },
         std::vector<std::uint32_t>{IOCTL_TOUCH_GET_PARAMETERS}},
        {"vendor data missing", "Fail to load data from Register File!", Caption(build),
         [build](ControlPanelTest&) -> std::function<void()> {
             auto restorer = std::make_shared<ValueRestorer>(build, "SystemPath");
             EXPECT_TRUE(restorer->HadValue());
             EXPECT_TRUE(DeleteValue(HKEY_LOCAL_MACHINE, ProductKeyPath(build), "SystemPath"));
             return [restorer] {};  // restored when the last copy goes
         },
         std::vector<std::uint32_t>{}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(driver && driver->IsOpen() && driver->ClearLog());
        std::function<void()> undo = c.arrange(*this);
        {
            ScopedProcess app(Start(Program()));
            ASSERT_TRUE(app.get()) << "cannot start " << Program();
            ExpectErrorBoxAndEnd(app, c.text, c.title, ShotName(c.what));
        }
        undo();
        ASSERT_TRUE(driver && driver->IsOpen());
        if (c.requests) {
            auto log = driver->ReadLog();
            ASSERT_TRUE(log);
            EXPECT_EQ(log->Codes(), *c.requests);
        }
        ASSERT_TRUE(driver->Reset());
    }
}

TEST_P(ControlPanelTest, SecondCopyBringsTheRunningWindowForwardAndEnds) {
    ScopedProcess first(Start(Program()));
    HWND main = StartMainWindow(first);
    ASSERT_NE(main, nullptr);

    // Another program's window in front of the control panel.
    ScopedProcess other(Start(FixturePath()));
    HWND otherWindow = WaitForWindow(other.get(), "QM Bench Fixture", kStartMs);
    ASSERT_NE(otherWindow, nullptr);
    SetForegroundWindow(otherWindow);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == otherWindow; }, 5000));

    ScopedProcess second(Start(Program()));
    ASSERT_TRUE(second.get());
    MessageBoxInfo box = WaitForMessageBox(second.get(), kStartMs);
    EXPECT_FALSE(box) << "unexpected box \"" << box.text << "\"";
    EXPECT_EQ(WaitForExit(second.get(), kExitMs), std::optional<DWORD>(kExitStartFailed));
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == main; }, 5000))
        << "in front: \"" << Text(GetForegroundWindow()) << "\"";
    EXPECT_TRUE(IsRunning(first.get()));
    EXPECT_TRUE(IsVisible(main));
    EXPECT_EQ(FindTopWindows(Caption(GetParam())), std::vector<HWND>{main}) << "one main window only";
}

TEST_P(ControlPanelTest, SecondCopyThatCannotFindTheRunningWindowSaysSo) {
    ScopedProcess first(Start(Program()));
    HWND main = StartMainWindow(first);
    ASSERT_NE(main, nullptr);
    // The running copy is there, but no window carries the caption the second one looks for.
    ASSERT_TRUE(SetWindowTextA(main, "TouchScreen Control Panel (renamed)"));
    ASSERT_EQ(Text(main), "TouchScreen Control Panel (renamed)");

    ScopedProcess second(Start(Program()));
    ASSERT_TRUE(second.get());
    ExpectErrorBoxAndEnd(second,
                         "Application is running!\r\rPlease find and select the running window from Taskbar.",
                         Caption(GetParam()), ShotName("already running"));
    EXPECT_TRUE(IsRunning(first.get()));
}

// Expected state of one control of the main window; positions in twips of the client area.
struct ControlCase {
    const char* name;
    bool visible;
    double left, top;  // top < 0: not checked
    std::string text;  // "*": not checked
};

TEST_P(ControlPanelTest, MainWindowShowsTheDriverBlockInTheBuildsLayout) {
    const Build build = GetParam();
    const bool serial = build == Build::Serial;
    Block block = DefaultBlock();
    block[field::ComPort] = 2;
    SetU16(block, field::BasePort, 0x2F8);
    block[field::Irq] = 3;
    block[field::BaudRateIndex] = 11;
    block[field::VirtualButton] = 4;
    block[field::RightButtonFunction] = 1;
    block[field::RightButtonAutoMode] = 1;
    block[field::FeedbackSound] = 4;
    block[field::Sensitivity] = 100;
    block[field::MouseHSpeed] = 10;
    block[field::MouseVSpeed] = 20;
    block[field::MouseAcceleration] = 2;
    block[field::MouseBypass] = serial ? 0 : 1;
    block[field::PowerDownTime] = 9;
    ASSERT_TRUE(driver->SetBlock(block));
    ASSERT_TRUE(driver->ClearLog());
    ASSERT_TRUE(WriteDword(HKEY_LOCAL_MACHINE, ProductKeyPath(build), "CalibrationMode", 1));

    ScopedProcess app(Start(Program()));
    HWND main = StartMainWindow(app);
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(Settle(main));
    EXPECT_EQ(Text(main), Caption(build));

    const std::string mouseSpeed = serial ? "HS=50%, VS=100%, Acceleration=Medium" : "Enable Bypass Mode";
    const std::vector<ControlCase> common = {
        {"lblSystem", true, -1, -1, "TouchScreen Control Panel Version 7.0." + std::string(serial ? "COM" : "PS2")},
        {"cmdVirtualButton", true, 480, 2100, "&Virtual Button"},
        {"lblVirtualButton", true, 2400, 2220, "Drag Drop Mode, RBF Enable ( Automatic Mode )"},
        {"cmdFeedbackSound", true, 480, 2700, "&Feedback Sound"},
        {"lblFeedbackSound", true, 2400, 2820, "Both Touch Down && Lift Off"},
        {"lblSensitivity", false, -1, -1, "Level 27"},
        {"cmdSensivitity", false, -1, -1, "&Touch Sensitivity"},
        {"cmdCalibration", true, 480, 3900, "&Calibration"},
        {"cboCalibration", true, 2340, 3960, " 4 points, mode 2"},
        {"cmdSupport", true, 4080, 3900, "&About"},  // the bench installs no vendor files
        {"cmdExit", true, 5160, 3900, "E&xit"},
        {"cmdTest", false, -1, -1, "&Test"},
        {"cmdSMIon", false, -1, -1, "SMI on"},
        {"cmdSMIoff", false, -1, -1, "SMI Off"},
    };
    const std::vector<ControlCase> layout =
        serial ? std::vector<ControlCase>{
                     {"cmdSerialPort", true, 480, 1500, "&Serial Port"},
                     {"lblSerialPort", true, 2400, 1620, "COM2, Port=02F8, IRQ=3, (115200,N,8,1)"},
                     {"cmdMouseSpeed", false, -1, -1, "&Mouse Speed"},
                     {"lblMouseSpeed", false, -1, -1, mouseSpeed},
                     {"cmdSleepTime", true, 480, 3300, "&Power Save"},
                     {"lblSleepTime", true, 2400, 3420, "Power Down When Idle  1 Min.  30 Sec."},
                     {"lblDetection", false, -1, -1, "*"},
                     {"shpDetection", false, -1, -1, "*"},
                 }
               : std::vector<ControlCase>{
                     {"cmdSerialPort", false, -1, -1, "&Serial Port"},
                     {"lblSerialPort", true, 2400, 1620, "TouchScreen or Mouse found on PS/2 port"},
                     {"cmdMouseSpeed", true, 480, 3300, "&Mouse Speed"},
                     {"lblMouseSpeed", true, 2400, 3420, mouseSpeed},
                     {"cmdSleepTime", false, -1, -1, "&Power Save"},
                     {"lblSleepTime", false, -1, -1, "Disable Power Down Function"},
                     {"lblDetection", true, 960, 1620, "Detection"},
                     {"shpDetection", true, 480, 1500, "*"},
                 };
    for (const auto* cases : {&common, &layout}) {
        for (const ControlCase& c : *cases) {
            SCOPED_TRACE(c.name);
            HWND w = FindControl(main, c.name);
            ASSERT_NE(w, nullptr) << "no control named " << c.name;
            if (c.text != "*") {
                EXPECT_EQ(Text(w), c.text);
            }
            EXPECT_EQ(IsVisible(w), c.visible);
            // A control the layout hides is disabled as well (the design hides them both ways).
            if (!c.visible) {
                EXPECT_FALSE(IsEnabled(w));
            }
            if (c.top >= 0) {
                const RECT r = Placement(w);
                EXPECT_NEAR(r.left, Px(c.left), 1) << "left";
                EXPECT_NEAR(r.top, Px(c.top), 1) << "top";
            }
        }
    }

    // The calibration list: two items, the stored mode selected and left as it was.
    HWND cbo = FindControl(main, "cboCalibration");
    ASSERT_NE(cbo, nullptr);
    DWORD_PTR count = 0;
    ASSERT_TRUE(SendMessageTimeoutA(cbo, CB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &count));
    EXPECT_EQ(count, 2u);
    EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, ProductKeyPath(build), "CalibrationMode"),
              std::optional<DWORD>(1));

    // One row shorter than designed (5850 twips high, 6705 wide), centred across the screen
    // and in the upper 85 percent of it.
    const RECT frame = Placement(main);
    EXPECT_NEAR(frame.right, Px(6705), 1) << "width";
    EXPECT_NEAR(frame.bottom, Px(5850 - 600), 1) << "height";
    const int screenW = Twips(GetSystemMetrics(SM_CXSCREEN)), screenH = Twips(GetSystemMetrics(SM_CYSCREEN));
    EXPECT_NEAR(frame.left, Px(screenW / 2 - 6705 / 2), 1) << "left";
    EXPECT_NEAR(frame.top, Px(static_cast<int>(screenH * 0.85 + 0.5) / 2 - 5250 / 2), 1) << "top";

    // The start asked the driver for its block once, with the block's size both ways.
    auto log = driver->ReadLog();
    ASSERT_TRUE(log);
    EXPECT_EQ(log->Codes(), std::vector<std::uint32_t>{IOCTL_TOUCH_GET_PARAMETERS});
    if (!log->requests.empty()) {
        EXPECT_EQ(log->requests[0].inputLength, QM_PARAMETER_BLOCK_SIZE);
        EXPECT_EQ(log->requests[0].outputLength, QM_PARAMETER_BLOCK_SIZE);
        EXPECT_EQ(log->requests[0].status, 0u);
    }

    EXPECT_FALSE(Screenshot(serial ? "control_panel_com" : "control_panel_ps2").empty())
        << "no screenshot helper answered";

    Click(FindControl(main, "cmdExit"));
    EXPECT_EQ(WaitForExit(app.get(), kExitMs), std::optional<DWORD>(0)) << "Exit ends the program";
}

INSTANTIATE_TEST_SUITE_P(BothBuilds, ControlPanelTest, testing::Values(Build::Serial, Build::Ps2),
                         BuildName);

}  // namespace
}  // namespace qm::wine
