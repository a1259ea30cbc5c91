#include "common/variant.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

struct ComposedNames {
    const Variant* variant;
    const char* driverBase;
    const char* devicePath;
    const char* driverFile;
    const char* setupInfo;
    const char* controlPanel;
    const char* startup;
    const char* rightButton;
    const char* vr;
    const char* finisher;
    const char* removal;
    const char* productTag;
    const char* version;
    const char* displayName;
    const char* driverTitle;
    const char* hardwareId;
};

const ComposedNames kBuilds[] = {
    {&kSerialVariant, "QMWS3COM", "\\\\.\\QMWS3COM", "QMWS3COM.sys", "QMWS3COM.INF",
     "QMWS3Ccp.exe", "QMWS3Cao.exe", "QMWS3Crb.exe", "QMWS3Cvr.exe", "QMWS3Cdi.exe",
     "QMWS3Cde.exe", "QM-COM", "7.0.COM", "TouchScreen V.7.0.COM",
     "TouchScreen - PS/2 Mouse Driver V.7.0.COM", "*ZKX0001"},
    {&kPs2Variant, "QMWS3PS2", "\\\\.\\QMWS3PS2", "QMWS3PS2.sys", "QMWS3PS2.INF",
     "QMWS3Pcp.exe", "QMWS3Pao.exe", "QMWS3Prb.exe", "QMWS3Pvr.exe", "QMWS3Pdi.exe",
     "QMWS3Pde.exe", "QM-PS2", "7.0.PS2", "TouchScreen V.7.0.PS2",
     "TouchScreen - PS/2 Mouse Driver V.7.0.PS2", "*PNP0F03"},
};

TEST(ComposedNames, EveryNameOfBothBuilds) {
    for (const auto& b : kBuilds) {
        const Variant& v = *b.variant;
        SCOPED_TRACE(std::string(v.variantName));
        EXPECT_EQ(DriverBaseName(v), b.driverBase);
        EXPECT_EQ(DevicePath(v), b.devicePath);
        EXPECT_EQ(DriverFileName(v), b.driverFile);
        EXPECT_EQ(SetupInfoFileName(v), b.setupInfo);
        EXPECT_EQ(ProgramFileName(v, Role::ControlPanel), b.controlPanel);
        EXPECT_EQ(ProgramFileName(v, Role::Startup), b.startup);
        EXPECT_EQ(ProgramFileName(v, Role::RightButton), b.rightButton);
        EXPECT_EQ(ProgramFileName(v, Role::VrProgram), b.vr);
        EXPECT_EQ(ProgramFileName(v, Role::SetupFinisher), b.finisher);
        EXPECT_EQ(ProgramFileName(v, Role::Removal), b.removal);
        EXPECT_EQ(ProductTag(v), b.productTag);
        EXPECT_EQ(VersionText(v), b.version);
        EXPECT_EQ(ProductDisplayName(v), b.displayName);
        EXPECT_EQ(DriverTitle(v), b.driverTitle);
        EXPECT_EQ(v.hardwareId, b.hardwareId);
        // The registrar has no variant letter and is the same in both builds.
        EXPECT_EQ(RegistrarFileName(), "QMWS3Reg.exe");
    }
}

TEST(ComposedNames, ProgramsAreStartedByQuotedFullPath) {
    const std::string path =
        ProgramPath("C:\\Program Files\\Touch", ProgramFileName(kSerialVariant, Role::RightButton));
    EXPECT_EQ(path, "C:\\Program Files\\Touch\\QMWS3Crb.exe");
    EXPECT_EQ(QuotedCommand(path), "\"C:\\Program Files\\Touch\\QMWS3Crb.exe\"");
}

}  // namespace
}  // namespace qm
