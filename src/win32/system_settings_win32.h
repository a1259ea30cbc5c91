#pragma once

#include "platform/system_settings.h"

namespace qm::win32 {

class Win32SystemSettings final : public SystemSettings {
  public:
    bool SetParameter(std::uint32_t action, std::uint32_t value, std::uint32_t flags) override;
    std::uint32_t DoubleClickTime() override;
    std::int32_t Metric(std::int32_t index) override;
    bool GetWorkArea(WorkArea& area) override;
    std::int32_t ShowCursor(bool show) override;
};

}  // namespace qm::win32
