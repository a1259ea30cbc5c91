// Port: starting and waiting for programs (WinExec; a start that yields a waitable process,
// WaitForSingleObject, CloseHandle; MoveFileExA with delete at restart).
#pragma once

#include <cstdint>
#include <string>

#include "platform/handles.h"

namespace qm {

inline constexpr std::int32_t kSwHide = 0;
inline constexpr std::int32_t kSwShowNormal = 1;

// What one wait for a process reports (WAIT_OBJECT_0, WAIT_TIMEOUT, WAIT_ABANDONED,
// WAIT_FAILED).
enum class WaitResult { Signalled, Timeout, Abandoned, Failed };

class Processes {
  public:
    virtual ~Processes() = default;
    // WinExec: the result is 32 or more on success.
    virtual std::uint32_t Exec(const std::string& commandLine, std::int32_t showState) = 0;
    // Starts a program the caller is going to wait for and returns its process opened for
    // waiting (synchronize access); 0 when it could not be started or opened. One call, so
    // the process cannot end and its id be reused between the start and the open.
    virtual ProcessHandle StartForWait(const std::string& commandLine, std::int32_t showState) = 0;
    // Waits up to `milliseconds` for the process to end.
    virtual WaitResult Wait(ProcessHandle process, std::uint32_t milliseconds) = 0;
    virtual void CloseProcess(ProcessHandle process) = 0;
    // Marks the file for deletion at the next restart (a delay-until-reboot move with no
    // target); true when the mark was accepted.
    virtual bool DeleteAtRestart(const std::string& path) = 0;
};

}  // namespace qm
