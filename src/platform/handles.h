// Handle types that cross the ports. Program code never names a Win32 type.
#pragma once

#include <cstdint>

namespace qm {

// A window handle as the driver buffers hold it: a signed 32-bit value, -1 for none.
using WindowHandle = std::int32_t;
inline constexpr WindowHandle kNoWindow = -1;

// A device handle from the Device port; kInvalidDeviceHandle when the open failed.
using DeviceHandle = std::intptr_t;
inline constexpr DeviceHandle kInvalidDeviceHandle = -1;

// A registry key handle; the predefined roots carry their standard values.
using RegKey = std::uintptr_t;
inline constexpr RegKey kHkeyClassesRoot = 0x80000000u;
inline constexpr RegKey kHkeyCurrentUser = 0x80000001u;
inline constexpr RegKey kHkeyLocalMachine = 0x80000002u;
inline constexpr RegKey kHkeyUsers = 0x80000003u;

// A process handle from the Processes port; 0 when none.
using ProcessHandle = std::uintptr_t;

}  // namespace qm
