#include <gtest/gtest.h>

#include <algorithm>

#include "control_panel/control_panel.h"
#include "control_panel/frm_calibration.h"
#include "control_panel/frm_main.h"
#include "sim/world.h"

namespace qm {
namespace {

using Point = std::pair<std::int16_t, std::int16_t>;
constexpr WindowHandle kHelperWindow = 0x3333;
const CalibrationValues kOldValues{11, 22, 33, 44, 55, 66};
const CalibrationValues kWorkedValues{87, 500, 913, 103, 500, 897};
const Point kWorkedCorners[] = {{100, 120}, {900, 120}, {900, 880}, {100, 880}};

// Raw samples as a finger makes them, with a counter that advances per sample.
struct Finger {
    std::vector<sim::RawSample> samples;
    std::int16_t counter = 0;
    Finger& Lifted(int polls = 1) {
        for (int i = 0; i < polls; ++i) samples.push_back({0, 0, false, counter++});
        return *this;
    }
    Finger& Hold(Point p, int polls) {
        for (int i = 0; i < polls; ++i) samples.push_back({p.first, p.second, true, counter++});
        return *this;
    }
    Finger& Tap(Point p) { return Lifted().Hold(p, 3).Lifted(); }
    Finger& TapCorners() {
        for (const Point& p : kWorkedCorners) Tap(p);
        return *this;
    }
};

// The control panel, started, with the calibration screen one click away.
struct Panel {
    Panel()
        : world(kSerialVariant),
          app(world.ui),
          cp(app,
             ControlPanelPorts{world.driver, world.registry, world.processes, world.windows,
                               world.files, world.systemSettings, world.clock},
             kSerialVariant) {
        world.InstallProductData();
        DriverParameterBlock& b = world.driver.Block();
        b.ComPort = 1;
        b.BaudRateIndex = 4;
        b.ScreenWidth = 1024;
        b.ScreenHeight = 768;
        b.VirtualButton = 4;
        b.RightButtonFunction = 1;
        b.RightButtonAutoMode = 1;
        b.CalibrationData = kOldValues;
        b.PanelDirection = 2;
        world.driver.SetRbRegistration(kHelperWindow, 0);
    }
    void Start() {
        cp.Run();
        world.driver.ClearLog();
    }
    void Script(const Finger& f) { world.driver.Script(f.samples); }
    CalibrationForm& frm() { return static_cast<CalibrationForm&>(*cp.FindForm("frmCalibration")); }
    bool Calibrate() { return world.ui.Click(cp.frmMain().cmdCalibration); }
    // At the n-th window event of the run: Esc, answered with the first answer; the others
    // answer the boxes after it.
    void EscAt(int n, std::vector<int> answers) {
        world.ui.AtDoEvents(n, [this, answers] {
            for (int a : answers) world.ui.Answer(a);
            world.ui.PressKey(frm(), ui::vbKeyEscape);
        });
    }
    bool CursorShown() const { return world.systemSettings.CursorCounter() >= 0; }
    ui::Color Pixel(int x, int y) { return frm().picCalibration.Pixels().At(x, y); }
    bool SurfaceBlank() {
        const ui::Surface& s = frm().picCalibration.Pixels();
        return s.Count(ui::vbWhite) == s.Width() * s.Height();
    }

    // The requests of the run, with each stretch of raw-point polls shown once.
    std::vector<std::string> Requests() const {
        std::vector<std::string> out;
        for (const sim::DriverRequest& r : world.driver.Log()) {
            std::string name;
            switch (r.code) {
                case IOCTL_TOUCH_GET_RAW_POINT:
                    name = "raw";
                    break;
                case IOCTL_TOUCH_GET_VR_STATE:
                    name = "vr";
                    break;
                case IOCTL_TOUCH_SET_CALIBRATION:
                    name = "calibration";
                    break;
                case IOCTL_TOUCH_SET_TOUCH_MODE:
                    name = "touch mode";
                    break;
                case IOCTL_TOUCH_GET_RB_STATE:
                    name = "rb state";
                    break;
                case IOCTL_TOUCH_SET_CALIBRATION_STATE:
                    name = "state " + std::to_string(r.input.at(0));
                    break;
                default:
                    name = "code " + std::to_string(r.code);
            }
            if (name == "raw" && !out.empty() && out.back() == "raw") continue;
            out.push_back(name);
        }
        return out;
    }
    std::vector<DriverParameterBlock> CalibrationsSent() const {
        std::vector<DriverParameterBlock> sent;
        for (const sim::DriverRequest& r : world.driver.Log()) {
            if (r.code != IOCTL_TOUCH_SET_CALIBRATION) continue;
            ParameterBytes bytes{};
            std::copy_n(r.input.begin(), bytes.size(), bytes.begin());
            sent.push_back(DecodeParameterBlock(bytes));
        }
        return sent;
    }
    std::vector<std::uintptr_t> HelperCommands() const {
        std::vector<std::uintptr_t> out;
        for (const sim::SentMessage& m : world.windows.Messages())
            if (m.window == kHelperWindow) out.push_back(m.wParam);
        return out;
    }

    sim::World world;
    ui::Application app;
    ControlPanel cp;
};

constexpr int kQuestionFlags = ui::vbYesNo | ui::vbQuestion | ui::vbSystemModal;
const char* const kCompleteText =
    "CALIBRATION IS COMPLETE.\r\rFor test, touch on the screen and check cursor position.\r"
    "To save new calibration, click Yes button.\rTo restore old calibration, click No button.";

TEST(CalibrationScreen, CompleteCornerRunKeptOrRefused) {
    struct Case {
        int answer;
        std::vector<std::string> requests;
        CalibrationValues finalValues;
        std::uint8_t finalDirection;
    };
    const std::vector<std::string> run = {"touch mode", "vr",      "raw", "state 5", "raw",
                                          "state 5",    "raw",     "state 5", "raw", "state 5",
                                          "raw",        "calibration", "state 0"};
    auto with = [&](std::vector<std::string> tail) {
        std::vector<std::string> all = run;
        all.insert(all.end(), tail.begin(), tail.end());
        return all;
    };
    const Case cases[] = {
        {ui::vbYes, with({"touch mode"}), kWorkedValues, 0},
        {ui::vbNo, with({"calibration", "touch mode"}), kOldValues, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer == ui::vbYes ? "kept" : "refused");
        Panel p;
        p.Start();
        p.Script(Finger().TapCorners());
        bool mainHidden = false, cursorHidden = false;
        p.world.ui.AtDoEvents(1, [&] {
            mainHidden = !p.cp.frmMain().Visible();
            cursorHidden = !p.CursorShown();
        });
        bool triedWhileAsked = false;
        p.world.ui.onBox = [&](const sim::HeadlessUi::Box&) {
            triedWhileAsked = !p.frm().picCalibration.Visible() && p.CursorShown() &&
                              p.world.driver.Block().CalibrationData == kWorkedValues &&
                              p.world.driver.CalibrationStates().back() == 0;
        };
        p.world.ui.Answer(c.answer);
        ASSERT_TRUE(p.Calibrate());

        EXPECT_EQ(p.Requests(), c.requests);
        ASSERT_EQ(p.world.ui.Boxes().size(), 1u);
        EXPECT_EQ(p.world.ui.Boxes()[0].text, kCompleteText);
        EXPECT_EQ(p.world.ui.Boxes()[0].flags, kQuestionFlags | ui::vbDefaultButton1);
        EXPECT_EQ(p.world.ui.Boxes()[0].title, "TouchScreen Calibration");
        EXPECT_TRUE(triedWhileAsked) << "the new calibration is in force while the box is open";
        const auto sent = p.CalibrationsSent();
        ASSERT_FALSE(sent.empty());
        EXPECT_EQ(sent[0].CalibrationData, kWorkedValues);
        EXPECT_EQ(sent[0].PanelDirection, 0);
        EXPECT_EQ(p.world.driver.Block().CalibrationData, c.finalValues);
        EXPECT_EQ(p.world.driver.Block().PanelDirection, c.finalDirection);
        EXPECT_TRUE(mainHidden);
        EXPECT_TRUE(cursorHidden);
        EXPECT_FALSE(p.frm().IsLoaded());
        EXPECT_TRUE(p.cp.frmMain().Visible());
        EXPECT_TRUE(p.CursorShown());
    }
}

TEST(CalibrationScreen, HourglassOnlyWhileTheOldCalibrationGoesBack) {
    for (int answer : {ui::vbYes, ui::vbNo}) {
        Panel p;
        p.Start();
        p.Script(Finger().TapCorners());
        std::vector<int> pointers;  // at each calibration request
        p.world.driver.beforeRequest = [&](std::uint32_t code) {
            if (code == IOCTL_TOUCH_SET_CALIBRATION) pointers.push_back(p.world.ui.ScreenMousePointer());
        };
        p.world.ui.Answer(answer);
        p.frm().Show();
        const std::vector<int> want = answer == ui::vbYes
                                          ? std::vector<int>{ui::vbDefault}
                                          : std::vector<int>{ui::vbDefault, ui::vbHourglass};
        EXPECT_EQ(pointers, want) << "answer " << answer;
        EXPECT_EQ(p.world.ui.ScreenMousePointer(), ui::vbDefault);
    }
}

TEST(CalibrationScreen, LayoutAndTheFirstTarget) {
    Panel p;
    p.world.driver.Block().ScreenWidth = 1280;
    p.world.driver.Block().ScreenHeight = 1024;
    p.Start();
    p.Script(Finger().Lifted());
    bool checked = false;
    p.world.ui.AtDoEvents(1, [&] {
        CalibrationForm& f = p.frm();
        const ui::PixelRect surface = f.picCalibration.FormPixelBounds();
        EXPECT_EQ(surface.width, 1024);
        EXPECT_EQ(surface.height, 768);
        EXPECT_EQ(f.Engine().Geometry(), (SurfaceGeometry{1023, 767, 511, 383, 16, 16}));
        EXPECT_EQ(f.lblResolution.Caption(), "Resolution: 1280 X 1024");
        // The message panel is centred; the title sits above it, centred too.
        EXPECT_EQ(f.picHome.Width(), 456);
        EXPECT_EQ(f.picHome.Left(), 284);
        EXPECT_EQ(f.picHome.Top(), 318);
        EXPECT_EQ(f.picStat.Left(), 28);
        EXPECT_EQ(f.picMesg.Left(), 8);
        EXPECT_EQ(f.lblMesg3.Top(), 4);
        EXPECT_DOUBLE_EQ(2 * f.lblTitle.Left() + f.lblTitle.Width(), 1024);
        EXPECT_LT(f.lblTitle.Top() + f.lblTitle.Height(), f.picHome.Top());
        // The first target and its prompt.
        EXPECT_EQ(p.Pixel(15, 15), ui::vbBlack);
        EXPECT_EQ(p.Pixel(0, 0), ui::vbRed);
        EXPECT_EQ(f.lblMesg1.Caption(), "Please touch on the center of Cross Mark that");
        EXPECT_EQ(f.lblMesg2.Caption(), "show on the TOP-LEFT of the screen");
        EXPECT_EQ(f.lblMesg2.Left(), f.lblMesg1.Left());
        EXPECT_TRUE(f.lblMesg1.Visible() && f.lblMesg2.Visible());
        EXPECT_FALSE(f.lblMesg3.Visible());
        EXPECT_EQ(f.picStat.BackColor(), ui::Rgb(255, 255, 255));
        checked = true;
    });
    p.EscAt(2, {ui::vbYes});
    ASSERT_TRUE(p.Calibrate());
    EXPECT_TRUE(checked);
}

TEST(CalibrationScreen, TouchedAtTheStartWaitsForLiftOff) {
    Panel p;
    p.Start();
    Finger f;
    f.Hold({500, 500}, 6);
    f.TapCorners();
    p.Script(f);
    bool checked = false;
    p.world.ui.AtDoEvents(1, [&] {
        CalibrationForm& frm = p.frm();
        EXPECT_TRUE(frm.lblMesg3.Visible());
        EXPECT_EQ(frm.lblMesg3.Caption(), "PLEASE LIFT OFF TO START CALIBRATION!");
        EXPECT_FALSE(frm.lblMesg1.Visible());
        EXPECT_EQ(frm.picStat.BackColor(), ui::Rgb(255, 255, 0));
        EXPECT_TRUE(p.SurfaceBlank()) << "no target before lift-off";
        EXPECT_EQ(p.world.driver.CalibrationStates(), std::vector<std::int32_t>{3});
        checked = true;
    });
    p.world.ui.Answer(ui::vbYes);
    ASSERT_TRUE(p.Calibrate());
    EXPECT_TRUE(checked);
    EXPECT_EQ(p.world.driver.CalibrationStates(), (std::vector<std::int32_t>{3, 5, 5, 5, 5, 0}));
    EXPECT_EQ(p.world.driver.Block().CalibrationData, kWorkedValues);
}

TEST(CalibrationScreen, EscConfirmedDuringTheStartWaitShowsNoTarget) {
    Panel p;
    p.Start();
    Finger f;
    f.Hold({500, 500}, 6).Lifted();
    p.Script(f);
    p.EscAt(2, {ui::vbYes});
    bool blankAfterQuestion = false;
    p.world.ui.AtDoEvents(3, [&] { blankAfterQuestion = p.SurfaceBlank(); });
    ASSERT_TRUE(p.Calibrate());
    EXPECT_TRUE(blankAfterQuestion);
    EXPECT_EQ(p.world.driver.CalibrationStates(), (std::vector<std::int32_t>{3, 0}));
    EXPECT_EQ(p.world.driver.PendingSamples(), 0u) << "the screen closes once the finger is lifted";
    EXPECT_TRUE(p.CalibrationsSent().empty());
    EXPECT_FALSE(p.frm().IsLoaded());
    EXPECT_TRUE(p.cp.frmMain().Visible());
}

TEST(CalibrationScreen, EscConfirmedWhileATargetWaits) {
    Panel p;
    p.Start();
    p.Script(Finger().Lifted());
    p.EscAt(3, {ui::vbYes});
    bool behindTheBox = false;
    p.world.ui.onBox = [&](const sim::HeadlessUi::Box&) {
        CalibrationForm& f = p.frm();
        behindTheBox = p.SurfaceBlank() && !f.picMesg.Visible() && !f.lblHelp.Visible() &&
                       p.CursorShown();
    };
    ASSERT_TRUE(p.Calibrate());
    ASSERT_EQ(p.world.ui.Boxes().size(), 1u);
    EXPECT_EQ(p.world.ui.Boxes()[0].text, "Are you sure you want to break calibration?");
    EXPECT_EQ(p.world.ui.Boxes()[0].flags, kQuestionFlags | ui::vbDefaultButton2);
    EXPECT_EQ(p.world.ui.Boxes()[0].title, "TouchScreen Calibration");
    EXPECT_TRUE(behindTheBox) << "mark erased, panel hidden, cursor shown while asking";
    EXPECT_EQ(p.world.driver.CalibrationStates(), (std::vector<std::int32_t>{0, 4}));
    EXPECT_TRUE(p.CalibrationsSent().empty());
    EXPECT_EQ(p.world.driver.Block().CalibrationData, kOldValues);
    EXPECT_FALSE(p.frm().IsLoaded());
    EXPECT_TRUE(p.cp.frmMain().Visible());
    EXPECT_TRUE(p.CursorShown());
}

TEST(CalibrationScreen, EscAnsweredNoContinuesWithTheSameTarget) {
    Panel p;
    p.Start();
    Finger f;
    f.Lifted(3).TapCorners();
    p.Script(f);
    p.EscAt(2, {ui::vbNo, ui::vbYes});  // then the completion question
    bool erasedWhileAsked = false, redrawnAfter = false;
    p.world.ui.onBox = [&](const sim::HeadlessUi::Box& box) {
        if (box.flags & ui::vbDefaultButton2) erasedWhileAsked = p.Pixel(15, 15) == ui::vbWhite;
    };
    p.world.ui.AtDoEvents(3, [&] {
        CalibrationForm& frm = p.frm();
        redrawnAfter = p.Pixel(15, 15) == ui::vbBlack && frm.picMesg.Visible() &&
                       frm.lblHelp.Visible() && !p.CursorShown() && !frm.Engine().BreakRequested;
    });
    ASSERT_TRUE(p.Calibrate());
    EXPECT_TRUE(erasedWhileAsked);
    EXPECT_TRUE(redrawnAfter);
    EXPECT_EQ(p.world.driver.CalibrationStates(), (std::vector<std::int32_t>{0, 5, 5, 5, 5, 0}));
    EXPECT_EQ(p.world.driver.Block().CalibrationData, kWorkedValues);
}

TEST(CalibrationScreen, EscWhileNextStepIsShownDrawsNoMark) {
    Panel p;
    p.Start();
    Finger f;
    f.Lifted().Hold(kWorkedCorners[0], 3).Hold(kWorkedCorners[0], 4).Lifted();
    for (int i = 1; i < 4; ++i) f.Tap(kWorkedCorners[i]);
    p.Script(f);
    // 1 target shown, 2 idle poll, 3 touch-down, 4 waiting for lift-off.
    p.EscAt(4, {ui::vbNo, ui::vbYes});
    bool blankWhileAsked = false, blankAfter = false;
    p.world.ui.onBox = [&](const sim::HeadlessUi::Box& box) {
        if (box.flags & ui::vbDefaultButton2) blankWhileAsked = p.SurfaceBlank();
    };
    p.world.ui.AtDoEvents(5, [&] {
        blankAfter = p.SurfaceBlank() &&
                     p.frm().lblMesg3.Caption() == "PLEASE LIFT OFF TO NEXT STEP!" &&
                     p.frm().lblMesg3.Visible();
    });
    ASSERT_TRUE(p.Calibrate());
    EXPECT_TRUE(blankWhileAsked);
    EXPECT_TRUE(blankAfter);
    EXPECT_EQ(p.world.driver.CalibrationStates(), (std::vector<std::int32_t>{5, 0, 5, 5, 5, 0}));
}

TEST(CalibrationScreen, UnsupportedModeIsRefusedWithoutSendingAnything) {
    for (std::int32_t mode : {2, -1, 7}) {
        SCOPED_TRACE(mode);
        Panel p;
        p.Start();
        p.cp.store.CalibrationMode = mode;
        p.world.ui.Answer(ui::vbOK);
        ASSERT_TRUE(p.Calibrate());
        ASSERT_EQ(p.world.ui.Boxes().size(), 1u);
        EXPECT_EQ(p.world.ui.Boxes()[0].text,
                  "Fail to calibration! ( mode " + std::to_string(mode) + " not support )");
        EXPECT_EQ(p.world.ui.Boxes()[0].flags, ui::vbOKOnly);
        EXPECT_EQ(p.world.ui.Boxes()[0].title, p.app.Title());
        EXPECT_EQ(p.Requests(),
                  (std::vector<std::string>{"touch mode", "vr", "raw", "touch mode"}));
        EXPECT_FALSE(p.frm().IsLoaded());
        EXPECT_TRUE(p.cp.frmMain().Visible());
        EXPECT_TRUE(p.CursorShown());
    }
}

TEST(CalibrationScreen, EdgeModeRunsTheEdgeTargets) {
    Panel p;
    p.Start();
    p.cp.store.CalibrationMode = 1;
    Finger f;
    for (Point pt : {Point{480, 120}, Point{900, 490}, Point{530, 880}, Point{100, 520}}) f.Tap(pt);
    p.Script(f);
    std::string firstPrompt;
    p.world.ui.AtDoEvents(1, [&] { firstPrompt = p.frm().lblMesg2.Caption(); });
    p.world.ui.Answer(ui::vbYes);
    ASSERT_TRUE(p.Calibrate());
    EXPECT_EQ(firstPrompt, "show on the TOP of the screen");
    EXPECT_EQ(p.world.driver.Block().CalibrationData, (CalibrationValues{86, 505, 913, 102, 505, 897}));
}

TEST(CalibrationScreen, RightButtonFunctionSuspendedAndResumed) {
    struct Case {
        const char* what;
        std::uint8_t rbf, mode, autoMode;
        bool helperRunning;
        std::uint8_t autoWhileOpen;
        std::vector<std::uintptr_t> commandsWhileOpen, commandsAfter;
        int touchModeRequests, rbStateRequests;
    };
    const Case cases[] = {
        {"drag drop, automatic", 1, 4, 1, true, 0, {}, {}, 2, 0},
        {"drag drop, manual", 1, 4, 0, true, 0, {RBM_HIDE}, {RBM_HIDE, RBM_SHOW}, 0, 2},
        {"other mode, automatic", 1, 3, 1, true, 1, {RBM_HIDE}, {RBM_HIDE, RBM_SHOW}, 0, 2},
        {"helper not running", 1, 3, 1, false, 1, {}, {}, 0, 2},
        {"function off", 0, 4, 1, true, 1, {}, {}, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Panel p;
        DriverParameterBlock& b = p.world.driver.Block();
        b.RightButtonFunction = c.rbf;
        b.VirtualButton = c.mode;
        b.RightButtonAutoMode = c.autoMode;
        if (!c.helperRunning) p.world.driver.SetRbRegistration(-1, 0);
        p.Start();
        p.Script(Finger().Lifted());
        std::uint8_t autoWhileOpen = 99;
        std::vector<std::uintptr_t> whileOpen;
        p.world.ui.AtDoEvents(1, [&] {
            autoWhileOpen = p.world.driver.Block().RightButtonAutoMode;
            whileOpen = p.HelperCommands();
        });
        p.EscAt(2, {ui::vbYes});
        ASSERT_TRUE(p.Calibrate());
        EXPECT_EQ(autoWhileOpen, c.autoWhileOpen);
        EXPECT_EQ(whileOpen, c.commandsWhileOpen);
        EXPECT_EQ(p.HelperCommands(), c.commandsAfter);
        EXPECT_EQ(p.world.driver.Block().RightButtonAutoMode, c.autoMode) << "as before";
        const auto codes = p.world.driver.Codes();
        EXPECT_EQ(std::count(codes.begin(), codes.end(), IOCTL_TOUCH_SET_TOUCH_MODE),
                  c.touchModeRequests);
        EXPECT_EQ(std::count(codes.begin(), codes.end(), IOCTL_TOUCH_GET_RB_STATE),
                  c.rbStateRequests);
    }
}

TEST(CalibrationScreen, ClosingTheWindowDuringARunBreaksItOff) {
    Panel p;
    p.Start();
    p.Script(Finger().Lifted());
    bool stillOpen = false;
    p.world.ui.AtDoEvents(2, [&] { p.world.ui.CloseBox(p.frm()); });
    p.world.ui.AtDoEvents(2, [&] { stillOpen = p.frm().IsLoaded(); });
    ASSERT_TRUE(p.Calibrate());
    EXPECT_TRUE(stillOpen) << "the run ends before the window goes";
    EXPECT_EQ(p.world.driver.CalibrationStates(), std::vector<std::int32_t>{4});
    EXPECT_FALSE(p.frm().IsLoaded());
    EXPECT_TRUE(p.cp.frmMain().Visible());
    EXPECT_EQ(p.world.driver.Block().RightButtonAutoMode, 1);
}

TEST(CalibrationScreen, ASecondRunStartsAfresh) {
    Panel p;
    p.Start();
    p.Script(Finger().TapCorners());
    p.world.ui.Answer(ui::vbYes);
    ASSERT_TRUE(p.Calibrate());
    // The panel was mounted mirrored after all: the second run finds it.
    Finger f;
    for (Point pt : {Point{900, 120}, Point{100, 120}, Point{100, 880}, Point{900, 880}}) f.Tap(pt);
    p.Script(f);
    p.world.ui.Answer(ui::vbNo);
    ASSERT_TRUE(p.Calibrate());
    const auto sent = p.CalibrationsSent();
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[1].CalibrationData, (CalibrationValues{110, 523, 936, 103, 500, 897}));
    EXPECT_EQ(sent[1].PanelDirection, 1);
    EXPECT_EQ(sent[2].CalibrationData, kWorkedValues) << "the old values are the first run's";
    EXPECT_EQ(sent[2].PanelDirection, 0);
}

}  // namespace
}  // namespace qm
