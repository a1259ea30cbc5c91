// The stand-in touch driver, reached through the real Win32 calls the programs make, for both
// device names: what every program test under Wine builds on.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "runner/bench.h"

namespace qm::wine {
namespace {

std::string BuildName(const testing::TestParamInfo<Build>& info) {
    return info.param == Build::Serial ? "Serial" : "Ps2";
}

Bytes ToBytes(const Block& b) { return Bytes(b.begin(), b.end()); }

Block ToBlock(const Bytes& bytes) {
    Block b{};
    std::memcpy(b.data(), bytes.data(), std::min(bytes.size(), b.size()));
    return b;
}

std::int32_t I32(const Bytes& b, size_t at) {
    std::int32_t v = 0;
    std::memcpy(&v, b.data() + at, 4);
    return v;
}

std::int16_t I16(const Bytes& b, size_t at) {
    std::int16_t v = 0;
    std::memcpy(&v, b.data() + at, 2);
    return v;
}

Bytes RbBuffer(std::int32_t window, std::int16_t state) {
    Bytes b(QM_RB_STATE_SIZE, 0);
    std::memcpy(b.data(), &window, 4);
    std::memcpy(b.data() + 4, &state, 2);
    return b;
}

class DriverTest : public testing::TestWithParam<Build> {
protected:
    void SetUp() override {
        ASSERT_TRUE(driver.IsOpen()) << "cannot open \\\\.\\" << DriverName(GetParam())
                                     << " (error " << driver.LastError() << "): is the driver started?";
        ASSERT_TRUE(driver.Reset());
    }
    void TearDown() override {
        if (driver.IsOpen()) driver.Reset();
    }

    Bytes Get(std::uint32_t code, size_t size) {
        Bytes b(size, 0xEE);  // garbage in: the driver must fill the reply itself
        EXPECT_TRUE(driver.Request(code, b)) << std::hex << code << " failed, error " << std::dec
                                             << driver.LastError();
        return b;
    }

    BenchDriver driver{GetParam()};
};

TEST_P(DriverTest, OpensAsTheProgramsOpenItSeveralTimesAtOnce) {
    // Read access, shared read and write, a zeroed security record: several programs hold
    // such handles at the same time.
    SECURITY_ATTRIBUTES sa{};
    const std::string path = "\\\\.\\" + DriverName(GetParam());
    HANDLE first = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &sa,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    HANDLE second = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &sa,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(first, INVALID_HANDLE_VALUE) << GetLastError();
    EXPECT_NE(second, INVALID_HANDLE_VALUE) << GetLastError();

    // Every program request asks for no write access, so the read handle serves them all.
    Bytes block(QM_PARAMETER_BLOCK_SIZE, 0);
    DWORD returned = 0;
    EXPECT_TRUE(DeviceIoControl(second, IOCTL_TOUCH_GET_PARAMETERS, block.data(), 82, block.data(),
                                82, &returned, nullptr));
    EXPECT_EQ(returned, 82u);
    EXPECT_EQ(block[field::ComPort], 1);

    auto state = driver.PeekState();
    ASSERT_TRUE(state);
    EXPECT_EQ(state->openHandles, 3u);  // the fixture's own handle and these two
    CloseHandle(first);
    CloseHandle(second);
    EXPECT_EQ(driver.PeekState()->openHandles, 1u);
}

TEST(DriverNames, OnlyTheTwoDeviceNamesExist) {
    for (const char* name : {"QMWS3COM", "QMWS3PS2"}) EXPECT_TRUE(BenchDriver(name).IsOpen()) << name;
    for (const char* name : {"QMWS3", "QMWS3XXX", "QMWS3COM.sys"}) {
        BenchDriver missing(name);
        EXPECT_FALSE(missing.IsOpen()) << name;
        EXPECT_EQ(missing.LastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND)) << name;
    }
}

TEST(DriverNames, TheTwoDriversKeepSeparateSettings) {
    BenchDriver serial(Build::Serial), ps2(Build::Ps2);
    ASSERT_TRUE(serial.Reset() && ps2.Reset());
    Block changed = DefaultBlock();
    changed[field::FeedbackSound] = 1;
    Bytes b = ToBytes(changed);
    ASSERT_TRUE(serial.Request(IOCTL_TOUCH_SET_FEEDBACK_SOUND, b));
    EXPECT_EQ((*serial.PeekBlock())[field::FeedbackSound], 1);
    EXPECT_EQ((*ps2.PeekBlock())[field::FeedbackSound], 4);
    serial.Reset();
}

TEST_P(DriverTest, ReturnsTheWholeBlockShowingAControllerOnCom1) {
    DWORD returned = 0;
    Bytes in(QM_PARAMETER_BLOCK_SIZE, 0xEE), out(QM_PARAMETER_BLOCK_SIZE, 0xEE);
    ASSERT_TRUE(driver.Request(IOCTL_TOUCH_GET_PARAMETERS, in, out, &returned));
    EXPECT_EQ(returned, static_cast<DWORD>(QM_PARAMETER_BLOCK_SIZE));
    const Block block = ToBlock(out);
    EXPECT_EQ(block, DefaultBlock());
    EXPECT_EQ(block[field::ComPort], 1);
    EXPECT_EQ(U16(block, field::BasePort), 0x3F8);
    EXPECT_EQ(block[field::Irq], 4);
    EXPECT_EQ(block[field::BaudRateIndex], 4);
}

// The fields each set request takes, by field name and width.
struct GroupCase {
    const char* request;
    std::uint32_t code;
    std::vector<std::pair<int, int>> fields;  // offset, width
};

const std::vector<GroupCase>& GroupCases() {
    using namespace field;
    static const std::vector<GroupCase> cases = {
        {"port config", IOCTL_TOUCH_SET_PORT_CONFIG, {{PortTable, 36}}},
        {"touch mode",
         IOCTL_TOUCH_SET_TOUCH_MODE,
         {{VirtualButton, 1},
          {RightButtonFunction, 1},
          {RightButtonAutoMode, 1},
          {RightButtonAutoSTime, 1},
          {RightButtonAutoETime, 1},
          {RightButtonAutoBeep, 1}}},
        {"feedback sound",
         IOCTL_TOUCH_SET_FEEDBACK_SOUND,
         {{FeedbackSound, 1}, {FeedbackTone, 2}, {FeedbackDuration, 2}}},
        {"sensitivity", IOCTL_TOUCH_SET_SENSITIVITY, {{Sensitivity, 1}}},
        {"mouse speed",
         IOCTL_TOUCH_SET_MOUSE_SPEED,
         {{MouseBypass, 1}, {MouseHSpeed, 1}, {MouseVSpeed, 1}, {MouseAcceleration, 1}}},
        {"calibration", IOCTL_TOUCH_SET_CALIBRATION, {{CalibrationData, 12}, {PanelDirection, 1}}},
        {"screen size", IOCTL_TOUCH_SET_SCREEN_SIZE, {{ScreenWidth, 2}, {ScreenHeight, 2}}},
        {"power down", IOCTL_TOUCH_SET_POWER_DOWN, {{PowerDownTime, 1}}},
    };
    return cases;
}

TEST_P(DriverTest, EachSetRequestTakesOnlyItsGroupAndReturnsTheWholeBlock) {
    for (const auto& c : GroupCases()) {
        SCOPED_TRACE(c.request);
        ASSERT_TRUE(driver.Reset());
        const Block before = DefaultBlock();
        Block sent = before;
        for (auto& byte : sent) byte = static_cast<std::uint8_t>(~byte);  // every byte differs
        Block expected = before;
        for (auto [offset, width] : c.fields)
            for (int i = 0; i < width; ++i) expected[offset + i] = sent[offset + i];

        Bytes buffer = ToBytes(sent);
        ASSERT_TRUE(driver.Request(c.code, buffer)) << driver.LastError();
        EXPECT_EQ(ToBlock(buffer), expected) << "reply is not the driver's whole block";
        EXPECT_EQ(*driver.PeekBlock(), expected);
        EXPECT_EQ(ToBlock(Get(IOCTL_TOUCH_GET_PARAMETERS, 82)), expected);
    }
}

TEST_P(DriverTest, SettingsOutliveTheHandleThatSentThem) {
    {
        BenchDriver program(GetParam());
        Block b = DefaultBlock();
        b[field::PowerDownTime] = 9;
        Bytes buffer = ToBytes(b);
        ASSERT_TRUE(program.Request(IOCTL_TOUCH_SET_POWER_DOWN, buffer));
    }
    BenchDriver next(GetParam());
    Bytes buffer(82, 0);
    ASSERT_TRUE(next.Request(IOCTL_TOUCH_GET_PARAMETERS, buffer));
    EXPECT_EQ(buffer[field::PowerDownTime], 9);
}

TEST_P(DriverTest, RawPointsComeFromTheQueueAndTheLastOneRepeats) {
    Bytes first = Get(IOCTL_TOUCH_GET_RAW_POINT, 8);
    EXPECT_EQ(I16(first, 0), 512);
    EXPECT_EQ(I16(first, 2), 512);
    EXPECT_EQ(first[4] & 8, 0) << "untouched at load";
    EXPECT_EQ(first[5], 0) << "reserved byte";
    const std::int16_t count0 = I16(first, 6);
    EXPECT_EQ(I16(Get(IOCTL_TOUCH_GET_RAW_POINT, 8), 6), count0) << "no new sample, same counter";

    ASSERT_TRUE(driver.Inject({{0, 1023, true}, {100, 200, true}, {1023, 0, false}}));
    struct Expect {
        std::int16_t x, y;
        bool touched;
        int countDelta;
    } expected[] = {{0, 1023, true, 1}, {100, 200, true, 2}, {1023, 0, false, 3}, {1023, 0, false, 3}};
    for (const auto& e : expected) {
        Bytes p = Get(IOCTL_TOUCH_GET_RAW_POINT, 8);
        EXPECT_EQ(I16(p, 0), e.x);
        EXPECT_EQ(I16(p, 2), e.y);
        EXPECT_EQ((p[4] & 8) != 0, e.touched);
        EXPECT_EQ(I16(p, 6), static_cast<std::int16_t>(count0 + e.countDelta));
    }
}

TEST_P(DriverTest, RightButtonRegistrationAndArming) {
    Bytes none = Get(IOCTL_TOUCH_GET_RB_STATE, 8);
    EXPECT_EQ(I32(none, 0), -1) << "no helper registered at load";
    EXPECT_EQ(I16(none, 4), 0);

    Bytes reg = RbBuffer(0x00010042, 0);
    ASSERT_TRUE(driver.Request(IOCTL_TOUCH_SET_RB_STATE, reg));
    EXPECT_EQ(I32(Get(IOCTL_TOUCH_GET_RB_STATE, 8), 0), 0x00010042);

    // A touch before arming does not disarm a later arming.
    ASSERT_TRUE(driver.Inject({{10, 10, true}}));
    Bytes arm = RbBuffer(0x00010042, 1);
    ASSERT_TRUE(driver.Request(IOCTL_TOUCH_SET_RB_STATE, arm));
    EXPECT_EQ(I16(Get(IOCTL_TOUCH_GET_RB_STATE, 8), 4), 1);
    ASSERT_TRUE(driver.Inject({{10, 10, false}}));
    EXPECT_EQ(I16(Get(IOCTL_TOUCH_GET_RB_STATE, 8), 4), 1) << "an untouched sample keeps the arming";
    ASSERT_TRUE(driver.Inject({{20, 20, true}}));
    Bytes after = Get(IOCTL_TOUCH_GET_RB_STATE, 8);
    EXPECT_EQ(I16(after, 4), 0) << "the touch is turned into the right-button action";
    EXPECT_EQ(I32(after, 0), 0x00010042) << "the registration stays";

    Bytes unregister = RbBuffer(-1, 0);
    ASSERT_TRUE(driver.Request(IOCTL_TOUCH_SET_RB_STATE, unregister));
    EXPECT_EQ(I32(Get(IOCTL_TOUCH_GET_RB_STATE, 8), 0), -1);
}

TEST_P(DriverTest, VrRegistrationAndRotation) {
    Bytes none = Get(IOCTL_TOUCH_GET_VR_STATE, 8);
    EXPECT_EQ(I32(none, 0), -1);
    EXPECT_EQ(I16(none, 4), 0);
    for (std::int16_t rotation : {1, 3, 7}) {  // 7: out of range, passed on for the engine to judge
        ASSERT_TRUE(driver.SetVrState(0x00020010, rotation));
        Bytes vr = Get(IOCTL_TOUCH_GET_VR_STATE, 8);
        EXPECT_EQ(I32(vr, 0), 0x00020010);
        EXPECT_EQ(I16(vr, 4), rotation);
    }
    ASSERT_TRUE(driver.SetVrState(-1, 0));
    EXPECT_EQ(I32(Get(IOCTL_TOUCH_GET_VR_STATE, 8), 0), -1);
}

TEST_P(DriverTest, StateCodesAndTonesAreRecorded) {
    for (std::int32_t code : {3, 5, 4, 0}) {
        Bytes b(4, 0);
        std::memcpy(b.data(), &code, 4);
        ASSERT_TRUE(driver.Request(IOCTL_TOUCH_SET_CALIBRATION_STATE, b));
    }
    Bytes tone(4, 0);
    const std::int16_t t = 2500, d = 30;
    std::memcpy(tone.data(), &t, 2);
    std::memcpy(tone.data() + 2, &d, 2);
    ASSERT_TRUE(driver.Request(IOCTL_TOUCH_PLAY_TONE, tone));

    auto state = driver.PeekState();
    ASSERT_TRUE(state);
    EXPECT_EQ(state->lastCalibrationState, 0);
    EXPECT_EQ(state->lastTone, 2500);
    EXPECT_EQ(state->lastDuration, 30);

    auto log = driver.ReadLog();
    ASSERT_TRUE(log);
    const std::vector<std::uint32_t> codes = {
        IOCTL_TOUCH_SET_CALIBRATION_STATE, IOCTL_TOUCH_SET_CALIBRATION_STATE,
        IOCTL_TOUCH_SET_CALIBRATION_STATE, IOCTL_TOUCH_SET_CALIBRATION_STATE, IOCTL_TOUCH_PLAY_TONE};
    EXPECT_EQ(log->Codes(), codes);
    std::vector<std::int32_t> states;
    for (int i = 0; i < 4; ++i) states.push_back(I32(log->requests[i].input, 0));
    EXPECT_EQ(states, (std::vector<std::int32_t>{3, 5, 4, 0}));
    EXPECT_EQ(log->requests[4].input, tone);
}

TEST_P(DriverTest, WrongBufferSizesAreRefusedAndChangeNothing) {
    struct SizeCase {
        std::uint32_t code;
        size_t size;
    } cases[] = {
        {IOCTL_TOUCH_GET_PARAMETERS, 82},  {IOCTL_TOUCH_GET_RAW_POINT, 8},
        {IOCTL_TOUCH_SET_CALIBRATION_STATE, 4}, {IOCTL_TOUCH_SET_PORT_CONFIG, 82},
        {IOCTL_TOUCH_SET_TOUCH_MODE, 82},  {IOCTL_TOUCH_SET_FEEDBACK_SOUND, 82},
        {IOCTL_TOUCH_SET_SENSITIVITY, 82}, {IOCTL_TOUCH_SET_MOUSE_SPEED, 82},
        {IOCTL_TOUCH_SET_CALIBRATION, 82}, {IOCTL_TOUCH_SET_SCREEN_SIZE, 82},
        {IOCTL_TOUCH_SET_POWER_DOWN, 82},  {IOCTL_TOUCH_GET_RB_STATE, 8},
        {IOCTL_TOUCH_SET_RB_STATE, 8},     {IOCTL_TOUCH_GET_VR_STATE, 8},
        {IOCTL_TOUCH_PLAY_TONE, 4},
    };
    for (const auto& c : cases) {
        // Too short, too long, and input and output of different sizes.
        const std::pair<size_t, size_t> wrong[] = {
            {c.size - 1, c.size - 1}, {c.size + 1, c.size + 1}, {c.size, c.size - 1}, {c.size - 1, c.size}};
        for (auto [in, out] : wrong) {
            SCOPED_TRACE(testing::Message() << std::hex << "code " << c.code << std::dec << " in " << in
                                            << " out " << out);
            Bytes input(in, 0x01), output(out, 0x77);
            EXPECT_FALSE(driver.Request(c.code, input, output));
            EXPECT_EQ(driver.LastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
            EXPECT_EQ(output, Bytes(out, 0x77)) << "a refused request hands nothing back";
        }
    }
    EXPECT_EQ(*driver.PeekBlock(), DefaultBlock());
    EXPECT_EQ(driver.PeekState()->rbWindow, -1);
}

TEST_P(DriverTest, UnknownCodesAreRefused) {
    for (std::uint32_t code : {0xF2000u, 0xF2020u, 0xF20D0u, 0xF3030u, 0xF4020u, 0xF5020u}) {
        Bytes b(82, 0);
        EXPECT_FALSE(driver.Request(code, b)) << std::hex << code;
        EXPECT_EQ(driver.LastError(), static_cast<DWORD>(ERROR_INVALID_FUNCTION)) << std::hex << code;
    }
}

TEST_P(DriverTest, LogKeepsEveryProgramRequestInOrderWithItsBytes) {
    Block changed = DefaultBlock();
    changed[field::FeedbackSound] = 2;
    Bytes get(82, 0), set = ToBytes(changed), rb(8, 0), shortBuffer(81, 0), none;
    driver.Request(IOCTL_TOUCH_GET_PARAMETERS, get);
    driver.Request(IOCTL_TOUCH_SET_FEEDBACK_SOUND, set);
    driver.Request(IOCTL_TOUCH_GET_RB_STATE, rb);
    driver.Request(IOCTL_TOUCH_SET_SENSITIVITY, shortBuffer, shortBuffer);
    driver.PeekBlock();  // private requests stay out of the log
    driver.Inject({{1, 1, true}});

    auto log = driver.ReadLog();
    ASSERT_TRUE(log);
    EXPECT_EQ(log->Codes(), (std::vector<std::uint32_t>{IOCTL_TOUCH_GET_PARAMETERS,
                                                        IOCTL_TOUCH_SET_FEEDBACK_SOUND,
                                                        IOCTL_TOUCH_GET_RB_STATE,
                                                        IOCTL_TOUCH_SET_SENSITIVITY}));
    EXPECT_EQ(log->requests[1].input, ToBytes(changed)) << "input bytes as sent, not the reply";
    EXPECT_EQ(log->requests[1].inputLength, 82);
    EXPECT_EQ(log->requests[1].status, 0u);
    EXPECT_EQ(log->requests[3].inputLength, 81);
    EXPECT_NE(log->requests[3].status, 0u) << "a refused request is logged with its failure";

    ASSERT_TRUE(driver.ClearLog());
    EXPECT_TRUE(driver.ReadLog()->requests.empty());
    EXPECT_EQ(driver.ReadLog()->total, 0u);
}

TEST_P(DriverTest, LogIsABoundedRingThatKeepsTheNewest) {
    const int sent = QM_BENCH_LOG_CAPACITY + 40;
    for (std::int32_t i = 0; i < sent; ++i) {
        Bytes b(4, 0);
        std::memcpy(b.data(), &i, 4);
        ASSERT_TRUE(driver.Request(IOCTL_TOUCH_SET_CALIBRATION_STATE, b));
    }
    auto log = driver.ReadLog();
    ASSERT_TRUE(log);
    ASSERT_EQ(log->requests.size(), static_cast<size_t>(QM_BENCH_LOG_CAPACITY));
    EXPECT_EQ(log->total, static_cast<std::uint32_t>(sent));
    EXPECT_EQ(log->dropped, 40u);
    EXPECT_EQ(I32(log->requests.front().input, 0), 40);
    EXPECT_EQ(I32(log->requests.back().input, 0), sent - 1);
}

TEST_P(DriverTest, PrivateRequestsSetTheBlockAndResetEverything) {
    Block noController = DefaultBlock();
    noController[field::ComPort] = 0;
    ASSERT_TRUE(driver.SetBlock(noController));
    EXPECT_EQ(Get(IOCTL_TOUCH_GET_PARAMETERS, 82)[field::ComPort], 0);

    Bytes reg = RbBuffer(0x1234, 1);
    driver.Request(IOCTL_TOUCH_SET_RB_STATE, reg);
    driver.SetVrState(0x5678, 2);
    driver.Inject({{5, 5, false}, {6, 6, false}});
    EXPECT_EQ(driver.PeekState()->samplesQueued, 2u);

    Bytes wrong(81, 0), none;
    EXPECT_FALSE(driver.Request(QM_BENCH_SET_BLOCK, wrong, none)) << "set block wants 82 bytes";
    EXPECT_FALSE(driver.Request(QM_BENCH_INJECT_SAMPLES, Bytes(7, 0), none)) << "whole samples only";
    EXPECT_FALSE(driver.Inject(std::vector<Sample>(QM_BENCH_SAMPLE_QUEUE, Sample{})))
        << "the queue is bounded";

    ASSERT_TRUE(driver.Reset());
    EXPECT_EQ(*driver.PeekBlock(), DefaultBlock());
    auto state = driver.PeekState();
    EXPECT_EQ(state->rbWindow, -1);
    EXPECT_EQ(state->rbState, 0);
    EXPECT_EQ(state->vrWindow, -1);
    EXPECT_EQ(state->rotation, 0);
    EXPECT_EQ(state->samplesQueued, 0u);
    EXPECT_EQ(state->lastCalibrationState, -1);
    EXPECT_TRUE(driver.ReadLog()->requests.empty());
}

INSTANTIATE_TEST_SUITE_P(BothBuilds, DriverTest, testing::Values(Build::Serial, Build::Ps2), BuildName);

}  // namespace
}  // namespace qm::wine
