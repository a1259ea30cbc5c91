// Program starts and process waits. Starts are recorded with their command lines and show
// states; results come from a script. Waits run on virtual time: a process scripted to run
// for 2500 ms ends during the third one-second wait, and no real time passes.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/processes.h"

namespace qm::sim {

// How a program started for waiting behaves.
struct ProcessScript {
    bool starts = true;                          // false: the start (or the open) fails
    std::optional<std::uint32_t> runsForMs = 0;  // nullopt: never ends
    // Served one by one before the process's own course, e.g. a failed wait.
    std::deque<WaitResult> forcedResults;
};

struct Launch {
    std::string commandLine;
    std::int32_t showState = 0;
    bool forWait = false;  // started with StartForWait rather than Exec
};

class SimProcesses final : public Processes {
  public:
    // Processes
    std::uint32_t Exec(const std::string& commandLine, std::int32_t showState) override;
    ProcessHandle StartForWait(const std::string& commandLine, std::int32_t showState) override;
    WaitResult Wait(ProcessHandle process, std::uint32_t milliseconds) override;
    void CloseProcess(ProcessHandle process) override;
    bool DeleteAtRestart(const std::string& path) override;

    // Script. Exec results by exact command line, else the default (a successful start).
    std::map<std::string, std::uint32_t> execResults;
    std::uint32_t defaultExecResult = 33;
    // StartForWait behaviour by exact command line, else the default (ends at once).
    std::map<std::string, ProcessScript> scripts;
    ProcessScript defaultScript;
    bool deleteAtRestartFails = false;
    // Called on every start, after it is recorded, so a test can start another program of
    // the suite in the same world.
    std::function<void(const Launch&)> onLaunch;
    // Called with the virtual time each wait used, so a shared clock can follow.
    std::function<void(std::uint32_t milliseconds)> onTimePassed;

    // Records.
    const std::vector<Launch>& Launches() const { return launches_; }
    const std::vector<std::string>& DeleteAtRestartList() const { return deleteAtRestart_; }
    // The timeout of every wait, in order.
    const std::vector<std::uint32_t>& Waits() const { return waits_; }
    std::uint64_t ElapsedMs() const { return elapsedMs_; }
    bool IsOpen(ProcessHandle process) const;
    std::size_t OpenProcessCount() const;
    // Closes of a handle that was not open.
    int BadCloses() const { return badCloses_; }
    // Whether the process of `handle` has ended by now (virtual time).
    bool HasEnded(ProcessHandle process) const;

    void AdvanceTime(std::uint32_t milliseconds);

  private:
    struct Running {
        ProcessScript script;
        std::uint64_t startedAt = 0;
        bool open = true;
    };

    std::vector<Launch> launches_;
    std::vector<std::string> deleteAtRestart_;
    std::vector<std::uint32_t> waits_;
    std::map<ProcessHandle, Running> processes_;
    ProcessHandle nextHandle_ = 0x2A0;
    std::uint64_t elapsedMs_ = 0;
    int badCloses_ = 0;
};

}  // namespace qm::sim
