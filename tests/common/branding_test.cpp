#include "common/branding.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/sim_files.h"

namespace qm {
namespace {

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kNavy{0, 0, 128};
constexpr Rgb kGreen{0, 128, 0};
constexpr Rgb kRed{128, 0, 0};
constexpr Rgb kLightYellow{255, 255, 0};
constexpr Rgb kBrightWhite{255, 255, 255};

TEST(Palette, SixteenColoursAndNothingOutside) {
    const Rgb palette[16] = {
        {0, 0, 0},       {0, 0, 128},   {0, 128, 0},   {0, 128, 128},
        {128, 0, 0},     {128, 0, 128}, {128, 128, 0}, {192, 192, 192},
        {128, 128, 128}, {0, 0, 255},   {0, 255, 0},   {0, 255, 255},
        {255, 0, 0},     {255, 0, 255}, {255, 255, 0}, {255, 255, 255},
    };
    for (int i = 0; i < 16; ++i) EXPECT_EQ(PaletteColor(i), palette[i]) << i;
    for (int i : {-1, -16, 16, 99}) EXPECT_FALSE(PaletteColor(i).has_value()) << i;
}

TEST(TitleStyle, ParsesEachPosition) {
    struct Case {
        const char* style;
        TitleStyle expected;
    };
    const Case cases[] = {
        {"10120204", {"Times New Roman", false, false, 12, kGreen, kRed}},
        {"23001415", {"Arial", true, true, std::nullopt, kLightYellow, kBrightWhite}},
        {"31120204", {std::nullopt, true, false, 12, kGreen, kRed}},  // "3": design font kept
        {"02080000",
         {std::nullopt, false, true, 8, kBlack, kBlack}},  // index 0 is black, not unset
        {"1A1A1A1A", {"Times New Roman", false, false, 1, kNavy, kNavy}},
        {"19 5 1 2", {"Times New Roman", false, false, 5, kNavy, kGreen}},
        {"14  0000", {"Times New Roman", false, false, std::nullopt, kBlack, kBlack}},
        {"10-50204", {"Times New Roman", false, false, std::nullopt, kGreen, kRed}},
        {"101216-1", {"Times New Roman", false, false, 12, std::nullopt, std::nullopt}},
        {"10129999", {"Times New Roman", false, false, 12, std::nullopt, std::nullopt}},
        {"1012020499", {"Times New Roman", false, false, 12, kGreen, kRed}},  // extra ignored
        {"        ", {std::nullopt, false, false, std::nullopt, kBlack, kBlack}},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseTitleStyle(c.style), c.expected) << c.style;
}

TEST(TitleStyle, SevenCharactersOrFewerChangeNothing) {
    for (const char* style : {"", "1012", "1012020"}) {
        EXPECT_EQ(ParseTitleStyle(style), TitleStyle{}) << style;
    }
}

class RecordingTarget final : public TitleStyleTarget {
  public:
    std::vector<std::string> calls;
    void SetTitleFontName(const std::string& name) override { calls.push_back("font " + name); }
    void SetTitleBold(bool b) override { calls.push_back(b ? "bold" : "not bold"); }
    void SetTitleItalic(bool i) override { calls.push_back(i ? "italic" : "not italic"); }
    void SetTitleFontSize(int points) override {
        calls.push_back("size " + std::to_string(points));
    }
    void SetTitleColor(Rgb c) override { calls.push_back("title " + Text(c)); }
    void SetSystemColor(Rgb c) override { calls.push_back("system " + Text(c)); }

  private:
    static std::string Text(Rgb c) {
        return std::to_string(c.red) + "," + std::to_string(c.green) + "," + std::to_string(c.blue);
    }
};

TEST(TitleStyle, AppliedInTheFixedOrder) {
    RecordingTarget full;
    ApplyTitleStyle(ParseTitleStyle("10120204"), full);
    EXPECT_EQ(full.calls,
              (std::vector<std::string>{"font Times New Roman", "not bold", "not italic", "size 12",
                                        "title 0,128,0", "system 128,0,0"}));

    RecordingTarget partial;  // design font and size kept, bad system colour left alone
    ApplyTitleStyle(ParseTitleStyle("53001499"), partial);
    EXPECT_EQ(partial.calls, (std::vector<std::string>{"bold", "italic", "title 255,255,0"}));

    RecordingTarget shortStyle;
    ApplyTitleStyle(ParseTitleStyle("1012"), shortStyle);
    EXPECT_TRUE(shortStyle.calls.empty());
}

TEST(BrandingPlan, LogoReplacesTheVendorTitleEverywhere) {
    const ControlPosition system{0, 40};

    BrandingPlan main = PlanMainBranding(true, "C:\\Touch", "Vendor Inc.", "10120204", system);
    EXPECT_FALSE(main.titleVisible);
    EXPECT_FALSE(main.titleCaption.has_value());
    EXPECT_EQ(main.titleStyle, TitleStyle{});
    EXPECT_EQ(main.systemPosition, (ControlPosition{2, 38}));
    EXPECT_EQ(main.logoFile, "C:\\Touch\\QMLogo.Bmp");
    EXPECT_FALSE(main.logoFromMainWindow);

    BrandingPlan dialog = PlanDialogBranding(true, "Vendor Inc.", "10120204", {7, 13});
    EXPECT_FALSE(dialog.titleVisible);
    EXPECT_FALSE(dialog.titleCaption.has_value());
    EXPECT_EQ(dialog.titleStyle, TitleStyle{});
    EXPECT_EQ(dialog.systemPosition, (ControlPosition{2, 11}));
    EXPECT_FALSE(dialog.logoFile.has_value());  // the main window's picture, no second read
    EXPECT_TRUE(dialog.logoFromMainWindow);
}

TEST(BrandingPlan, WithoutLogoTheStyledVendorName) {
    BrandingPlan main = PlanMainBranding(false, "C:\\Touch", "Vendor Inc.", "23001415", {0, 40});
    EXPECT_TRUE(main.titleVisible);
    EXPECT_EQ(main.titleCaption, "Vendor Inc.");
    EXPECT_EQ(main.titleStyle, ParseTitleStyle("23001415"));
    EXPECT_FALSE(main.systemPosition.has_value());
    EXPECT_FALSE(main.logoFile.has_value());

    BrandingPlan dialog = PlanDialogBranding(false, "Main Title", "1012", {0, 40});
    EXPECT_TRUE(dialog.titleVisible);
    EXPECT_EQ(dialog.titleCaption, "Main Title");
    EXPECT_EQ(dialog.titleStyle, TitleStyle{});
    EXPECT_FALSE(dialog.systemPosition.has_value());
    EXPECT_FALSE(dialog.logoFromMainWindow);
}

TEST(BrandingPlan, LogoIsDetectedInTheInstallFolder) {
    sim::SimFiles files;
    EXPECT_FALSE(DetectLogo(files, "C:\\Touch"));
    files.AddFile("c:\\touch\\qmlogo.bmp");
    EXPECT_TRUE(DetectLogo(files, "C:\\Touch"));
    EXPECT_EQ(files.Opens().back(), "C:\\Touch\\QMLogo.Bmp");
    files.Remove("C:\\Touch\\QMLogo.Bmp");
    files.AddFolder("C:\\Touch\\QMLogo.Bmp");
    EXPECT_FALSE(DetectLogo(files, "C:\\Touch"));
}

TEST(CenterForm, CentredInTheUpper85Percent) {
    struct Case {
        double screenW, screenH, windowW, windowH;
        FormPosition expected;
    };
    const Case cases[] = {
        // 1024 x 768 at 15 twips per pixel; odd window sizes halve by truncation.
        {15360, 11520, 6795, 5700, {4283, 2046}},
        // 10230 x 0.85 = 8695.5 is rounded (to 8696) before it is halved, not cut to 8695.
        {15360, 10230, 6000, 4000, {4680, 2348}},
        // The window sizes are rounded half to even too: 1001.5 -> 1002, 999.4 -> 999.
        {12000, 9000, 1001.5, 999.4, {5499, 3326}},
        // A window larger than the screen goes off the left and top edges.
        {6000, 4000, 9001, 5001, {-1500, -800}},
        // Halving truncates toward zero for a negative size too (-3 / 2 = -1).
        {0, 0, -3, -3, {1, 1}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CenterFormPosition(c.screenW, c.screenH, c.windowW, c.windowH), c.expected)
            << c.screenW << "x" << c.screenH << " " << c.windowW << "x" << c.windowH;
    }
}

TEST(CenterIcon, HalfTheSpareRoomWithoutRounding) {
    EXPECT_EQ(CenterIconPosition(52, 52, 32, 32), (ControlPosition{10, 10}));
    EXPECT_EQ(CenterIconPosition(51, 40, 32, 33), (ControlPosition{9.5, 3.5}));
    EXPECT_EQ(CenterIconPosition(20, 20, 32, 32), (ControlPosition{-6, -6}));
}

}  // namespace
}  // namespace qm
