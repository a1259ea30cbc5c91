#include "common/wire.h"

#include <cstddef>

namespace qm {

namespace {

// Field offsets of the parameter block, as the driver lays it out.
namespace off {
constexpr std::size_t BasePort = 0;
constexpr std::size_t Irq = 2;
constexpr std::size_t ComPort = 3;
constexpr std::size_t PortTable = 4;
constexpr std::size_t PortInfoSize = 4;
constexpr std::size_t VirtualButton = 40;
constexpr std::size_t FeedbackSound = 41;
constexpr std::size_t FeedbackTone = 42;
constexpr std::size_t FeedbackDuration = 44;
constexpr std::size_t Sensitivity = 46;
constexpr std::size_t MouseBypass = 47;
constexpr std::size_t MouseHSpeed = 48;
constexpr std::size_t MouseVSpeed = 49;
constexpr std::size_t MouseAcceleration = 50;
constexpr std::size_t PowerDownTime = 51;
constexpr std::size_t BaudRateIndex = 52;
constexpr std::size_t RightButtonFunction = 53;
constexpr std::size_t RightButtonAutoMode = 54;
constexpr std::size_t RightButtonAutoSTime = 55;
constexpr std::size_t RightButtonAutoETime = 56;
constexpr std::size_t RightButtonAutoBeep = 57;
constexpr std::size_t CalibrationData = 58;
constexpr std::size_t PanelDirection = 70;
constexpr std::size_t Reserved71 = 71;
constexpr std::size_t ScreenWidth = 72;
constexpr std::size_t ScreenHeight = 74;
constexpr std::size_t McuMode = 76;
constexpr std::size_t McuVersion = 77;
constexpr std::size_t McuCode = 78;
constexpr std::size_t End = 82;
}  // namespace off

// The table of fields must tile the block exactly: no gaps, no overlaps, nothing past 82.
static_assert(off::PortTable + 9 * off::PortInfoSize == off::VirtualButton);
static_assert(off::CalibrationData + 6 * 2 == off::PanelDirection);
static_assert(off::McuCode + 4 == off::End);
static_assert(off::End == QM_PARAMETER_BLOCK_SIZE);
static_assert(std::tuple_size_v<decltype(DriverParameterBlock::PortTable)> == 9);
static_assert(std::tuple_size_v<decltype(DriverParameterBlock::CalibrationData)> == 6);
static_assert(std::tuple_size_v<decltype(DriverParameterBlock::McuCode)> == 4);

template <std::size_t N>
void Put8(std::array<std::uint8_t, N>& b, std::size_t at, std::uint8_t v) {
    b[at] = v;
}

template <std::size_t N>
void Put16(std::array<std::uint8_t, N>& b, std::size_t at, std::uint16_t v) {
    static_assert(N >= 2);
    b[at] = static_cast<std::uint8_t>(v & 0xFFu);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

template <std::size_t N>
void Put32(std::array<std::uint8_t, N>& b, std::size_t at, std::uint32_t v) {
    static_assert(N >= 4);
    for (std::size_t i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

template <std::size_t N>
std::uint16_t Get16(const std::array<std::uint8_t, N>& b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

template <std::size_t N>
std::uint32_t Get32(const std::array<std::uint8_t, N>& b, std::size_t at) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < 4; ++i) v |= static_cast<std::uint32_t>(b[at + i]) << (8 * i);
    return v;
}

// Signed fields travel as their two's-complement bit pattern.
std::uint16_t Bits(std::int16_t v) { return static_cast<std::uint16_t>(v); }
std::uint32_t Bits(std::int32_t v) { return static_cast<std::uint32_t>(v); }
std::int16_t Signed16(std::uint16_t v) { return static_cast<std::int16_t>(v); }
std::int32_t Signed32(std::uint32_t v) { return static_cast<std::int32_t>(v); }

}  // namespace

ParameterBytes Encode(const DriverParameterBlock& p) {
    ParameterBytes b{};
    Put16(b, off::BasePort, p.BasePort);
    Put8(b, off::Irq, p.Irq);
    Put8(b, off::ComPort, p.ComPort);
    for (std::size_t i = 0; i < p.PortTable.size(); ++i) {
        const std::size_t at = off::PortTable + i * off::PortInfoSize;
        Put16(b, at, p.PortTable[i].PortBase);
        Put8(b, at + 2, p.PortTable[i].PortIrq);
        Put8(b, at + 3, p.PortTable[i].Reserved);
    }
    Put8(b, off::VirtualButton, p.VirtualButton);
    Put8(b, off::FeedbackSound, p.FeedbackSound);
    Put16(b, off::FeedbackTone, Bits(p.FeedbackTone));
    Put16(b, off::FeedbackDuration, Bits(p.FeedbackDuration));
    Put8(b, off::Sensitivity, p.Sensitivity);
    Put8(b, off::MouseBypass, p.MouseBypass);
    Put8(b, off::MouseHSpeed, p.MouseHSpeed);
    Put8(b, off::MouseVSpeed, p.MouseVSpeed);
    Put8(b, off::MouseAcceleration, p.MouseAcceleration);
    Put8(b, off::PowerDownTime, p.PowerDownTime);
    Put8(b, off::BaudRateIndex, p.BaudRateIndex);
    Put8(b, off::RightButtonFunction, p.RightButtonFunction);
    Put8(b, off::RightButtonAutoMode, p.RightButtonAutoMode);
    Put8(b, off::RightButtonAutoSTime, p.RightButtonAutoSTime);
    Put8(b, off::RightButtonAutoETime, p.RightButtonAutoETime);
    Put8(b, off::RightButtonAutoBeep, p.RightButtonAutoBeep);
    for (std::size_t i = 0; i < p.CalibrationData.size(); ++i) {
        Put16(b, off::CalibrationData + 2 * i, Bits(p.CalibrationData[i]));
    }
    Put8(b, off::PanelDirection, p.PanelDirection);
    Put8(b, off::Reserved71, p.Reserved71);
    Put16(b, off::ScreenWidth, p.ScreenWidth);
    Put16(b, off::ScreenHeight, p.ScreenHeight);
    Put8(b, off::McuMode, p.McuMode);
    Put8(b, off::McuVersion, p.McuVersion);
    for (std::size_t i = 0; i < p.McuCode.size(); ++i) Put8(b, off::McuCode + i, p.McuCode[i]);
    return b;
}

DriverParameterBlock DecodeParameterBlock(const ParameterBytes& b) {
    DriverParameterBlock p;
    p.BasePort = Get16(b, off::BasePort);
    p.Irq = b[off::Irq];
    p.ComPort = b[off::ComPort];
    for (std::size_t i = 0; i < p.PortTable.size(); ++i) {
        const std::size_t at = off::PortTable + i * off::PortInfoSize;
        p.PortTable[i].PortBase = Get16(b, at);
        p.PortTable[i].PortIrq = b[at + 2];
        p.PortTable[i].Reserved = b[at + 3];
    }
    p.VirtualButton = b[off::VirtualButton];
    p.FeedbackSound = b[off::FeedbackSound];
    p.FeedbackTone = Signed16(Get16(b, off::FeedbackTone));
    p.FeedbackDuration = Signed16(Get16(b, off::FeedbackDuration));
    p.Sensitivity = b[off::Sensitivity];
    p.MouseBypass = b[off::MouseBypass];
    p.MouseHSpeed = b[off::MouseHSpeed];
    p.MouseVSpeed = b[off::MouseVSpeed];
    p.MouseAcceleration = b[off::MouseAcceleration];
    p.PowerDownTime = b[off::PowerDownTime];
    p.BaudRateIndex = b[off::BaudRateIndex];
    p.RightButtonFunction = b[off::RightButtonFunction];
    p.RightButtonAutoMode = b[off::RightButtonAutoMode];
    p.RightButtonAutoSTime = b[off::RightButtonAutoSTime];
    p.RightButtonAutoETime = b[off::RightButtonAutoETime];
    p.RightButtonAutoBeep = b[off::RightButtonAutoBeep];
    for (std::size_t i = 0; i < p.CalibrationData.size(); ++i) {
        p.CalibrationData[i] = Signed16(Get16(b, off::CalibrationData + 2 * i));
    }
    p.PanelDirection = b[off::PanelDirection];
    p.Reserved71 = b[off::Reserved71];
    p.ScreenWidth = Get16(b, off::ScreenWidth);
    p.ScreenHeight = Get16(b, off::ScreenHeight);
    p.McuMode = b[off::McuMode];
    p.McuVersion = b[off::McuVersion];
    for (std::size_t i = 0; i < p.McuCode.size(); ++i) p.McuCode[i] = b[off::McuCode + i];
    return p;
}

// RawPointBuffer: RawX 0, RawY 2, RawStatus 4, reserved 5, SampleCount 6.
RawPointBytes Encode(const RawPointBuffer& r) {
    RawPointBytes b{};
    Put16(b, 0, Bits(r.RawX));
    Put16(b, 2, Bits(r.RawY));
    Put8(b, 4, r.RawStatus);
    Put8(b, 5, r.Reserved);
    Put16(b, 6, Bits(r.SampleCount));
    return b;
}

RawPointBuffer DecodeRawPoint(const RawPointBytes& b) {
    RawPointBuffer r;
    r.RawX = Signed16(Get16(b, 0));
    r.RawY = Signed16(Get16(b, 2));
    r.RawStatus = b[4];
    r.Reserved = b[5];
    r.SampleCount = Signed16(Get16(b, 6));
    return r;
}

CalibrationStateBytes Encode(const CalibrationStateRequest& c) {
    CalibrationStateBytes b{};
    Put32(b, 0, Bits(c.State));
    return b;
}

CalibrationStateRequest DecodeCalibrationState(const CalibrationStateBytes& b) {
    CalibrationStateRequest c;
    c.State = Signed32(Get32(b, 0));
    return c;
}

// RbStateBuffer and VrStateBuffer share one shape: window 0, word 4, reserved 6.
namespace {

template <class Bytes>
Bytes EncodeWindowWord(std::int32_t window, std::int16_t word, std::uint16_t reserved) {
    Bytes b{};
    Put32(b, 0, Bits(window));
    Put16(b, 4, Bits(word));
    Put16(b, 6, reserved);
    return b;
}

template <class Buffer, class Bytes>
Buffer DecodeWindowWord(const Bytes& b, std::int32_t Buffer::*window, std::int16_t Buffer::*word) {
    Buffer r;
    r.*window = Signed32(Get32(b, 0));
    r.*word = Signed16(Get16(b, 4));
    r.Reserved = Get16(b, 6);
    return r;
}

}  // namespace

RbStateBytes Encode(const RbStateBuffer& r) {
    return EncodeWindowWord<RbStateBytes>(r.RbWindow, r.RbState, r.Reserved);
}

RbStateBuffer DecodeRbState(const RbStateBytes& b) {
    return DecodeWindowWord(b, &RbStateBuffer::RbWindow, &RbStateBuffer::RbState);
}

VrStateBytes Encode(const VrStateBuffer& v) {
    return EncodeWindowWord<VrStateBytes>(v.VrWindow, v.Rotation, v.Reserved);
}

VrStateBuffer DecodeVrState(const VrStateBytes& b) {
    return DecodeWindowWord(b, &VrStateBuffer::VrWindow, &VrStateBuffer::Rotation);
}

ToneBytes Encode(const ToneRequest& t) {
    ToneBytes b{};
    Put16(b, 0, Bits(t.Tone));
    Put16(b, 2, Bits(t.Duration));
    return b;
}

ToneRequest DecodeTone(const ToneBytes& b) {
    ToneRequest t;
    t.Tone = Signed16(Get16(b, 0));
    t.Duration = Signed16(Get16(b, 2));
    return t;
}

}  // namespace qm
