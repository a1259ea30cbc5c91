#include "common/driver_link.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <vector>

#include "sim/sim_driver.h"
#include "sim/sim_processes.h"
#include "sim/sim_windows.h"

namespace qm {
namespace {

using sim::SimDriver;
using sim::SimProcesses;
using sim::SimWindows;

template <typename Bytes>
std::vector<std::uint8_t> Vec(const Bytes& b) {
    return {b.begin(), b.end()};
}

struct World {
    explicit World(const Variant& v = kSerialVariant)
        : driver(DevicePath(v)), link(driver, processes, windows, v) {}
    SimDriver driver;
    SimProcesses processes;
    SimWindows windows;
    DriverLink link;
};

TEST(DriverLink, OpensTheVariantsDeviceWithTheClassicArguments) {
    for (const Variant* v : {&kSerialVariant, &kPs2Variant}) {
        SCOPED_TRACE(std::string(v->variantName));
        World w(*v);
        ASSERT_TRUE(w.link.OpenDriver());
        ASSERT_EQ(w.driver.Opens().size(), 1u);
        const DeviceOpenArgs& a = w.driver.Opens()[0];
        EXPECT_EQ(a.path, v->isPs2 ? "\\\\.\\QMWS3PS2" : "\\\\.\\QMWS3COM");
        EXPECT_EQ(a.desiredAccess, 0x80000000u);  // GENERIC_READ
        EXPECT_EQ(a.shareMode, 0x3u);             // FILE_SHARE_READ | FILE_SHARE_WRITE
        EXPECT_EQ(a.securityLength, 0u);
        EXPECT_FALSE(a.securityDescriptor);
        EXPECT_FALSE(a.securityInherit);
        EXPECT_EQ(a.creationDisposition, 3u);    // OPEN_EXISTING
        EXPECT_EQ(a.flagsAndAttributes, 0x80u);  // FILE_ATTRIBUTE_NORMAL
        EXPECT_FALSE(a.templateFile);
        EXPECT_TRUE(w.driver.IsOpenHandle(w.link.Handle()));
    }
}

TEST(DriverLink, MissingDriverFailsTheOpenAndNothingReachesTheDevice) {
    World w;
    w.driver.SetPresent(false);
    EXPECT_FALSE(w.link.OpenDriver());
    EXPECT_EQ(w.link.Handle(), kInvalidDeviceHandle);
    EXPECT_FALSE(w.link.GetParameters());
    EXPECT_EQ(w.link.LastRequestOk(), 0);
    // The block stays zero, so ComPort 0 reads as "no controller".
    EXPECT_EQ(w.link.Block(), DriverParameterBlock{});
    w.link.CloseDriver();
    EXPECT_TRUE(w.driver.Log().empty());
    EXPECT_EQ(w.driver.BadCloses(), 0);  // -1 is never handed to the close
}

TEST(DriverLink, CloseReleasesTheHandleOnceOnly) {
    World w;
    ASSERT_TRUE(w.link.OpenDriver());
    w.link.CloseDriver();
    w.link.CloseDriver();  // the control panel can reach two close paths
    EXPECT_EQ(w.driver.OpenHandleCount(), 0u);
    EXPECT_EQ(w.driver.BadCloses(), 0);
    EXPECT_FALSE(w.link.IsOpen());
}

// The driver's state and the program's buffers are primed with different contents, so a
// reply taken into the buffer and a buffer left as it was can be told apart.
DriverParameterBlock DriverSide() {
    DriverParameterBlock p;
    p.BasePort = 0x03F8;
    p.ComPort = 1;
    p.PortTable[0] = {0x03F8, 4, 0x11};
    p.VirtualButton = 4;
    p.FeedbackSound = 2;
    p.FeedbackTone = 1000;
    p.FeedbackDuration = 20;
    p.Sensitivity = 100;
    p.MouseHSpeed = 10;
    p.MouseVSpeed = 10;
    p.MouseAcceleration = 2;
    p.CalibrationData = {100, 512, 900, 80, 500, 950};
    p.Reserved71 = 0xA5;
    p.ScreenWidth = 1024;
    p.ScreenHeight = 768;
    p.McuCode = {1, 2, 3, 4};
    return p;
}

DriverParameterBlock ProgramSide() {
    DriverParameterBlock p;
    p.ComPort = 2;
    p.PortTable[1] = {0x02F8, 3, 0x22};
    p.VirtualButton = 1;
    p.FeedbackSound = 4;
    p.FeedbackTone = -300;
    p.Sensitivity = 7;
    p.MouseBypass = 1;
    p.PowerDownTime = 9;
    p.RightButtonFunction = 1;
    p.CalibrationData = {-5, -4, -3, -2, -1, 0};
    p.PanelDirection = 5;
    p.Reserved71 = 0x3C;
    p.ScreenWidth = 800;
    p.ScreenHeight = 600;
    return p;
}

void Prime(World& w) {
    w.driver.Block() = DriverSide();
    w.driver.SetRbRegistration(0x4410, 1);
    w.driver.SetVrRegistration(0x5520);
    w.driver.SetRotation(2);
    w.driver.Script({{321, 654, true, 17, 0}});
    w.link.Block() = ProgramSide();
    w.link.RawPoint() = {11, 22, 1, 0x33, 44};
    w.link.RbState() = {0x7730, 0, 0x5151};
    w.link.VrState() = {0x7740, 3, 0x6161};
}

struct RequestCase {
    const char* name;
    std::uint32_t code;
    std::uint32_t size;
    std::function<bool(DriverLink&)> call;
    std::function<std::vector<std::uint8_t>(const DriverLink&)> buffer;
};

std::vector<std::uint8_t> BlockBytes(const DriverLink& l) { return Vec(Encode(l.Block())); }

const std::vector<RequestCase>& Requests() {
    static const std::vector<RequestCase> cases = {
        {"GetParameters", IOCTL_TOUCH_GET_PARAMETERS, 82, &DriverLink::GetParameters, BlockBytes},
        {"GetRawPoint", IOCTL_TOUCH_GET_RAW_POINT, 8, &DriverLink::GetRawPoint,
         [](const DriverLink& l) { return Vec(Encode(l.RawPoint())); }},
        {"SetCalibrationState", IOCTL_TOUCH_SET_CALIBRATION_STATE, 4,
         [](DriverLink& l) { return l.SetCalibrationState(5); },
         [](const DriverLink& l) { return Vec(Encode(l.CalibrationState())); }},
        {"SetPortConfig", IOCTL_TOUCH_SET_PORT_CONFIG, 82, &DriverLink::SetPortConfig, BlockBytes},
        {"SetTouchMode", IOCTL_TOUCH_SET_TOUCH_MODE, 82, &DriverLink::SetTouchMode, BlockBytes},
        {"SetFeedbackSound", IOCTL_TOUCH_SET_FEEDBACK_SOUND, 82, &DriverLink::SetFeedbackSound,
         BlockBytes},
        {"SetSensitivity", IOCTL_TOUCH_SET_SENSITIVITY, 82, &DriverLink::SetSensitivity,
         BlockBytes},
        {"SetMouseSpeed", IOCTL_TOUCH_SET_MOUSE_SPEED, 82, &DriverLink::SetMouseSpeed, BlockBytes},
        {"SetCalibration", IOCTL_TOUCH_SET_CALIBRATION, 82, &DriverLink::SetCalibration,
         BlockBytes},
        {"SetScreenSize", IOCTL_TOUCH_SET_SCREEN_SIZE, 82, &DriverLink::SetScreenSize, BlockBytes},
        {"SetPowerDown", IOCTL_TOUCH_SET_POWER_DOWN, 82, &DriverLink::SetPowerDown, BlockBytes},
        {"GetRbState", IOCTL_TOUCH_GET_RB_STATE, 8, &DriverLink::GetRbState,
         [](const DriverLink& l) { return Vec(Encode(l.RbState())); }},
        {"SetRbState", IOCTL_TOUCH_SET_RB_STATE, 8, &DriverLink::SetRbState,
         [](const DriverLink& l) { return Vec(Encode(l.RbState())); }},
        {"GetVrState", IOCTL_TOUCH_GET_VR_STATE, 8, &DriverLink::GetVrState,
         [](const DriverLink& l) { return Vec(Encode(l.VrState())); }},
        {"PlayTone", IOCTL_TOUCH_PLAY_TONE, 4, [](DriverLink& l) { return l.PlayTone(2000, 30); },
         [](const DriverLink& l) { return Vec(Encode(l.Tone())); }},
    };
    return cases;
}

TEST(DriverLink, EachRequestSendsItsBufferInPlaceAndTakesTheReply) {
    for (const auto& c : Requests()) {
        SCOPED_TRACE(c.name);
        World w;
        ASSERT_TRUE(w.link.OpenDriver());
        Prime(w);
        EXPECT_TRUE(c.call(w.link));
        ASSERT_EQ(w.driver.Log().size(), 1u);
        const sim::DriverRequest& r = w.driver.Log()[0];
        EXPECT_EQ(r.code, c.code);
        EXPECT_EQ(r.handle, w.link.Handle());
        EXPECT_EQ(r.inSize, c.size);
        EXPECT_EQ(r.outSize, c.size);
        EXPECT_TRUE(r.sameBuffer);
        EXPECT_TRUE(r.ok);
        EXPECT_NE(w.link.LastRequestOk(), 0);
        EXPECT_EQ(w.link.BytesReturned(), c.size);
        EXPECT_EQ(c.buffer(w.link), r.output) << "the reply replaces the buffer";
    }
}

TEST(DriverLink, AFailedRequestLeavesItsBufferAsSent) {
    for (const auto& c : Requests()) {
        SCOPED_TRACE(c.name);
        World w;
        ASSERT_TRUE(w.link.OpenDriver());
        Prime(w);
        w.driver.FailRequest(c.code);
        EXPECT_FALSE(c.call(w.link));
        ASSERT_EQ(w.driver.Log().size(), 1u);
        EXPECT_EQ(w.link.LastRequestOk(), 0);
        EXPECT_EQ(w.link.BytesReturned(), 0u);
        EXPECT_EQ(c.buffer(w.link), w.driver.Log()[0].input);
        // The block and the registrations the other buffers held are untouched as well.
        EXPECT_EQ(w.link.Block(), ProgramSide());
        EXPECT_EQ(w.link.RbState(), (RbStateBuffer{0x7730, 0, 0x5151}));
    }
}

// A device that fails a request yet leaves garbage in the output buffer: whatever it
// wrote must not become the program's picture of the driver.
class ScribblingDevice final : public Device {
  public:
    DeviceHandle Open(const DeviceOpenArgs&) override { return 0x40; }
    std::int32_t IoControl(DeviceHandle, std::uint32_t, const void* in, std::uint32_t inSize,
                           void* out, std::uint32_t outSize, std::uint32_t*) override {
        const auto* p = static_cast<const std::uint8_t*>(in);
        sent.assign(p, p + inSize);
        std::memset(out, 0xEE, outSize);
        return 0;
    }
    void Close(DeviceHandle) override {}
    std::vector<std::uint8_t> sent;
};

TEST(DriverLink, AFailedRequestIgnoresWhatTheDeviceWroteIntoTheBuffer) {
    for (const auto& c : Requests()) {
        SCOPED_TRACE(c.name);
        World w;
        ScribblingDevice device;
        DriverLink link(device, w.processes, w.windows, kSerialVariant);
        ASSERT_TRUE(link.OpenDriver());
        link.Block() = ProgramSide();
        link.RbState() = {0x7730, 0, 0x5151};
        EXPECT_FALSE(c.call(link));
        EXPECT_EQ(c.buffer(link), device.sent);
        EXPECT_EQ(link.Block(), ProgramSide());
    }
}

TEST(DriverLink, RequestsBeforeAnyOpenFailWithoutReachingTheDevice) {
    for (const auto& c : Requests()) {
        SCOPED_TRACE(c.name);
        World w;
        EXPECT_EQ(w.link.Handle(), 0);
        EXPECT_FALSE(c.call(w.link));
        EXPECT_TRUE(w.driver.Log().empty());
        EXPECT_EQ(w.link.Block(), DriverParameterBlock{});
    }
}

// The round trip a dialog makes: read once, edit its own fields in place, send the group.
// The fields the program never touches (reserved bytes included) go back as received.
TEST(DriverLink, EditedBlockGoesBackWithUntouchedBytesAsReceived) {
    World w;
    ASSERT_TRUE(w.link.OpenDriver());
    w.driver.Block() = DriverSide();
    ASSERT_TRUE(w.link.GetParameters());
    const ParameterBytes received = Encode(w.link.Block());

    w.link.Block().Sensitivity = 27;
    ASSERT_TRUE(w.link.SetSensitivity());

    const std::vector<std::uint8_t>& sent = w.driver.Log().back().input;
    for (std::size_t i = 0; i < received.size(); ++i) {
        if (i == 46) {
            EXPECT_EQ(sent[i], 27);
        } else {
            EXPECT_EQ(sent[i], received[i]) << "offset " << i;
        }
    }
    EXPECT_EQ(sent[71], 0xA5);
    EXPECT_EQ(sent[4 + 3], 0x11);  // COM1's reserved byte
    EXPECT_EQ(w.driver.Block().Sensitivity, 27);
}

struct CompanionCommand {
    const char* name;
    std::function<void(DriverLink&)> call;
    std::uint32_t query;
    std::uintptr_t wParam;
    bool vr;
};

const CompanionCommand kCommands[] = {
    {"ShowRbHelper", &DriverLink::ShowRbHelper, IOCTL_TOUCH_GET_RB_STATE, 0x1001, false},
    {"HideRbHelper", &DriverLink::HideRbHelper, IOCTL_TOUCH_GET_RB_STATE, 0x1000, false},
    {"CloseRbHelper", &DriverLink::CloseRbHelper, IOCTL_TOUCH_GET_RB_STATE, 0x100E, false},
    {"CloseVrProgram", &DriverLink::CloseVrProgram, IOCTL_TOUCH_GET_VR_STATE, 0x200E, true},
};

void Register(World& w, const CompanionCommand& c, WindowHandle window) {
    if (c.vr) {
        w.driver.SetVrRegistration(window);
    } else {
        w.driver.SetRbRegistration(window, 0);
    }
}

TEST(DriverLink, CompanionCommandGoesToTheWindowTheDriverReports) {
    for (const auto& c : kCommands) {
        SCOPED_TRACE(c.name);
        World w;
        ASSERT_TRUE(w.link.OpenDriver());
        const WindowHandle companion = w.windows.Add("companion");
        Register(w, c, companion);
        c.call(w.link);
        EXPECT_EQ(w.driver.Codes(), std::vector<std::uint32_t>{c.query});
        ASSERT_EQ(w.windows.Messages().size(), 1u);
        const sim::SentMessage& m = w.windows.Messages()[0];
        EXPECT_EQ(m.window, companion);
        EXPECT_EQ(m.message, 0x0400u);
        EXPECT_EQ(m.wParam, c.wParam);
        EXPECT_EQ(m.lParam, 0);
    }
}

TEST(DriverLink, CompanionCommandSendsNothingWithoutARegisteredWindow) {
    struct Situation {
        const char* name;
        std::function<void(World&, const CompanionCommand&)> arrange;
    };
    const Situation situations[] = {
        {"none registered (-1)", [](World& w, const CompanionCommand& c) { Register(w, c, -1); }},
        // The buffer still holds its zeros, and no window has handle 0.
        {"query fails at start",
         [](World& w, const CompanionCommand& c) { w.driver.FailRequest(c.query); }},
        {"driver reports window 0", [](World& w, const CompanionCommand& c) { Register(w, c, 0); }},
        // An earlier reply left a window in the buffer; it may be gone and its handle reused.
        {"query fails after an earlier reply",
         [](World& w, const CompanionCommand& c) {
             Register(w, c, w.windows.Add("since closed"));
             if (c.vr) {
                 w.link.GetVrState();
             } else {
                 w.link.GetRbState();
             }
             w.driver.FailRequest(c.query);
         }},
    };
    for (const auto& c : kCommands) {
        for (const auto& s : situations) {
            SCOPED_TRACE(std::string(c.name) + ", " + s.name);
            World w;
            ASSERT_TRUE(w.link.OpenDriver());
            s.arrange(w, c);
            c.call(w.link);
            EXPECT_EQ(w.driver.Codes().back(), c.query);
            EXPECT_TRUE(w.windows.Messages().empty());
        }
    }
}

TEST(DriverLink, CompanionsStartByQuotedFullPath) {
    struct StartCase {
        const Variant* variant;
        bool vr;
        const char* commandLine;
        std::int32_t show;
    };
    const StartCase cases[] = {
        {&kSerialVariant, false, "\"C:\\Program Files\\Vesta Touch\\QMWS3Crb.exe\"", kSwHide},
        {&kSerialVariant, true, "\"C:\\Program Files\\Vesta Touch\\QMWS3Cvr.exe\"", kSwShowNormal},
        {&kPs2Variant, false, "\"C:\\Program Files\\Vesta Touch\\QMWS3Prb.exe\"", kSwHide},
        {&kPs2Variant, true, "\"C:\\Program Files\\Vesta Touch\\QMWS3Pvr.exe\"", kSwShowNormal},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.commandLine);
        World w(*c.variant);
        const std::string install = "C:\\Program Files\\Vesta Touch";
        EXPECT_TRUE(c.vr ? w.link.StartVrProgram(install) : w.link.StartRbHelper(install));
        ASSERT_EQ(w.processes.Launches().size(), 1u);
        EXPECT_EQ(w.processes.Launches()[0].commandLine, c.commandLine);
        EXPECT_EQ(w.processes.Launches()[0].showState, c.show);
        EXPECT_FALSE(w.processes.Launches()[0].forWait);
        EXPECT_TRUE(w.driver.Log().empty());  // starting needs no driver
    }
}

TEST(DriverLink, StartSucceedsFromResult32) {
    struct ResultCase {
        std::uint32_t result;
        bool started;
    };
    const ResultCase cases[] = {{0, false}, {2, false}, {31, false}, {32, true}, {33, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.result);
        World w;
        w.processes.defaultExecResult = c.result;
        EXPECT_EQ(w.link.StartRbHelper("C:\\QM"), c.started);
        EXPECT_EQ(w.link.StartVrProgram("C:\\QM"), c.started);
    }
}

// The touch driver model the other suites rely on.

TEST(TouchDriverModel, EachSetRequestTakesOnlyItsGroup) {
    // Offsets of each group's fields in the block.
    struct Group {
        const char* name;
        std::function<bool(DriverLink&)> send;
        std::vector<int> offsets;
    };
    std::vector<int> portTable;
    for (int i = 4; i < 40; ++i) portTable.push_back(i);
    const Group groups[] = {
        {"port config", &DriverLink::SetPortConfig, portTable},
        {"touch mode", &DriverLink::SetTouchMode, {40, 53, 54, 55, 56, 57}},
        {"feedback sound", &DriverLink::SetFeedbackSound, {41, 42, 43, 44, 45}},
        {"sensitivity", &DriverLink::SetSensitivity, {46}},
        {"mouse speed", &DriverLink::SetMouseSpeed, {47, 48, 49, 50}},
        {"calibration",
         &DriverLink::SetCalibration,
         {58, 59, 60, 61, 62, 63, 64, 65, 66, 67, 68, 69, 70}},
        {"screen size", &DriverLink::SetScreenSize, {72, 73, 74, 75}},
        {"power down", &DriverLink::SetPowerDown, {51}},
    };
    ParameterBytes before{}, edited{};
    for (std::size_t i = 0; i < before.size(); ++i) {
        before[i] = static_cast<std::uint8_t>(i + 1);
        edited[i] = static_cast<std::uint8_t>(0xF0 - i);
    }
    for (const auto& g : groups) {
        SCOPED_TRACE(g.name);
        World w;
        ASSERT_TRUE(w.link.OpenDriver());
        w.driver.Block() = DecodeParameterBlock(before);
        w.link.Block() = DecodeParameterBlock(edited);
        ASSERT_TRUE(g.send(w.link));
        const ParameterBytes after = Encode(w.driver.Block());
        for (int i = 0; i < static_cast<int>(after.size()); ++i) {
            const bool inGroup =
                std::find(g.offsets.begin(), g.offsets.end(), i) != g.offsets.end();
            EXPECT_EQ(after[i], inGroup ? edited[i] : before[i]) << "offset " << i;
        }
        EXPECT_EQ(Encode(w.link.Block()), after) << "the driver's block is returned";
    }
}

TEST(TouchDriverModel, RawSamplesFollowTheScriptAndTheLastRepeats) {
    World w;
    ASSERT_TRUE(w.link.OpenDriver());
    w.driver.Script({{100, 200, false, 1, 0}, {300, 400, true, 2, 0x03}});
    const RawPointBuffer expected[] = {
        {100, 200, 0x00, 0, 1},
        {300, 400, 0x0B, 0, 2},
        {300, 400, 0x0B, 0, 2},  // used up: the last sample again, same counter
    };
    for (const auto& e : expected) {
        ASSERT_TRUE(w.link.GetRawPoint());
        EXPECT_EQ(w.link.RawPoint(), e);
    }
}

TEST(TouchDriverModel, ArmingIsClearedByTheNextTouchedSampleOnly) {
    World w;
    ASSERT_TRUE(w.link.OpenDriver());
    w.driver.Script({{1, 1, true, 1, 0}, {2, 2, false, 2, 0}, {3, 3, true, 3, 0}});
    ASSERT_TRUE(w.driver.DeliverSample());  // touched, but before the arming
    w.link.RbState() = {0x1234, 1, 0};
    ASSERT_TRUE(w.link.SetRbState());
    EXPECT_EQ(w.link.RbState().RbState, 1);

    ASSERT_TRUE(w.driver.DeliverSample());  // not touched: still armed
    ASSERT_TRUE(w.link.GetRbState());
    EXPECT_EQ(w.link.RbState().RbState, 1);

    ASSERT_TRUE(w.driver.DeliverSample());  // the touch that becomes the right click
    ASSERT_TRUE(w.link.GetRbState());
    EXPECT_EQ(w.link.RbState(), (RbStateBuffer{0x1234, 0, 0}));
    EXPECT_FALSE(w.driver.DeliverSample());
}

TEST(TouchDriverModel, RegistrationsAreMinusOneUntilSetAndAfterUnregistering) {
    World w;
    ASSERT_TRUE(w.link.OpenDriver());
    ASSERT_TRUE(w.link.GetRbState());
    ASSERT_TRUE(w.link.GetVrState());
    EXPECT_EQ(w.link.RbState().RbWindow, -1);
    EXPECT_EQ(w.link.VrState().VrWindow, -1);

    w.link.RbState() = {0x2222, 0, 0};
    ASSERT_TRUE(w.link.SetRbState());
    EXPECT_EQ(w.driver.RbWindow(), 0x2222);
    w.link.RbState() = {-1, 0, 0};
    ASSERT_TRUE(w.link.SetRbState());
    w.link.RbState() = {};
    ASSERT_TRUE(w.link.GetRbState());
    EXPECT_EQ(w.link.RbState().RbWindow, -1);

    w.driver.SetVrRegistration(0x3330);
    w.driver.SetRotation(3);
    ASSERT_TRUE(w.link.GetVrState());
    EXPECT_EQ(w.link.VrState(), (VrStateBuffer{0x3330, 3, 0}));
}

TEST(TouchDriverModel, RecordsCalibrationStatesAndTones) {
    World w;
    ASSERT_TRUE(w.link.OpenDriver());
    for (int state : {3, 5, 4, 0}) ASSERT_TRUE(w.link.SetCalibrationState(state));
    ASSERT_TRUE(w.link.PlayTone(200, 10));
    ASSERT_TRUE(w.link.PlayTone(5000, 50));
    EXPECT_EQ(w.driver.CalibrationStates(), (std::vector<std::int32_t>{3, 5, 4, 0}));
    EXPECT_EQ(w.driver.Tones(), (std::vector<ToneRequest>{{200, 10}, {5000, 50}}));
}

TEST(TouchDriverModel, RefusesWrongSizesUnknownCodesAndForeignHandles) {
    World w;
    ASSERT_TRUE(w.link.OpenDriver());
    const DeviceHandle h = w.link.Handle();
    w.driver.Block().ComPort = 3;
    std::uint8_t buffer[82] = {0x77};
    std::uint32_t returned = 99;
    struct Bad {
        const char* name;
        DeviceHandle handle;
        std::uint32_t code;
        std::uint32_t inSize;
        std::uint32_t outSize;
    };
    const Bad cases[] = {
        {"block too short", h, IOCTL_TOUCH_GET_PARAMETERS, 81, 81},
        {"output size differs", h, IOCTL_TOUCH_GET_PARAMETERS, 82, 80},
        {"raw point with a block", h, IOCTL_TOUCH_GET_RAW_POINT, 82, 82},
        {"unknown code", h, 0xF2020u, 82, 82},
        {"handle never opened", h + 4, IOCTL_TOUCH_GET_PARAMETERS, 82, 82},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(
            w.driver.IoControl(c.handle, c.code, buffer, c.inSize, buffer, c.outSize, &returned),
            0);
        EXPECT_EQ(returned, 0u);
        EXPECT_EQ(buffer[0], 0x77);
        EXPECT_EQ(buffer[3], 0);
    }
    EXPECT_EQ(w.driver.Opens().size(), 1u);
    // A different device name is not this driver.
    DeviceOpenArgs other = w.driver.Opens()[0];
    other.path = "\\\\.\\QMWS3PS2";
    EXPECT_EQ(w.driver.Open(other), kInvalidDeviceHandle);
}

TEST(TouchDriverModel, BeforeRequestLetsTheWorldMoveBetweenPolls) {
    // The right-button helper's wait: poll until the driver has used the arming.
    World w;
    ASSERT_TRUE(w.link.OpenDriver());
    w.driver.Script({{5, 5, false, 1, 0}, {6, 6, true, 2, 0}});
    w.link.RbState() = {0x1010, 1, 0};
    ASSERT_TRUE(w.link.SetRbState());
    w.driver.beforeRequest = [&](std::uint32_t code) {
        if (code == IOCTL_TOUCH_GET_RB_STATE) w.driver.DeliverSample();
    };
    int polls = 0;
    do {
        ASSERT_TRUE(w.link.GetRbState());
        ++polls;
    } while (w.link.RbState().RbState != 0 && polls < 10);
    EXPECT_EQ(polls, 2);
}

}  // namespace
}  // namespace qm

namespace qm {
namespace {

using sim::ProcessScript;

// The removal program's wait: up to ten one-second waits on virtual time.
TEST(ProcessModel, WaitsFollowTheScriptedCourseOnVirtualTime) {
    struct Course {
        const char* name;
        ProcessScript script;
        std::vector<WaitResult> results;
        std::uint64_t elapsed;
    };
    using W = WaitResult;
    const Course courses[] = {
        {"ends at once", {true, 0, {}}, {W::Signalled}, 0},
        {"runs 2.5 s", {true, 2500, {}}, {W::Timeout, W::Timeout, W::Signalled}, 2500},
        {"runs exactly 2 s", {true, 2000, {}}, {W::Timeout, W::Signalled}, 2000},
        {"never ends", {true, std::nullopt, {}}, std::vector<W>(10, W::Timeout), 10000},
        {"wait fails", {true, std::nullopt, {W::Failed}}, {W::Failed}, 0},
        {"abandoned after a time-out",
         {true, 0, {W::Timeout, W::Abandoned}},
         {W::Timeout, W::Abandoned},
         1000},
    };
    for (const auto& c : courses) {
        SCOPED_TRACE(c.name);
        SimProcesses processes;
        std::uint64_t followed = 0;
        processes.onTimePassed = [&](std::uint32_t ms) { followed += ms; };
        processes.scripts["C:\\QM\\unins000.exe /SILENT"] = c.script;
        const ProcessHandle p = processes.StartForWait("C:\\QM\\unins000.exe /SILENT", 1);
        ASSERT_NE(p, 0u);
        std::vector<WaitResult> seen;
        for (int i = 0; i < 10; ++i) {
            seen.push_back(processes.Wait(p, 1000));
            if (seen.back() != WaitResult::Timeout) break;
        }
        EXPECT_EQ(seen, c.results);
        EXPECT_EQ(processes.ElapsedMs(), c.elapsed);
        EXPECT_EQ(followed, c.elapsed);
        processes.CloseProcess(p);
        EXPECT_EQ(processes.OpenProcessCount(), 0u);
    }
}

TEST(ProcessModel, RecordsStartsClosesAndDeletions) {
    SimProcesses processes;
    processes.scripts["missing.exe"] = {false, 0, {}};
    processes.execResults["C:\\QM\\QMWS3Reg.exe Remove"] = 2;
    EXPECT_EQ(processes.StartForWait("missing.exe", 1), 0u);
    EXPECT_EQ(processes.Exec("C:\\QM\\QMWS3Reg.exe Remove", kSwHide), 2u);
    EXPECT_EQ(processes.Exec("other.exe", kSwShowNormal), 33u);
    ASSERT_EQ(processes.Launches().size(), 3u);
    EXPECT_TRUE(processes.Launches()[0].forWait);
    EXPECT_EQ(processes.Launches()[1].showState, kSwHide);
    EXPECT_FALSE(processes.Launches()[2].forWait);

    const ProcessHandle p = processes.StartForWait("unins000.exe", 1);
    processes.CloseProcess(p);
    EXPECT_EQ(processes.Wait(p, 1000), WaitResult::Failed);  // waiting on a closed handle
    processes.CloseProcess(p);
    EXPECT_EQ(processes.BadCloses(), 1);

    EXPECT_TRUE(processes.DeleteAtRestart("C:\\WINDOWS\\QMWS3Pde.exe"));
    EXPECT_TRUE(processes.DeleteAtRestart("C:\\WINDOWS\\QMWS3Reg.exe"));
    EXPECT_EQ(processes.DeleteAtRestartList(),
              (std::vector<std::string>{"C:\\WINDOWS\\QMWS3Pde.exe", "C:\\WINDOWS\\QMWS3Reg.exe"}));
}

}  // namespace
}  // namespace qm
