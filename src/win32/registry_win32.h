#pragma once

#include "platform/registry_port.h"

namespace qm::win32 {

class Win32Registry final : public RegistryPort {
  public:
    std::int32_t CreateKey(RegKey root, const std::string& path, RegKey* out) override;
    std::int32_t OpenKey(RegKey root, const std::string& path, RegKey* out) override;
    std::int32_t QueryValue(RegKey key, const std::string& name, std::uint32_t* type, void* data,
                            std::uint32_t* size) override;
    std::int32_t SetValue(RegKey key, const std::string& name, std::uint32_t type, const void* data,
                          std::uint32_t size) override;
    std::int32_t CloseKey(RegKey key) override;
};

}  // namespace qm::win32
