// Looks at a running program the way the end-to-end runner does, from another process:
// lists the named windows under a top-level window (name, class, text, visible, enabled,
// placement), or reads the message box in front. A quick check of the forms backend.
//
//     toolkit_probe.exe list " TouchScreen Control Panel #QM-COM"
//     toolkit_probe.exe box
//     toolkit_probe.exe click " TouchScreen Control Panel #QM-COM" cmdExit
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "runner/bench.h"

using namespace qm::wine;

namespace {

int List(const std::string& caption) {
    HWND top = WaitForCaption(caption, 5000);
    if (!top) {
        std::printf("no window \"%s\"\n", caption.c_str());
        return 2;
    }
    std::printf("form %s \"%s\"\n", ControlName(top).c_str(), Text(top).c_str());
    for (auto& [name, w] : NamedControls(top)) {
        RECT p = Placement(w);
        std::printf("%-22s %-12s vis=%d en=%d (%ld,%ld %ldx%ld) \"%s\"\n", name.c_str(),
                    ClassName(w).c_str(), IsWindowVisible(w) ? 1 : 0, IsEnabled(w) ? 1 : 0,
                    p.left, p.top, p.right, p.bottom, Text(w).c_str());
    }
    return 0;
}

HWND AnyBox() {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
                if (IsWindowVisible(w) && ClassName(w) == "#32770" && GetDlgItem(w, 0xFFFF)) {
                    found = w;
                    return true;
                }
            }
            return false;
        },
        5000);
    return found;
}

int Box(const char* answer) {
    HWND w = AnyBox();
    if (!w) {
        std::printf("no message box\n");
        return 2;
    }
    MessageBoxInfo box = ReadMessageBox(w);
    std::printf("title \"%s\"\ntext \"%s\"\nflags %s\nicon %s\n", box.title.c_str(),
                box.text.c_str(),
                box.flags ? std::to_string(*box.flags).c_str() : "(none)", IconName(box.shownIcon));
    for (auto& [id, caption] : box.buttons) std::printf("button %d \"%s\"\n", id, caption.c_str());
    if (answer) Answer(box, std::atoi(answer));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 3 && std::strcmp(argv[1], "list") == 0) return List(argv[2]);
    if (argc >= 2 && std::strcmp(argv[1], "box") == 0) return Box(argc >= 3 ? argv[2] : nullptr);
    if (argc >= 4 && std::strcmp(argv[1], "click") == 0) {
        HWND top = WaitForCaption(argv[2], 5000);
        HWND c = top ? FindControl(top, argv[3]) : nullptr;
        if (!c) return 2;
        Click(c);
        return 0;
    }
    if (argc >= 5 && std::strcmp(argv[1], "key") == 0) {
        HWND top = WaitForCaption(argv[2], 5000);
        HWND c = top ? FindControl(top, argv[3]) : nullptr;
        if (!c) return 2;
        PostKey(c, static_cast<WORD>(std::atoi(argv[4])));
        return 0;
    }
    if (argc >= 6 && std::strcmp(argv[1], "mouse") == 0) {
        // mouse CAPTION NAME l|m|r KEYS (MK_SHIFT 4 | MK_CONTROL 8)
        HWND top = WaitForCaption(argv[2], 5000);
        HWND c = top ? FindControl(top, argv[3]) : nullptr;
        if (!c) return 2;
        MouseButton b = argv[4][0] == 'm' ? MouseButton::Middle
                        : argv[4][0] == 'r' ? MouseButton::Right
                                            : MouseButton::Left;
        ClickAt(c, 10, 10, b, static_cast<WPARAM>(std::atoi(argv[5])));
        return 0;
    }
    if (argc >= 3 && std::strcmp(argv[1], "close") == 0) {
        HWND top = WaitForCaption(argv[2], 5000);
        if (!top) return 2;
        PostMessageA(top, WM_CLOSE, 0, 0);
        return 0;
    }
    if (argc >= 2 && std::strcmp(argv[1], "tops") == 0) {
        for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT))
            std::printf("%p vis=%d %-16s \"%s\"\n", static_cast<void*>(w),
                        IsWindowVisible(w) ? 1 : 0, ClassName(w).c_str(), Text(w).c_str());
        return 0;
    }
    std::printf(
        "usage: toolkit_probe list CAPTION | box [BUTTON_ID] | click CAPTION NAME | key CAPTION "
        "NAME VK\n");
    return 1;
}
