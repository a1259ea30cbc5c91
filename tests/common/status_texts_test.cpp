#include "common/status_texts.h"

#include <gtest/gtest.h>

#include <string>

namespace qm {
namespace {

class StatusTexts : public ::testing::Test {
  protected:
    StatusTexts() { FillNameTables(tables); }
    NameTables tables;
};

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}
bool EndsWith(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

TEST_F(StatusTexts, TouchMode) {
    struct Case {
        int mode, rbf, autoMode;
        const char* text;
    };
    const Case cases[] = {
        {1, 0, 0, "Stream Mode, RBF Disable"},
        {1, 1, 1, "Stream Mode, RBF Enable"},
        {2, 1, 1, "Lift Off Mode, RBF Enable"},
        {3, 2, 0, "Touch Down Mode, RBF Enable"},  // any nonzero rbf is Enable
        {4, 1, 1, "Drag Drop Mode, RBF Enable ( Automatic Mode )"},
        {4, 1, 0, "Drag Drop Mode, RBF Enable ( Manual Mode )"},
        {4, 1, 2, "Drag Drop Mode, RBF Enable ( Manual Mode )"},
        {4, 0, 1, "Drag Drop Mode, RBF Disable"},
        {0, 1, 0, "Invalid#0,1,0"},
        {5, 0, 1, "Invalid#5,0,1"},
        {255, 255, 255, "Invalid#255,255,255"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TouchModeText(tables, c.mode, c.rbf, c.autoMode), c.text)
            << c.mode << "," << c.rbf << "," << c.autoMode;
    }
}

TEST_F(StatusTexts, NamedValuesAndInvalidOnes) {
    struct Case {
        std::string (*text)(const NameTables&, int);
        int value;
        const char* expected;
    };
    const Case cases[] = {
        {FeedbackSoundText, 1, "Silence ( No Sound )"},
        {FeedbackSoundText, 2, "Touch Down Only"},
        {FeedbackSoundText, 3, "Lift Off Only"},
        {FeedbackSoundText, 4, "Both Touch Down && Lift Off"},
        {FeedbackSoundText, 0, "Invalid#0"},
        {FeedbackSoundText, 5, "Invalid#5"},
        {FeedbackSoundText, 255, "Invalid#255"},
        {AccelerationText, 1, "Slow"},
        {AccelerationText, 2, "Medium"},
        {AccelerationText, 3, "Fast"},
        {AccelerationText, 4, "Off"},
        {AccelerationText, 0, "Invalid#0"},
        {AccelerationText, 5, "Invalid#5"},
        {BaudRateText, 1, "1200"},
        {BaudRateText, 4, "9600"},
        {BaudRateText, 5, "14400"},
        {BaudRateText, 10, "76800"},
        {BaudRateText, 11, "115200"},
        {BaudRateText, 0, "Invalid#0"},
        {BaudRateText, 12, "Invalid#12"},
        {BaudRateText, -1, "Invalid#-1"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.text(tables, c.value), c.expected) << c.value;
}

TEST_F(StatusTexts, SensitivityIsTheLevelBelow127) {
    EXPECT_EQ(SensitivityText(127), "Level 0");
    EXPECT_EQ(SensitivityText(0), "Level 127");
    EXPECT_EQ(SensitivityText(200), "Level -73");
    EXPECT_EQ(SensitivityText(255), "Level -128");
}

TEST_F(StatusTexts, MouseSpeed) {
    EXPECT_EQ(MouseSpeedText(tables, 10, 20, 2, 0), "HS=50%, VS=100%, Acceleration=Medium");
    EXPECT_EQ(MouseSpeedText(tables, 1, 1, 0, 0), "HS=5%, VS=5%, Acceleration=Invalid#0");
    EXPECT_EQ(MouseSpeedText(tables, 255, 0, 4, 0), "HS=1275%, VS=0%, Acceleration=Off");
    EXPECT_EQ(MouseSpeedText(tables, 10, 20, 2, 1), "Enable Bypass Mode");
    EXPECT_EQ(MouseSpeedText(tables, 10, 20, 9, 255), "Enable Bypass Mode");
}

TEST_F(StatusTexts, PowerDownAndDuration) {
    struct Case {
        int units;
        const char* text;
    };
    // The blanks matter: each number carries its sign blank, and " Min. " its trailing one.
    const Case cases[] = {
        {0, "Disable Power Down Function"},
        {3, "Power Down When Idle  30 Sec."},
        {6, "Power Down When Idle  1 Min. "},
        {9, "Power Down When Idle  1 Min.  30 Sec."},
        {12, "Power Down When Idle  2 Min. "},
        {30, "Power Down When Idle  5 Min. "},
        {255, "Power Down When Idle  42 Min.  30 Sec."},
    };
    for (const auto& c : cases) EXPECT_EQ(PowerDownText(c.units), c.text) << c.units;

    EXPECT_EQ(DurationText(0), "Disable");
    EXPECT_EQ(DurationText(1), " 1 Sec.");
    EXPECT_EQ(DurationText(59), " 59 Sec.");
    EXPECT_EQ(DurationText(61), " 1 Min.  1 Sec.");
    EXPECT_EQ(DurationText(-30), "-1 Min.  30 Sec.");  // minutes rounded down
}

TEST_F(StatusTexts, PortOfThePortTable) {
    struct Case {
        int n, base, code;
        const char* text;
    };
    const Case cases[] = {
        {1, 1016, 4, "COM1, BasePort=03F8h, IRQ=4"},
        {2, 0x2F8, 3, "COM2, BasePort=02F8h, IRQ=3"},
        {9, 0xFFFF, 255, "COM9, BasePort=FFFFh, IRQ=255"},  // a code is an IRQ when base is set
        {2, 0, 255, "COM2..Not Found."},
        {4, 0, 254, "COM4..Used by Other Device."},
        {3, 0, 7, "COM3..Unabled (code=7)"},
        {5, 0, 0, "COM5..Unabled (code=0)"},
        {6, 0, 253, "COM6..Unabled (code=253)"},
    };
    for (const auto& c : cases) EXPECT_EQ(PortText(c.n, c.base, c.code), c.text) << c.text;
}

TEST_F(StatusTexts, SerialPortLine) {
    EXPECT_EQ(SerialPortLineText(tables, 1, 1016, 4, 4), "COM1, Port=03F8, IRQ=4, (9600,N,8,1)");
    EXPECT_EQ(SerialPortLineText(tables, 2, 0x2F8, 3, 11),
              "COM2, Port=02F8, IRQ=3, (115200,N,8,1)");
    EXPECT_EQ(SerialPortLineText(tables, 9, 0xFFFF, 255, 1),
              "COM9, Port=FFFF, IRQ=255, (1200,N,8,1)");
    EXPECT_EQ(SerialPortLineText(tables, 1, 1016, 4, 0),
              "COM1, Port=03F8, IRQ=4, (Invalid#0,N,8,1)");
    EXPECT_EQ(SerialPortLineText(tables, 1, 1016, 4, 12),
              "COM1, Port=03F8, IRQ=4, (Invalid#12,N,8,1)");
}

TEST(StatusTextsUnfilled, EmptyNamesButNoReadOutsideATable) {
    const NameTables empty;
    EXPECT_EQ(TouchModeText(empty, 4, 1, 1), ", RBF Enable ( Automatic Mode )");
    EXPECT_EQ(FeedbackSoundText(empty, 4), "");
    EXPECT_EQ(AccelerationText(empty, 4), "");
    EXPECT_EQ(BaudRateText(empty, 11), "");
    EXPECT_EQ(FeedbackSoundText(empty, 5), "Invalid#5");
}

// Every text over every value a driver byte can hold: no crash (the sanitizers watch the
// reads), and each value lands on the branch it belongs to.
TEST_F(StatusTexts, EveryByteValue) {
    const NameTables empty;
    for (int b = 0; b <= 255; ++b) {
        SCOPED_TRACE(b);
        const bool named = b >= 1 && b <= 4;
        const std::string invalid = "Invalid#" + std::to_string(b);
        for (const NameTables* t : {static_cast<const NameTables*>(&tables), &empty}) {
            EXPECT_EQ(FeedbackSoundText(*t, b) == invalid, !named);
            EXPECT_EQ(AccelerationText(*t, b) == invalid, !named);
            EXPECT_EQ(BaudRateText(*t, b) == invalid, b < 1 || b > 11);
            EXPECT_TRUE(EndsWith(SerialPortLineText(*t, b, b * 257, b, b), ",N,8,1)"));
            for (int rbf : {0, 1, 2, 255}) {
                for (int autoMode = 0; autoMode <= 255; ++autoMode) {
                    const std::string text = TouchModeText(*t, b, rbf, autoMode);
                    if (!named) {
                        ASSERT_TRUE(StartsWith(text, "Invalid#")) << text;
                    } else if (rbf == 0) {
                        ASSERT_TRUE(EndsWith(text, ", RBF Disable")) << text;
                    } else if (b == 4) {
                        ASSERT_TRUE(EndsWith(
                            text, autoMode == 1 ? " ( Automatic Mode )" : " ( Manual Mode )"))
                            << text;
                    } else {
                        ASSERT_TRUE(EndsWith(text, ", RBF Enable")) << text;
                    }
                }
            }
            for (int accel = 0; accel <= 255; accel += 51) {
                EXPECT_EQ(MouseSpeedText(*t, b, b, accel, b) == "Enable Bypass Mode", b != 0);
            }
        }
        EXPECT_EQ(SensitivityText(b), "Level " + std::to_string(127 - b));
        const std::string power = PowerDownText(b);
        if (b == 0) {
            EXPECT_EQ(power, "Disable Power Down Function");
        } else {
            EXPECT_TRUE(StartsWith(power, "Power Down When Idle  "));
            EXPECT_EQ(EndsWith(power, " Sec."), b * 10 % 60 != 0) << power;
            EXPECT_EQ(power.find(" Min. ") != std::string::npos, b >= 6) << power;
        }
        for (int n = 1; n <= 9; ++n) {
            EXPECT_TRUE(StartsWith(PortText(n, 0, b), "COM" + std::to_string(n) + ".."));
            EXPECT_TRUE(EndsWith(PortText(n, b * 257 + 1, b), "h, IRQ=" + std::to_string(b)));
        }
    }
}

}  // namespace
}  // namespace qm
