// Restarting Windows, simulated: every call is recorded, a privilege step or the restart
// request can be made to fail, and, as on Windows, a restart request is refused while the
// shutdown privilege has not been enabled.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/restart.h"

namespace qm {

class SimRestart final : public Restart {
  public:
    struct Call {
        enum Kind { EnableShutdownPrivilege, ExitSystem } kind;
        std::uint32_t flags = 0;   // ExitSystem only
        std::uint32_t reason = 0;  // ExitSystem only
        std::int32_t result = 0;   // ExitSystem: the call's result
    };

    PrivilegeResult EnableShutdownPrivilege() override;
    std::int32_t ExitSystem(std::uint32_t flags, std::uint32_t reason) override;

    // The step fails from now on; `code` is the last-error code it reports (the failed
    // OpenProcessToken always reports its result, 0).
    void FailPrivilegeStep(PrivilegeStep step, std::int32_t code = 0);
    // ExitSystem returns 0 from now on.
    void FailExitSystem() { exitFails_ = true; }

    bool PrivilegeEnabled() const { return privilegeEnabled_; }
    // True once a restart request was accepted.
    bool RestartRequested() const;
    const std::vector<Call>& Calls() const { return calls_; }

  private:
    std::optional<PrivilegeResult> privilegeFailure_;
    bool exitFails_ = false;
    bool privilegeEnabled_ = false;
    std::vector<Call> calls_;
};

}  // namespace qm
