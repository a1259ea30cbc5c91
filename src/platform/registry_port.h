// Port: the five classic registry calls (RegCreateKeyA, RegOpenKeyA, RegQueryValueExA,
// RegSetValueExA, RegCloseKey). The registry layer's rules live above it, in common.
#pragma once

#include <cstdint>
#include <string>

#include "platform/handles.h"

namespace qm {

inline constexpr std::uint32_t kRegNone = 0;
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;

inline constexpr std::int32_t kErrorSuccess = 0;
inline constexpr std::int32_t kErrorFileNotFound = 2;
inline constexpr std::int32_t kErrorAccessDenied = 5;
inline constexpr std::int32_t kErrorMoreData = 234;

class RegistryPort {
public:
    virtual ~RegistryPort() = default;
    // Each returns the Windows error code (0 = success).
    virtual std::int32_t CreateKey(RegKey root, const std::string& path, RegKey* out) = 0;
    virtual std::int32_t OpenKey(RegKey root, const std::string& path, RegKey* out) = 0;
    // `data` may be null to learn type and size; `size` is in/out as in RegQueryValueExA.
    virtual std::int32_t QueryValue(RegKey key, const std::string& name, std::uint32_t* type,
                                    void* data, std::uint32_t* size) = 0;
    virtual std::int32_t SetValue(RegKey key, const std::string& name, std::uint32_t type,
                                  const void* data, std::uint32_t size) = 0;
    virtual std::int32_t CloseKey(RegKey key) = 0;
};

}  // namespace qm
