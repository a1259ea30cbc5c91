// Port: the Windows settings the programs read and change (SystemParametersInfoA,
// GetDoubleClickTime, GetSystemMetrics, ShowCursor).
#pragma once

#include <cstdint>

namespace qm {

// SystemParametersInfoA actions and flag as the programs pass them.
inline constexpr std::uint32_t kSpiSetDoubleClkWidth = 29;
inline constexpr std::uint32_t kSpiSetDoubleClkHeight = 30;
inline constexpr std::uint32_t kSpiSetDoubleClickTime = 32;
inline constexpr std::uint32_t kSpifSendWinIniChange = 2;

// GetSystemMetrics indexes.
inline constexpr std::int32_t kSmCxScreen = 0;
inline constexpr std::int32_t kSmCyScreen = 1;
inline constexpr std::int32_t kSmCxDoubleClk = 36;
inline constexpr std::int32_t kSmCyDoubleClk = 37;

// The desktop less the taskbar, in pixels; right and bottom are exclusive.
struct WorkArea {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    bool operator==(const WorkArea&) const = default;
};

class SystemSettings {
  public:
    virtual ~SystemSettings() = default;
    // SystemParametersInfoA(action, value, no pointer, flags) for the set actions above;
    // true on success.
    virtual bool SetParameter(std::uint32_t action, std::uint32_t value, std::uint32_t flags) = 0;
    // GetDoubleClickTime, in milliseconds.
    virtual std::uint32_t DoubleClickTime() = 0;
    // GetSystemMetrics with one of the indexes above.
    virtual std::int32_t Metric(std::int32_t index) = 0;
    // SystemParametersInfoA with SPI_GETWORKAREA; false leaves `area` as it was.
    virtual bool GetWorkArea(WorkArea& area) = 0;
    // ShowCursor: shows (true) or hides (false) once and returns the new display counter.
    virtual std::int32_t ShowCursor(bool show) = 0;
};

}  // namespace qm
