// Port: restarting Windows. The caller first enables the shutdown privilege of its own
// process (OpenProcessToken, LookupPrivilegeValueA, AdjustTokenPrivileges), then asks for
// the restart (ExitWindowsEx).
#pragma once

#include <cstdint>

namespace qm {

inline constexpr std::uint32_t kEwxLogoff = 0x0u;
inline constexpr std::uint32_t kEwxShutdown = 0x1u;
inline constexpr std::uint32_t kEwxReboot = 0x2u;
inline constexpr std::uint32_t kEwxForce = 0x4u;
inline constexpr std::uint32_t kEwxForceIfHung = 0x10u;

inline constexpr std::int32_t kErrorNotAllAssigned = 1300;
inline constexpr std::int32_t kErrorPrivilegeNotHeld = 1314;

// The step of enabling the privilege that failed (named apart from the Win32 calls, some of
// which are macros in <windows.h>).
enum class PrivilegeStep { None, OpenToken, LookupPrivilege, AdjustPrivileges };

struct PrivilegeResult {
    PrivilegeStep failedStep = PrivilegeStep::None;
    // OpenProcessToken: the call's result (0 when it failed). The two later steps: the
    // thread's last-error code after the call, cleared right before it, since a successful
    // call may leave an older code in place and AdjustTokenPrivileges reports a privilege
    // the token does not hold (1300) only there.
    std::int32_t code = 0;
    bool ok() const { return failedStep == PrivilegeStep::None; }
};

class Restart {
  public:
    virtual ~Restart() = default;
    // Enables "SeShutdownPrivilege" in the own process token (one privilege, enabled,
    // previous state requested), stopping at the first step that fails. The token is
    // closed again before returning.
    virtual PrivilegeResult EnableShutdownPrivilege() = 0;
    // ExitWindowsEx(flags, reason); returns the call's result (nonzero = the request was
    // accepted).
    virtual std::int32_t ExitSystem(std::uint32_t flags, std::uint32_t reason) = 0;
};

}  // namespace qm
