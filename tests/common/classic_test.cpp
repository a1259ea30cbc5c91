#include "common/classic.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace qm {
namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

TEST(NumberTexts, PlainAndWithSignBlank) {
    struct Case {
        std::int64_t value;
        const char* plain;
        const char* signBlank;
    };
    const Case cases[] = {
        {0, "0", " 0"},    {5, "5", " 5"},      {-5, "-5", "-5"},
        {30, "30", " 30"}, {-73, "-73", "-73"}, {1275, "1275", " 1275"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NumberText(c.value), c.plain) << c.value;
        EXPECT_EQ(SignBlankText(c.value), c.signBlank) << c.value;
    }
}

TEST(LeadingNumber, ReadsTheLeadingWholeNumber) {
    struct Case {
        const char* text;
        std::int32_t value;
    };
    const Case cases[] = {
        {"12", 12},
        {"07", 7},
        {"00", 0},
        {"1A", 1},
        {"  ", 0},
        {"", 0},
        {" 5", 5},
        {"\t\r\n3", 3},
        {"5 ", 5},
        {"-1", -1},
        {"+7", 7},
        {"-", 0},
        {"- 5", 0},
        {"1 2", 1},
        {".5", 0},
        {"1.9", 1},
        {"1E2", 1},
        {"A1", 0},
        {"&H10", 0},
        {"--1", 0},
        {"2147483647", kMax},
        {"2147483648", kMax},
        {"99999999999999999999", kMax},
        {"-2147483648", kMin},
        {"-99999999999999999999", kMin},
    };
    for (const auto& c : cases) EXPECT_EQ(LeadingNumber(c.text), c.value) << '"' << c.text << '"';
}

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
    struct Case {
        double value;
        std::int32_t rounded;
    };
    const Case cases[] = {
        {0.0, 0},
        {0.5, 0},
        {1.5, 2},
        {2.5, 2},
        {3.5, 4},
        {-0.5, 0},
        {-1.5, -2},
        {-2.5, -2},
        {-3.5, -4},
        {2.4999999, 2},
        {2.5000001, 3},
        {-2.5000001, -3},
        {1023.7, 1024},
        {8695.5, 8696},
        {8694.5, 8694},
        {2147483646.5, 2147483646},
        {1e300, kMax},
        {-1e300, kMin},
        {std::numeric_limits<double>::infinity(), kMax},
        {-std::numeric_limits<double>::infinity(), kMin},
        {std::nan(""), 0},
    };
    for (const auto& c : cases) EXPECT_EQ(RoundHalfEven(c.value), c.rounded) << c.value;
}

TEST(Hex, UpperCaseDigitsAndFixedWidths) {
    struct Case {
        std::int64_t value;
        const char* hex2;
        const char* hex4;
    };
    const Case cases[] = {
        {0, "00", "0000"},      {10, "0A", "000A"},     {255, "FF", "00FF"},
        {1016, "F8", "03F8"},   {0x2F8, "F8", "02F8"},  {0x7FFF, "FF", "7FFF"},
        {0x8000, "00", "8000"}, {0xFFFF, "FF", "FFFF"}, {0x12345, "45", "2345"},
        {-1, "FF", "FFFF"},     {-2, "FE", "FFFE"},     {-32768, "00", "8000"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Hex2(c.value), c.hex2) << c.value;
        EXPECT_EQ(Hex4(c.value), c.hex4) << c.value;
    }
    EXPECT_EQ(HexText(0), "0");
    EXPECT_EQ(HexText(1016), "3F8");
    EXPECT_EQ(HexText(0xABCDEF01u), "ABCDEF01");
}

}  // namespace
}  // namespace qm
