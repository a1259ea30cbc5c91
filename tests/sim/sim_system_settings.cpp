#include "sim/sim_system_settings.h"

namespace qm::sim {

// Windows' defaults on a 1024 x 768 display with a 30-pixel taskbar.
SimSystemSettings::SimSystemSettings() {
    metrics_[kSmCxScreen] = 1024;
    metrics_[kSmCyScreen] = 768;
    metrics_[kSmCxDoubleClk] = 4;
    metrics_[kSmCyDoubleClk] = 4;
}

bool SimSystemSettings::SetParameter(std::uint32_t action, std::uint32_t value,
                                     std::uint32_t flags) {
    setCalls_.push_back({action, value, flags});
    if (failing_.count(action)) return false;
    switch (action) {
        case kSpiSetDoubleClkWidth:
            metrics_[kSmCxDoubleClk] = static_cast<std::int32_t>(value);
            return true;
        case kSpiSetDoubleClkHeight:
            metrics_[kSmCyDoubleClk] = static_cast<std::int32_t>(value);
            return true;
        case kSpiSetDoubleClickTime:
            doubleClickTime_ = value;
            return true;
        default:
            return false;
    }
}

std::int32_t SimSystemSettings::Metric(std::int32_t index) {
    auto it = metrics_.find(index);
    return it == metrics_.end() ? 0 : it->second;
}

bool SimSystemSettings::GetWorkArea(WorkArea& area) {
    if (failWorkArea_) return false;
    area = workArea_;
    return true;
}

std::int32_t SimSystemSettings::ShowCursor(bool show) {
    ++showCursorCalls_;
    cursorCounter_ += show ? 1 : -1;
    return cursorCounter_;
}

}  // namespace qm::sim
