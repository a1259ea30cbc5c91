// Values shared by the forms toolkit: colours, fonts and the classic constants the form code
// is written with (message box flags, mouse buttons, shift state, key codes, pointers).
#pragma once

#include <cstdint>
#include <string>

namespace qm::ui {

// A colour as the classic RGB() builds it: red in the low byte, then green, then blue.
// Values with the top bit set name a system colour (0x80000000 | COLOR_* index).
using Color = std::uint32_t;

constexpr Color Rgb(int r, int g, int b) {
    return static_cast<Color>((r & 255) | ((g & 255) << 8) | ((b & 255) << 16));
}
constexpr int RedOf(Color c) { return static_cast<int>(c & 255); }
constexpr int GreenOf(Color c) { return static_cast<int>((c >> 8) & 255); }
constexpr int BlueOf(Color c) { return static_cast<int>((c >> 16) & 255); }
constexpr bool IsSystemColor(Color c) { return (c & 0x80000000u) != 0; }

inline constexpr Color vbScrollBars = 0x80000000u;
inline constexpr Color vbWindowBackground = 0x80000005u;
inline constexpr Color vbWindowText = 0x80000008u;
inline constexpr Color vbButtonFace = 0x8000000Fu;
inline constexpr Color vbGrayText = 0x80000011u;
inline constexpr Color vbButtonText = 0x80000012u;

inline constexpr Color vbBlack = Rgb(0, 0, 0);
inline constexpr Color vbWhite = Rgb(255, 255, 255);
inline constexpr Color vbRed = Rgb(255, 0, 0);
inline constexpr Color vbGreen = Rgb(0, 255, 0);
inline constexpr Color vbBlue = Rgb(0, 0, 255);
inline constexpr Color vbYellow = Rgb(255, 255, 0);

struct Font {
    std::string name = "MS Sans Serif";
    double size = 8.25;  // points
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool operator==(const Font&) const = default;
};

// Message boxes: buttons, icons, default button, modality; and the button pressed.
inline constexpr int vbOKOnly = 0;
inline constexpr int vbOKCancel = 1;
inline constexpr int vbAbortRetryIgnore = 2;
inline constexpr int vbYesNoCancel = 3;
inline constexpr int vbYesNo = 4;
inline constexpr int vbRetryCancel = 5;
inline constexpr int vbCritical = 16;
inline constexpr int vbQuestion = 32;
inline constexpr int vbExclamation = 48;
inline constexpr int vbInformation = 64;
inline constexpr int vbDefaultButton1 = 0;
inline constexpr int vbDefaultButton2 = 256;
inline constexpr int vbDefaultButton3 = 512;
inline constexpr int vbApplicationModal = 0;
inline constexpr int vbSystemModal = 4096;

inline constexpr int vbOK = 1;
inline constexpr int vbCancel = 2;
inline constexpr int vbAbort = 3;
inline constexpr int vbRetry = 4;
inline constexpr int vbIgnore = 5;
inline constexpr int vbYes = 6;
inline constexpr int vbNo = 7;

// Mouse buttons and shift state as the mouse and key events report them.
inline constexpr int vbLeftButton = 1;
inline constexpr int vbRightButton = 2;
inline constexpr int vbMiddleButton = 4;
inline constexpr int vbShiftMask = 1;
inline constexpr int vbCtrlMask = 2;
inline constexpr int vbAltMask = 4;

// Key codes (virtual-key values) the programs and tests name.
inline constexpr int vbKeyBack = 8;
inline constexpr int vbKeyTab = 9;
inline constexpr int vbKeyReturn = 13;
inline constexpr int vbKeyShift = 16;
inline constexpr int vbKeyControl = 17;
inline constexpr int vbKeyMenu = 18;
inline constexpr int vbKeyEscape = 27;
inline constexpr int vbKeySpace = 32;
inline constexpr int vbKeyLeft = 37;
inline constexpr int vbKeyUp = 38;
inline constexpr int vbKeyRight = 39;
inline constexpr int vbKeyDown = 40;
inline constexpr int vbKeyA = 65;  // 'A'..'Z' are 65..90
inline constexpr int vbKeyJ = 74;
inline constexpr int vbKey0 = 48;  // '0'..'9' are 48..57

// Mouse pointers.
inline constexpr int vbDefault = 0;
inline constexpr int vbArrow = 1;
inline constexpr int vbCrosshair = 2;
inline constexpr int vbIbeam = 3;
inline constexpr int vbHourglass = 11;

// Label and check box text alignment.
inline constexpr int vbLeftJustify = 0;
inline constexpr int vbRightJustify = 1;
inline constexpr int vbCenter = 2;

// Back style of labels and shapes.
inline constexpr int vbTransparent = 0;
inline constexpr int vbOpaque = 1;

// Border style of controls (none or a single line) and of forms.
inline constexpr int vbBSNone = 0;
inline constexpr int vbFixedSingle = 1;
inline constexpr int vbSizable = 2;
inline constexpr int vbFixedDialog = 3;

// Form window state.
inline constexpr int vbNormal = 0;
inline constexpr int vbMinimized = 1;
inline constexpr int vbMaximized = 2;

// Picture box scale modes.
inline constexpr int vbTwips = 1;
inline constexpr int vbPixels = 3;

// Picture box docking.
inline constexpr int vbAlignNone = 0;
inline constexpr int vbAlignTop = 1;
inline constexpr int vbAlignBottom = 2;

// Check box values.
inline constexpr int vbUnchecked = 0;
inline constexpr int vbChecked = 1;
inline constexpr int vbGrayed = 2;

// Combo box styles.
inline constexpr int vbComboDropdown = 0;  // editable text with a list
inline constexpr int vbComboDropdownList = 2;

// Command button, check box and option button styles.
inline constexpr int vbButtonStandard = 0;
inline constexpr int vbButtonGraphical = 1;

// Shapes and their fill.
inline constexpr int vbShapeRectangle = 0;
inline constexpr int vbShapeSquare = 1;
inline constexpr int vbShapeOval = 2;
inline constexpr int vbShapeCircle = 3;
inline constexpr int vbFSSolid = 0;
inline constexpr int vbFSTransparent = 1;

// The text a caption shows: with access keys on, "&&" shows one "&" and a single "&" marks
// the next character (and is not shown).
std::string DisplayedText(const std::string& caption, bool useMnemonic = true);

}  // namespace qm::ui
