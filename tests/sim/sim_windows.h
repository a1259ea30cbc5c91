// Other programs' windows: the top-level list in its z-order (text, parent, instance word),
// messages sent to them, and the foreground and bring-to-top calls.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/windows_port.h"

namespace qm::sim {

struct SimWindow {
    WindowHandle handle = 0;
    std::string text;
    WindowHandle parent = 0;
    std::uint16_t instanceWord = 0;
};

struct SentMessage {
    WindowHandle window = 0;
    std::uint32_t message = 0;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
    bool delivered = false;  // the window existed
};

enum class WindowCallKind { SetForeground, BringToTop };

struct WindowCall {
    WindowCallKind kind;
    WindowHandle window;
    bool operator==(const WindowCall&) const = default;
};

class SimWindows : public Windows {
  public:
    using Handler = std::function<std::intptr_t(std::uint32_t message, std::uintptr_t wParam,
                                                std::intptr_t lParam)>;

    // Adds a window at the bottom of the z-order and returns its handle.
    WindowHandle Add(const std::string& text, WindowHandle parent = 0,
                     std::uint16_t instanceWord = 0);
    // Adds a window with a handle of the test's choosing.
    void AddWithHandle(const SimWindow& window);
    void Remove(WindowHandle window);
    void SetText(WindowHandle window, const std::string& text);
    // What the window does with a message sent to it (a companion unregistering, say).
    void SetHandler(WindowHandle window, Handler handler);

    const std::vector<SentMessage>& Messages() const { return messages_; }
    const std::vector<WindowCall>& Calls() const { return calls_; }
    const std::vector<SimWindow>& List() const { return windows_; }

    // Windows
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

  private:
    const SimWindow* Find(WindowHandle window) const;

    std::vector<SimWindow> windows_;
    std::map<WindowHandle, Handler> handlers_;
    std::vector<SentMessage> messages_;
    std::vector<WindowCall> calls_;
    WindowHandle nextHandle_ = 0x10010;
};

}  // namespace qm::sim
