// The running instance's window, for the single-instance rule: a second copy of a program
// brings the first one's window to the front instead of starting.
#pragma once

#include <string>

#include "platform/handles.h"
#include "platform/windows_port.h"

namespace qm {

// The first top-level window, other than `self`, that has no parent, a zero instance word
// and exactly `caption` as its text (read as at most 127 characters, case-sensitive);
// 0 when there is none.
WindowHandle FindRunningWindow(Windows& windows, WindowHandle self, const std::string& caption);

}  // namespace qm
