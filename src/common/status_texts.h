// The one-line texts that describe each driver setting, and the name tables they use.
//
// Every function takes any value a driver byte can hold (and any int besides): a value
// outside a table shows as "Invalid#" + the value, never as a read outside the table.
#pragma once

#include <array>
#include <string>

namespace qm {

// Program-wide name tables, indexed from 1; slot 0 stays empty. The control panel fills
// them at start-up with FillNameTables; an unfilled table gives empty names, never a read
// out of bounds.
struct NameTables {
    std::array<std::string, 5> TouchModeNames;
    std::array<std::string, 5> FeedbackSoundNames;
    std::array<std::string, 5> AccelerationNames;
    std::array<std::string, 12> BaudRateNames;
};

void FillNameTables(NameTables& tables);

// mode = VirtualButton, rbf = RightButtonFunction, autoMode = RightButtonAutoMode.
// "Drag Drop Mode, RBF Enable ( Automatic Mode )"; "Invalid#0,1,0" for a mode outside 1..4.
std::string TouchModeText(const NameTables& tables, int mode, int rbf, int autoMode);

// FeedbackSound: the name, or "Invalid#" + value outside 1..4.
std::string FeedbackSoundText(const NameTables& tables, int value);

// MouseAcceleration: the name, or "Invalid#" + value outside 1..4.
std::string AccelerationText(const NameTables& tables, int value);

// BaudRateIndex: the line speed's name, or "Invalid#" + index outside 1..11, in the style
// of the other texts (the driver reports no other speeds, so this only shows a bad byte).
std::string BaudRateText(const NameTables& tables, int index);

// Sensitivity: "Level " + (127 - value), so 127 is "Level 0" and 200 is "Level -73".
std::string SensitivityText(int value);

// "HS=50%, VS=100%, Acceleration=Medium", or "Enable Bypass Mode" when bypass is nonzero.
std::string MouseSpeedText(const NameTables& tables, int h, int v, int accel, int bypass);

// PowerDownTime in units of 10 seconds: "Disable Power Down Function" for 0, otherwise
// "Power Down When Idle " + DurationText(units * 10).
std::string PowerDownText(int units);

// "Disable" for 0 seconds; otherwise minutes (rounded down) and the remaining seconds, each
// written with its sign blank and each only when not 0: " 1 Min.  30 Sec.", " 1 Min. ",
// " 30 Sec.". A negative count is split the same way (minutes rounded down, seconds 0..59).
std::string DurationText(int seconds);

// One COM port of the port table: n = COM number, base = PortBase, code = PortIrq.
// "COM1, BasePort=03F8h, IRQ=4", or with base 0: "COM2..Not Found." (255),
// "COM2..Used by Other Device." (254), "COM3..Unabled (code=7)" (any other code).
std::string PortText(int n, int base, int code);

// The control panel's port line in the serial build:
// "COM1, Port=03F8, IRQ=4, (9600,N,8,1)"; a BaudRateIndex outside 1..11 shows as
// BaudRateText does: "COM1, Port=03F8, IRQ=4, (Invalid#0,N,8,1)".
std::string SerialPortLineText(const NameTables& tables, int comPort, int basePort, int irq,
                               int baudRateIndex);

}  // namespace qm
