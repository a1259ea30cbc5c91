#include "win32/clock_win32.h"

#include <windows.h>

namespace qm::win32 {

std::uint64_t Win32Clock::TickMilliseconds() {
    LARGE_INTEGER frequency{};
    LARGE_INTEGER counter{};
    if (!QueryPerformanceFrequency(&frequency) || frequency.QuadPart <= 0 ||
        !QueryPerformanceCounter(&counter)) {
        return GetTickCount();  // no performance counter: the 32-bit tick is all there is
    }
    const auto f = static_cast<std::uint64_t>(frequency.QuadPart);
    const auto c = static_cast<std::uint64_t>(counter.QuadPart);
    // Split so the multiplication cannot overflow however long the machine has run.
    return c / f * 1000 + c % f * 1000 / f;
}

void Win32Clock::Sleep(std::uint32_t milliseconds) { ::Sleep(milliseconds); }

}  // namespace qm::win32
