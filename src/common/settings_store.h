// The settings store: the product key of this hardware build and the values kept in it.
//
// All persistent data of the suite lives in one key per build,
// HKEY_LOCAL_MACHINE\SOFTWARE\Vestamorel\TouchScreen\<product tag>. The installer writes the
// product data, the setup finisher adds the initial settings, the control panel keeps the
// calibration mode and the startup program the double-click values. One store per program,
// created at start and passed by reference; its members are the program-wide copies of those
// values. Every operation opens the key, does its reads or writes and closes it again.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "common/registry.h"
#include "common/variant.h"
#include "platform/handles.h"

namespace qm {

inline constexpr const char* kProductKeyPath = "SOFTWARE\\Vestamorel\\TouchScreen";

// Value names of the product key.
inline constexpr const char* kValueVenderName = "VenderName";
inline constexpr const char* kValueVenderStyle = "VenderStyle";
inline constexpr const char* kValueInstallPath = "InstallPath";
inline constexpr const char* kValueWindowsPath = "WindowsPath";
inline constexpr const char* kValueSystemPath = "SystemPath";
inline constexpr const char* kValueHardwareID = "HardwareID";
inline constexpr const char* kValueCalibrationMode = "CalibrationMode";
inline constexpr const char* kValueDoubleClickSpeed = "DoubleClickSpeed";
inline constexpr const char* kValueDoubleClickWidth = "DoubleClickWidth";
inline constexpr const char* kValueDoubleClickHeight = "DoubleClickHeight";
// Initial driver settings, written by the setup finisher for the touch driver only.
inline constexpr const char* kValueVirtualButton = "VirtualButton";
inline constexpr const char* kValueRightButtonFunction = "RightButtonFunction";
inline constexpr const char* kValueRightButtonAutomatic = "RightButtonAutomatic";
inline constexpr const char* kValueFeedbackSound = "FeedbackSound";
inline constexpr const char* kValueFeedbackTone = "FeedbackTone";
inline constexpr const char* kValueFeedbackDuration = "FeedbackDuration";
inline constexpr const char* kValueMouseSpeed = "MouseSpeed";
inline constexpr const char* kValuePanelDirection = "PanelDirection";

// What the startup program uses when the stored double-click values cannot be read.
inline constexpr std::int32_t kDefaultDoubleClickSpeed = 500;
inline constexpr std::int32_t kDefaultDoubleClickWidth = 32;
inline constexpr std::int32_t kDefaultDoubleClickHeight = 32;

// One REG_DWORD the setup finisher stores from its defaults file.
struct DwordSetting {
    std::string name;
    std::int32_t value = 0;
};

class SettingsStore {
  public:
    SettingsStore(Registry& registry, const Variant& variant)
        : registry_(registry), variant_(variant) {}

    void SetSettingsLocation(RegKey root, const std::string& keyPath, const std::string& subKey);

    // Points the store at this build's product key, then LoadVendorData.
    bool LoadProductData();

    // Reads the six product strings. Every read is attempted even after one fails, so the
    // others still arrive; true only when the key opened and all six were read. A value
    // that cannot be read leaves its member as it was.
    bool LoadVendorData();

    // On failure CalibrationMode keeps its value.
    bool LoadCalibrationMode();
    bool SaveCalibrationMode();

    // All or nothing: true only when the key opened and all three values were read as
    // REG_DWORD; on false none of the three members changes, and the caller puts in the
    // defaults (UseDefaultDoubleClickSettings).
    bool LoadDoubleClickSettings();
    // Writes all three values, each attempted; true only when the key opened and all three
    // writes succeeded.
    bool SaveDoubleClickSettings();
    void UseDefaultDoubleClickSettings();

    // Setup finisher writers: the member takes the text and the text is stored as REG_SZ;
    // true when the key opened and the write succeeded.
    bool SaveHardwareID(const std::string& text);
    bool SaveVenderName(const std::string& text);
    bool SaveVenderStyle(const std::string& text);

    // Setup finisher defaults: opens the key once and writes the values in the given order.
    // A value that cannot be written is reported to `failed` before the next one is tried.
    // False, with nothing written and nothing reported, when the key cannot be opened.
    bool SaveDwordSettings(const std::vector<DwordSetting>& values,
                           const std::function<void(const std::string& name)>& failed);

    RegKey SettingsRoot = 0;
    std::string SettingsKeyPath;
    std::string SettingsSubKey;

    std::string VenderName;
    std::string VenderStyle;
    std::string InstallPath;
    std::string WindowsPath;
    std::string SystemPath;
    std::string HardwareID;

    std::int32_t CalibrationMode = 0;

    std::int32_t DoubleClickSpeed = 0;
    std::int32_t DoubleClickWidth = 0;
    std::int32_t DoubleClickHeight = 0;

  private:
    bool Open(RegKey& key);
    bool SaveString(const char* name, const std::string& text);

    Registry& registry_;
    Variant variant_;
};

}  // namespace qm
