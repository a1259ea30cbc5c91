#include "sim/sim_files.h"

#include <cctype>

namespace qm::sim {

std::string SimFiles::Key(const std::string& path) {
    std::string key = path;
    for (char& c : key) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return key;
}

void SimFiles::AddFile(const std::string& path) { entries_[Key(path)] = Kind::File; }
void SimFiles::AddUnreadableFile(const std::string& path) {
    entries_[Key(path)] = Kind::UnreadableFile;
}
void SimFiles::AddFolder(const std::string& path) { entries_[Key(path)] = Kind::Folder; }
void SimFiles::Remove(const std::string& path) { entries_.erase(Key(path)); }

bool SimFiles::CanOpenForReading(const std::string& path) {
    opens_.push_back(path);
    auto it = entries_.find(Key(path));
    return it != entries_.end() && it->second == Kind::File;
}

}  // namespace qm::sim
