#include "win32/registry_win32.h"

#include <windows.h>

namespace qm::win32 {

namespace {

// The predefined roots are sign-extended pointer values in <windows.h>; map them by name so
// the conversion holds whatever the pointer width.
HKEY ToHkey(RegKey key) {
    switch (key) {
        case kHkeyClassesRoot:
            return HKEY_CLASSES_ROOT;
        case kHkeyCurrentUser:
            return HKEY_CURRENT_USER;
        case kHkeyLocalMachine:
            return HKEY_LOCAL_MACHINE;
        case kHkeyUsers:
            return HKEY_USERS;
        default:
            return reinterpret_cast<HKEY>(key);
    }
}

RegKey FromHkey(HKEY key) {
    if (key == HKEY_CLASSES_ROOT) return kHkeyClassesRoot;
    if (key == HKEY_CURRENT_USER) return kHkeyCurrentUser;
    if (key == HKEY_LOCAL_MACHINE) return kHkeyLocalMachine;
    if (key == HKEY_USERS) return kHkeyUsers;
    return reinterpret_cast<RegKey>(key);
}

}  // namespace

std::int32_t Win32Registry::CreateKey(RegKey root, const std::string& path, RegKey* out) {
    HKEY key = nullptr;
    const LONG rc = RegCreateKeyA(ToHkey(root), path.c_str(), &key);
    if (out) *out = rc == ERROR_SUCCESS ? FromHkey(key) : 0;
    return rc;
}

std::int32_t Win32Registry::OpenKey(RegKey root, const std::string& path, RegKey* out) {
    HKEY key = nullptr;
    const LONG rc = RegOpenKeyA(ToHkey(root), path.c_str(), &key);
    if (out) *out = rc == ERROR_SUCCESS ? FromHkey(key) : 0;
    return rc;
}

std::int32_t Win32Registry::QueryValue(RegKey key, const std::string& name, std::uint32_t* type,
                                       void* data, std::uint32_t* size) {
    DWORD t = 0;
    DWORD s = size ? *size : 0;
    const LONG rc = RegQueryValueExA(ToHkey(key), name.c_str(), nullptr, type ? &t : nullptr,
                                     static_cast<LPBYTE>(data), size ? &s : nullptr);
    if (type) *type = t;
    if (size) *size = s;
    return rc;
}

std::int32_t Win32Registry::SetValue(RegKey key, const std::string& name, std::uint32_t type,
                                     const void* data, std::uint32_t size) {
    return RegSetValueExA(ToHkey(key), name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
}

std::int32_t Win32Registry::CloseKey(RegKey key) { return RegCloseKey(ToHkey(key)); }

}  // namespace qm::win32
