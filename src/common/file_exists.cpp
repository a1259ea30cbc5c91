#include "common/file_exists.h"

#include "platform/files.h"

namespace qm {

bool FileExists(Files& files, const std::string& path) {
    std::string name = path;
    if (!name.empty() && name.back() == '\\') name.pop_back();
    if (name.empty() || name.find('\0') != std::string::npos) return false;
    return files.CanOpenForReading(name);
}

}  // namespace qm
