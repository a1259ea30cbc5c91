// The control panel's calibration screen and drawing test under Wine, against the stand-in
// driver: touches are injected into the driver the way the controller reports them, and the
// runner answers the questions the screen asks, then reads back what the driver received.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "runner/bench.h"

namespace qm::wine {
namespace {

constexpr DWORD kStartMs = 60000;
constexpr DWORD kStepMs = 60000;
constexpr DWORD kExitMs = 30000;

constexpr UINT kCompleteFlags = MB_YESNO | MB_ICONQUESTION | MB_SYSTEMMODAL | MB_DEFBUTTON1;
constexpr UINT kBreakFlags = MB_YESNO | MB_ICONQUESTION | MB_SYSTEMMODAL | MB_DEFBUTTON2;
const char* const kQuestionTitle = "TouchScreen Calibration";
const char* const kCompleteText =
    "CALIBRATION IS COMPLETE.\r\rFor test, touch on the screen and check cursor position.\r"
    "To save new calibration, click Yes button.\rTo restore old calibration, click No button.";
const char* const kBreakText = "Are you sure you want to break calibration?";

constexpr std::int32_t kBrokenOff = 4, kIdle = 0;

std::string BuildName(const testing::TestParamInfo<Build>& info) {
    return info.param == Build::Serial ? "Serial" : "Ps2";
}

std::string Caption(Build build) { return " TouchScreen Control Panel #" + ProductTag(build); }

std::string ProgramFile(Build build) {
    return build == Build::Serial ? "QMwS3ccp.exe" : "QMwS3pcp.exe";
}

// The calibration as the driver block holds it: six raw values and the direction byte.
struct Calibration {
    std::int16_t values[6] = {};
    std::uint8_t direction = 0;
    bool operator==(const Calibration& o) const {
        for (int i = 0; i < 6; ++i)
            if (values[i] != o.values[i]) return false;
        return direction == o.direction;
    }
};

std::ostream& operator<<(std::ostream& os, const Calibration& c) {
    os << "(";
    for (int i = 0; i < 6; ++i) os << (i ? ", " : "") << c.values[i];
    return os << "; direction " << int(c.direction) << ")";
}

template <class Bytes>
Calibration CalibrationIn(const Bytes& block) {
    Calibration c;
    for (int i = 0; i < 6; ++i)
        c.values[i] = static_cast<std::int16_t>(block[field::CalibrationData + 2 * i] |
                                                (block[field::CalibrationData + 2 * i + 1] << 8));
    c.direction = block[field::PanelDirection];
    return c;
}

void PutCalibration(Block& block, const Calibration& c) {
    for (int i = 0; i < 6; ++i)
        SetU16(block, field::CalibrationData + 2 * i, static_cast<std::uint16_t>(c.values[i]));
    block[field::PanelDirection] = c.direction;
}

// Raw corners of a panel mounted the right way round, and what the corner method makes of
// them on a 1024 x 768 screen.
struct RawPoint {
    std::int16_t x, y;
};
const RawPoint kCorners[] = {{100, 120}, {900, 120}, {900, 880}, {100, 880}};
const char* const kCornerNames[] = {"TOP-LEFT", "TOP-RIGHT", "DOWN-RIGHT", "DOWN-LEFT"};
const Calibration kCornerResult = {{87, 500, 913, 103, 500, 897}, 0};
// What the driver held before the run: unlike the default block, so a restore is visible.
const Calibration kOldCalibration = {{70, 505, 950, 82, 515, 940}, 2};

// Puts a DWORD product value back (or removes it) when the scope ends.
class DwordRestorer {
public:
    DwordRestorer(Build build, std::string name)
        : key_(ProductKeyPath(build)), name_(std::move(name)),
          saved_(ReadDword(HKEY_LOCAL_MACHINE, key_, name_)) {}
    ~DwordRestorer() {
        if (saved_)
            WriteDword(HKEY_LOCAL_MACHINE, key_, name_, *saved_);
        else
            DeleteValue(HKEY_LOCAL_MACHINE, key_, name_);
    }
    DwordRestorer(const DwordRestorer&) = delete;
    DwordRestorer& operator=(const DwordRestorer&) = delete;

private:
    std::string key_, name_;
    std::optional<DWORD> saved_;
};

// The screen polls the driver without pause while it waits for a touch, so the driver's log
// (a ring of 128 requests) overflows within a run. The recorder reads it on a thread of its
// own, often enough to see every request once, and notes any it missed.
class RequestRecorder {
public:
    explicit RequestRecorder(Build build) : driver_(build) {
        InitializeCriticalSection(&lock_);
        if (driver_.IsOpen() && driver_.ClearLog())
            thread_ = CreateThread(nullptr, 0, &RequestRecorder::Run, this, 0, nullptr);
    }
    ~RequestRecorder() {
        Stop();
        DeleteCriticalSection(&lock_);
    }
    RequestRecorder(const RequestRecorder&) = delete;
    RequestRecorder& operator=(const RequestRecorder&) = delete;

    bool Running() const { return thread_ != nullptr; }

    // Ends the recording after one last read; what was logged until then is kept.
    void Stop() {
        if (!thread_) return;
        InterlockedExchange(&stop_, 1);
        WaitForSingleObject(thread_, 30000);
        CloseHandle(thread_);
        thread_ = nullptr;
    }

    std::vector<LoggedRequest> Requests() {
        EnterCriticalSection(&lock_);
        std::vector<LoggedRequest> copy = requests_;
        LeaveCriticalSection(&lock_);
        return copy;
    }
    // Everything but the raw-point polls, which only tell that the screen was waiting.
    std::vector<LoggedRequest> Commands() {
        std::vector<LoggedRequest> out;
        for (LoggedRequest& r : Requests())
            if (r.code != IOCTL_TOUCH_GET_RAW_POINT) out.push_back(std::move(r));
        return out;
    }
    std::uint32_t Missed() {
        EnterCriticalSection(&lock_);
        const std::uint32_t n = missed_;
        LeaveCriticalSection(&lock_);
        return n;
    }

private:
    static DWORD WINAPI Run(void* self) {
        auto* r = static_cast<RequestRecorder*>(self);
        for (;;) {
            const bool last = InterlockedCompareExchange(&r->stop_, 0, 0) != 0;
            r->ReadOnce();
            if (last) return 0;
            Sleep(5);
        }
    }

    void ReadOnce() {
        std::optional<DriverLog> log = driver_.ReadLog();
        if (!log) return;
        // Entry i of the reply is request number total - count + i since the clear.
        const std::uint32_t first = log->total - static_cast<std::uint32_t>(log->requests.size());
        EnterCriticalSection(&lock_);
        if (first > seen_) missed_ += first - seen_;
        for (std::size_t i = 0; i < log->requests.size(); ++i)
            if (first + i >= seen_) requests_.push_back(log->requests[i]);
        if (log->total > seen_) seen_ = log->total;
        LeaveCriticalSection(&lock_);
    }

    BenchDriver driver_;
    HANDLE thread_ = nullptr;
    volatile LONG stop_ = 0;
    CRITICAL_SECTION lock_;
    std::vector<LoggedRequest> requests_;
    std::uint32_t seen_ = 0;
    std::uint32_t missed_ = 0;
};

std::int32_t StateCodeOf(const LoggedRequest& r) {
    if (r.input.size() < 4) return -1;
    return static_cast<std::int32_t>(r.input[0] | (r.input[1] << 8) | (r.input[2] << 16) |
                                     (static_cast<std::uint32_t>(r.input[3]) << 24));
}

// A request as "code" or "code(state)" for the state requests, so a whole sequence reads
// in one failure message.
std::vector<std::string> Describe(const std::vector<LoggedRequest>& requests) {
    std::vector<std::string> out;
    for (const LoggedRequest& r : requests) {
        char text[32];
        if (r.code == IOCTL_TOUCH_SET_CALIBRATION_STATE)
            snprintf(text, sizeof text, "state %ld", static_cast<long>(StateCodeOf(r)));
        else
            snprintf(text, sizeof text, "%05lX", static_cast<unsigned long>(r.code));
        out.push_back(text);
    }
    return out;
}

class CalibrationScreenTest : public testing::TestWithParam<Build> {
protected:
    void SetUp() override {
        ASSERT_TRUE(FileExists(Program())) << Program() << " is not installed: build the windows preset";
        driver.emplace(GetParam());
        ASSERT_TRUE(driver->IsOpen()) << "cannot open the stand-in driver (error " << driver->LastError()
                                      << ")";
        ASSERT_TRUE(driver->Reset());
    }
    void TearDown() override {
        if (driver && driver->IsOpen()) driver->Reset();
    }

    std::string Program() const { return ProgramPath(GetParam(), ProgramFile(GetParam())); }

    std::string ShotName(const std::string& what) const {
        return GetParam() == Build::Serial ? what : what + "_ps2";
    }

    // The driver's block before the control panel starts, with the given calibration.
    void LoadBlock(const Calibration& calibration, std::uint8_t virtualButton = 4) {
        Block block = DefaultBlock();
        PutCalibration(block, calibration);
        block[field::VirtualButton] = virtualButton;
        ASSERT_TRUE(driver->SetBlock(block));
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

    // The calibration screen opened from the main window's button.
    HWND OpenCalibration(ScopedProcess& app, HWND main) {
        HWND button = FindControl(main, "cmdCalibration");
        if (!button) {
            ADD_FAILURE() << "no cmdCalibration";
            return nullptr;
        }
        Click(button);
        HWND screen = WaitForWindow(app.get(), "Calibration", kStartMs);
        if (!screen) ADD_FAILURE() << "the calibration screen did not open";
        return screen;
    }

    // Waits until the screen asks for the target with this place name.
    static bool WaitForPrompt(HWND screen, const std::string& place) {
        HWND line1 = FindControl(screen, "lblMesg1");
        HWND line2 = FindControl(screen, "lblMesg2");
        if (!line1 || !line2) return false;
        const std::string wanted = "show on the " + place + " of the screen";
        return WaitUntil(
            [&] {
                return IsVisible(line2) && Text(line2) == wanted &&
                       Text(line1) == "Please touch on the center of Cross Mark that";
            },
            kStepMs, 100);
    }

    // A finger held still on one raw position for a few controller samples, then lifted.
    bool Tap(RawPoint p) {
        std::vector<Sample> samples(4, Sample{p.x, p.y, true});
        samples.push_back(Sample{p.x, p.y, false});
        return driver->Inject(samples);
    }

    // Waits until the screen has taken every injected sample.
    bool WaitSamplesTaken() {
        return WaitUntil(
            [&] {
                auto s = driver->PeekState();
                return s && s->samplesQueued == 0;
            },
            kStepMs, 100);
    }

    std::optional<Calibration> DriverCalibration() {
        auto block = driver->PeekBlock();
        if (!block) return std::nullopt;
        return CalibrationIn(*block);
    }

    // Ends the control panel through its Exit button once the screen has handed back.
    void ExitProgram(ScopedProcess& app, HWND main) {
        ASSERT_TRUE(WaitUntil([&] { return IsVisible(main); }, kExitMs))
            << "the main window did not come back";
        Click(FindControl(main, "cmdExit"));
        EXPECT_EQ(WaitForExit(app.get(), kExitMs), std::optional<DWORD>(0));
    }

public:
    std::optional<BenchDriver> driver;
};

TEST_P(CalibrationScreenTest, CornerRunHandsTheResultOverAndKeepsOrRestoresIt) {
    const Build build = GetParam();
    DwordRestorer mode(build, "CalibrationMode");
    ASSERT_TRUE(WriteDword(HKEY_LOCAL_MACHINE, ProductKeyPath(build), "CalibrationMode", 0));

    struct Case {
        const char* what;
        int answer;
        Calibration kept;
    };
    for (const Case& c : {Case{"kept", IDYES, kCornerResult}, Case{"refused", IDNO, kOldCalibration}}) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(driver->Reset());
        LoadBlock(kOldCalibration);
        const Block before = *driver->PeekBlock();

        ScopedProcess app(Start(Program()));
        HWND main = StartMainWindow(app);
        ASSERT_NE(main, nullptr);
        ASSERT_TRUE(Settle(main));
        RequestRecorder recorder(build);
        ASSERT_TRUE(recorder.Running());
        HWND screen = OpenCalibration(app, main);
        ASSERT_NE(screen, nullptr);
        EXPECT_FALSE(IsVisible(main)) << "the main window stays hidden while the screen is open";

        for (int i = 0; i < 4; ++i) {
            ASSERT_TRUE(WaitForPrompt(screen, kCornerNames[i])) << "no prompt for " << kCornerNames[i];
            ASSERT_TRUE(Tap(kCorners[i]));
            ASSERT_TRUE(WaitSamplesTaken()) << "samples for " << kCornerNames[i] << " left in the queue";
        }

        MessageBoxInfo box = WaitForMessageBox(app.get(), kStepMs);
        ASSERT_TRUE(box) << "no completion question";
        EXPECT_EQ(box.title, kQuestionTitle);
        EXPECT_EQ(box.text, kCompleteText);
        ASSERT_TRUE(box.flags.has_value()) << "the box carries no QMMessageBoxFlags";
        EXPECT_EQ(*box.flags, kCompleteFlags);
        EXPECT_STREQ(IconName(box.shownIcon), IconName(BoxIcon::Question));
        EXPECT_EQ(box.buttons, (std::vector<std::pair<int, std::string>>{{IDYES, "&Yes"}, {IDNO, "&No"}}));
        // The new calibration is in force while the user tries it.
        EXPECT_EQ(DriverCalibration(), std::optional<Calibration>(kCornerResult));
        HWND surface = FindControl(screen, "picCalibration");
        ASSERT_NE(surface, nullptr);
        EXPECT_FALSE(IsVisible(surface)) << "the targets are hidden while the question is open";

        ASSERT_TRUE(Answer(box, c.answer));
        EXPECT_TRUE(WaitUntilGone(screen, kExitMs)) << "the screen stays open after the answer";
        ASSERT_NO_FATAL_FAILURE(ExitProgram(app, main));
        recorder.Stop();

        EXPECT_EQ(DriverCalibration(), std::optional<Calibration>(c.kept));
        // Nothing else in the block changed.
        Block after = *driver->PeekBlock();
        PutCalibration(after, CalibrationIn(before));
        EXPECT_EQ(after, before);

        EXPECT_EQ(recorder.Missed(), 0u) << "the recorder fell behind the driver's log";
        const std::vector<LoggedRequest> commands = recorder.Commands();
        std::vector<std::string> expected = {"F4010", "state 5", "state 5", "state 5", "state 5",
                                             "F20A0", "state 0"};
        if (c.answer == IDNO) expected.push_back("F20A0");
        std::vector<std::string> seen = Describe(commands);
        // The screen's load and unload steps ask for the right-button helper's window.
        ASSERT_GE(seen.size(), 2u);
        EXPECT_EQ(seen.front(), "F3010");
        EXPECT_EQ(seen.back(), "F3010");
        EXPECT_EQ(std::vector<std::string>(seen.begin() + 1, seen.end() - 1), expected);

        // Each calibration request carries the driver's whole block with the values in place.
        std::vector<Calibration> sent;
        for (const LoggedRequest& r : commands) {
            if (r.code != IOCTL_TOUCH_SET_CALIBRATION) continue;
            EXPECT_EQ(r.inputLength, QM_PARAMETER_BLOCK_SIZE);
            EXPECT_EQ(r.outputLength, QM_PARAMETER_BLOCK_SIZE);
            ASSERT_GE(r.input.size(), std::size_t{QM_PARAMETER_BLOCK_SIZE});
            sent.push_back(CalibrationIn(r.input));
            Block body{};
            std::copy(r.input.begin(), r.input.begin() + QM_PARAMETER_BLOCK_SIZE, body.begin());
            PutCalibration(body, CalibrationIn(before));
            EXPECT_EQ(body, before) << "a calibration request changed other fields";
        }
        std::vector<Calibration> wantSent = {kCornerResult};
        if (c.answer == IDNO) wantSent.push_back(kOldCalibration);
        EXPECT_EQ(sent, wantSent);
        // Every raw-point request used the 8-byte buffer both ways.
        for (const LoggedRequest& r : recorder.Requests())
            if (r.code == IOCTL_TOUCH_GET_RAW_POINT) {
                ASSERT_EQ(r.inputLength, QM_RAW_POINT_SIZE);
                ASSERT_EQ(r.outputLength, QM_RAW_POINT_SIZE);
            }
    }
}

TEST_P(CalibrationScreenTest, EscWhileATargetWaitsGoesOnOrBreaksOffWithStateCodesOnly) {
    const Build build = GetParam();
    DwordRestorer mode(build, "CalibrationMode");
    ASSERT_TRUE(WriteDword(HKEY_LOCAL_MACHINE, ProductKeyPath(build), "CalibrationMode", 0));
    LoadBlock(kOldCalibration);

    ScopedProcess app(Start(Program()));
    HWND main = StartMainWindow(app);
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(Settle(main));
    RequestRecorder recorder(build);
    ASSERT_TRUE(recorder.Running());
    HWND screen = OpenCalibration(app, main);
    ASSERT_NE(screen, nullptr);

    // One point taken, the next target waiting.
    ASSERT_TRUE(WaitForPrompt(screen, "TOP-LEFT"));
    ASSERT_TRUE(Tap(kCorners[0]));
    ASSERT_TRUE(WaitForPrompt(screen, "TOP-RIGHT"));
    EXPECT_FALSE(Screenshot(ShotName("calibration_cross")).empty()) << "no screenshot helper answered";

    HWND surface = FindControl(screen, "picCalibration");
    ASSERT_NE(surface, nullptr);
    // Esc answered No goes on with the same target; answered Yes, the run ends.
    for (int answer : {IDNO, IDYES}) {
        SCOPED_TRACE(answer == IDNO ? "Esc answered No" : "Esc answered Yes");
        PostKey(surface, VK_ESCAPE);
        MessageBoxInfo box = WaitForMessageBox(app.get(), kStepMs);
        ASSERT_TRUE(box) << "no break question";
        EXPECT_EQ(box.title, kQuestionTitle);
        EXPECT_EQ(box.text, kBreakText);
        ASSERT_TRUE(box.flags.has_value());
        EXPECT_EQ(*box.flags, kBreakFlags);
        // The Esc handler told the driver before asking.
        auto state = driver->PeekState();
        ASSERT_TRUE(state);
        EXPECT_EQ(state->lastCalibrationState, kIdle);
        ASSERT_TRUE(Answer(box, answer));
        ASSERT_TRUE(WaitUntilGone(box.window, kExitMs)) << "the question stays open";
        if (answer == IDNO) {
            EXPECT_TRUE(WaitForPrompt(screen, "TOP-RIGHT")) << "the run did not go on with the same target";
            HWND help = FindControl(screen, "lblHelp");
            ASSERT_NE(help, nullptr);
            EXPECT_TRUE(WaitUntil([&] { return IsVisible(help); }, kStepMs)) << "the help line stays hidden";
            EXPECT_TRUE(IsVisible(screen));
        }
    }
    EXPECT_TRUE(WaitUntilGone(screen, kExitMs)) << "the screen stays open after the break";
    EXPECT_FALSE(WaitForMessageBox(app.get(), 2000)) << "a box after the break";
    ASSERT_NO_FATAL_FAILURE(ExitProgram(app, main));
    recorder.Stop();

    EXPECT_EQ(DriverCalibration(), std::optional<Calibration>(kOldCalibration));
    auto state = driver->PeekState();
    ASSERT_TRUE(state);
    EXPECT_EQ(state->lastCalibrationState, kBrokenOff);
    EXPECT_EQ(recorder.Missed(), 0u) << "the recorder fell behind the driver's log";
    // Load step, rotation, the first point, both Esc presses, the break of the second
    // capture, unload step.
    EXPECT_EQ(Describe(recorder.Commands()),
              (std::vector<std::string>{"F3010", "F4010", "state 5", "state 0", "state 0", "state 4",
                                        "F3010"}));
}

TEST_P(CalibrationScreenTest, DrawingTestDrawsStrokesInDragModeAndPutsTheModeBack) {
    // A touch mode other than drag-and-drop, so the switch and the way back both show.
    LoadBlock(kOldCalibration, 1);
    ScopedProcess app(Start(Program()));
    HWND main = StartMainWindow(app);
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(Settle(main));
    ASSERT_TRUE(driver->ClearLog());

    HWND exitButton = FindControl(main, "cmdExit");
    ASSERT_NE(exitButton, nullptr);
    ClickAt(exitButton, 10, 10, MouseButton::Middle, MK_SHIFT | MK_CONTROL);
    HWND screen = WaitForWindow(app.get(), "Test", kStartMs);
    ASSERT_NE(screen, nullptr) << "the drawing test did not open";
    EXPECT_TRUE(WaitUntil([&] { return !IsVisible(main); }, kExitMs)) << "the main window stays shown";
    ASSERT_TRUE(WaitUntil([&] {
        auto b = driver->PeekBlock();
        return b && (*b)[field::VirtualButton] == 4;
    }, kStepMs)) << "drag-and-drop mode not set while the screen is open";

    HWND pad = FindControl(screen, "picHome");
    ASSERT_NE(pad, nullptr);
    ASSERT_TRUE(Settle(screen));
    // Strokes as the touch panel's mouse makes them: press, drag, release; one per colour.
    const SIZE size = ClientSize(pad);
    ASSERT_GT(size.cx, 200);
    ASSERT_GT(size.cy, 200);
    auto stroke = [&](const std::vector<POINT>& points) {
        PostMessageA(pad, WM_MOUSEMOVE, 0, MAKELPARAM(points[0].x, points[0].y));
        PostMessageA(pad, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(points[0].x, points[0].y));
        for (const POINT& p : points) PostMessageA(pad, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(p.x, p.y));
        PostMessageA(pad, WM_LBUTTONUP, 0, MAKELPARAM(points.back().x, points.back().y));
        ASSERT_TRUE(Settle(screen));
    };
    const int w = size.cx, h = size.cy;
    std::vector<POINT> zigzag;
    for (int i = 0; i <= 8; ++i) zigzag.push_back({w / 10 + i * w / 12, (i % 2 ? h / 3 : h / 6)});
    stroke(zigzag);
    std::vector<POINT> box = {{w / 4, h / 2}, {3 * w / 4, h / 2}, {3 * w / 4, 5 * h / 6},
                              {w / 4, 5 * h / 6}, {w / 4, h / 2}};
    HWND red = FindControl(screen, "lblColor(1)");
    HWND widest = FindControl(screen, "lblWidth(3)");
    ASSERT_NE(red, nullptr);
    ASSERT_NE(widest, nullptr);
    ClickAt(red, 5, 5);
    ClickAt(widest, 5, 5);
    ASSERT_TRUE(Settle(screen));
    stroke(box);
    EXPECT_FALSE(Screenshot(ShotName("drawing_test")).empty()) << "no screenshot helper answered";

    HWND close = FindControl(screen, "cmdExit");
    ASSERT_NE(close, nullptr);
    Click(close);
    EXPECT_TRUE(WaitUntilGone(screen, kExitMs)) << "Exit Test does not close the screen";
    EXPECT_TRUE(WaitUntil([&] { return IsVisible(main); }, kExitMs)) << "the main window did not come back";
    auto block = driver->PeekBlock();
    ASSERT_TRUE(block);
    EXPECT_EQ((*block)[field::VirtualButton], 1) << "the touch mode was not put back";

    auto log = driver->ReadLog();
    ASSERT_TRUE(log);
    std::vector<int> modes;
    for (const LoggedRequest& r : log->requests)
        if (r.code == IOCTL_TOUCH_SET_TOUCH_MODE && r.input.size() > field::VirtualButton)
            modes.push_back(r.input[field::VirtualButton]);
    EXPECT_EQ(modes, (std::vector<int>{4, 1}));

    Click(exitButton);
    EXPECT_EQ(WaitForExit(app.get(), kExitMs), std::optional<DWORD>(0));
}

INSTANTIATE_TEST_SUITE_P(BothBuilds, CalibrationScreenTest, testing::Values(Build::Serial, Build::Ps2),
                         BuildName);

}  // namespace
}  // namespace qm::wine
