#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "control_panel/calibration_engine.h"
#include "sim/world.h"

namespace qm {
namespace {

using Point = std::pair<std::int16_t, std::int16_t>;

// The calibration form as the engine sees it: pixels, the prompts and indicator as a list of
// events, and the window events a test hooks to act as the Esc handler.
struct FakeScreen : CalibrationScreen {
    ui::Surface pixels{1024, 768, ui::vbWhite};
    std::vector<std::string> events;
    int doEvents = 0;
    std::function<void(int n)> onDoEvents;

    void DrawLine(int x1, int y1, int x2, int y2, ui::Color c) override {
        pixels.Line(x1, y1, x2, y2, c);
    }
    void DrawRectangle(int x1, int y1, int x2, int y2, ui::Color c) override {
        pixels.Box(x1, y1, x2, y2, c);
    }
    void ShowTouchPrompt(const std::string& place) override { events.push_back("touch " + place); }
    void ShowLiftOffPrompt(const std::string& text) override { events.push_back("lift " + text); }
    void SetTouchIndicator(bool on) override { events.push_back(on ? "on" : "off"); }
    void DoEvents() override {
        ++doEvents;
        if (doEvents > 100000) throw std::runtime_error("the engine polls without end");
        if (onDoEvents) onDoEvents(doEvents);
    }
    void ShowMouseCursor() override { events.push_back("cursor shown"); }
    void HideMouseCursor() override { events.push_back("cursor hidden"); }
    void ErrorBox(const std::string& text, const std::string& title) override {
        events.push_back("error " + title + ": " + text);
    }
};

// Raw samples as a finger makes them, with a sample counter that advances per sample.
struct Finger {
    std::vector<sim::RawSample> samples;
    std::int16_t counter = 0;

    Finger& Lifted() {
        samples.push_back({0, 0, false, counter++});
        return *this;
    }
    // Held at one place for `polls` samples; the counter advances only when asked to.
    Finger& Hold(std::int16_t x, std::int16_t y, int polls, bool advancing = true) {
        for (int i = 0; i < polls; ++i) {
            samples.push_back({x, y, true, counter});
            if (advancing) ++counter;
        }
        if (!advancing) ++counter;  // the next sample is a new one
        return *this;
    }
    // The shortest touch that is taken: one poll to settle, two counter advances, lift.
    Finger& Tap(Point p) {
        Lifted();
        Hold(p.first, p.second, 3);
        return Lifted();
    }
};

struct EngineBench {
    explicit EngineBench(int screenWidth = 1024, int screenHeight = 768) {
        DriverParameterBlock& b = world.driver.Block();
        b.ComPort = 1;
        b.ScreenWidth = static_cast<std::uint16_t>(screenWidth);
        b.ScreenHeight = static_cast<std::uint16_t>(screenHeight);
        b.CalibrationData = {11, 22, 33, 44, 55, 66};
        b.PanelDirection = 2;
        b.VirtualButton = 3;
        b.Reserved71 = 0x5A;
        link.OpenDriver();
        link.GetParameters();
        engine.SetSurfaceSize(1024, 768);
        world.driver.ClearLog();
    }
    void Script(const Finger& f) { world.driver.Script(f.samples); }
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
    bool Shown(const std::string& event) const {
        return std::find(screen.events.begin(), screen.events.end(), event) !=
               screen.events.end();
    }

    sim::World world{kSerialVariant};
    DriverLink link{world.driver, world.processes, world.windows, kSerialVariant};
    FakeScreen screen;
    CalibrationEngine engine{link, screen};
};

TEST(CalibrationGeometry, CentresAreRoundedHalfToEven) {
    struct Case {
        int w, h, right, bottom, cx, cy;
    };
    const Case cases[] = {
        {1024, 768, 1023, 767, 511, 383},
        {1023, 767, 1022, 766, 510, 382},  // 510.5 and 382.5 go down to the even neighbour
        {1025, 769, 1024, 768, 512, 384},  // 511.5 and 383.5 go up
        {801, 603, 800, 602, 400, 300},    // 399.5 up, 300.5 down
    };
    for (const Case& c : cases) {
        const SurfaceGeometry g = SurfaceGeometryFor(c.w, c.h);
        EXPECT_EQ(g, (SurfaceGeometry{c.right, c.bottom, c.cx, c.cy, 16, 16}))
            << c.w << " x " << c.h;
    }
}

TEST(CalibrationCrossMarks, PixelExactOnA1024By768Surface) {
    struct Case {
        int index;
        const char* place;
        int x1, cx, x2, y1, cy, y2;
    };
    const Case cases[] = {
        {1, "TOP-LEFT", 0, 15, 31, 0, 15, 31},
        {2, "TOP-RIGHT", 990, 1006, 1023, 0, 15, 31},
        {3, "DOWN-RIGHT", 990, 1006, 1023, 734, 750, 767},
        {4, "DOWN-LEFT", 0, 15, 31, 734, 750, 767},
        {5, "TOP", 494, 511, 526, 0, 15, 31},
        {6, "RIGHT", 990, 1006, 1023, 366, 383, 398},
        {7, "DOWN", 494, 511, 526, 734, 750, 767},
        {8, "LEFT", 0, 15, 31, 366, 383, 398},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.place);
        EngineBench b;
        ASSERT_NE(FindTarget(c.index), nullptr);
        EXPECT_EQ(FindTarget(c.index)->placeName, c.place);
        b.engine.DrawTarget(c.index, true);
        int wrong = 0;
        for (int y = 0; y < 768; ++y) {
            for (int x = 0; x < 1024; ++x) {
                const bool inBox = x >= c.x1 && x <= c.x2 && y >= c.y1 && y <= c.y2;
                const bool onLine = inBox && (x == c.cx || y == c.cy);
                const bool onEdge = inBox && (x == c.x1 || x == c.x2 || y == c.y1 || y == c.y2);
                // The two lines are drawn after the box and cross its edges in black.
                const ui::Color want = onLine   ? ui::vbBlack
                                       : onEdge ? ui::vbRed
                                                : ui::vbWhite;
                if (b.screen.pixels.At(x, y) != want && ++wrong <= 5)
                    ADD_FAILURE() << "pixel (" << x << ", " << y << ")";
            }
        }
        EXPECT_EQ(wrong, 0);
        b.engine.DrawTarget(c.index, false);
        EXPECT_EQ(b.screen.pixels.Count(ui::vbWhite), 1024 * 768) << "erased without a trace";
    }
    EngineBench b;
    for (int index : {0, 9, -1, 26}) b.engine.DrawTarget(index, true);
    EXPECT_EQ(b.screen.pixels.Count(ui::vbWhite), 1024 * 768) << "no mark outside 1..8";
}

// Whole methods, fed touch by touch through the driver.
TEST(CalibrationMethods, ResultsDirectionsRotationsClampsAndHalves) {
    struct Case {
        const char* what;
        CalibrationMethod method;
        int w, h;
        std::int16_t rotation;
        std::array<Point, 4> touches;  // in capture order
        std::uint8_t direction;
        CalibrationValues values;
        std::int16_t rotationAfter;
    };
    const auto corners = CalibrationMethod::Corners;
    const auto edges = CalibrationMethod::Edges;
    const Case cases[] = {
        {"worked example", corners, 1024, 768, 0,
         {{{100, 120}, {900, 120}, {900, 880}, {100, 880}}}, 0, {87, 500, 913, 103, 500, 897}, 0},
        {"uneven corners averaged", corners, 1024, 768, 0,
         {{{90, 130}, {910, 125}, {905, 870}, {95, 875}}}, 0, {79, 499, 920, 111, 499, 888}, 0},
        {"mirrored left-right", corners, 1024, 768, 0,
         {{{900, 120}, {100, 120}, {100, 880}, {900, 880}}}, 1, {110, 523, 936, 103, 500, 897}, 0},
        {"mirrored top-bottom", corners, 1024, 768, 0,
         {{{100, 880}, {900, 880}, {900, 120}, {100, 120}}}, 2, {87, 500, 913, 126, 523, 920}, 0},
        {"axes swapped", corners, 1024, 768, 0,
         {{{120, 100}, {120, 900}, {880, 900}, {880, 100}}}, 4, {87, 500, 913, 103, 500, 897}, 0},
        {"axes swapped, X mirrored", corners, 1024, 768, 0,
         {{{120, 900}, {120, 100}, {880, 100}, {880, 900}}}, 5, {110, 523, 936, 103, 500, 897}, 0},
        // Rotation 1: the point captured at DOWN-LEFT is the top-left corner.
        {"rotation 1", corners, 1024, 768, 1,
         {{{900, 120}, {900, 880}, {100, 880}, {100, 120}}}, 0, {87, 500, 913, 103, 500, 897}, 1},
        {"rotation 2", corners, 1024, 768, 2,
         {{{100, 880}, {100, 120}, {900, 120}, {900, 880}}}, 0, {87, 500, 913, 103, 500, 897}, 2},
        {"rotation 3", corners, 1024, 768, 3,
         {{{900, 880}, {100, 880}, {100, 120}, {900, 120}}}, 0, {87, 500, 913, 103, 500, 897}, 3},
        {"rotation 7 counts as 0", corners, 1024, 768, 7,
         {{{100, 120}, {900, 120}, {900, 880}, {100, 880}}}, 0, {87, 500, 913, 103, 500, 897}, 0},
        {"left and top clamped at 0", corners, 1024, 768, 0,
         {{{5, 5}, {805, 5}, {805, 805}, {5, 805}}}, 0, {0, 405, 818, 0, 405, 822}, 0},
        {"right and bottom clamped at 1023", corners, 1024, 768, 0,
         {{{220, 220}, {1020, 220}, {1020, 1020}, {220, 1020}}}, 0, {207, 620, 1023, 203, 620, 1023},
         0},
        // dX = dY = 800 / 1024 * 16 = 12.5 exactly: 87.5 -> 88, 911.5 -> 912 ...
        {"halves go to the even neighbour", corners, 1056, 1056, 0,
         {{{100, 100}, {899, 100}, {899, 899}, {100, 899}}}, 0, {88, 499, 912, 88, 499, 912}, 0},
        // ... and 86.5 -> 86, 910.5 -> 910.
        {"halves go down to even too", corners, 1056, 1056, 0,
         {{{99, 99}, {898, 99}, {898, 898}, {99, 898}}}, 0, {86, 498, 910, 86, 498, 910}, 0},
        // TOP, RIGHT, DOWN, LEFT; centres measured, each half extended on its own.
        {"edge method", edges, 1024, 768, 0, {{{480, 120}, {900, 490}, {530, 880}, {100, 520}}}, 0,
         {86, 505, 913, 102, 505, 897}, 0},
        {"edge method, rotation 1", edges, 1024, 768, 1,
         {{{900, 490}, {530, 880}, {100, 520}, {480, 120}}}, 0, {86, 505, 913, 102, 505, 897}, 1},
        {"edge method, mirrored left-right", edges, 1024, 768, 0,
         {{{543, 120}, {123, 490}, {493, 880}, {923, 520}}}, 1, {86, 505, 913, 102, 505, 897}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EngineBench b(c.w, c.h);
        b.world.driver.SetRotation(c.rotation);
        Finger f;
        for (const Point& p : c.touches) f.Tap(p);
        b.Script(f);
        b.engine.BeginCalibrationRun();
        const int result = c.method == corners ? b.engine.CalibrateCorners()
                                               : b.engine.CalibrateEdges();
        ASSERT_EQ(result, kCalibrationOk);
        EXPECT_EQ(b.engine.NewDirection, c.direction);
        EXPECT_EQ(b.engine.NewCalibration, c.values);
        EXPECT_EQ(b.link.VrState().Rotation, c.rotationAfter);
        EXPECT_EQ(b.world.driver.CalibrationStates(), (std::vector<std::int32_t>(4, 5)));
        EXPECT_TRUE(b.CalibrationsSent().empty()) << "a method hands nothing over itself";
        EXPECT_EQ(b.world.driver.Block().CalibrationData, (CalibrationValues{11, 22, 33, 44, 55, 66}));
    }
}

TEST(CalibrationMethods, SwapStaysInTheCapturedPoints) {
    EngineBench b;
    Finger f;
    for (Point p : {Point{120, 100}, Point{120, 900}, Point{880, 900}, Point{880, 100}}) f.Tap(p);
    b.Script(f);
    b.engine.BeginCalibrationRun();
    ASSERT_EQ(b.engine.CalibrateCorners(), kCalibrationOk);
    EXPECT_EQ(b.engine.NewDirection, 4);
    const std::array<std::int16_t, 4> x{b.engine.CapturedX[1], b.engine.CapturedX[2],
                                        b.engine.CapturedX[3], b.engine.CapturedX[4]};
    const std::array<std::int16_t, 4> y{b.engine.CapturedY[1], b.engine.CapturedY[2],
                                        b.engine.CapturedY[3], b.engine.CapturedY[4]};
    EXPECT_EQ(x, (std::array<std::int16_t, 4>{100, 900, 900, 100}));
    EXPECT_EQ(y, (std::array<std::int16_t, 4>{120, 120, 880, 880}));
    EXPECT_EQ(b.engine.BuildDirectionPattern(CalibrationMethod::Corners), "00101101");
}

TEST(CalibrationMethods, DirectionMatchingIsExact) {
    const std::pair<const char*, std::uint8_t> cases[] = {
        {"00101101", 0}, {"10000111", 1}, {"01111000", 2}, {"11010010", 3},
        {"00011110", 255}, {"0010110", 255}, {"001011010", 255}, {"", 255}, {"0010110l", 255},
    };
    for (const auto& [pattern, value] : cases)
        EXPECT_EQ(MatchDirectionPattern(pattern), value) << '"' << pattern << '"';
}

TEST(CalibrationMethods, UnrecognisedDirectionShowsBothPatternsAndSendsNothing) {
    struct Case {
        Point touch;  // all four touches at this spot
        const char* patterns;
    };
    const Case cases[] = {{{100, 100}, "00000000-00000000"}, {{100, 600}, "01010101-10101010"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.patterns);
        EngineBench b;
        Finger f;
        for (int i = 0; i < 4; ++i) f.Tap(c.touch);
        b.Script(f);
        b.engine.BeginCalibrationRun();
        EXPECT_EQ(b.engine.CalibrateCorners(), kCalibrationStopped);
        const std::vector<std::string> tail(b.screen.events.end() - 3, b.screen.events.end());
        EXPECT_EQ(tail, (std::vector<std::string>{
                            "cursor shown",
                            std::string("error Touchscreen Calibration: Incorrect Panel Direction! (") +
                                c.patterns +
                                ")\r\n\r\nPlease checkout the pinout of your touch panel.",
                            "cursor hidden"}));
        EXPECT_TRUE(b.CalibrationsSent().empty());
        EXPECT_EQ(b.world.driver.CalibrationStates(), (std::vector<std::int32_t>(4, 5)))
            << "no break code either";
        EXPECT_EQ(b.link.Block().CalibrationData, (CalibrationValues{11, 22, 33, 44, 55, 66}));
        EXPECT_EQ(b.link.Block().PanelDirection, 2);
    }
}

TEST(CalibrationCapture, AMovingTouchIsNeverTaken) {
    EngineBench b;
    Finger f;
    f.Lifted();
    // A new raw position on every sample, for a long time, the counter advancing each time.
    for (std::int16_t i = 0; i < 200; ++i)
        f.Hold(static_cast<std::int16_t>(100 + i % 2), static_cast<std::int16_t>(200 + i / 2 % 2), 1);
    f.Tap({300, 310});
    b.Script(f);
    ASSERT_EQ(b.engine.CaptureTarget(1, "TOP-LEFT"), kCalibrationOk);
    EXPECT_EQ(b.engine.CapturedX[1], 300);
    EXPECT_EQ(b.engine.CapturedY[1], 310);
    EXPECT_EQ(b.world.driver.CalibrationStates(), std::vector<std::int32_t>{5});
}

TEST(CalibrationCapture, TheCounterMustAdvanceTwiceAtOnePlace) {
    // The count the finger lands on is the one last seen while lifted: it is not an advance.
    EngineBench b;
    std::vector<sim::RawSample> samples = {{0, 0, false, 7}};
    for (int i = 0; i < 11; ++i) samples.push_back({200, 210, true, 7});
    samples.push_back({200, 210, true, 8});
    samples.push_back({200, 210, true, 9});
    samples.push_back({0, 0, false, 10});
    b.world.driver.Script(samples);
    ASSERT_EQ(b.engine.CaptureTarget(5, "TOP"), kCalibrationOk);
    EXPECT_EQ(b.engine.CapturedX[5], 200);
    EXPECT_EQ(b.engine.CapturedY[5], 210);
    // Taken at the sample with count 9, after every repeated one.
    const auto codes = b.world.driver.Codes();
    const auto state = std::find(codes.begin(), codes.end(), IOCTL_TOUCH_SET_CALIBRATION_STATE);
    EXPECT_EQ(std::count(codes.begin(), state, IOCTL_TOUCH_GET_RAW_POINT), 14);
}

TEST(CalibrationCapture, LiftingEarlyStartsTheTargetOver) {
    EngineBench b;
    Finger f;
    f.Lifted().Hold(200, 200, 2).Lifted();  // one advance, then gone
    f.Tap({300, 300});
    b.Script(f);
    ui::Color centreWhileWaiting = 0;
    b.screen.onDoEvents = [&](int n) {
        if (n == 1) centreWhileWaiting = b.screen.pixels.At(15, 15);
    };
    ASSERT_EQ(b.engine.CaptureTarget(1, "TOP-LEFT"), kCalibrationOk);
    EXPECT_EQ(b.engine.CapturedX[1], 300);
    EXPECT_EQ(b.engine.CapturedY[1], 300);
    EXPECT_EQ(b.screen.events, (std::vector<std::string>{"touch TOP-LEFT", "off", "on", "off", "on",
                                                         "lift NEXT STEP!", "off"}));
    EXPECT_EQ(centreWhileWaiting, ui::vbBlack);
    EXPECT_EQ(b.screen.pixels.Count(ui::vbWhite), 1024 * 768) << "the mark goes once taken";
    EXPECT_EQ(b.engine.CurrentTarget, 0);
}

TEST(CalibrationCapture, BreakWhileATargetWaitsStopsTheMethod) {
    EngineBench b;
    Finger f;
    f.Lifted();
    b.Script(f);
    b.engine.BeginCalibrationRun();
    b.screen.onDoEvents = [&](int n) {
        if (n == 3) b.engine.BreakRequested = true;
    };
    EXPECT_EQ(b.engine.CalibrateCorners(), kCalibrationStopped);
    EXPECT_EQ(b.world.driver.CalibrationStates(), std::vector<std::int32_t>{4});
    EXPECT_TRUE(b.Shown("touch TOP-LEFT"));
    EXPECT_FALSE(b.Shown("touch TOP-RIGHT")) << "no further target";
    EXPECT_EQ(b.engine.CurrentTarget, 1);
    EXPECT_TRUE(b.CalibrationsSent().empty());
    EXPECT_EQ(b.link.Block().CalibrationData, (CalibrationValues{11, 22, 33, 44, 55, 66}));
}

TEST(CalibrationCapture, BreakIsSeenOnlyWhereWindowEventsRun) {
    {
        SCOPED_TRACE("while waiting for lift-off after a point");
        EngineBench b;
        Finger f;
        f.Lifted().Hold(400, 400, 3).Hold(400, 400, 5);  // taken, then still held
        b.Script(f);
        b.screen.onDoEvents = [&](int n) {
            if (n == 4) b.engine.BreakRequested = true;  // 1 shown, 2 idle, 3 touch-down
        };
        EXPECT_EQ(b.engine.CaptureTarget(2, "TOP-RIGHT"), kCalibrationStopped);
        EXPECT_EQ(b.world.driver.CalibrationStates(), (std::vector<std::int32_t>{5, 4}));
    }
    {
        SCOPED_TRACE("set at touch-down: the held point is still taken");
        EngineBench b;
        Finger f;
        f.Tap({100, 120});
        b.Script(f);
        b.engine.BeginCalibrationRun();
        b.screen.onDoEvents = [&](int n) {
            if (n == 3) b.engine.BreakRequested = true;
        };
        EXPECT_EQ(b.engine.CalibrateCorners(), kCalibrationStopped);
        EXPECT_EQ(b.engine.CapturedX[1], 100);
        EXPECT_EQ(b.world.driver.CalibrationStates(), (std::vector<std::int32_t>{5, 4}));
        EXPECT_TRUE(b.Shown("touch TOP-RIGHT"));
        EXPECT_FALSE(b.Shown("touch DOWN-RIGHT"));
    }
}

TEST(CalibrationHandOver, BeginSavesApplySendsNewRestoreSendsOld) {
    EngineBench b;
    b.engine.CapturedX.fill(7);
    b.engine.CapturedY.fill(7);
    b.engine.CurrentTarget = 3;
    const DriverParameterBlock before = b.link.Block();
    b.engine.BeginCalibrationRun();
    EXPECT_EQ(b.world.driver.Codes(), std::vector<std::uint32_t>{IOCTL_TOUCH_GET_VR_STATE});
    EXPECT_EQ(b.engine.CapturedX[0], 7) << "index 0 is left alone";
    EXPECT_TRUE(std::all_of(b.engine.CapturedX.begin() + 1, b.engine.CapturedX.end(),
                            [](std::int16_t v) { return v == 0; }));
    EXPECT_TRUE(std::all_of(b.engine.CapturedY.begin() + 1, b.engine.CapturedY.end(),
                            [](std::int16_t v) { return v == 0; }));
    EXPECT_EQ(b.engine.CurrentTarget, 0);
    EXPECT_EQ(b.engine.SavedCalibration, (CalibrationValues{11, 22, 33, 44, 55, 66}));
    EXPECT_EQ(b.engine.SavedDirection, 2);

    b.engine.NewCalibration = {87, 500, 913, 103, 500, 897};
    b.engine.NewDirection = 5;
    b.engine.ApplyNewCalibration();
    b.engine.RestoreOldCalibration();
    const auto sent = b.CalibrationsSent();
    ASSERT_EQ(sent.size(), 2u);
    DriverParameterBlock want = before;
    want.CalibrationData = {87, 500, 913, 103, 500, 897};
    want.PanelDirection = 5;
    EXPECT_EQ(sent[0], want) << "the whole block goes, other fields as received";
    EXPECT_EQ(sent[1], before);
    EXPECT_EQ(b.world.driver.Block().CalibrationData, before.CalibrationData);
    EXPECT_EQ(b.world.driver.Block().PanelDirection, 2);
}

}  // namespace
}  // namespace qm
