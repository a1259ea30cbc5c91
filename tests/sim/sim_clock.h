// Virtual clock: time moves only when the program sleeps, when a test advances it, or by a
// fixed step on each reading, so a ten-second wait takes no real time.
#pragma once

#include <cstdint>

#include "platform/clock.h"

namespace qm::sim {

class SimClock final : public Clock {
  public:
    explicit SimClock(std::uint64_t startMilliseconds = 0) : now_(startMilliseconds) {}

    void Advance(std::uint64_t milliseconds) { now_ += milliseconds; }
    // Each reading moves the clock on by this much afterwards, so a loop that polls the
    // clock without sleeping still sees time pass.
    void SetStepPerReading(std::uint64_t milliseconds) { stepPerReading_ = milliseconds; }

    std::uint64_t Now() const { return now_; }
    std::uint64_t SleptMilliseconds() const { return slept_; }
    int Readings() const { return readings_; }

    std::uint64_t TickMilliseconds() override;
    void Sleep(std::uint32_t milliseconds) override;

  private:
    std::uint64_t now_;
    std::uint64_t stepPerReading_ = 0;
    std::uint64_t slept_ = 0;
    int readings_ = 0;
};

}  // namespace qm::sim
