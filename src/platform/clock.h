// Port: time for the programs' waits.
#pragma once

#include <cstdint>

namespace qm {

class Clock {
  public:
    virtual ~Clock() = default;
    // Milliseconds since an arbitrary start; never goes back and does not wrap.
    virtual std::uint64_t TickMilliseconds() = 0;
    // Gives the processor away for about `milliseconds` (0 just yields).
    virtual void Sleep(std::uint32_t milliseconds) = 0;
};

}  // namespace qm
