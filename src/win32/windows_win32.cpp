#include "win32/windows_win32.h"

#include <windows.h>

#include <vector>

namespace qm::win32 {

namespace {
// A window handle crosses the driver as its 32-bit value; window handles are 32-bit
// significant on every Windows, so the value converts both ways without loss.
HWND ToHwnd(WindowHandle window) {
    return reinterpret_cast<HWND>(static_cast<std::intptr_t>(window));
}
WindowHandle FromHwnd(HWND hwnd) {
    return static_cast<WindowHandle>(reinterpret_cast<std::intptr_t>(hwnd));
}
}  // namespace

std::intptr_t Win32Windows::Send(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                 std::intptr_t lParam) {
    return SendMessageA(ToHwnd(window), message, static_cast<WPARAM>(wParam),
                        static_cast<LPARAM>(lParam));
}

WindowHandle Win32Windows::FirstTopLevel() { return FromHwnd(FindWindowA(nullptr, nullptr)); }

WindowHandle Win32Windows::Next(WindowHandle window) {
    return FromHwnd(GetWindow(ToHwnd(window), GW_HWNDNEXT));
}

WindowHandle Win32Windows::Parent(WindowHandle window) {
    return FromHwnd(GetParent(ToHwnd(window)));
}

std::uint16_t Win32Windows::InstanceWord(WindowHandle window) {
    return static_cast<std::uint16_t>(GetWindowWord(ToHwnd(window), -6));
}

std::string Win32Windows::Text(WindowHandle window, int capacity) {
    if (capacity <= 0) return {};
    std::vector<char> buffer(static_cast<std::size_t>(capacity), '\0');
    const int n = GetWindowTextA(ToHwnd(window), buffer.data(), capacity);
    return std::string(buffer.data(), n > 0 ? static_cast<std::size_t>(n) : 0);
}

int Win32Windows::TextLength(WindowHandle window) { return GetWindowTextLengthA(ToHwnd(window)); }

bool Win32Windows::SetForeground(WindowHandle window) {
    return SetForegroundWindow(ToHwnd(window)) != 0;
}

bool Win32Windows::BringToTop(WindowHandle window) { return BringWindowToTop(ToHwnd(window)) != 0; }

bool Win32Windows::IsWindow(WindowHandle window) { return ::IsWindow(ToHwnd(window)) != 0; }

}  // namespace qm::win32
