// The registry layer: every registry access of the suite goes through it.
//
// A thin set of rules over the five classic calls. Each operation answers true or false and
// never raises or shows anything; the caller decides what a failure means. Only REG_SZ texts
// and REG_DWORD numbers are accepted. The layer keeps no state besides the port: every key it
// opens is handed to the caller, who closes it with CloseKey.
#pragma once

#include <cstdint>
#include <string>

#include "platform/handles.h"
#include "platform/registry_port.h"

namespace qm {

class Registry {
  public:
    explicit Registry(RegistryPort& port) : port_(port) {}

    // Opens keyPath\subkey below root, creating every missing part of it. An empty keyPath
    // gives false without touching the registry. A leading "\" is removed from the caller's
    // subkey variable itself, so the caller keeps the cleaned name. `out` is 0 on failure.
    bool OpenKey(RegKey root, const std::string& keyPath, std::string& subkey, RegKey& out);

    // Opens an existing key; never creates one. `out` is 0 on failure.
    bool OpenExistingKey(RegKey root, const std::string& path, RegKey& out);

    bool CloseKey(RegKey key);

    // True only for a stored REG_DWORD of four bytes; `out` is written only then.
    bool GetDword(RegKey key, const std::string& name, std::int32_t& out);

    // True only for a stored REG_SZ; `out` is the text before its first NUL and is written
    // only on success.
    bool GetString(RegKey key, const std::string& name, std::string& out);

    bool SetDword(RegKey key, const std::string& name, std::int32_t value);

    // Stores the text with its terminating NUL. A zero key handle gives false at once.
    bool SetString(RegKey key, const std::string& name, const std::string& text);

  private:
    RegistryPort& port_;
};

// The text before the first NUL character; the whole text when it holds none.
std::string TrimAtNul(const std::string& text);

}  // namespace qm
