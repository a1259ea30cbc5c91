// Build constants and composed names of one hardware build.
//
// The suite is built twice from one source: once for controllers on a serial port and once
// for controllers on the PS/2 mouse port. Each build differs only in the four variant
// constants below; every name the programs use is composed from them. The program entry
// file picks the variant of its build target (see build_variant.h) and hands it to the
// portable program, so tests can run both builds side by side in one process.
#pragma once

#include <string>
#include <string_view>

namespace qm {

struct Variant {
    std::string_view variantName;    // "COM" / "PS2"
    std::string_view variantLetter;  // "C" / "P"
    std::string_view hardwareId;     // Plug and Play ID of the controller
    bool isPs2;
};

inline constexpr std::string_view kFilePrefix = "QMW";
inline constexpr std::string_view kOsCode = "S3";
inline constexpr std::string_view kVersionPrefix = "7.0.";
inline constexpr std::string_view kProductTagPrefix = "QM-";
inline constexpr std::string_view kDriverExtension = ".sys";
inline constexpr std::string_view kSetupInfoExtension = ".INF";
inline constexpr std::string_view kDriverTitlePrefix = "TouchScreen - PS/2 Mouse Driver V.";
inline constexpr std::string_view kProductDisplayPrefix = "TouchScreen V.";

inline constexpr Variant kSerialVariant{"COM", "C", "*ZKX0001", false};
inline constexpr Variant kPs2Variant{"PS2", "P", "*PNP0F03", true};

// Role suffixes of the program files.
enum class Role { ControlPanel, Startup, RightButton, VrProgram, SetupFinisher, Removal };

std::string DriverBaseName(const Variant& v);      // "QMWS3COM"
std::string DevicePath(const Variant& v);          // "\\.\QMWS3COM"
std::string DriverFileName(const Variant& v);      // "QMWS3COM.sys"
std::string SetupInfoFileName(const Variant& v);   // "QMWS3PS2.INF"
std::string ProgramFileName(const Variant& v, Role role);  // "QMWS3Crb.exe"
std::string RegistrarFileName();                   // "QMWS3Reg.exe", the same in both builds
std::string ProductTag(const Variant& v);          // "QM-COM"
std::string VersionText(const Variant& v);         // "7.0.COM"
std::string ProductDisplayName(const Variant& v);  // "TouchScreen V.7.0.COM"
std::string DriverTitle(const Variant& v);         // PS/2 driver title for its setup information

// A program's full path: the install folder, a backslash and the composed file name.
std::string ProgramPath(const std::string& folder, const std::string& fileName);

// A command line that starts the program at `path`. The path is quoted, so a folder with a
// blank in it ("C:\Program Files\...") can never be taken for a shorter program name.
std::string QuotedCommand(const std::string& path);

}  // namespace qm
