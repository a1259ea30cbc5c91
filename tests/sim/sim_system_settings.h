// Simulated Windows settings: double-click values, screen metrics, work area and the cursor
// display counter, with every set call recorded and failures injectable per action.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <vector>

#include "platform/system_settings.h"

namespace qm::sim {

class SimSystemSettings final : public SystemSettings {
  public:
    struct SetCall {
        std::uint32_t action;
        std::uint32_t value;
        std::uint32_t flags;
        bool operator==(const SetCall&) const = default;
    };

    SimSystemSettings();

    // The world's state, as a test arranges it.
    void SetMetric(std::int32_t index, std::int32_t value) { metrics_[index] = value; }
    void SetDoubleClickTime(std::uint32_t ms) { doubleClickTime_ = ms; }
    void SetWorkArea(const WorkArea& area) { workArea_ = area; }
    void FailWorkArea(bool fail) { failWorkArea_ = fail; }
    void FailAction(std::uint32_t action) { failing_.insert(action); }
    void SetCursorCounter(std::int32_t counter) { cursorCounter_ = counter; }

    std::int32_t CursorCounter() const { return cursorCounter_; }
    const std::vector<SetCall>& SetCalls() const { return setCalls_; }
    int ShowCursorCalls() const { return showCursorCalls_; }

    // The three double-click actions change the values read back through DoubleClickTime
    // and the SM_CXDOUBLECLK / SM_CYDOUBLECLK metrics, as in Windows; a failing action
    // changes nothing. Other actions fail.
    bool SetParameter(std::uint32_t action, std::uint32_t value, std::uint32_t flags) override;
    std::uint32_t DoubleClickTime() override { return doubleClickTime_; }
    // An index nobody set reads 0, as GetSystemMetrics gives for an unknown index.
    std::int32_t Metric(std::int32_t index) override;
    bool GetWorkArea(WorkArea& area) override;
    std::int32_t ShowCursor(bool show) override;

  private:
    std::map<std::int32_t, std::int32_t> metrics_;
    std::uint32_t doubleClickTime_ = 500;
    WorkArea workArea_{0, 0, 1024, 738};
    bool failWorkArea_ = false;
    std::set<std::uint32_t> failing_;
    std::int32_t cursorCounter_ = 0;
    std::vector<SetCall> setCalls_;
    int showCursorCalls_ = 0;
};

}  // namespace qm::sim
