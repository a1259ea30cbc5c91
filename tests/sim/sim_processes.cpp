#include "sim/sim_processes.h"

namespace qm::sim {

std::uint32_t SimProcesses::Exec(const std::string& commandLine, std::int32_t showState) {
    launches_.push_back({commandLine, showState, false});
    if (onLaunch) onLaunch(launches_.back());
    auto it = execResults.find(commandLine);
    return it != execResults.end() ? it->second : defaultExecResult;
}

ProcessHandle SimProcesses::StartForWait(const std::string& commandLine, std::int32_t showState) {
    launches_.push_back({commandLine, showState, true});
    if (onLaunch) onLaunch(launches_.back());
    auto it = scripts.find(commandLine);
    const ProcessScript& script = it != scripts.end() ? it->second : defaultScript;
    if (!script.starts) return 0;
    const ProcessHandle h = nextHandle_;
    nextHandle_ += 4;
    processes_[h] = Running{script, elapsedMs_, true};
    return h;
}

void SimProcesses::AdvanceTime(std::uint32_t milliseconds) {
    elapsedMs_ += milliseconds;
    if (onTimePassed && milliseconds) onTimePassed(milliseconds);
}

bool SimProcesses::HasEnded(ProcessHandle process) const {
    auto it = processes_.find(process);
    if (it == processes_.end() || !it->second.script.runsForMs) return false;
    return elapsedMs_ - it->second.startedAt >= *it->second.script.runsForMs;
}

WaitResult SimProcesses::Wait(ProcessHandle process, std::uint32_t milliseconds) {
    waits_.push_back(milliseconds);
    auto it = processes_.find(process);
    if (it == processes_.end() || !it->second.open) return WaitResult::Failed;
    Running& p = it->second;
    if (!p.script.forcedResults.empty()) {
        const WaitResult r = p.script.forcedResults.front();
        p.script.forcedResults.pop_front();
        if (r == WaitResult::Timeout) AdvanceTime(milliseconds);
        return r;
    }
    if (!p.script.runsForMs) {
        AdvanceTime(milliseconds);
        return WaitResult::Timeout;
    }
    const std::uint64_t ran = elapsedMs_ - p.startedAt;
    const std::uint64_t runsFor = *p.script.runsForMs;
    if (ran >= runsFor) return WaitResult::Signalled;
    const std::uint64_t left = runsFor - ran;
    if (left <= milliseconds) {
        AdvanceTime(static_cast<std::uint32_t>(left));
        return WaitResult::Signalled;
    }
    AdvanceTime(milliseconds);
    return WaitResult::Timeout;
}

void SimProcesses::CloseProcess(ProcessHandle process) {
    auto it = processes_.find(process);
    if (it == processes_.end() || !it->second.open) {
        ++badCloses_;
        return;
    }
    it->second.open = false;
}

bool SimProcesses::IsOpen(ProcessHandle process) const {
    auto it = processes_.find(process);
    return it != processes_.end() && it->second.open;
}

std::size_t SimProcesses::OpenProcessCount() const {
    std::size_t n = 0;
    for (const auto& [h, p] : processes_) n += p.open ? 1 : 0;
    return n;
}

bool SimProcesses::DeleteAtRestart(const std::string& path) {
    if (deleteAtRestartFails) return false;
    deleteAtRestart_.push_back(path);
    return true;
}

}  // namespace qm::sim
