#include "common/single_instance.h"

namespace qm {

namespace {
// The text is read into a buffer of 128 characters, so at most 127 are compared.
constexpr int kTextCapacity = 128;
// The window list can change while it is walked; a window destroyed and recreated at the
// wrong moment can send the walk round in a circle. No desktop has this many windows.
constexpr int kMaxWindows = 65536;
}  // namespace

WindowHandle FindRunningWindow(Windows& windows, WindowHandle self, const std::string& caption) {
    int visited = 0;
    for (WindowHandle w = windows.FirstTopLevel(); w != 0 && visited < kMaxWindows;
         w = windows.Next(w), ++visited) {
        if (w == self || windows.Parent(w) != 0 || windows.InstanceWord(w) != 0) continue;
        const std::string text = windows.Text(w, kTextCapacity);
        if (windows.TextLength(w) > 0 && text == caption) return w;
    }
    return 0;
}

}  // namespace qm
