#pragma once

#include "platform/windows_port.h"

namespace qm::win32 {

class Win32Windows final : public Windows {
  public:
    std::intptr_t Send(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                       std::intptr_t lParam) override;
    WindowHandle FirstTopLevel() override;
    WindowHandle Next(WindowHandle window) override;
    WindowHandle Parent(WindowHandle window) override;
    std::uint16_t InstanceWord(WindowHandle window) override;
    std::string Text(WindowHandle window, int capacity) override;
    int TextLength(WindowHandle window) override;
    bool SetForeground(WindowHandle window) override;
    bool BringToTop(WindowHandle window) override;
    bool IsWindow(WindowHandle window) override;
};

}  // namespace qm::win32
