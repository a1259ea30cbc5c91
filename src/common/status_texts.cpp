#include "common/status_texts.h"

#include <cstdint>

#include "common/classic.h"

namespace qm {

namespace {

// The name in slot `index` (1..size-1), or "Invalid#" + index when the slot is not a name.
template <std::size_t N>
std::string NameOrInvalid(const std::array<std::string, N>& table, int index) {
    if (index < 1 || static_cast<std::size_t>(index) >= N) return "Invalid#" + NumberText(index);
    return table[static_cast<std::size_t>(index)];
}

// Floor division and its non-negative remainder, so minutes are rounded down.
int FloorDiv(int a, int b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0); }

}  // namespace

void FillNameTables(NameTables& tables) {
    tables.TouchModeNames = {"", "Stream Mode", "Lift Off Mode", "Touch Down Mode",
                             "Drag Drop Mode"};
    // The doubled ampersand is stored as is; a label that takes "&" as an access-key marker
    // shows one.
    tables.FeedbackSoundNames = {"", "Silence ( No Sound )", "Touch Down Only", "Lift Off Only",
                                 "Both Touch Down && Lift Off"};
    tables.AccelerationNames = {"", "Slow", "Medium", "Fast", "Off"};
    tables.BaudRateNames = {"",      "1200",  "2400",  "4800",  "9600",  "14400",
                            "19200", "28800", "38400", "57600", "76800", "115200"};
}

std::string TouchModeText(const NameTables& tables, int mode, int rbf, int autoMode) {
    if (mode < 1 || mode > 4) {
        return "Invalid#" + NumberText(mode) + "," + NumberText(rbf) + "," + NumberText(autoMode);
    }
    std::string text = tables.TouchModeNames[static_cast<std::size_t>(mode)] + ", RBF ";
    if (rbf == 0) return text + "Disable";
    text += "Enable";
    if (mode == 4) text += autoMode == 1 ? " ( Automatic Mode )" : " ( Manual Mode )";
    return text;
}

std::string FeedbackSoundText(const NameTables& tables, int value) {
    return NameOrInvalid(tables.FeedbackSoundNames, value);
}

std::string AccelerationText(const NameTables& tables, int value) {
    return NameOrInvalid(tables.AccelerationNames, value);
}

std::string BaudRateText(const NameTables& tables, int index) {
    return NameOrInvalid(tables.BaudRateNames, index);
}

std::string SensitivityText(int value) {
    return "Level " + NumberText(127 - static_cast<std::int64_t>(value));
}

std::string MouseSpeedText(const NameTables& tables, int h, int v, int accel, int bypass) {
    if (bypass != 0) return "Enable Bypass Mode";
    return "HS=" + NumberText(static_cast<std::int64_t>(h) * 5) +
           "%, VS=" + NumberText(static_cast<std::int64_t>(v) * 5) +
           "%, Acceleration=" + AccelerationText(tables, accel);
}

std::string PowerDownText(int units) {
    if (units == 0) return "Disable Power Down Function";
    // Widened so no int is multiplied past its range; DurationText takes the clamped count.
    std::int64_t seconds = static_cast<std::int64_t>(units) * 10;
    if (seconds > INT32_MAX) seconds = INT32_MAX;
    if (seconds < INT32_MIN) seconds = INT32_MIN;
    return "Power Down When Idle " + DurationText(static_cast<int>(seconds));
}

std::string DurationText(int seconds) {
    if (seconds == 0) return "Disable";
    int m = FloorDiv(seconds, 60);
    int s =
        static_cast<int>(static_cast<std::int64_t>(seconds) - static_cast<std::int64_t>(m) * 60);
    std::string text;
    if (m != 0) text += SignBlankText(m) + " Min. ";
    if (s != 0) text += SignBlankText(s) + " Sec.";
    return text;
}

std::string PortText(int n, int base, int code) {
    const std::string com = "COM" + NumberText(n);
    if (base == 0) {
        if (code == 255) return com + "..Not Found.";
        if (code == 254) return com + "..Used by Other Device.";
        return com + "..Unabled (code=" + NumberText(code) + ")";
    }
    return com + ", BasePort=" + Hex4(base) + "h, IRQ=" + NumberText(code);
}

std::string SerialPortLineText(const NameTables& tables, int comPort, int basePort, int irq,
                               int baudRateIndex) {
    return "COM" + NumberText(comPort) + ", Port=" + Hex4(basePort) + ", IRQ=" + NumberText(irq) +
           ", (" + BaudRateText(tables, baudRateIndex) + ",N,8,1)";
}

}  // namespace qm
