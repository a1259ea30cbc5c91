// OEM branding rules and window placement arithmetic, as portable decisions.
//
// A window is branded either by the logo bitmap in the install folder or, without a logo,
// by the vendor name styled by the short `VenderStyle` string. The functions here decide
// what each header control gets; the window code only applies the result.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qm {

class Files;

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    bool operator==(const Rgb&) const = default;
};

// The classic 16-colour palette; an index outside 0..15 (negative included) has no colour.
std::optional<Rgb> PaletteColor(int index);

// What a `VenderStyle` string asks of the title and system labels. A style of 7 characters
// or fewer asks nothing: every field is empty. Otherwise bold and italic are always set
// (possibly to false) and the other fields only when the style gives a usable value.
// The window applies the fields in declaration order, which is the fixed order.
struct TitleStyle {
    std::optional<std::string> fontName;  // position 1: "1" Times New Roman, "2" Arial
    std::optional<bool> bold;             // position 2: 1 or 3
    std::optional<bool> italic;           // position 2: 2 or 3
    std::optional<int> fontSize;          // positions 3-4, only when greater than 0
    std::optional<Rgb> titleColor;        // positions 5-6, palette index
    std::optional<Rgb> systemColor;       // positions 7-8, palette index
    bool operator==(const TitleStyle&) const = default;
};

// Fields are read with the leading-number parse ("1A" gives 1, "  " gives 0). A palette
// index outside 0..15, or negative ("-1"), leaves that colour unchanged rather than
// failing the whole style.
TitleStyle ParseTitleStyle(std::string_view venderStyle);

// The label operations a window offers for the title style.
class TitleStyleTarget {
  public:
    virtual ~TitleStyleTarget() = default;
    virtual void SetTitleFontName(const std::string& name) = 0;
    virtual void SetTitleBold(bool bold) = 0;
    virtual void SetTitleItalic(bool italic) = 0;
    virtual void SetTitleFontSize(int points) = 0;
    virtual void SetTitleColor(Rgb color) = 0;
    virtual void SetSystemColor(Rgb color) = 0;
};

// Applies the style's set fields in the fixed order: font name, bold, italic, size, title
// colour, system-line colour.
void ApplyTitleStyle(const TitleStyle& style, TitleStyleTarget& target);

// A control's left and top in its container's scale (pixels inside `picLogo`).
struct ControlPosition {
    double left = 0;
    double top = 0;
    bool operator==(const ControlPosition&) const = default;
};

// What one window's header gets.
struct BrandingPlan {
    bool titleVisible = true;                       // false hides lblOemTitle
    std::optional<std::string> titleCaption;        // new lblOemTitle caption, if any
    TitleStyle titleStyle;                          // applied when no logo (else empty)
    std::optional<ControlPosition> systemPosition;  // new lblSystem position, if moved
    std::optional<std::string> logoFile;            // main window: load this file into picLogo
    bool logoFromMainWindow = false;                // dialog: take the main window's picture
    bool operator==(const BrandingPlan&) const = default;
};

// InstallPath + "\QMLogo.Bmp".
std::string LogoPath(const std::string& installPath);

// Whether the logo file exists (the program-wide `LogoPresent`).
bool DetectLogo(Files& files, const std::string& installPath);

// The main window's branding. With a logo: title hidden, lblSystem 2 pixels higher at left
// 2, the logo file loaded; no vendor name anywhere. Without: the vendor name as title and
// the style applied.
BrandingPlan PlanMainBranding(bool logoPresent, const std::string& installPath,
                              const std::string& venderName, std::string_view venderStyle,
                              ControlPosition systemLabel);

// A dialog's branding: as the main window's, except that the picture is the main window's
// (no second file read) and the title caption is the main window's title caption.
BrandingPlan PlanDialogBranding(bool logoPresent, const std::string& mainTitleCaption,
                                std::string_view venderStyle, ControlPosition systemLabel);

// Window placement in twips: centred horizontally and centred vertically within the upper
// 85 percent of the screen. Each size is rounded half to even, and each halving is an
// integer division truncating toward zero.
struct FormPosition {
    std::int32_t left = 0;
    std::int32_t top = 0;
    bool operator==(const FormPosition&) const = default;
};
FormPosition CenterFormPosition(double screenWidth, double screenHeight, double windowWidth,
                                double windowHeight);

// imgIcon centred in picIcon: (inner size - image size) / 2, in picIcon's own scale.
ControlPosition CenterIconPosition(double innerWidth, double innerHeight, double imageWidth,
                                   double imageHeight);

}  // namespace qm
