// Simulated file system: files and folders in memory, paths compared as Windows compares
// them (without regard to case), and every open recorded.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/files.h"

namespace qm::sim {

class SimFiles final : public Files {
  public:
    void AddFile(const std::string& path);
    // A file that exists but cannot be opened for reading (locked or access denied).
    void AddUnreadableFile(const std::string& path);
    void AddFolder(const std::string& path);
    void Remove(const std::string& path);

    bool CanOpenForReading(const std::string& path) override;

    // Every path the program asked to open, as given.
    const std::vector<std::string>& Opens() const { return opens_; }

  private:
    enum class Kind { File, UnreadableFile, Folder };
    static std::string Key(const std::string& path);
    std::map<std::string, Kind> entries_;
    std::vector<std::string> opens_;
};

}  // namespace qm::sim
