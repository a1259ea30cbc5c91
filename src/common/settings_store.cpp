#include "common/settings_store.h"

namespace qm {

void SettingsStore::SetSettingsLocation(RegKey root, const std::string& keyPath,
                                        const std::string& subKey) {
    SettingsRoot = root;
    SettingsKeyPath = keyPath;
    SettingsSubKey = subKey;
}

bool SettingsStore::Open(RegKey& key) {
    return registry_.OpenKey(SettingsRoot, SettingsKeyPath, SettingsSubKey, key);
}

bool SettingsStore::LoadProductData() {
    SetSettingsLocation(kHkeyLocalMachine, kProductKeyPath, ProductTag(variant_));
    return LoadVendorData();
}

bool SettingsStore::LoadVendorData() {
    RegKey key = 0;
    if (!Open(key)) return false;
    bool ok = true;
    // No short-circuit: a missing value must not keep the ones after it from loading.
    ok &= registry_.GetString(key, kValueVenderName, VenderName);
    ok &= registry_.GetString(key, kValueVenderStyle, VenderStyle);
    ok &= registry_.GetString(key, kValueInstallPath, InstallPath);
    ok &= registry_.GetString(key, kValueWindowsPath, WindowsPath);
    ok &= registry_.GetString(key, kValueSystemPath, SystemPath);
    ok &= registry_.GetString(key, kValueHardwareID, HardwareID);
    registry_.CloseKey(key);
    return ok;
}

bool SettingsStore::LoadCalibrationMode() {
    RegKey key = 0;
    if (!Open(key)) return false;
    const bool ok = registry_.GetDword(key, kValueCalibrationMode, CalibrationMode);
    registry_.CloseKey(key);
    return ok;
}

bool SettingsStore::SaveCalibrationMode() {
    RegKey key = 0;
    if (!Open(key)) return false;
    const bool ok = registry_.SetDword(key, kValueCalibrationMode, CalibrationMode);
    registry_.CloseKey(key);
    return ok;
}

bool SettingsStore::LoadDoubleClickSettings() {
    RegKey key = 0;
    if (!Open(key)) return false;
    std::int32_t speed = 0, width = 0, height = 0;
    bool ok = true;
    ok &= registry_.GetDword(key, kValueDoubleClickSpeed, speed);
    ok &= registry_.GetDword(key, kValueDoubleClickWidth, width);
    ok &= registry_.GetDword(key, kValueDoubleClickHeight, height);
    registry_.CloseKey(key);
    // The three values only make sense together; a partial set is not taken over.
    if (!ok) return false;
    DoubleClickSpeed = speed;
    DoubleClickWidth = width;
    DoubleClickHeight = height;
    return true;
}

bool SettingsStore::SaveDoubleClickSettings() {
    RegKey key = 0;
    if (!Open(key)) return false;
    bool ok = true;
    ok &= registry_.SetDword(key, kValueDoubleClickSpeed, DoubleClickSpeed);
    ok &= registry_.SetDword(key, kValueDoubleClickWidth, DoubleClickWidth);
    ok &= registry_.SetDword(key, kValueDoubleClickHeight, DoubleClickHeight);
    registry_.CloseKey(key);
    return ok;
}

void SettingsStore::UseDefaultDoubleClickSettings() {
    DoubleClickSpeed = kDefaultDoubleClickSpeed;
    DoubleClickWidth = kDefaultDoubleClickWidth;
    DoubleClickHeight = kDefaultDoubleClickHeight;
}

bool SettingsStore::SaveString(const char* name, const std::string& text) {
    RegKey key = 0;
    if (!Open(key)) return false;
    const bool ok = registry_.SetString(key, name, text);
    registry_.CloseKey(key);
    return ok;
}

bool SettingsStore::SaveHardwareID(const std::string& text) {
    HardwareID = text;
    return SaveString(kValueHardwareID, text);
}

bool SettingsStore::SaveVenderName(const std::string& text) {
    VenderName = text;
    return SaveString(kValueVenderName, text);
}

bool SettingsStore::SaveVenderStyle(const std::string& text) {
    VenderStyle = text;
    return SaveString(kValueVenderStyle, text);
}

bool SettingsStore::SaveDwordSettings(const std::vector<DwordSetting>& values,
                                      const std::function<void(const std::string&)>& failed) {
    RegKey key = 0;
    if (!Open(key)) return false;
    for (const auto& v : values) {
        if (!registry_.SetDword(key, v.name, v.value) && failed) failed(v.name);
    }
    registry_.CloseKey(key);
    return true;
}

}  // namespace qm
