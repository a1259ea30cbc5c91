#include "win32/restart_win32.h"

#include <windows.h>

namespace qm::win32 {

PrivilegeResult Win32Restart::EnableShutdownPrivilege() {
    HANDLE token = nullptr;
    const BOOL opened =
        OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token);
    if (!opened) return {PrivilegeStep::OpenToken, static_cast<std::int32_t>(opened)};

    PrivilegeResult result;
    TOKEN_PRIVILEGES privileges{};
    // Both later steps are judged by the last-error code; clear it first, or a code left
    // by an earlier call would be taken for this one's.
    SetLastError(0);
    const BOOL found =
        LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid);
    DWORD error = GetLastError();
    if (!found || error != 0) {
        result = {PrivilegeStep::LookupPrivilege, static_cast<std::int32_t>(error)};
    } else {
        privileges.PrivilegeCount = 1;
        privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        TOKEN_PRIVILEGES previous{};
        DWORD previousSize = 0;
        SetLastError(0);
        // Succeeds with ERROR_NOT_ALL_ASSIGNED when the token lacks the privilege.
        const BOOL adjusted = AdjustTokenPrivileges(token, FALSE, &privileges, sizeof(previous),
                                                    &previous, &previousSize);
        error = GetLastError();
        if (!adjusted || error != 0) {
            result = {PrivilegeStep::AdjustPrivileges, static_cast<std::int32_t>(error)};
        }
    }
    CloseHandle(token);
    return result;
}

std::int32_t Win32Restart::ExitSystem(std::uint32_t flags, std::uint32_t reason) {
    return ExitWindowsEx(flags, reason);
}

}  // namespace qm::win32
