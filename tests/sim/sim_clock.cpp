#include "sim/sim_clock.h"

namespace qm::sim {

std::uint64_t SimClock::TickMilliseconds() {
    ++readings_;
    std::uint64_t reading = now_;
    now_ += stepPerReading_;
    return reading;
}

void SimClock::Sleep(std::uint32_t milliseconds) {
    slept_ += milliseconds;
    now_ += milliseconds;
}

}  // namespace qm::sim
