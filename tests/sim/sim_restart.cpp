#include "sim/sim_restart.h"

namespace qm {

PrivilegeResult SimRestart::EnableShutdownPrivilege() {
    calls_.push_back({Call::EnableShutdownPrivilege});
    if (privilegeFailure_) return *privilegeFailure_;
    privilegeEnabled_ = true;
    return {};
}

std::int32_t SimRestart::ExitSystem(std::uint32_t flags, std::uint32_t reason) {
    const std::int32_t result = (exitFails_ || !privilegeEnabled_) ? 0 : 1;
    calls_.push_back({Call::ExitSystem, flags, reason, result});
    return result;
}

void SimRestart::FailPrivilegeStep(PrivilegeStep step, std::int32_t code) {
    if (step == PrivilegeStep::None) {
        privilegeFailure_.reset();
        return;
    }
    privilegeFailure_ = PrivilegeResult{step, step == PrivilegeStep::OpenToken ? 0 : code};
}

bool SimRestart::RestartRequested() const {
    for (const auto& c : calls_) {
        if (c.kind == Call::ExitSystem && c.result != 0 && (c.flags & kEwxReboot)) return true;
    }
    return false;
}

}  // namespace qm
