// Port: the touch driver's device object (CreateFileA, DeviceIoControl, CloseHandle).
#pragma once

#include <cstdint>
#include <string>

#include "platform/handles.h"

namespace qm {

// Argument values as the classic calls take them.
inline constexpr std::uint32_t kGenericRead = 0x80000000u;
inline constexpr std::uint32_t kFileShareRead = 0x1u;
inline constexpr std::uint32_t kFileShareWrite = 0x2u;
inline constexpr std::uint32_t kOpenExisting = 3u;
inline constexpr std::uint32_t kFileAttributeNormal = 0x80u;

// Everything CreateFileA is given, so the simulated device can check the exact call.
struct DeviceOpenArgs {
    std::string path;
    std::uint32_t desiredAccess = 0;
    std::uint32_t shareMode = 0;
    // The SECURITY_ATTRIBUTES record passed: its length field, descriptor and inherit flag.
    std::uint32_t securityLength = 0;
    bool securityDescriptor = false;
    bool securityInherit = false;
    std::uint32_t creationDisposition = 0;
    std::uint32_t flagsAndAttributes = 0;
    bool templateFile = false;
};

class Device {
public:
    virtual ~Device() = default;
    virtual DeviceHandle Open(const DeviceOpenArgs& args) = 0;
    // One synchronous request; `in` and `out` may be the same memory. Returns the call's
    // result (nonzero = success) and writes the byte count reported.
    virtual std::int32_t IoControl(DeviceHandle handle, std::uint32_t code, const void* in,
                                   std::uint32_t inSize, void* out, std::uint32_t outSize,
                                   std::uint32_t* bytesReturned) = 0;
    virtual void Close(DeviceHandle handle) = 0;
};

}  // namespace qm
