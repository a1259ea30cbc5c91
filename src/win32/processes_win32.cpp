#include "win32/processes_win32.h"

#include <windows.h>

#include <vector>

namespace qm::win32 {

namespace {
HANDLE ToHandle(ProcessHandle process) { return reinterpret_cast<HANDLE>(process); }
}  // namespace

std::uint32_t Win32Processes::Exec(const std::string& commandLine, std::int32_t showState) {
    return WinExec(commandLine.c_str(), static_cast<UINT>(showState));
}

ProcessHandle Win32Processes::StartForWait(const std::string& commandLine, std::int32_t showState) {
    // CreateProcessA may write into the command line, so it gets its own copy.
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(showState);
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
        return 0;
    }
    CloseHandle(info.hThread);
    // The creation handle has full access, synchronize included; keeping it rather than
    // reopening by process id means we wait for this very process.
    return reinterpret_cast<ProcessHandle>(info.hProcess);
}

WaitResult Win32Processes::Wait(ProcessHandle process, std::uint32_t milliseconds) {
    switch (WaitForSingleObject(ToHandle(process), milliseconds)) {
        case WAIT_OBJECT_0:
            return WaitResult::Signalled;
        case WAIT_TIMEOUT:
            return WaitResult::Timeout;
        case WAIT_ABANDONED:
            return WaitResult::Abandoned;
        default:
            return WaitResult::Failed;
    }
}

void Win32Processes::CloseProcess(ProcessHandle process) {
    if (process != 0) CloseHandle(ToHandle(process));
}

bool Win32Processes::DeleteAtRestart(const std::string& path) {
    return MoveFileExA(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) != 0;
}

}  // namespace qm::win32
