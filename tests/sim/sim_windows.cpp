#include "sim/sim_windows.h"

#include <algorithm>

namespace qm::sim {

WindowHandle SimWindows::Add(const std::string& text, WindowHandle parent,
                             std::uint16_t instanceWord) {
    while (Find(nextHandle_)) nextHandle_ += 2;
    const WindowHandle h = nextHandle_;
    nextHandle_ += 2;
    windows_.push_back({h, text, parent, instanceWord});
    return h;
}

void SimWindows::AddWithHandle(const SimWindow& window) { windows_.push_back(window); }

void SimWindows::Remove(WindowHandle window) {
    std::erase_if(windows_, [&](const SimWindow& w) { return w.handle == window; });
    handlers_.erase(window);
}

void SimWindows::SetText(WindowHandle window, const std::string& text) {
    for (auto& w : windows_) {
        if (w.handle == window) w.text = text;
    }
}

void SimWindows::SetHandler(WindowHandle window, Handler handler) {
    handlers_[window] = std::move(handler);
}

const SimWindow* SimWindows::Find(WindowHandle window) const {
    if (window == 0) return nullptr;
    auto it = std::find_if(windows_.begin(), windows_.end(),
                           [&](const SimWindow& w) { return w.handle == window; });
    return it != windows_.end() ? &*it : nullptr;
}

std::intptr_t SimWindows::Send(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                               std::intptr_t lParam) {
    const bool exists = Find(window) != nullptr;
    messages_.push_back({window, message, wParam, lParam, exists});
    if (!exists) return 0;
    auto it = handlers_.find(window);
    if (it == handlers_.end()) return 0;
    // Copy: the handler may remove its own window.
    Handler handler = it->second;
    return handler(message, wParam, lParam);
}

WindowHandle SimWindows::FirstTopLevel() { return windows_.empty() ? 0 : windows_.front().handle; }

WindowHandle SimWindows::Next(WindowHandle window) {
    auto it = std::find_if(windows_.begin(), windows_.end(),
                           [&](const SimWindow& w) { return w.handle == window; });
    if (it == windows_.end() || ++it == windows_.end()) return 0;
    return it->handle;
}

WindowHandle SimWindows::Parent(WindowHandle window) {
    const SimWindow* w = Find(window);
    return w ? w->parent : 0;
}

std::uint16_t SimWindows::InstanceWord(WindowHandle window) {
    const SimWindow* w = Find(window);
    return w ? w->instanceWord : 0;
}

std::string SimWindows::Text(WindowHandle window, int capacity) {
    const SimWindow* w = Find(window);
    if (!w || capacity <= 0) return {};
    // As GetWindowTextA: at most capacity - 1 characters, room kept for the terminator.
    return w->text.substr(0, static_cast<std::size_t>(capacity - 1));
}

int SimWindows::TextLength(WindowHandle window) {
    const SimWindow* w = Find(window);
    return w ? static_cast<int>(w->text.size()) : 0;
}

bool SimWindows::SetForeground(WindowHandle window) {
    calls_.push_back({WindowCallKind::SetForeground, window});
    return Find(window) != nullptr;
}

bool SimWindows::BringToTop(WindowHandle window) {
    calls_.push_back({WindowCallKind::BringToTop, window});
    return Find(window) != nullptr;
}

bool SimWindows::IsWindow(WindowHandle window) { return Find(window) != nullptr; }

}  // namespace qm::sim
