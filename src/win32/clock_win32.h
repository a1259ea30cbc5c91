#pragma once

#include "platform/clock.h"

namespace qm::win32 {

// Milliseconds from the performance counter: 64 bits, so unlike GetTickCount it does not
// wrap after 49 days, and it does not follow changes of the time of day.
class Win32Clock final : public Clock {
  public:
    std::uint64_t TickMilliseconds() override;
    void Sleep(std::uint32_t milliseconds) override;
};

}  // namespace qm::win32
