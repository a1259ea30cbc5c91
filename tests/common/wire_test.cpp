#include "common/wire.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace qm {
namespace {

// A byte image in which every byte is different, so a field read from or written to the
// wrong offset, a swapped byte order or a dropped reserved byte all show.
template <typename Bytes>
Bytes Distinct(std::uint8_t first, int step) {
    Bytes b{};
    for (std::size_t i = 0; i < b.size(); ++i) {
        b[i] = static_cast<std::uint8_t>(first + step * static_cast<int>(i));
    }
    return b;
}

// Two patterns: small positive bytes, and bytes with the top bit set so signed fields come
// out negative.
struct Pattern {
    const char* name;
    std::uint8_t first;
    int step;
};
const Pattern kPatterns[] = {{"ascending from 1", 1, 1}, {"descending from 0xFF", 0xFF, -1}};

TEST(Wire, EveryBufferRoundTripsEveryByte) {
    for (const auto& p : kPatterns) {
        SCOPED_TRACE(p.name);
        const auto block = Distinct<ParameterBytes>(p.first, p.step);
        EXPECT_EQ(Encode(DecodeParameterBlock(block)), block);
        const auto raw = Distinct<RawPointBytes>(p.first, p.step);
        EXPECT_EQ(Encode(DecodeRawPoint(raw)), raw);
        const auto state = Distinct<CalibrationStateBytes>(p.first, p.step);
        EXPECT_EQ(Encode(DecodeCalibrationState(state)), state);
        const auto rb = Distinct<RbStateBytes>(p.first, p.step);
        EXPECT_EQ(Encode(DecodeRbState(rb)), rb);
        const auto vr = Distinct<VrStateBytes>(p.first, p.step);
        EXPECT_EQ(Encode(DecodeVrState(vr)), vr);
        const auto tone = Distinct<ToneBytes>(p.first, p.step);
        EXPECT_EQ(Encode(DecodeTone(tone)), tone);
    }
}

// Byte i holds i + 1, so a field at offset k of width 2 reads (k + 2) << 8 | (k + 1).
std::uint16_t At16(int offset) {
    return static_cast<std::uint16_t>((offset + 2) << 8 | (offset + 1));
}
std::uint8_t At8(int offset) { return static_cast<std::uint8_t>(offset + 1); }

TEST(Wire, ParameterBlockFieldsSitAtTheirOffsets) {
    const DriverParameterBlock p = DecodeParameterBlock(Distinct<ParameterBytes>(1, 1));
    EXPECT_EQ(p.BasePort, At16(0));
    EXPECT_EQ(p.Irq, At8(2));
    EXPECT_EQ(p.ComPort, At8(3));
    for (int n = 0; n < 9; ++n) {
        SCOPED_TRACE("COM" + std::to_string(n + 1));
        const int at = 4 + 4 * n;
        EXPECT_EQ(p.PortTable[n].PortBase, At16(at));
        EXPECT_EQ(p.PortTable[n].PortIrq, At8(at + 2));
        EXPECT_EQ(p.PortTable[n].Reserved, At8(at + 3));
    }
    EXPECT_EQ(p.VirtualButton, At8(40));
    EXPECT_EQ(p.FeedbackSound, At8(41));
    EXPECT_EQ(p.FeedbackTone, static_cast<std::int16_t>(At16(42)));
    EXPECT_EQ(p.FeedbackDuration, static_cast<std::int16_t>(At16(44)));
    EXPECT_EQ(p.Sensitivity, At8(46));
    EXPECT_EQ(p.MouseBypass, At8(47));
    EXPECT_EQ(p.MouseHSpeed, At8(48));
    EXPECT_EQ(p.MouseVSpeed, At8(49));
    EXPECT_EQ(p.MouseAcceleration, At8(50));
    EXPECT_EQ(p.PowerDownTime, At8(51));
    EXPECT_EQ(p.BaudRateIndex, At8(52));
    EXPECT_EQ(p.RightButtonFunction, At8(53));
    EXPECT_EQ(p.RightButtonAutoMode, At8(54));
    EXPECT_EQ(p.RightButtonAutoSTime, At8(55));
    EXPECT_EQ(p.RightButtonAutoETime, At8(56));
    EXPECT_EQ(p.RightButtonAutoBeep, At8(57));
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(p.CalibrationData[i], static_cast<std::int16_t>(At16(58 + 2 * i))) << i;
    }
    EXPECT_EQ(p.PanelDirection, At8(70));
    EXPECT_EQ(p.Reserved71, At8(71));
    EXPECT_EQ(p.ScreenWidth, At16(72));
    EXPECT_EQ(p.ScreenHeight, At16(74));
    EXPECT_EQ(p.McuMode, At8(76));
    EXPECT_EQ(p.McuVersion, At8(77));
    EXPECT_EQ(p.McuCode, (std::array<std::uint8_t, 4>{At8(78), At8(79), At8(80), At8(81)}));
}

TEST(Wire, SmallBufferFieldsSitAtTheirOffsets) {
    const RawPointBuffer raw = DecodeRawPoint(Distinct<RawPointBytes>(1, 1));
    EXPECT_EQ(raw.RawX, 0x0201);
    EXPECT_EQ(raw.RawY, 0x0403);
    EXPECT_EQ(raw.RawStatus, 5);
    EXPECT_EQ(raw.Reserved, 6);
    EXPECT_EQ(raw.SampleCount, 0x0807);

    EXPECT_EQ(DecodeCalibrationState(Distinct<CalibrationStateBytes>(1, 1)).State, 0x04030201);

    const RbStateBuffer rb = DecodeRbState(Distinct<RbStateBytes>(1, 1));
    EXPECT_EQ(rb.RbWindow, 0x04030201);
    EXPECT_EQ(rb.RbState, 0x0605);
    EXPECT_EQ(rb.Reserved, 0x0807);

    const VrStateBuffer vr = DecodeVrState(Distinct<VrStateBytes>(1, 1));
    EXPECT_EQ(vr.VrWindow, 0x04030201);
    EXPECT_EQ(vr.Rotation, 0x0605);
    EXPECT_EQ(vr.Reserved, 0x0807);

    const ToneRequest tone = DecodeTone(Distinct<ToneBytes>(1, 1));
    EXPECT_EQ(tone.Tone, 0x0201);
    EXPECT_EQ(tone.Duration, 0x0403);
}

// The values the programs meet: a base port, negative calibration values, "none registered".
TEST(Wire, TypicalValuesEncodeLittleEndian) {
    DriverParameterBlock p;
    p.BasePort = 0x03F8;
    p.ComPort = 1;
    p.PortTable[2] = {0x03E8, 254, 0x9C};
    p.FeedbackTone = 1000;
    p.CalibrationData = {-1, 512, 1023, -32768, 0, 32767};
    p.Reserved71 = 0xA5;
    p.ScreenWidth = 1024;
    p.ScreenHeight = 768;
    p.McuCode = {0xDE, 0xAD, 0xBE, 0xEF};
    const ParameterBytes b = Encode(p);

    struct Expect {
        int offset;
        std::uint8_t value;
    };
    const Expect expected[] = {
        {0, 0xF8},  {1, 0x03},  {3, 1},     {12, 0xE8}, {13, 0x03}, {14, 254},  {15, 0x9C},
        {42, 0xE8}, {43, 0x03}, {58, 0xFF}, {59, 0xFF}, {60, 0x00}, {61, 0x02}, {62, 0xFF},
        {63, 0x03}, {64, 0x00}, {65, 0x80}, {68, 0xFF}, {69, 0x7F}, {71, 0xA5}, {72, 0x00},
        {73, 0x04}, {74, 0x00}, {75, 0x03}, {78, 0xDE}, {79, 0xAD}, {80, 0xBE}, {81, 0xEF},
    };
    for (const auto& e : expected) EXPECT_EQ(b[e.offset], e.value) << "offset " << e.offset;
    EXPECT_EQ(DecodeParameterBlock(b), p);

    RbStateBuffer none;
    none.RbWindow = -1;
    EXPECT_EQ(Encode(none), (RbStateBytes{0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0}));
    EXPECT_EQ(DecodeVrState(VrStateBytes{0xFF, 0xFF, 0xFF, 0xFF, 3, 0, 0, 0}).VrWindow, -1);
    EXPECT_EQ(Encode(CalibrationStateRequest{5}), (CalibrationStateBytes{5, 0, 0, 0}));
}

}  // namespace
}  // namespace qm
