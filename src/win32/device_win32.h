#pragma once

#include "platform/device.h"

namespace qm::win32 {

class Win32Device final : public Device {
public:
    DeviceHandle Open(const DeviceOpenArgs& args) override;
    std::int32_t IoControl(DeviceHandle handle, std::uint32_t code, const void* in,
                           std::uint32_t inSize, void* out, std::uint32_t outSize,
                           std::uint32_t* bytesReturned) override;
    void Close(DeviceHandle handle) override;
};

}  // namespace qm::win32
