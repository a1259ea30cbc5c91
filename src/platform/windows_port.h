// Port: messages to other programs' windows and the top-level window walk.
#pragma once

#include <cstdint>
#include <string>

#include "platform/handles.h"

namespace qm {

class Windows {
public:
    virtual ~Windows() = default;
    // SendMessageA; the reply is returned but the programs never examine it.
    virtual std::intptr_t Send(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                               std::intptr_t lParam) = 0;
    // FindWindowA with no class and no title: the first top-level window, 0 for none.
    virtual WindowHandle FirstTopLevel() = 0;
    // GetWindow with GW_HWNDNEXT; 0 at the end of the list.
    virtual WindowHandle Next(WindowHandle window) = 0;
    virtual WindowHandle Parent(WindowHandle window) = 0;
    // GetWindowWord with index -6 (the 16-bit instance word).
    virtual std::uint16_t InstanceWord(WindowHandle window) = 0;
    // GetWindowTextA into a buffer of `capacity` characters (at most capacity - 1 read).
    virtual std::string Text(WindowHandle window, int capacity) = 0;
    virtual int TextLength(WindowHandle window) = 0;
    virtual bool SetForeground(WindowHandle window) = 0;
    virtual bool BringToTop(WindowHandle window) = 0;
    virtual bool IsWindow(WindowHandle window) = 0;
};

}  // namespace qm
