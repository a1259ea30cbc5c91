#include "win32/system_settings_win32.h"

#include <windows.h>

namespace qm::win32 {

bool Win32SystemSettings::SetParameter(std::uint32_t action, std::uint32_t value,
                                       std::uint32_t flags) {
    return SystemParametersInfoA(action, value, nullptr, flags) != FALSE;
}

std::uint32_t Win32SystemSettings::DoubleClickTime() { return GetDoubleClickTime(); }

std::int32_t Win32SystemSettings::Metric(std::int32_t index) { return GetSystemMetrics(index); }

bool Win32SystemSettings::GetWorkArea(WorkArea& area) {
    RECT r{};
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0)) return false;
    area = WorkArea{r.left, r.top, r.right, r.bottom};
    return true;
}

std::int32_t Win32SystemSettings::ShowCursor(bool show) {
    return ::ShowCursor(show ? TRUE : FALSE);
}

}  // namespace qm::win32
