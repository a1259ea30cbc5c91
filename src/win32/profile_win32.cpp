#include "win32/profile_win32.h"

#include <windows.h>

namespace qm::win32 {

std::uint32_t Win32Profile::GetString(const std::string& section, const std::string& key,
                                      const std::string& defaultText, char* buffer,
                                      std::uint32_t size, const std::string& path) {
    return GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultText.c_str(), buffer, size,
                                    path.c_str());
}

bool Win32Profile::WriteString(const std::string& section, const std::string& key,
                               const std::string& value, const std::string& path) {
    return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), path.c_str()) !=
           FALSE;
}

}  // namespace qm::win32
