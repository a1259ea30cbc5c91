#include "common/registry.h"

#include <gtest/gtest.h>

#include <optional>

#include "sim/sim_registry.h"

namespace qm {
namespace {

using Call = SimRegistry::Call;

const std::string kPath = "SOFTWARE\\Vestamorel\\TouchScreen\\QM-COM";

std::string Bytes(const char* s, std::size_t n) { return std::string(s, n); }

class RegistryTest : public ::testing::Test {
  protected:
    RegKey OpenTestKey() {
        RegKey key = 0;
        EXPECT_TRUE(reg.OpenExistingKey(kHkeyLocalMachine, kPath, key));
        return key;
    }

    std::vector<SimRegistry::CallRecord> CallsOf(Call call) const {
        std::vector<SimRegistry::CallRecord> out;
        for (const auto& c : sim.Calls())
            if (c.call == call) out.push_back(c);
        return out;
    }

    void TearDown() override {
        EXPECT_EQ(sim.OpenHandleCount(), 0u)
            << "still open: " << ::testing::PrintToString(sim.OpenHandlePaths());
    }

    SimRegistry sim;
    Registry reg{sim};
};

struct StoredValue {
    const char* label;
    std::optional<std::uint32_t> type;  // none: the value does not exist
    std::string bytes;
};

TEST_F(RegistryTest, GetStringTakesOnlyRegSzAndCutsAtTheFirstNul) {
    struct Case {
        StoredValue stored;
        std::optional<std::string> expected;  // none: false, out untouched
    };
    const Case cases[] = {
        {{"terminated text", kRegSz, Bytes("Vestamorel\0", 11)}, "Vestamorel"},
        {{"garbage after the NUL", kRegSz, Bytes("abc\0x\x01yz\0", 9)}, "abc"},
        {{"no terminating NUL", kRegSz, "abc"}, "abc"},
        {{"only the NUL", kRegSz, Bytes("\0", 1)}, ""},
        {{"zero-size REG_SZ", kRegSz, ""}, ""},
        {{"ANSI beyond ASCII", kRegSz, Bytes("caf\xE9\0", 5)}, "caf\xE9"},
        {{"REG_EXPAND_SZ", kRegExpandSz, Bytes("%SystemRoot%\0", 13)}, std::nullopt},
        {{"REG_BINARY text", kRegBinary, Bytes("abc\0", 4)}, std::nullopt},
        {{"REG_DWORD", kRegDword, Bytes("\x01\0\0\0", 4)}, std::nullopt},
        {{"REG_MULTI_SZ", 7u, Bytes("a\0b\0\0", 5)}, std::nullopt},
        {{"missing value", std::nullopt, ""}, std::nullopt},
    };
    sim.PutKey(kHkeyLocalMachine, kPath);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored.label);
        sim.RemoveValue(kHkeyLocalMachine, kPath, "V");
        if (c.stored.type)
            sim.PutValue(kHkeyLocalMachine, kPath, "V", *c.stored.type, c.stored.bytes);
        RegKey key = OpenTestKey();
        sim.ClearCalls();
        std::string out = "untouched";
        EXPECT_EQ(reg.GetString(key, "V", out), c.expected.has_value());
        EXPECT_EQ(out, c.expected.value_or("untouched"));
        if (c.expected) {
            // A size probe without a buffer, then a read with exactly the probed size.
            const auto queries = CallsOf(Call::QueryValue);
            ASSERT_EQ(queries.size(), 2u);
            EXPECT_FALSE(queries[0].withData);
            EXPECT_TRUE(queries[1].withData);
            EXPECT_EQ(queries[1].size, c.stored.bytes.size());
        }
        reg.CloseKey(key);
    }
}

TEST_F(RegistryTest, GetDwordTakesOnlyAFourByteRegDword) {
    struct Case {
        StoredValue stored;
        std::optional<std::int32_t> expected;
    };
    const Case cases[] = {
        {{"one", kRegDword, Bytes("\x01\0\0\0", 4)}, 1},
        {{"little-endian order", kRegDword, "\x78\x56\x34\x12"}, 0x12345678},
        {{"all bits set is -1", kRegDword, "\xFF\xFF\xFF\xFF"}, -1},
        {{"REG_BINARY of four bytes", kRegBinary, Bytes("\x01\0\0\0", 4)}, std::nullopt},
        {{"REG_DWORD_BIG_ENDIAN", 5u, Bytes("\0\0\0\x01", 4)}, std::nullopt},
        {{"eight-byte REG_DWORD", kRegDword, Bytes("\x01\0\0\0\0\0\0\0", 8)}, std::nullopt},
        {{"two-byte REG_DWORD", kRegDword, Bytes("\x01\0", 2)}, std::nullopt},
        {{"empty REG_DWORD", kRegDword, ""}, std::nullopt},
        {{"number as text", kRegSz, Bytes("1\0", 2)}, std::nullopt},
        {{"missing value", std::nullopt, ""}, std::nullopt},
    };
    sim.PutKey(kHkeyLocalMachine, kPath);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored.label);
        sim.RemoveValue(kHkeyLocalMachine, kPath, "N");
        if (c.stored.type)
            sim.PutValue(kHkeyLocalMachine, kPath, "N", *c.stored.type, c.stored.bytes);
        RegKey key = OpenTestKey();
        std::int32_t out = 4242;
        EXPECT_EQ(reg.GetDword(key, "N", out), c.expected.has_value());
        EXPECT_EQ(out, c.expected.value_or(4242));
        reg.CloseKey(key);
    }
}

TEST_F(RegistryTest, SetStringStoresTheTextWithItsNulAndReadsBackTheSame) {
    const std::string cases[] = {"", "QM-COM", "C:\\Program Files\\Touch", "caf\xE9",
                                 std::string(64 * 1024, 'x')};
    sim.PutKey(kHkeyLocalMachine, kPath);
    RegKey key = OpenTestKey();
    for (const auto& text : cases) {
        SCOPED_TRACE("length " + std::to_string(text.size()));
        ASSERT_TRUE(reg.SetString(key, "S", text));
        const auto stored = sim.ReadValue(kHkeyLocalMachine, kPath, "S");
        ASSERT_TRUE(stored);
        EXPECT_EQ(stored->type, kRegSz);
        EXPECT_EQ(stored->bytes, text + std::string(1, '\0'));
        std::string back;
        EXPECT_TRUE(reg.GetString(key, "S", back));
        EXPECT_EQ(back, text);
    }
    reg.CloseKey(key);
}

TEST_F(RegistryTest, SetStringOnAZeroHandleFailsWithoutACall) {
    EXPECT_FALSE(reg.SetString(0, "VenderName", "x"));
    EXPECT_TRUE(sim.Calls().empty());
}

TEST_F(RegistryTest, SetDwordStoresFourLittleEndianBytes) {
    const struct {
        std::int32_t value;
        std::string bytes;
    } cases[] = {
        {0, Bytes("\0\0\0\0", 4)},
        {16975105, "\x01\x05\x03\x01"},
        {-1, "\xFF\xFF\xFF\xFF"},
        {INT32_MIN, Bytes("\0\0\0\x80", 4)},
    };
    sim.PutKey(kHkeyLocalMachine, kPath);
    RegKey key = OpenTestKey();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        ASSERT_TRUE(reg.SetDword(key, "D", c.value));
        const auto stored = sim.ReadValue(kHkeyLocalMachine, kPath, "D");
        ASSERT_TRUE(stored);
        EXPECT_EQ(stored->type, kRegDword);
        EXPECT_EQ(stored->bytes, c.bytes);
        std::int32_t back = 0;
        EXPECT_TRUE(reg.GetDword(key, "D", back));
        EXPECT_EQ(back, c.value);
    }
    reg.CloseKey(key);
}

TEST_F(RegistryTest, WritesThatTheRegistryRefusesReportFalse) {
    sim.PutKey(kHkeyLocalMachine, kPath);
    sim.FailCall(Call::SetValue, kErrorAccessDenied);
    RegKey key = OpenTestKey();
    EXPECT_FALSE(reg.SetString(key, "S", "x"));
    EXPECT_FALSE(reg.SetDword(key, "D", 1));
    EXPECT_TRUE(sim.ValueNames(kHkeyLocalMachine, kPath).empty());
    reg.CloseKey(key);
}

TEST_F(RegistryTest, OpenKeyDropsOneLeadingBackslashFromTheCallersSubkey) {
    sim.PutString(kHkeyLocalMachine, kPath, "VenderName", "Vestamorel");
    std::string subkey = "\\QM-COM";
    RegKey key = 0;
    ASSERT_TRUE(reg.OpenKey(kHkeyLocalMachine, "SOFTWARE\\Vestamorel\\TouchScreen", subkey, key));
    EXPECT_EQ(subkey, "QM-COM");
    ASSERT_FALSE(sim.Calls().empty());
    EXPECT_EQ(sim.Calls().back().target, kPath);
    std::string name;
    EXPECT_TRUE(reg.GetString(key, "VenderName", name));
    EXPECT_EQ(name, "Vestamorel");
    EXPECT_TRUE(reg.CloseKey(key));
}

TEST_F(RegistryTest, OpenKeyWithAnEmptySubkeyOpensTheKeyPathAlone) {
    std::string subkey;
    RegKey key = 0;
    ASSERT_TRUE(reg.OpenKey(kHkeyCurrentUser, "Control Panel\\Mouse", subkey, key));
    EXPECT_EQ(sim.Calls().back().target, "Control Panel\\Mouse");
    EXPECT_TRUE(sim.HasKey(kHkeyCurrentUser, "Control Panel\\Mouse"));
    reg.CloseKey(key);
}

TEST_F(RegistryTest, OpenKeyWithAnEmptyKeyPathDoesNothing) {
    for (const char* given : {"QM-COM", "\\QM-COM", ""}) {
        SCOPED_TRACE(given);
        std::string subkey = given;
        RegKey key = 77;
        EXPECT_FALSE(reg.OpenKey(kHkeyLocalMachine, "", subkey, key));
        EXPECT_EQ(subkey, given);
        EXPECT_TRUE(sim.Calls().empty());
        EXPECT_FALSE(sim.HasKey(kHkeyLocalMachine, "QM-COM"));
    }
}

TEST_F(RegistryTest, OpenKeyCreatesTheMissingPathAndFindsItInAnyCase) {
    std::string subkey = "QM-PS2";
    RegKey key = 0;
    ASSERT_TRUE(reg.OpenKey(kHkeyLocalMachine, "SOFTWARE\\Vestamorel\\TouchScreen", subkey, key));
    EXPECT_TRUE(reg.SetString(key, "HardwareID", "*PNP0F03"));
    reg.CloseKey(key);

    subkey = "qm-ps2";
    ASSERT_TRUE(reg.OpenKey(kHkeyLocalMachine, "software\\VESTAMOREL\\touchscreen", subkey, key));
    std::string id;
    EXPECT_TRUE(reg.GetString(key, "hardwareid", id));
    EXPECT_EQ(id, "*PNP0F03");
    reg.CloseKey(key);
}

TEST_F(RegistryTest, FailedOpensReportFalseAndNoHandle) {
    sim.FailCall(Call::CreateKey, kErrorAccessDenied);
    std::string subkey = "QM-COM";
    RegKey key = 99;
    EXPECT_FALSE(reg.OpenKey(kHkeyLocalMachine, "SOFTWARE", subkey, key));
    EXPECT_EQ(key, 0u);

    // Opening an existing key never creates it.
    key = 99;
    EXPECT_FALSE(reg.OpenExistingKey(kHkeyLocalMachine,
                                     "System\\CurrentControlSet\\Services\\i8042prt\\Enum", key));
    EXPECT_EQ(key, 0u);
    EXPECT_FALSE(sim.HasKey(kHkeyLocalMachine, "System"));
}

TEST_F(RegistryTest, CloseKeyReportsAHandleThatIsNotOpen) {
    sim.PutKey(kHkeyLocalMachine, kPath);
    RegKey key = OpenTestKey();
    EXPECT_TRUE(reg.CloseKey(key));
    EXPECT_FALSE(reg.CloseKey(key));
}

// A port whose size probe reports more than the value holds, as the ANSI query may do for
// text converted from the registry's own encoding.
class OverReportingPort final : public RegistryPort {
  public:
    explicit OverReportingPort(RegistryPort& inner) : inner_(inner) {}
    std::int32_t CreateKey(RegKey root, const std::string& path, RegKey* out) override {
        return inner_.CreateKey(root, path, out);
    }
    std::int32_t OpenKey(RegKey root, const std::string& path, RegKey* out) override {
        return inner_.OpenKey(root, path, out);
    }
    std::int32_t QueryValue(RegKey key, const std::string& name, std::uint32_t* type, void* data,
                            std::uint32_t* size) override {
        const std::int32_t rc = inner_.QueryValue(key, name, type, data, size);
        if (rc == kErrorSuccess && !data && size) *size *= 2;
        return rc;
    }
    std::int32_t SetValue(RegKey key, const std::string& name, std::uint32_t type, const void* data,
                          std::uint32_t size) override {
        return inner_.SetValue(key, name, type, data, size);
    }
    std::int32_t CloseKey(RegKey key) override { return inner_.CloseKey(key); }

  private:
    RegistryPort& inner_;
};

TEST_F(RegistryTest, GetStringKeepsNoPaddingWhenTheProbeOverstatesTheSize) {
    sim.PutValue(kHkeyLocalMachine, kPath, "Unterminated", kRegSz, "abc");
    sim.PutString(kHkeyLocalMachine, kPath, "Terminated", "abc");
    OverReportingPort port(sim);
    Registry over(port);
    RegKey key = 0;
    ASSERT_TRUE(over.OpenExistingKey(kHkeyLocalMachine, kPath, key));
    for (const char* name : {"Unterminated", "Terminated"}) {
        std::string out;
        EXPECT_TRUE(over.GetString(key, name, out)) << name;
        EXPECT_EQ(out, "abc") << name;
    }
    over.CloseKey(key);
}

TEST(TrimAtNul, CutsBeforeTheFirstNul) {
    const struct {
        std::string in, out;
    } cases[] = {
        {"", ""},
        {"abc", "abc"},
        {Bytes("abc\0def", 7), "abc"},
        {Bytes("\0abc", 4), ""},
        {Bytes("ab\0\0", 4), "ab"},
    };
    for (const auto& c : cases) EXPECT_EQ(TrimAtNul(c.in), c.out) << ::testing::PrintToString(c.in);
}

}  // namespace
}  // namespace qm
