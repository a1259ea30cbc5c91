#include "common/variant.h"

namespace qm {

namespace {
std::string Join(std::initializer_list<std::string_view> parts) {
    std::string out;
    for (auto p : parts) out += p;
    return out;
}

std::string_view RoleSuffix(Role role) {
    switch (role) {
        case Role::ControlPanel: return "cp.exe";
        case Role::Startup: return "ao.exe";
        case Role::RightButton: return "rb.exe";
        case Role::VrProgram: return "vr.exe";
        case Role::SetupFinisher: return "di.exe";
        case Role::Removal: return "de.exe";
    }
    return "";
}
}  // namespace

std::string DriverBaseName(const Variant& v) { return Join({kFilePrefix, kOsCode, v.variantName}); }
std::string DevicePath(const Variant& v) { return "\\\\.\\" + DriverBaseName(v); }
std::string DriverFileName(const Variant& v) { return DriverBaseName(v) + std::string(kDriverExtension); }
std::string SetupInfoFileName(const Variant& v) {
    return DriverBaseName(v) + std::string(kSetupInfoExtension);
}
std::string ProgramFileName(const Variant& v, Role role) {
    return Join({kFilePrefix, kOsCode, v.variantLetter, RoleSuffix(role)});
}
std::string RegistrarFileName() { return Join({kFilePrefix, kOsCode, "Reg.exe"}); }
std::string ProductTag(const Variant& v) { return Join({kProductTagPrefix, v.variantName}); }
std::string VersionText(const Variant& v) { return Join({kVersionPrefix, v.variantName}); }
std::string ProductDisplayName(const Variant& v) {
    return std::string(kProductDisplayPrefix) + VersionText(v);
}
std::string DriverTitle(const Variant& v) { return std::string(kDriverTitlePrefix) + VersionText(v); }

std::string ProgramPath(const std::string& folder, const std::string& fileName) {
    return folder + "\\" + fileName;
}
std::string QuotedCommand(const std::string& path) { return "\"" + path + "\""; }

}  // namespace qm
