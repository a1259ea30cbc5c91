// Port: starting and waiting for programs (WinExec, OpenProcess, WaitForSingleObject,
// MoveFileExA with delete at restart).
#pragma once

#include <cstdint>
#include <string>

#include "platform/handles.h"

namespace qm {

inline constexpr std::int32_t kSwHide = 0;
inline constexpr std::int32_t kSwShowNormal = 1;

class Processes {
public:
    virtual ~Processes() = default;
    // WinExec: the result is 32 or more on success.
    virtual std::uint32_t Exec(const std::string& commandLine, std::int32_t showState) = 0;
};

}  // namespace qm
