#pragma once

#include "platform/processes.h"

namespace qm::win32 {

class Win32Processes final : public Processes {
  public:
    std::uint32_t Exec(const std::string& commandLine, std::int32_t showState) override;
    ProcessHandle StartForWait(const std::string& commandLine, std::int32_t showState) override;
    WaitResult Wait(ProcessHandle process, std::uint32_t milliseconds) override;
    void CloseProcess(ProcessHandle process) override;
    bool DeleteAtRestart(const std::string& path) override;
};

}  // namespace qm::win32
