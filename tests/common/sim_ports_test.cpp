// The simulated registry, INI files and restart behave as the Windows calls they stand in
// for, as far as the programs' tests rely on them.
#include <gtest/gtest.h>

#include <cstring>

#include "sim/sim_profile.h"
#include "sim/sim_registry.h"
#include "sim/sim_restart.h"

namespace qm {
namespace {

TEST(SimRegistry, QueryValueProbesSizesAndReportsShortBuffers) {
    SimRegistry reg;
    reg.PutString(kHkeyLocalMachine, "A\\B", "Text", "hello");
    RegKey key = 0;
    ASSERT_EQ(reg.OpenKey(kHkeyLocalMachine, "a\\b", &key), kErrorSuccess);

    std::uint32_t type = 0, size = 0;
    EXPECT_EQ(reg.QueryValue(key, "TEXT", &type, nullptr, &size), kErrorSuccess);
    EXPECT_EQ(type, kRegSz);
    EXPECT_EQ(size, 6u);

    char buffer[8] = "xxxxxxx";
    size = 3;
    EXPECT_EQ(reg.QueryValue(key, "Text", &type, buffer, &size), kErrorMoreData);
    EXPECT_EQ(size, 6u);
    size = sizeof buffer;
    EXPECT_EQ(reg.QueryValue(key, "Text", nullptr, buffer, &size), kErrorSuccess);
    EXPECT_EQ(size, 6u);
    EXPECT_EQ(std::memcmp(buffer, "hello\0x", 7), 0);

    size = 99;
    type = 99;
    EXPECT_EQ(reg.QueryValue(key, "Missing", &type, nullptr, &size), kErrorFileNotFound);
    EXPECT_EQ(size, 99u);
    EXPECT_EQ(reg.QueryValue(key, "Text", &type, buffer, nullptr), kErrorInvalidParameter);
    EXPECT_EQ(reg.CloseKey(key), kErrorSuccess);
}

TEST(SimRegistry, KeysOpenAndCreateAsTheClassicCallsDo) {
    SimRegistry reg;
    RegKey key = 0;
    EXPECT_EQ(reg.OpenKey(kHkeyLocalMachine, "X\\Y", &key), kErrorFileNotFound);
    EXPECT_EQ(key, 0u);
    ASSERT_EQ(reg.CreateKey(kHkeyLocalMachine, "X\\Y", &key), kErrorSuccess);
    EXPECT_TRUE(reg.HasKey(kHkeyLocalMachine, "x"));
    RegKey child = 0;
    // Paths are relative to any open key; an empty path hands back the same handle.
    EXPECT_EQ(reg.CreateKey(key, "Z", &child), kErrorSuccess);
    EXPECT_TRUE(reg.HasKey(kHkeyLocalMachine, "X\\Y\\Z"));
    RegKey same = 0;
    EXPECT_EQ(reg.OpenKey(key, "", &same), kErrorSuccess);
    EXPECT_EQ(same, key);
    EXPECT_EQ(reg.OpenHandleCount(), 2u);

    for (const char* bad : {"\\X", "X\\\\Y", "\\"}) {
        RegKey k = 0;
        EXPECT_EQ(reg.CreateKey(kHkeyLocalMachine, bad, &k), kErrorBadPathname) << bad;
    }
    EXPECT_EQ(reg.CreateKey(12345, "X", &key), kErrorInvalidHandle);

    EXPECT_EQ(reg.CloseKey(child), kErrorSuccess);
    EXPECT_EQ(reg.CloseKey(same), kErrorSuccess);
    EXPECT_EQ(reg.CloseKey(same), kErrorInvalidHandle);
    EXPECT_EQ(reg.CloseKey(kHkeyLocalMachine), kErrorSuccess);
    EXPECT_EQ(reg.OpenHandleCount(), 0u);
}

TEST(SimRegistry, InjectedFailuresHitOnlyTheirTarget) {
    SimRegistry reg;
    reg.FailCall(SimRegistry::Call::SetValue, kErrorAccessDenied, "mousespeed");
    RegKey key = 0;
    ASSERT_EQ(reg.CreateKey(kHkeyLocalMachine, "K", &key), kErrorSuccess);
    const char data[4] = {1, 0, 0, 0};
    EXPECT_EQ(reg.SetValue(key, "MouseSpeed", kRegDword, data, 4), kErrorAccessDenied);
    EXPECT_EQ(reg.SetValue(key, "PanelDirection", kRegDword, data, 4), kErrorSuccess);
    EXPECT_EQ(reg.ValueNames(kHkeyLocalMachine, "K"), std::vector<std::string>{"PanelDirection"});
    reg.ClearFailures();
    EXPECT_EQ(reg.SetValue(key, "MouseSpeed", kRegDword, data, 4), kErrorSuccess);
    reg.CloseKey(key);
}

std::string Read(SimProfile& ini, const std::string& section, const std::string& key,
                 const std::string& def = "", std::uint32_t size = 255) {
    std::vector<char> buffer(size + 1, '#');
    const std::uint32_t n =
        ini.GetString(section, key, def, buffer.data(), size, "C:\\S\\setup.ini");
    EXPECT_EQ(buffer[n], '\0');
    return std::string(buffer.data(), n);
}

TEST(SimProfile, ReadsAsGetPrivateProfileStringDoes) {
    SimProfile ini;
    ini.PutFile("c:\\s\\SETUP.INI",
                "Top=outside\r\n"
                "; comment=line\r\n"
                "  [ Settings ]  \r\n"
                "  FeedbackTone  =  100 ; low \r\n"
                ";MouseBypass=1\r\n"
                "Quoted=\"  spaced  \"\r\n"
                "Single='x'\r\n"
                "Lone=\"open\r\n"
                "NoEquals\r\n"
                "Empty=\r\n"
                "Twice=first\r\n"
                "twice=second\n"
                "[SETUP]\n"
                "TITLE=Vestamorel\n"
                "[settings]\n"
                "Later=hidden\n");
    const struct {
        const char* section;
        const char* key;
        const char* def;
        const char* expected;
    } cases[] = {
        {"settings", "feedbacktone", "", "100 ; low"},  // no inline comments
        {"Settings", "MouseBypass", "d", "d"},          // a commented-out key is absent
        {"Settings", "Quoted", "", "  spaced  "},
        {"Settings", "Single", "", "x"},
        {"Settings", "Lone", "", "\"open"},
        {"Settings", "NoEquals", "d", "d"},
        {"Settings", "Empty", "d", ""},
        {"Settings", "Twice", "", "first"},
        {"Settings", "Later", "d", "d"},  // only the first of two same-named sections
        {"Settings", "Top", "d", "d"},
        {"setup", "title", "", "Vestamorel"},
        {"Missing", "TITLE", "dflt  ", "dflt"},  // trailing blanks of the default go
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Read(ini, c.section, c.key, c.def), c.expected) << c.section << "/" << c.key;
    }
    SimProfile none;
    EXPECT_EQ(Read(none, "Settings", "FeedbackTone", "x"), "x");
}

TEST(SimProfile, LongValuesAreCutToTheBuffer) {
    SimProfile ini;
    ini.PutFile("C:\\S\\setup.ini", "[A]\nK=" + std::string(300, 'v') + "\n");
    EXPECT_EQ(Read(ini, "A", "K", "", 255), std::string(254, 'v'));
    EXPECT_EQ(Read(ini, "A", "K", "", 1), "");
    char untouched = '#';
    EXPECT_EQ(ini.GetString("A", "K", "", &untouched, 0, "C:\\S\\setup.ini"), 0u);
    EXPECT_EQ(untouched, '#');
}

TEST(SimProfile, WritesCreateReplaceAndInsertKeepingOtherLines) {
    SimProfile ini;
    const std::string path = "C:\\WINDOWS\\inf\\QMWS3PS2.INF";
    ini.PutFile(path,
                "; driver\n[Strings]\nOEM_CALL=\"old\"\nmouclass.SvcDesc=x\n\n[Other]\nA=1\n");
    EXPECT_TRUE(ini.WriteString("strings", "oem_call", "\"new\"", path));
    EXPECT_TRUE(ini.WriteString("Strings", "MouseClassName", "Mouse", path));
    EXPECT_TRUE(ini.WriteString("Added", "K", "v", path));
    EXPECT_EQ(*ini.FileText(path),
              "; driver\r\n[Strings]\r\nOEM_CALL=\"new\"\r\nmouclass.SvcDesc=x\r\n"
              "MouseClassName=Mouse\r\n\r\n[Other]\r\nA=1\r\n[Added]\r\nK=v\r\n");

    EXPECT_TRUE(ini.WriteString("S", "K", "v", "C:\\new.ini"));
    EXPECT_EQ(*ini.FileText("c:\\NEW.ini"), "[S]\r\nK=v\r\n");

    ini.FailWrites(path);
    const std::string before = *ini.FileText(path);
    EXPECT_FALSE(ini.WriteString("Strings", "OEM_CALL", "x", path));
    EXPECT_EQ(*ini.FileText(path), before);
}

TEST(SimRestart, RestartNeedsTheEnabledPrivilegeAndRecordsEveryCall) {
    SimRestart plain;
    EXPECT_EQ(plain.ExitSystem(kEwxReboot | kEwxForceIfHung, 0), 0);
    EXPECT_TRUE(plain.EnableShutdownPrivilege().ok());
    EXPECT_NE(plain.ExitSystem(0x12, 0), 0);
    EXPECT_TRUE(plain.RestartRequested());
    ASSERT_EQ(plain.Calls().size(), 3u);
    EXPECT_EQ(plain.Calls()[2].flags, 0x12u);

    SimRestart refused;
    refused.FailPrivilegeStep(PrivilegeStep::AdjustPrivileges, kErrorNotAllAssigned);
    const PrivilegeResult r = refused.EnableShutdownPrivilege();
    EXPECT_EQ(r.failedStep, PrivilegeStep::AdjustPrivileges);
    EXPECT_EQ(r.code, kErrorNotAllAssigned);
    EXPECT_EQ(refused.ExitSystem(0x12, 0), 0);
    EXPECT_FALSE(refused.RestartRequested());

    SimRestart noExit;
    noExit.FailExitSystem();
    EXPECT_TRUE(noExit.EnableShutdownPrivilege().ok());
    EXPECT_EQ(noExit.ExitSystem(0x12, 0), 0);
    EXPECT_FALSE(noExit.RestartRequested());
}

}  // namespace
}  // namespace qm
