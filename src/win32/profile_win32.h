#pragma once

#include "platform/profile.h"

namespace qm::win32 {

class Win32Profile final : public Profile {
  public:
    std::uint32_t GetString(const std::string& section, const std::string& key,
                            const std::string& defaultText, char* buffer, std::uint32_t size,
                            const std::string& path) override;
    bool WriteString(const std::string& section, const std::string& key, const std::string& value,
                     const std::string& path) override;
};

}  // namespace qm::win32
