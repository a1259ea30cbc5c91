#pragma once

#include "platform/restart.h"

namespace qm::win32 {

class Win32Restart final : public Restart {
  public:
    PrivilegeResult EnableShutdownPrivilege() override;
    std::int32_t ExitSystem(std::uint32_t flags, std::uint32_t reason) override;
};

}  // namespace qm::win32
