// Port: the file system as the programs use it.
#pragma once

#include <string>

namespace qm {

class Files {
public:
    virtual ~Files() = default;
    // Opens the file for reading and closes it at once; true when the open succeeded.
    // A folder or an unreadable file gives false.
    virtual bool CanOpenForReading(const std::string& path) = 0;
};

}  // namespace qm
