#include "common/registry.h"

#include <algorithm>
#include <array>

namespace qm {

bool Registry::OpenKey(RegKey root, const std::string& keyPath, std::string& subkey, RegKey& out) {
    if (keyPath.empty()) return false;
    if (!subkey.empty() && subkey.front() == '\\') subkey.erase(0, 1);
    const std::string path = subkey.empty() ? keyPath : keyPath + "\\" + subkey;
    RegKey key = 0;
    const bool ok = port_.CreateKey(root, path, &key) == kErrorSuccess;
    out = ok ? key : 0;
    return ok;
}

bool Registry::OpenExistingKey(RegKey root, const std::string& path, RegKey& out) {
    RegKey key = 0;
    const bool ok = port_.OpenKey(root, path, &key) == kErrorSuccess;
    out = ok ? key : 0;
    return ok;
}

bool Registry::CloseKey(RegKey key) { return port_.CloseKey(key) == kErrorSuccess; }

bool Registry::GetDword(RegKey key, const std::string& name, std::int32_t& out) {
    std::array<unsigned char, 4> bytes{};
    std::uint32_t type = kRegNone;
    std::uint32_t size = bytes.size();
    if (port_.QueryValue(key, name, &type, bytes.data(), &size) != kErrorSuccess) return false;
    // A shorter REG_DWORD would leave part of the number unread; it is as unusable as a
    // value of another type.
    if (type != kRegDword || size != bytes.size()) return false;
    const std::uint32_t value = std::uint32_t{bytes[0]} | std::uint32_t{bytes[1]} << 8 |
                                std::uint32_t{bytes[2]} << 16 | std::uint32_t{bytes[3]} << 24;
    out = static_cast<std::int32_t>(value);
    return true;
}

bool Registry::GetString(RegKey key, const std::string& name, std::string& out) {
    std::uint32_t type = kRegNone;
    std::uint32_t size = 0;
    if (port_.QueryValue(key, name, &type, nullptr, &size) != kErrorSuccess) return false;
    if (type != kRegSz) return false;
    // std::string keeps a valid data pointer even at size 0, so an empty value is read
    // like any other.
    std::string buffer(size, ' ');
    std::uint32_t got = size;
    if (port_.QueryValue(key, name, &type, buffer.data(), &got) != kErrorSuccess) return false;
    if (type != kRegSz) return false;
    // The size probe may report more than the data holds; the padding is not part of it.
    buffer.resize(std::min(got, size));
    out = TrimAtNul(buffer);
    return true;
}

bool Registry::SetDword(RegKey key, const std::string& name, std::int32_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    const std::array<unsigned char, 4> bytes{
        static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8),
        static_cast<unsigned char>(v >> 16), static_cast<unsigned char>(v >> 24)};
    return port_.SetValue(key, name, kRegDword, bytes.data(), bytes.size()) == kErrorSuccess;
}

bool Registry::SetString(RegKey key, const std::string& name, const std::string& text) {
    if (key == 0) return false;
    // c_str() carries the terminating NUL, which is stored with the text.
    const auto size = static_cast<std::uint32_t>(text.size() + 1);
    return port_.SetValue(key, name, kRegSz, text.c_str(), size) == kErrorSuccess;
}

std::string TrimAtNul(const std::string& text) { return text.substr(0, text.find('\0')); }

}  // namespace qm
