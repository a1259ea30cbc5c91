#pragma once

#include "platform/files.h"

namespace qm::win32 {

class Win32Files final : public Files {
  public:
    bool CanOpenForReading(const std::string& path) override;
};

}  // namespace qm::win32
