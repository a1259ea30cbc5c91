// The driver's wire format: the 82-byte parameter block and the five small request buffers.
//
// These records cross into a kernel driver, so they are encoded and decoded explicitly at
// fixed offsets, little-endian, instead of relying on a compiler's struct layout. Reserved
// bytes are kept as received so they go back to the driver unchanged.
#pragma once

#include <array>
#include <cstdint>

#include "common/driver_codes.h"

namespace qm {

struct PortInfo {
    std::uint16_t PortBase = 0;  // 0 = port not usable
    std::uint8_t PortIrq = 0;    // IRQ, or a status code when PortBase is 0
    std::uint8_t Reserved = 0;
    bool operator==(const PortInfo&) const = default;
};

struct DriverParameterBlock {
    std::uint16_t BasePort = 0;               // 0
    std::uint8_t Irq = 0;                     // 2
    std::uint8_t ComPort = 0;                 // 3; 0 = no controller
    std::array<PortInfo, 9> PortTable{};      // 4, COM1..COM9
    std::uint8_t VirtualButton = 0;           // 40
    std::uint8_t FeedbackSound = 0;           // 41
    std::int16_t FeedbackTone = 0;            // 42
    std::int16_t FeedbackDuration = 0;        // 44
    std::uint8_t Sensitivity = 0;             // 46
    std::uint8_t MouseBypass = 0;             // 47
    std::uint8_t MouseHSpeed = 0;             // 48
    std::uint8_t MouseVSpeed = 0;             // 49
    std::uint8_t MouseAcceleration = 0;       // 50
    std::uint8_t PowerDownTime = 0;           // 51
    std::uint8_t BaudRateIndex = 0;           // 52
    std::uint8_t RightButtonFunction = 0;     // 53
    std::uint8_t RightButtonAutoMode = 0;     // 54
    std::uint8_t RightButtonAutoSTime = 0;    // 55
    std::uint8_t RightButtonAutoETime = 0;    // 56
    std::uint8_t RightButtonAutoBeep = 0;     // 57
    std::array<std::int16_t, 6> CalibrationData{};  // 58: X left, center, right, Y top, center, bottom
    std::uint8_t PanelDirection = 0;          // 70
    std::uint8_t Reserved71 = 0;              // 71
    std::uint16_t ScreenWidth = 0;            // 72
    std::uint16_t ScreenHeight = 0;           // 74
    std::uint8_t McuMode = 0;                 // 76
    std::uint8_t McuVersion = 0;              // 77
    std::array<std::uint8_t, 4> McuCode{};    // 78

    bool operator==(const DriverParameterBlock&) const = default;
};

struct RawPointBuffer {
    std::int16_t RawX = 0;
    std::int16_t RawY = 0;
    std::uint8_t RawStatus = 0;  // bit 3 (8) set while touched
    std::uint8_t Reserved = 0;
    std::int16_t SampleCount = 0;
    bool operator==(const RawPointBuffer&) const = default;
};

struct CalibrationStateRequest {
    std::int32_t State = 0;
    bool operator==(const CalibrationStateRequest&) const = default;
};

struct RbStateBuffer {
    std::int32_t RbWindow = 0;  // -1 = none registered
    std::int16_t RbState = 0;
    std::uint16_t Reserved = 0;
    bool operator==(const RbStateBuffer&) const = default;
};

struct VrStateBuffer {
    std::int32_t VrWindow = 0;  // -1 = none registered
    std::int16_t Rotation = 0;  // 0..3
    std::uint16_t Reserved = 0;
    bool operator==(const VrStateBuffer&) const = default;
};

struct ToneRequest {
    std::int16_t Tone = 0;
    std::int16_t Duration = 0;
    bool operator==(const ToneRequest&) const = default;
};

using ParameterBytes = std::array<std::uint8_t, QM_PARAMETER_BLOCK_SIZE>;
using RawPointBytes = std::array<std::uint8_t, QM_RAW_POINT_SIZE>;
using CalibrationStateBytes = std::array<std::uint8_t, QM_CALIBRATION_STATE_SIZE>;
using RbStateBytes = std::array<std::uint8_t, QM_RB_STATE_SIZE>;
using VrStateBytes = std::array<std::uint8_t, QM_VR_STATE_SIZE>;
using ToneBytes = std::array<std::uint8_t, QM_TONE_REQUEST_SIZE>;

ParameterBytes Encode(const DriverParameterBlock& block);
DriverParameterBlock DecodeParameterBlock(const ParameterBytes& bytes);
RawPointBytes Encode(const RawPointBuffer& buffer);
RawPointBuffer DecodeRawPoint(const RawPointBytes& bytes);
CalibrationStateBytes Encode(const CalibrationStateRequest& request);
CalibrationStateRequest DecodeCalibrationState(const CalibrationStateBytes& bytes);
RbStateBytes Encode(const RbStateBuffer& buffer);
RbStateBuffer DecodeRbState(const RbStateBytes& bytes);
VrStateBytes Encode(const VrStateBuffer& buffer);
VrStateBuffer DecodeVrState(const VrStateBytes& bytes);
ToneBytes Encode(const ToneRequest& request);
ToneRequest DecodeTone(const ToneBytes& bytes);

}  // namespace qm
