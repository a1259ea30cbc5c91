#include "common/settings_store.h"

#include <gtest/gtest.h>

#include "sim/sim_registry.h"

namespace qm {
namespace {

using Call = SimRegistry::Call;

const std::string kSerialKey = "SOFTWARE\\Vestamorel\\TouchScreen\\QM-COM";
const std::string kPs2Key = "SOFTWARE\\Vestamorel\\TouchScreen\\QM-PS2";

struct ProductString {
    const char* name;
    const char* text;
    std::string SettingsStore::*member;
};

const ProductString kProductStrings[] = {
    {"VenderName", "Vestamorel", &SettingsStore::VenderName},
    {"VenderStyle", "1,0,0,255,Arial,12", &SettingsStore::VenderStyle},
    {"InstallPath", "C:\\Program Files\\TouchScreen", &SettingsStore::InstallPath},
    {"WindowsPath", "C:\\WINDOWS", &SettingsStore::WindowsPath},
    {"SystemPath", "C:\\WINDOWS\\system32", &SettingsStore::SystemPath},
    {"HardwareID", "*ZKX0001", &SettingsStore::HardwareID},
};

class SettingsStoreTest : public ::testing::Test {
  protected:
    void PutProductData(const std::string& key) {
        for (const auto& p : kProductStrings) sim.PutString(kHkeyLocalMachine, key, p.name, p.text);
    }

    // Points both stores at their product keys, as every program does first.
    void LoadBoth() {
        serial.LoadProductData();
        ps2.LoadProductData();
    }

    void TearDown() override {
        EXPECT_EQ(sim.OpenHandleCount(), 0u)
            << "still open: " << ::testing::PrintToString(sim.OpenHandlePaths());
    }

    SimRegistry sim;
    Registry registry{sim};
    SettingsStore serial{registry, kSerialVariant};
    SettingsStore ps2{registry, kPs2Variant};
};

TEST_F(SettingsStoreTest, ProductDataLoadsWhileCalibrationModeIsStillAbsent) {
    PutProductData(kSerialKey);
    // Before the product data is loaded the store has no location and touches nothing.
    EXPECT_FALSE(serial.SaveCalibrationMode());
    EXPECT_TRUE(sim.Calls().empty());

    ASSERT_TRUE(serial.LoadProductData());
    EXPECT_EQ(serial.SettingsRoot, kHkeyLocalMachine);
    EXPECT_EQ(serial.SettingsKeyPath, "SOFTWARE\\Vestamorel\\TouchScreen");
    EXPECT_EQ(serial.SettingsSubKey, "QM-COM");
    for (const auto& p : kProductStrings) EXPECT_EQ(serial.*p.member, p.text) << p.name;

    // No stored mode: the load fails and the mode stays at its start value, which the
    // control panel then stores.
    EXPECT_FALSE(serial.LoadCalibrationMode());
    EXPECT_EQ(serial.CalibrationMode, 0);
    EXPECT_TRUE(serial.SaveCalibrationMode());
    EXPECT_EQ(sim.ReadDword(kHkeyLocalMachine, kSerialKey, "CalibrationMode"), 0u);
    EXPECT_TRUE(serial.LoadCalibrationMode());
}

TEST_F(SettingsStoreTest, MissingProductKeyIsCreatedEmptyAndTheLoadFails) {
    EXPECT_FALSE(serial.LoadProductData());
    EXPECT_TRUE(sim.HasKey(kHkeyLocalMachine, kSerialKey));
    EXPECT_TRUE(sim.ValueNames(kHkeyLocalMachine, kSerialKey).empty());
    for (const auto& p : kProductStrings) EXPECT_EQ(serial.*p.member, "") << p.name;
}

TEST_F(SettingsStoreTest, OneUnreadableValueFailsTheLoadButTheOtherFiveArrive) {
    const struct {
        const char* label;
        std::uint32_t type;
        std::string bytes;
    } bad[] = {
        {"REG_EXPAND_SZ", kRegExpandSz, std::string("C:\\X\0", 5)},
        {"REG_DWORD", kRegDword, std::string("\x01\0\0\0", 4)},
        {"REG_BINARY", kRegBinary, std::string("abc\0", 4)},
    };
    for (const auto& b : bad) {
        for (const auto& wrong : kProductStrings) {
            SCOPED_TRACE(std::string(wrong.name) + " as " + b.label);
            SimRegistry fresh;
            Registry reg(fresh);
            SettingsStore store(reg, kSerialVariant);
            for (const auto& p : kProductStrings)
                fresh.PutString(kHkeyLocalMachine, kSerialKey, p.name, p.text);
            fresh.PutValue(kHkeyLocalMachine, kSerialKey, wrong.name, b.type, b.bytes);
            store.*wrong.member = "before";

            EXPECT_FALSE(store.LoadProductData());
            for (const auto& p : kProductStrings) {
                EXPECT_EQ(store.*p.member, &p == &wrong ? "before" : p.text) << p.name;
            }
            EXPECT_EQ(fresh.OpenHandleCount(), 0u);
        }
    }
}

TEST_F(SettingsStoreTest, KeyThatCannotBeOpenedFailsEveryOperationWithoutReads) {
    PutProductData(kSerialKey);
    sim.PutDword(kHkeyLocalMachine, kSerialKey, "CalibrationMode", 1);
    sim.FailCall(Call::CreateKey, kErrorAccessDenied);
    serial.CalibrationMode = 1;
    serial.DoubleClickSpeed = 400;

    EXPECT_FALSE(serial.LoadProductData());
    EXPECT_FALSE(serial.LoadCalibrationMode());
    EXPECT_FALSE(serial.SaveCalibrationMode());
    EXPECT_FALSE(serial.LoadDoubleClickSettings());
    EXPECT_FALSE(serial.SaveDoubleClickSettings());
    EXPECT_FALSE(serial.SaveVenderName("New"));
    bool reported = false;
    EXPECT_FALSE(serial.SaveDwordSettings({{"VirtualButton", 1}},
                                          [&](const std::string&) { reported = true; }));
    EXPECT_FALSE(reported);

    for (const auto& c : sim.Calls()) {
        EXPECT_EQ(c.call, Call::CreateKey);
    }
    EXPECT_EQ(serial.VenderName, "New");  // the finisher's new vendor name is kept for the run
    EXPECT_EQ(serial.DoubleClickSpeed, 400);
    EXPECT_EQ(sim.ReadDword(kHkeyLocalMachine, kSerialKey, "CalibrationMode"), 1u);
}

TEST_F(SettingsStoreTest, SerialAndPs2BuildsKeepSeparateKeys) {
    PutProductData(kSerialKey);
    PutProductData(kPs2Key);
    sim.PutString(kHkeyLocalMachine, kPs2Key, "HardwareID", "*PNP0F13");
    ASSERT_TRUE(serial.LoadProductData());
    ASSERT_TRUE(ps2.LoadProductData());
    EXPECT_EQ(serial.HardwareID, "*ZKX0001");
    EXPECT_EQ(ps2.HardwareID, "*PNP0F13");

    ps2.CalibrationMode = 1;
    ASSERT_TRUE(ps2.SaveCalibrationMode());
    EXPECT_FALSE(serial.LoadCalibrationMode());
    EXPECT_EQ(serial.CalibrationMode, 0);
    EXPECT_EQ(sim.ReadDword(kHkeyLocalMachine, kPs2Key, "CalibrationMode"), 1u);
    EXPECT_FALSE(sim.ReadValue(kHkeyLocalMachine, kSerialKey, "CalibrationMode"));
}

TEST_F(SettingsStoreTest, CalibrationModeOfTheWrongTypeCountsAsMissing) {
    sim.PutString(kHkeyLocalMachine, kSerialKey, "CalibrationMode", "1");
    serial.CalibrationMode = 1;
    EXPECT_FALSE(serial.LoadCalibrationMode());
    EXPECT_EQ(serial.CalibrationMode, 1);
}

TEST_F(SettingsStoreTest, DoubleClickValuesLoadOnlyAsAWholeSet) {
    LoadBoth();
    const char* names[] = {"DoubleClickSpeed", "DoubleClickWidth", "DoubleClickHeight"};
    for (const char* missing : names) {
        SCOPED_TRACE(missing);
        for (const char* n : names) sim.PutDword(kHkeyLocalMachine, kSerialKey, n, 7);
        sim.RemoveValue(kHkeyLocalMachine, kSerialKey, missing);
        serial.DoubleClickSpeed = 1;
        serial.DoubleClickWidth = 2;
        serial.DoubleClickHeight = 3;
        EXPECT_FALSE(serial.LoadDoubleClickSettings());
        EXPECT_EQ(serial.DoubleClickSpeed, 1);
        EXPECT_EQ(serial.DoubleClickWidth, 2);
        EXPECT_EQ(serial.DoubleClickHeight, 3);
    }
    for (const char* n : names) sim.PutDword(kHkeyLocalMachine, kSerialKey, n, 0);
    sim.PutDword(kHkeyLocalMachine, kSerialKey, "DoubleClickSpeed", 900);
    sim.PutDword(kHkeyLocalMachine, kSerialKey, "DoubleClickHeight", 64);
    ASSERT_TRUE(serial.LoadDoubleClickSettings());
    EXPECT_EQ(serial.DoubleClickSpeed, 900);
    EXPECT_EQ(serial.DoubleClickWidth, 0);
    EXPECT_EQ(serial.DoubleClickHeight, 64);
}

TEST_F(SettingsStoreTest, DefaultDoubleClickValuesAreStoredByTheSave) {
    LoadBoth();
    EXPECT_FALSE(serial.LoadDoubleClickSettings());
    serial.UseDefaultDoubleClickSettings();
    ASSERT_TRUE(serial.SaveDoubleClickSettings());
    EXPECT_EQ(sim.ReadDword(kHkeyLocalMachine, kSerialKey, "DoubleClickSpeed"), 500u);
    EXPECT_EQ(sim.ReadDword(kHkeyLocalMachine, kSerialKey, "DoubleClickWidth"), 32u);
    EXPECT_EQ(sim.ReadDword(kHkeyLocalMachine, kSerialKey, "DoubleClickHeight"), 32u);
}

TEST_F(SettingsStoreTest, DoubleClickSaveTriesAllThreeAndFailsIfOneFails) {
    LoadBoth();
    sim.FailCall(Call::SetValue, kErrorAccessDenied, "DoubleClickWidth");
    serial.DoubleClickSpeed = 400;
    serial.DoubleClickWidth = 10;
    serial.DoubleClickHeight = 12;
    EXPECT_FALSE(serial.SaveDoubleClickSettings());
    EXPECT_EQ(sim.ReadDword(kHkeyLocalMachine, kSerialKey, "DoubleClickSpeed"), 400u);
    EXPECT_FALSE(sim.ReadValue(kHkeyLocalMachine, kSerialKey, "DoubleClickWidth"));
    EXPECT_EQ(sim.ReadDword(kHkeyLocalMachine, kSerialKey, "DoubleClickHeight"), 12u);
}

TEST_F(SettingsStoreTest, FinisherStringWritersStoreRegSzAndReportFailure) {
    PutProductData(kPs2Key);
    ASSERT_TRUE(ps2.LoadProductData());
    EXPECT_TRUE(ps2.SaveHardwareID("*PNP0F13"));
    EXPECT_TRUE(ps2.SaveVenderName(""));
    sim.FailCall(Call::SetValue, kErrorAccessDenied, "VenderStyle");
    EXPECT_FALSE(ps2.SaveVenderStyle("2,0,0,0,Arial,10"));

    EXPECT_EQ(sim.ReadValue(kHkeyLocalMachine, kPs2Key, "HardwareID")->bytes,
              std::string("*PNP0F13\0", 9));
    const auto name = sim.ReadValue(kHkeyLocalMachine, kPs2Key, "VenderName");
    EXPECT_EQ(name->type, kRegSz);
    EXPECT_EQ(name->bytes, std::string(1, '\0'));
    EXPECT_EQ(sim.ReadValue(kHkeyLocalMachine, kPs2Key, "VenderStyle")->bytes,
              std::string("1,0,0,255,Arial,12\0", 19));
    EXPECT_EQ(ps2.HardwareID, "*PNP0F13");
}

TEST_F(SettingsStoreTest, DwordSettingsAreWrittenInOrderThroughOneOpenKey) {
    LoadBoth();
    sim.FailCall(Call::SetValue, kErrorAccessDenied, "MouseSpeed");
    sim.ClearCalls();
    std::vector<std::string> failed;
    const std::vector<DwordSetting> values = {{"CalibrationMode", 1},
                                              {"RightButtonAutomatic", 16975105},
                                              {"MouseSpeed", 168428032},
                                              {"PanelDirection", 7}};
    ASSERT_TRUE(serial.SaveDwordSettings(values, [&](const std::string& n) {
        failed.push_back(n);
        // The failure is reported before the next value is written.
        EXPECT_FALSE(sim.ReadValue(kHkeyLocalMachine, kSerialKey, "PanelDirection"));
    }));
    EXPECT_EQ(failed, std::vector<std::string>{"MouseSpeed"});
    EXPECT_EQ(sim.ReadDword(kHkeyLocalMachine, kSerialKey, "CalibrationMode"), 1u);
    EXPECT_EQ(sim.ReadDword(kHkeyLocalMachine, kSerialKey, "RightButtonAutomatic"), 0x01030501u);
    EXPECT_EQ(sim.ReadDword(kHkeyLocalMachine, kSerialKey, "PanelDirection"), 7u);

    std::vector<std::string> written;
    int opens = 0;
    for (const auto& c : sim.Calls()) {
        if (c.call == Call::CreateKey) ++opens;
        if (c.call == Call::SetValue) written.push_back(c.target);
    }
    EXPECT_EQ(opens, 1);
    EXPECT_EQ(written, (std::vector<std::string>{"CalibrationMode", "RightButtonAutomatic",
                                                 "MouseSpeed", "PanelDirection"}));
}

TEST_F(SettingsStoreTest, ALocationGivenWithABackslashIsKeptClean) {
    sim.PutString(kHkeyLocalMachine, kSerialKey, "VenderName", "Vestamorel");
    serial.SetSettingsLocation(kHkeyLocalMachine, "SOFTWARE\\Vestamorel\\TouchScreen", "\\QM-COM");
    EXPECT_FALSE(serial.LoadVendorData());
    EXPECT_EQ(serial.VenderName, "Vestamorel");
    EXPECT_EQ(serial.SettingsSubKey, "QM-COM");
}

}  // namespace
}  // namespace qm
