#include "common/branding.h"

#include <array>

#include "common/classic.h"
#include "common/file_exists.h"

namespace qm {

namespace {

constexpr std::array<Rgb, 16> kPalette{{
    {0, 0, 0},
    {0, 0, 128},
    {0, 128, 0},
    {0, 128, 128},
    {128, 0, 0},
    {128, 0, 128},
    {128, 128, 0},
    {192, 192, 192},
    {128, 128, 128},
    {0, 0, 255},
    {0, 255, 0},
    {0, 255, 255},
    {255, 0, 0},
    {255, 0, 255},
    {255, 255, 0},
    {255, 255, 255},
}};

// Positions are counted from 1, as the style string is described.
std::string_view Field(std::string_view style, std::size_t position, std::size_t length) {
    return style.substr(position - 1, length);
}

}  // namespace

std::optional<Rgb> PaletteColor(int index) {
    if (index < 0 || index >= static_cast<int>(kPalette.size())) return std::nullopt;
    return kPalette[static_cast<std::size_t>(index)];
}

TitleStyle ParseTitleStyle(std::string_view venderStyle) {
    TitleStyle style;
    if (venderStyle.size() <= 7) return style;

    const std::string_view font = Field(venderStyle, 1, 1);
    if (font == "1") style.fontName = "Times New Roman";
    if (font == "2") style.fontName = "Arial";

    const int face = LeadingNumber(Field(venderStyle, 2, 1));
    style.bold = face == 1 || face == 3;
    style.italic = face == 2 || face == 3;

    const int size = LeadingNumber(Field(venderStyle, 3, 2));
    if (size > 0) style.fontSize = size;

    style.titleColor = PaletteColor(LeadingNumber(Field(venderStyle, 5, 2)));
    style.systemColor = PaletteColor(LeadingNumber(Field(venderStyle, 7, 2)));
    return style;
}

void ApplyTitleStyle(const TitleStyle& style, TitleStyleTarget& target) {
    if (style.fontName) target.SetTitleFontName(*style.fontName);
    if (style.bold) target.SetTitleBold(*style.bold);
    if (style.italic) target.SetTitleItalic(*style.italic);
    if (style.fontSize) target.SetTitleFontSize(*style.fontSize);
    if (style.titleColor) target.SetTitleColor(*style.titleColor);
    if (style.systemColor) target.SetSystemColor(*style.systemColor);
}

std::string LogoPath(const std::string& installPath) { return installPath + "\\QMLogo.Bmp"; }

bool DetectLogo(Files& files, const std::string& installPath) {
    return FileExists(files, LogoPath(installPath));
}

namespace {

// The header with a logo: the title label goes, the system line moves up to the corner.
BrandingPlan LogoPlan(ControlPosition systemLabel) {
    BrandingPlan plan;
    plan.titleVisible = false;
    plan.systemPosition = ControlPosition{2, systemLabel.top - 2};
    return plan;
}

}  // namespace

BrandingPlan PlanMainBranding(bool logoPresent, const std::string& installPath,
                              const std::string& venderName, std::string_view venderStyle,
                              ControlPosition systemLabel) {
    if (logoPresent) {
        BrandingPlan plan = LogoPlan(systemLabel);
        plan.logoFile = LogoPath(installPath);
        return plan;
    }
    BrandingPlan plan;
    plan.titleCaption = venderName;
    plan.titleStyle = ParseTitleStyle(venderStyle);
    return plan;
}

BrandingPlan PlanDialogBranding(bool logoPresent, const std::string& mainTitleCaption,
                                std::string_view venderStyle, ControlPosition systemLabel) {
    if (logoPresent) {
        BrandingPlan plan = LogoPlan(systemLabel);
        plan.logoFromMainWindow = true;
        return plan;
    }
    BrandingPlan plan;
    plan.titleCaption = mainTitleCaption;
    plan.titleStyle = ParseTitleStyle(venderStyle);
    return plan;
}

FormPosition CenterFormPosition(double screenWidth, double screenHeight, double windowWidth,
                                double windowHeight) {
    // Halved separately before subtracting, so a saturated size still cannot overflow.
    FormPosition pos;
    pos.top = RoundHalfEven(screenHeight * 0.85) / 2 - RoundHalfEven(windowHeight) / 2;
    pos.left = RoundHalfEven(screenWidth) / 2 - RoundHalfEven(windowWidth) / 2;
    return pos;
}

ControlPosition CenterIconPosition(double innerWidth, double innerHeight, double imageWidth,
                                   double imageHeight) {
    return ControlPosition{(innerWidth - imageWidth) / 2, (innerHeight - imageHeight) / 2};
}

}  // namespace qm
