// The baseline of the start-time benchmark: the least a Win32 program does to show a window
// (register a class, create a window, show it, run the message loop). It ends on WM_CLOSE.
#include <windows.h>

namespace {

LRESULT CALLBACK WindowProc(HWND w, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(w, msg, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = "QMStartBenchWindow";
    if (!RegisterClassA(&wc)) return 1;
    HWND w = CreateWindowA(wc.lpszClassName, "Start Bench Window", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
                           CW_USEDEFAULT, CW_USEDEFAULT, 447, 350, nullptr, nullptr, instance, nullptr);
    if (!w) return 1;
    ShowWindow(w, show);
    UpdateWindow(w);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
