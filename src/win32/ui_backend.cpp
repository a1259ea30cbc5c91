#include "win32/ui_backend.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <exception>
#include <unordered_map>
#include <vector>

#include "ui/forms.h"
#include "ui/render.h"
#include "win32/ui_gdi.h"

// The toolkit's names, not the Win32 macros of the same spelling.
#undef MessageBox
#undef DrawText

namespace qm::win32 {

using namespace qm::ui;

namespace {

constexpr const char* kFormClass = "QMForm";
constexpr const char* kContainerClass = "QMContainer";
constexpr const char* kWindowlessClass = "QMWindowless";
constexpr const char* kWidgetProp = "QMWidget";
constexpr const char* kNameProp = "QMControlName";
constexpr const char* kBoxFlagsProp = "QMMessageBoxFlags";
constexpr int kFirstControlId = 100;
// Room below a drop-down's edit field for its list.
constexpr int kDropDownListHeight = 160;

Widget* WidgetOf(HWND hwnd) {
    return hwnd ? static_cast<Widget*>(GetPropA(hwnd, kWidgetProp)) : nullptr;
}
HWND HwndOf(const Widget& w) { return reinterpret_cast<HWND>(w.peer); }

// The widget a window belongs to: the window itself or the nearest ancestor of ours (the
// edit field inside an editable drop-down belongs to the drop-down).
Widget* OwnerWidget(HWND hwnd) {
    for (HWND h = hwnd; h; h = GetParent(h))
        if (Widget* w = WidgetOf(h)) return w;
    return nullptr;
}

int ShiftState() {
    int shift = 0;
    if (GetKeyState(VK_SHIFT) < 0) shift |= vbShiftMask;
    if (GetKeyState(VK_CONTROL) < 0) shift |= vbCtrlMask;
    if (GetKeyState(VK_MENU) < 0) shift |= vbAltMask;
    return shift;
}

// Shift state of a mouse message: from its key flags, Alt from the keyboard.
int MouseShift(WPARAM keys) {
    int shift = 0;
    if (keys & MK_SHIFT) shift |= vbShiftMask;
    if (keys & MK_CONTROL) shift |= vbCtrlMask;
    if (GetKeyState(VK_MENU) < 0) shift |= vbAltMask;
    return shift;
}

int HeldButtons(WPARAM keys) {
    int held = 0;
    if (keys & MK_LBUTTON) held |= vbLeftButton;
    if (keys & MK_RBUTTON) held |= vbRightButton;
    if (keys & MK_MBUTTON) held |= vbMiddleButton;
    return held;
}

HCURSOR CursorFor(int pointer) {
    LPCSTR id = nullptr;
    switch (pointer) {
        case vbArrow: id = IDC_ARROW; break;
        case vbCrosshair: id = IDC_CROSS; break;
        case vbIbeam: id = IDC_IBEAM; break;
        case 5: case 15: id = IDC_SIZEALL; break;
        case 6: id = IDC_SIZENESW; break;
        case 7: id = IDC_SIZENS; break;
        case 8: id = IDC_SIZENWSE; break;
        case 9: id = IDC_SIZEWE; break;
        case 10: id = IDC_UPARROW; break;
        case vbHourglass: id = IDC_WAIT; break;
        case 12: id = IDC_NO; break;
        case 13: id = IDC_APPSTARTING; break;
        case 14: id = IDC_HELP; break;
        default: return nullptr;
    }
    return LoadCursorA(nullptr, id);
}

DWORD FormStyle(const Form& form) {
    DWORD style = WS_CLIPCHILDREN;
    switch (form.BorderStyle()) {
        case vbBSNone: style |= WS_POPUP; break;
        case vbSizable: style |= WS_OVERLAPPEDWINDOW; break;
        case 5: style |= WS_OVERLAPPED | WS_CAPTION | WS_THICKFRAME; break;
        default: style |= WS_OVERLAPPED | WS_CAPTION; break;
    }
    if (form.BorderStyle() != vbBSNone && form.ControlBox()) style |= WS_SYSMENU;
    else if (form.BorderStyle() == vbSizable) style &= ~static_cast<DWORD>(WS_SYSMENU);
    return style;
}

DWORD FormExStyle(int borderStyle) {
    DWORD ex = WS_EX_CONTROLPARENT;
    if (borderStyle == vbFixedDialog) ex |= WS_EX_DLGMODALFRAME;
    if (borderStyle == 4 || borderStyle == 5) ex |= WS_EX_TOOLWINDOW;
    return ex;
}

int ScreenDpi() {
    int dpi = 96;
    if (HDC screen = GetDC(nullptr)) {
        int d = GetDeviceCaps(screen, LOGPIXELSX);
        if (d > 0) dpi = d;
        ReleaseDC(nullptr, screen);
    }
    return dpi;
}

bool Reachable(const Widget& w) { return IsReachable(w); }

}  // namespace

// ====================================================================== Impl

struct Win32Ui::Impl {
    // The window procedures are plain functions; they reach the backend through this.
    static Impl* current;

    HINSTANCE instance = GetModuleHandleA(nullptr);
    int dpi = ScreenDpi();
    FontCache fonts{dpi};
    BrushCache brushes;
    struct Peer {
        int id = 0;
        ATOM name = 0;
    };
    std::unordered_map<const Widget*, Peer> peers;
    int nextId = kFirstControlId;
    int screenPointer = vbDefault;
    // Above zero while the backend itself changes windows: the notifications that causes
    // are not the user's and reach no event.
    int busy = 0;
    // The key a dialog key or a swallowed key down leaves behind as a character.
    WPARAM dropChar = 0;
    // The widget a left button went down on (for Click on release).
    Widget* pressed = nullptr;
    HANDLE instanceMutex = nullptr;
    std::string lastFault;

    static WNDPROC buttonProc, comboProc, scrollProc;

    struct Busy {
        explicit Busy(Impl& i) : impl(i) { ++impl.busy; }
        ~Busy() { --impl.busy; }
        Impl& impl;
    };

    Impl();
    void RegisterClasses();

    template <class F>
    void Guarded(F&& f) {
        try {
            f();
        } catch (const std::exception& e) {
            Fault(e.what());
        } catch (...) {
            Fault("unknown exception");
        }
    }
    void Fault(const std::string& what);

    // Peers.
    HWND CreatePeer(Widget& w);
    void Place(Widget& w);
    void PushValue(Widget& w);
    void PushList(ComboBox& combo);
    void PushButtons(Form& form);
    void PushFont(Widget& w);
    void InvalidateContainer(Widget& w);
    void Restyle(Widget& w);

    // Input.
    bool PreTranslate(MSG& m);
    void Process(MSG& m);
    bool AccessKey(Form& form, char letter);
    Widget* HitWindowless(Widget& container, int x, int y);
    void Mouse(Widget& container, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void ControlMouse(Widget& w, UINT msg, WPARAM wParam, LPARAM lParam);
    bool SetCursorFor(Widget& w);
    void Command(WPARAM wParam, LPARAM lParam, Widget& container);
    void HScroll(HWND bar, int code);
    LRESULT DefaultId(Form& form);

    // Painting.
    void PaintContainer(HWND hwnd, Widget& w);
    void DrawLabels(HDC dc, Widget& container);
    void DrawFrameBorder(HDC dc, Widget& frame, int width, int height);
    void DrawGraphicalButton(const DRAWITEMSTRUCT& di, CommandButton& button);

    static LRESULT CALLBACK ContainerProc(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK WindowlessProc(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK ControlProc(HWND, UINT, WPARAM, LPARAM);
};

Win32Ui::Impl* Win32Ui::Impl::current = nullptr;
WNDPROC Win32Ui::Impl::buttonProc = nullptr;
WNDPROC Win32Ui::Impl::comboProc = nullptr;
WNDPROC Win32Ui::Impl::scrollProc = nullptr;

Win32Ui::Impl::Impl() { RegisterClasses(); }

void Win32Ui::Impl::RegisterClasses() {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = ContainerProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(1));
    if (!wc.hIcon) wc.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    wc.hIconSm = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(1), IMAGE_ICON, 16, 16, 0));
    wc.lpszClassName = kFormClass;
    RegisterClassExA(&wc);

    wc.hIcon = nullptr;
    wc.hIconSm = nullptr;
    wc.lpszClassName = kContainerClass;
    RegisterClassExA(&wc);

    wc.style = 0;
    wc.lpfnWndProc = WindowlessProc;
    wc.lpszClassName = kWindowlessClass;
    RegisterClassExA(&wc);
}

void Win32Ui::Impl::Fault(const std::string& what) {
    lastFault = what;
    OutputDebugStringA(("QM forms: " + what + "\n").c_str());
    MessageBoxA(nullptr, ("Unexpected error: " + what).c_str(), "TouchScreen",
                MB_OK | MB_ICONSTOP | MB_TASKMODAL);
}

// ---------------------------------------------------------------------- peers

HWND Win32Ui::Impl::CreatePeer(Widget& w) {
    Busy b(*this);
    HWND parent = w.Container() ? HwndOf(*w.Container()) : nullptr;
    const char* cls = nullptr;
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
    DWORD ex = 0;
    std::string text = w.Caption();
    int id = nextId++;
    PixelRect r = w.PixelBounds();
    int height = r.height;

    switch (w.GetKind()) {
        case Kind::Form: {
            auto& form = static_cast<Form&>(w);
            cls = kFormClass;
            style = FormStyle(form);
            ex = FormExStyle(form.BorderStyle());
            break;
        }
        case Kind::CommandButton: {
            auto& button = static_cast<CommandButton&>(w);
            cls = "BUTTON";
            style |= WS_TABSTOP | BS_MULTILINE;
            if (button.Style() == vbButtonGraphical)
                style |= BS_OWNERDRAW;
            else
                style |= button.Default() ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
            break;
        }
        case Kind::OptionButton:
            cls = "BUTTON";
            style |= WS_TABSTOP | BS_RADIOBUTTON | BS_MULTILINE;
            if (w.Alignment() == vbRightJustify) style |= BS_LEFTTEXT;
            break;
        case Kind::CheckBox:
            cls = "BUTTON";
            style |= WS_TABSTOP | BS_3STATE | BS_MULTILINE;
            if (w.Alignment() == vbRightJustify) style |= BS_LEFTTEXT;
            break;
        case Kind::ComboBox:
            cls = "COMBOBOX";
            style |= WS_TABSTOP | WS_VSCROLL;
            style |= static_cast<ComboBox&>(w).Style() == vbComboDropdownList
                         ? CBS_DROPDOWNLIST
                         : (CBS_DROPDOWN | CBS_AUTOHSCROLL);
            height += kDropDownListHeight;
            text.clear();
            break;
        case Kind::HScrollBar:
            cls = "SCROLLBAR";
            style |= WS_TABSTOP | SBS_HORZ;
            text.clear();
            break;
        case Kind::Frame:
            cls = kContainerClass;
            style |= WS_CLIPCHILDREN;
            ex |= WS_EX_CONTROLPARENT;
            break;
        case Kind::PictureBox:
            cls = kContainerClass;
            style |= WS_CLIPCHILDREN | WS_TABSTOP;
            ex |= WS_EX_CONTROLPARENT;
            if (w.BorderStyle() == vbFixedSingle) ex |= WS_EX_CLIENTEDGE;
            break;
        case Kind::Label:
        case Kind::Shape:
        case Kind::Image:
            cls = kWindowlessClass;
            break;
    }

    HWND hwnd = CreateWindowExA(ex, cls, text.c_str(), style, r.x, r.y, r.width, height, parent,
                                w.GetKind() == Kind::Form ? nullptr
                                                          : reinterpret_cast<HMENU>(
                                                                static_cast<INT_PTR>(id)),
                                instance, nullptr);
    if (!hwnd) return nullptr;
    SetPropA(hwnd, kWidgetProp, &w);
    ATOM atom = GlobalAddAtomA(w.Name().c_str());
    SetPropA(hwnd, kNameProp, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(atom)));
    peers[&w] = Peer{id, atom};
    w.peer = reinterpret_cast<std::uintptr_t>(hwnd);

    if (w.IsWindowless()) SetWindowRgn(hwnd, CreateRectRgn(0, 0, 0, 0), FALSE);
    if (cls == std::string("BUTTON")) {
        WNDPROC old = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ControlProc)));
        if (!buttonProc) buttonProc = old;
    } else if (w.GetKind() == Kind::ComboBox) {
        WNDPROC old = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ControlProc)));
        if (!comboProc) comboProc = old;
    } else if (w.GetKind() == Kind::HScrollBar) {
        WNDPROC old = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ControlProc)));
        if (!scrollProc) scrollProc = old;
    }
    // Windows keep their creation order (each new child goes below its elder siblings), so
    // the window list reads as the design does; forms do not overlap windowed controls.

    PushFont(w);
    if (w.GetKind() == Kind::ComboBox) PushList(static_cast<ComboBox&>(w));
    PushValue(w);
    Place(w);
    EnableWindow(hwnd, w.Enabled() ? TRUE : FALSE);
    if (w.GetKind() != Kind::Form && w.Visible()) ShowWindow(hwnd, SW_SHOWNA);
    if (w.IsWindowless()) InvalidateContainer(w);
    return hwnd;
}

void Win32Ui::Impl::Place(Widget& w) {
    HWND hwnd = HwndOf(w);
    if (!hwnd) return;
    Busy b(*this);
    PixelRect r = w.PixelBounds();
    int height = r.height;
    if (w.GetKind() == Kind::ComboBox) {
        // The closed field takes the control's height; the window includes the list.
        int field = std::max(8, r.height - 6);
        SendMessageA(hwnd, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
        height += kDropDownListHeight;
    }
    if (w.GetKind() == Kind::Form && IsIconic(hwnd)) return;
    SetWindowPos(hwnd, nullptr, r.x, r.y, r.width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    if (w.IsWindowless()) InvalidateContainer(w);
}

void Win32Ui::Impl::PushFont(Widget& w) {
    HWND hwnd = HwndOf(w);
    if (!hwnd || w.IsWindowless() || w.GetKind() == Kind::Form) return;
    SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(fonts.Get(w.GetFont())), TRUE);
}

void Win32Ui::Impl::PushValue(Widget& w) {
    HWND hwnd = HwndOf(w);
    if (!hwnd) return;
    Busy b(*this);
    switch (w.GetKind()) {
        case Kind::OptionButton:
            SendMessageA(hwnd, BM_SETCHECK,
                         static_cast<OptionButton&>(w).Value() ? BST_CHECKED : BST_UNCHECKED, 0);
            break;
        case Kind::CheckBox: {
            int v = static_cast<CheckBox&>(w).Value();
            SendMessageA(hwnd, BM_SETCHECK,
                         v == vbChecked ? BST_CHECKED
                                        : (v == vbGrayed ? BST_INDETERMINATE : BST_UNCHECKED),
                         0);
            break;
        }
        case Kind::HScrollBar: {
            auto& bar = static_cast<HScrollBar&>(w);
            const bool reversed = bar.Min() > bar.Max();
            SCROLLINFO si{};
            si.cbSize = sizeof(si);
            si.fMask = SIF_RANGE | SIF_POS;
            si.nMin = 0;
            si.nMax = std::abs(bar.Max() - bar.Min());
            si.nPos = reversed ? bar.Min() - bar.Value() : bar.Value() - bar.Min();
            SetScrollInfo(hwnd, SB_CTL, &si, TRUE);
            break;
        }
        case Kind::ComboBox: {
            auto& combo = static_cast<ComboBox&>(w);
            SendMessageA(hwnd, CB_SETCURSEL, static_cast<WPARAM>(combo.ListIndex()), 0);
            if (combo.Style() != vbComboDropdownList) {
                char current[1024] = {};
                GetWindowTextA(hwnd, current, sizeof(current));
                if (combo.Text() != current) SetWindowTextA(hwnd, combo.Text().c_str());
            }
            break;
        }
        default:
            break;
    }
}

void Win32Ui::Impl::PushList(ComboBox& combo) {
    HWND hwnd = HwndOf(combo);
    if (!hwnd) return;
    Busy b(*this);
    SendMessageA(hwnd, CB_RESETCONTENT, 0, 0);
    for (const std::string& item : combo.Items())
        SendMessageA(hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    PushValue(combo);
}

void Win32Ui::Impl::PushButtons(Form& form) {
    for (Widget* w : form.AllWidgets()) {
        if (w->GetKind() != Kind::CommandButton || !HwndOf(*w)) continue;
        auto* button = static_cast<CommandButton*>(w);
        if (button->Style() == vbButtonGraphical) continue;
        SendMessageA(HwndOf(*w), BM_SETSTYLE,
                     button->Default() ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
    }
}

void Win32Ui::Impl::InvalidateContainer(Widget& w) {
    if (!w.Container()) return;
    if (HWND c = HwndOf(*w.Container())) InvalidateRect(c, nullptr, FALSE);
}

void Win32Ui::Impl::Restyle(Widget& w) {
    HWND hwnd = HwndOf(w);
    if (!hwnd) return;
    Busy b(*this);
    switch (w.GetKind()) {
        case Kind::Form: {
            auto& form = static_cast<Form&>(w);
            DWORD visible = static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE)) & WS_VISIBLE;
            SetWindowLongA(hwnd, GWL_STYLE, static_cast<LONG>(FormStyle(form) | visible));
            SetWindowLongA(hwnd, GWL_EXSTYLE, static_cast<LONG>(FormExStyle(form.BorderStyle())));
            Place(w);
            SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE |
                             SWP_FRAMECHANGED);
            break;
        }
        case Kind::PictureBox: {
            LONG ex = GetWindowLongA(hwnd, GWL_EXSTYLE);
            ex = w.BorderStyle() == vbFixedSingle ? (ex | WS_EX_CLIENTEDGE)
                                                  : (ex & ~static_cast<LONG>(WS_EX_CLIENTEDGE));
            SetWindowLongA(hwnd, GWL_EXSTYLE, ex);
            SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE |
                             SWP_FRAMECHANGED);
            break;
        }
        case Kind::CommandButton: {
            auto& button = static_cast<CommandButton&>(w);
            LONG style = GetWindowLongA(hwnd, GWL_STYLE) & ~static_cast<LONG>(BS_TYPEMASK);
            style |= button.Style() == vbButtonGraphical
                         ? BS_OWNERDRAW
                         : (button.Default() ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
            SetWindowLongA(hwnd, GWL_STYLE, style);
            break;
        }
        case Kind::OptionButton:
        case Kind::CheckBox: {
            LONG style = GetWindowLongA(hwnd, GWL_STYLE) & ~static_cast<LONG>(BS_LEFTTEXT);
            if (w.Alignment() == vbRightJustify) style |= BS_LEFTTEXT;
            SetWindowLongA(hwnd, GWL_STYLE, style);
            break;
        }
        default:
            break;
    }
    InvalidateRect(hwnd, nullptr, TRUE);
    if (w.IsWindowless()) InvalidateContainer(w);
}

// ---------------------------------------------------------------------- input

bool Win32Ui::Impl::AccessKey(Form& form, char letter) { return PressAccessKey(form, letter); }

// Keys go to the model first (key preview, KeyDown), then the dialog keys are handled as
// the classic toolkit handles them; true when the message is used up.
bool Win32Ui::Impl::PreTranslate(MSG& m) {
    if (m.message < WM_KEYFIRST || m.message > WM_KEYLAST) return false;
    Widget* owner = OwnerWidget(m.hwnd);
    if (!owner) return false;
    Form& form = owner->ParentForm();
    if (!form.IsLoaded()) return false;
    Widget* target = owner;
    if (owner->GetKind() == Kind::Form && form.ActiveControl()) target = form.ActiveControl();
    HWND formWnd = HwndOf(form);
    const int shift = ShiftState();

    switch (m.message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN: {
            dropChar = 0;
            int key = static_cast<int>(m.wParam);
            Guarded([&] { key = target->DeliverKeyDown(key, shift); });
            if (!form.IsLoaded() || !IsWindow(m.hwnd)) return true;
            if (key == 0) {
                dropChar = MapVirtualKeyA(static_cast<UINT>(m.wParam), 2);
                return true;
            }
            Widget* focus = form.ActiveControl();
            const bool isButton = focus && focus->GetKind() == Kind::CommandButton;
            if (key == VK_TAB && !(shift & (vbCtrlMask | vbAltMask))) {
                Guarded([&] {
                    if (Widget* next = form.NextTabStop(focus, (shift & vbShiftMask) != 0))
                        next->SetFocus();
                });
                dropChar = '\t';
                return true;
            }
            if ((shift & vbAltMask) && key >= 'A' && key <= 'Z') {
                Guarded([&] { AccessKey(form, static_cast<char>(key)); });
                return true;
            }
            const bool dropped = focus && focus->GetKind() == Kind::ComboBox && HwndOf(*focus) &&
                                 SendMessageA(HwndOf(*focus), CB_GETDROPPEDSTATE, 0, 0);
            if (!dropped && shift == 0 &&
                ((key == VK_RETURN &&
                  (isButton || (form.DefaultButton() && Reachable(*form.DefaultButton())))) ||
                 (key == VK_ESCAPE && form.CancelButton() && Reachable(*form.CancelButton())))) {
                m.wParam = static_cast<WPARAM>(key);
                dropChar = key == VK_RETURN ? '\r' : 27;
                if (IsDialogMessageA(formWnd, &m)) return true;
                dropChar = 0;
            }
            m.wParam = static_cast<WPARAM>(key);
            return false;
        }
        case WM_CHAR:
        case WM_SYSCHAR: {
            if (dropChar && m.wParam == dropChar) {
                dropChar = 0;
                return true;
            }
            int c = static_cast<int>(m.wParam);
            Guarded([&] { c = target->DeliverKeyPress(c); });
            if (!form.IsLoaded() || !IsWindow(m.hwnd) || c == 0) return true;
            m.wParam = static_cast<WPARAM>(c);
            return false;
        }
        case WM_KEYUP:
        case WM_SYSKEYUP: {
            int key = static_cast<int>(m.wParam);
            Guarded([&] { key = target->DeliverKeyUp(key, shift); });
            return !form.IsLoaded() || !IsWindow(m.hwnd) || key == 0;
        }
        default:
            return false;
    }
}

void Win32Ui::Impl::Process(MSG& m) {
    if (PreTranslate(m)) return;
    TranslateMessage(&m);
    DispatchMessageA(&m);
}

Widget* Win32Ui::Impl::HitWindowless(Widget& container, int x, int y) {
    const auto& children = container.Children();
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        Widget* c = *it;
        if (!c->IsWindowless() || c->GetKind() == Kind::Shape) continue;
        if (!c->Visible() || !c->Enabled()) continue;
        PixelRect r = c->PixelBounds();
        if (x >= r.x && y >= r.y && x < r.x + r.width && y < r.y + r.height) return c;
    }
    return nullptr;
}

// Mouse on a form, frame or picture box: the windowless control under the pointer gets it,
// otherwise the container itself. Click follows a left press and release on one widget.
void Win32Ui::Impl::Mouse(Widget& container, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const int x = static_cast<short>(LOWORD(lParam));
    const int y = static_cast<short>(HIWORD(lParam));
    Widget* target = HitWindowless(container, x, y);
    if (pressed && GetCapture() == hwnd && pressed->Container() == &container) target = pressed;
    if (!target) target = &container;
    int ox = 0, oy = 0;
    if (target != &container) {
        PixelRect r = target->PixelBounds();
        ox = r.x;
        oy = r.y;
    }
    const int shift = MouseShift(wParam);
    Guarded([&] {
        switch (msg) {
            case WM_MOUSEMOVE:
                target->DeliverMouse(MouseAction::Move, HeldButtons(wParam), shift, x - ox,
                                     y - oy);
                break;
            case WM_LBUTTONDOWN:
                pressed = target;
                SetCapture(hwnd);
                target->DeliverMouse(MouseAction::Down, vbLeftButton, shift, x - ox, y - oy);
                break;
            case WM_RBUTTONDOWN:
                target->DeliverMouse(MouseAction::Down, vbRightButton, shift, x - ox, y - oy);
                break;
            case WM_MBUTTONDOWN:
                target->DeliverMouse(MouseAction::Down, vbMiddleButton, shift, x - ox, y - oy);
                break;
            case WM_LBUTTONUP: {
                Widget* was = pressed;
                pressed = nullptr;
                if (GetCapture() == hwnd) ReleaseCapture();
                target->DeliverMouse(MouseAction::Up, vbLeftButton, shift, x - ox, y - oy);
                if (was == target && IsWindow(hwnd)) {
                    PixelRect r = target == &container ? container.ClientPixelRect()
                                                       : target->PixelBounds();
                    int w = r.width, h = r.height;
                    if (x - ox >= 0 && y - oy >= 0 && x - ox < w && y - oy < h)
                        target->DeliverClick();
                }
                break;
            }
            case WM_RBUTTONUP:
                target->DeliverMouse(MouseAction::Up, vbRightButton, shift, x - ox, y - oy);
                break;
            case WM_MBUTTONUP:
                target->DeliverMouse(MouseAction::Up, vbMiddleButton, shift, x - ox, y - oy);
                break;
            case WM_LBUTTONDBLCLK:
                pressed = target;
                SetCapture(hwnd);
                target->DeliverDblClick();
                break;
            default:
                break;
        }
    });
}

// Mouse on a native control: the model hears it first, then the control does its part.
void Win32Ui::Impl::ControlMouse(Widget& w, UINT msg, WPARAM wParam, LPARAM lParam) {
    const int x = static_cast<short>(LOWORD(lParam));
    const int y = static_cast<short>(HIWORD(lParam));
    const int shift = MouseShift(wParam);
    Guarded([&] {
        switch (msg) {
            case WM_MOUSEMOVE:
                w.DeliverMouse(MouseAction::Move, HeldButtons(wParam), shift, x, y);
                break;
            case WM_LBUTTONDOWN:
            case WM_LBUTTONDBLCLK:
                w.DeliverMouse(MouseAction::Down, vbLeftButton, shift, x, y);
                if (msg == WM_LBUTTONDBLCLK && w.GetKind() != Kind::CommandButton &&
                    w.GetKind() != Kind::OptionButton && w.GetKind() != Kind::CheckBox)
                    w.DeliverDblClick();
                break;
            case WM_RBUTTONDOWN:
                w.DeliverMouse(MouseAction::Down, vbRightButton, shift, x, y);
                break;
            case WM_MBUTTONDOWN:
                w.DeliverMouse(MouseAction::Down, vbMiddleButton, shift, x, y);
                break;
            case WM_LBUTTONUP:
                w.DeliverMouse(MouseAction::Up, vbLeftButton, shift, x, y);
                break;
            case WM_RBUTTONUP:
                w.DeliverMouse(MouseAction::Up, vbRightButton, shift, x, y);
                break;
            case WM_MBUTTONUP:
                w.DeliverMouse(MouseAction::Up, vbMiddleButton, shift, x, y);
                break;
            default:
                break;
        }
    });
}

bool Win32Ui::Impl::SetCursorFor(Widget& w) {
    HCURSOR c = screenPointer != vbDefault ? CursorFor(screenPointer) : nullptr;
    for (const Widget* p = &w; !c && p; p = p->Container())
        if (p->MousePointer() != vbDefault) c = CursorFor(p->MousePointer());
    if (!c) return false;
    SetCursor(c);
    return true;
}

LRESULT Win32Ui::Impl::DefaultId(Form& form) {
    Widget* focus = form.ActiveControl();
    Widget* target = nullptr;
    if (focus && focus->GetKind() == Kind::CommandButton) target = focus;
    else if (CommandButton* d = form.DefaultButton()) target = d;
    if (!target || !Reachable(*target)) return 0;
    auto it = peers.find(target);
    if (it == peers.end()) return 0;
    return MAKELRESULT(it->second.id, DC_HASDEFID);
}

void Win32Ui::Impl::Command(WPARAM wParam, LPARAM lParam, Widget& container) {
    const int code = HIWORD(wParam);
    HWND ctl = reinterpret_cast<HWND>(lParam);
    Widget* w = WidgetOf(ctl);
    if (!w) {
        // The dialog manager's Esc (and Enter without a default) come as IDCANCEL / IDOK.
        Form& form = container.ParentForm();
        if (LOWORD(wParam) == IDCANCEL) {
            if (CommandButton* c = form.CancelButton())
                if (Reachable(*c)) Guarded([&] { c->DeliverClick(); });
        }
        return;
    }
    if (busy) return;
    switch (w->GetKind()) {
        case Kind::CommandButton:
        case Kind::OptionButton:
        case Kind::CheckBox:
            if (code == BN_CLICKED) Guarded([&] { w->DeliverClick(); });
            break;
        case Kind::ComboBox: {
            auto* combo = static_cast<ComboBox*>(w);
            if (code == CBN_SELCHANGE) {
                int index = static_cast<int>(SendMessageA(ctl, CB_GETCURSEL, 0, 0));
                Guarded([&] { combo->DeliverPick(index); });
            } else if (code == CBN_EDITCHANGE) {
                int n = GetWindowTextLengthA(ctl);
                std::string text(static_cast<std::size_t>(std::max(0, n)) + 1, '\0');
                GetWindowTextA(ctl, text.data(), n + 1);
                text.resize(static_cast<std::size_t>(std::max(0, n)));
                Guarded([&] { combo->DeliverEdit(text); });
            } else if (code == CBN_SETFOCUS) {
                Guarded([&] { combo->DeliverGotFocus(); });
            }
            break;
        }
        default:
            break;
    }
}

void Win32Ui::Impl::HScroll(HWND barWnd, int code) {
    Widget* w = WidgetOf(barWnd);
    if (!w || w->GetKind() != Kind::HScrollBar || busy) return;
    auto* bar = static_cast<HScrollBar*>(w);
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_TRACKPOS | SIF_POS;
    GetScrollInfo(barWnd, SB_CTL, &si);
    const bool reversed = bar->Min() > bar->Max();
    auto toModel = [&](int native) { return reversed ? bar->Min() - native : bar->Min() + native; };
    Guarded([&] {
        switch (code) {
            case SB_LINELEFT: bar->DeliverScroll(ScrollAction::LineLeft); break;
            case SB_LINERIGHT: bar->DeliverScroll(ScrollAction::LineRight); break;
            case SB_PAGELEFT: bar->DeliverScroll(ScrollAction::PageLeft); break;
            case SB_PAGERIGHT: bar->DeliverScroll(ScrollAction::PageRight); break;
            case SB_LEFT: bar->DeliverScroll(ScrollAction::Home); break;
            case SB_RIGHT: bar->DeliverScroll(ScrollAction::End); break;
            case SB_THUMBTRACK:
                bar->DeliverScroll(ScrollAction::Track, toModel(si.nTrackPos));
                break;
            case SB_THUMBPOSITION:
                bar->DeliverScroll(ScrollAction::EndTrack, toModel(si.nTrackPos));
                break;
            default:
                return;
        }
    });
    // The thumb shows the model's value, whether or not it moved.
    if (IsWindow(barWnd) && WidgetOf(barWnd) == w) PushValue(*w);
}

// ---------------------------------------------------------------------- painting

void Win32Ui::Impl::DrawLabels(HDC dc, Widget& container) {
    SetBkMode(dc, TRANSPARENT);
    for (Widget* c : container.Children()) {
        if (c->GetKind() != Kind::Label || !c->Visible() || c->Caption().empty()) continue;
        PixelRect p = c->PixelBounds();
        RECT r{p.x, p.y, p.x + p.width, p.y + p.height};
        if (c->BorderStyle() == vbFixedSingle) InflateRect(&r, -1, -1);
        UINT format = DT_WORDBREAK | DT_EXPANDTABS;
        if (!c->UseMnemonic()) format |= DT_NOPREFIX;
        if (c->Alignment() == vbRightJustify) format |= DT_RIGHT;
        else if (c->Alignment() == vbCenter) format |= DT_CENTER;
        HGDIOBJ oldFont = SelectObject(dc, fonts.Get(c->GetFont()));
        HRGN clip = CreateRectRgn(r.left, r.top, r.right, r.bottom);
        SelectClipRgn(dc, clip);
        if (c->IsEffectivelyEnabled()) {
            SetTextColor(dc, ToColorRef(c->Resolve(c->ForeColor())));
            DrawTextA(dc, c->Caption().c_str(), -1, &r, format);
        } else {
            RECT shadow = r;
            OffsetRect(&shadow, 1, 1);
            SetTextColor(dc, GetSysColor(COLOR_3DHILIGHT));
            DrawTextA(dc, c->Caption().c_str(), -1, &shadow, format);
            SetTextColor(dc, GetSysColor(COLOR_3DSHADOW));
            DrawTextA(dc, c->Caption().c_str(), -1, &r, format);
        }
        SelectClipRgn(dc, nullptr);
        DeleteObject(clip);
        SelectObject(dc, oldFont);
    }
}

void Win32Ui::Impl::DrawFrameBorder(HDC dc, Widget& frame, int width, int height) {
    if (frame.BorderStyle() == vbBSNone && frame.Caption().empty()) return;
    HGDIOBJ oldFont = SelectObject(dc, fonts.Get(frame.GetFont()));
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    const int top = tm.tmHeight / 2;
    if (frame.BorderStyle() != vbBSNone) {
        RECT r{0, top, width, height};
        DrawEdge(dc, &r, EDGE_ETCHED, BF_RECT);
    }
    if (!frame.Caption().empty()) {
        RECT calc{0, 0, width, 0};
        DrawTextA(dc, frame.Caption().c_str(), -1, &calc, DT_CALCRECT | DT_SINGLELINE);
        RECT t{8, 0, std::min<LONG>(width - 2, 8 + (calc.right - calc.left) + 4), tm.tmHeight};
        FillRect(dc, &t, brushes.Get(frame.Resolve(frame.BackColor())));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, frame.IsEffectivelyEnabled() ? ToColorRef(frame.Resolve(frame.ForeColor()))
                                                      : GetSysColor(COLOR_GRAYTEXT));
        t.left += 2;
        DrawTextA(dc, frame.Caption().c_str(), -1, &t, DT_SINGLELINE);
    }
    SelectObject(dc, oldFont);
}

void Win32Ui::Impl::PaintContainer(HWND hwnd, Widget& w) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    if (!dc) return;
    RECT cr{};
    GetClientRect(hwnd, &cr);
    Guarded([&] {
        OffscreenBitmap off(dc, cr.right, cr.bottom);
        if (!off.Ok()) return;
        off.Fill(w.Resolve(w.BackColor()));
        off.Put(Compose(w), 0, 0);
        if (w.GetKind() == Kind::Frame) DrawFrameBorder(off.Dc(), w, cr.right, cr.bottom);
        DrawLabels(off.Dc(), w);
        BitBlt(dc, 0, 0, cr.right, cr.bottom, off.Dc(), 0, 0, SRCCOPY);
    });
    EndPaint(hwnd, &ps);
}

void Win32Ui::Impl::DrawGraphicalButton(const DRAWITEMSTRUCT& di, CommandButton& button) {
    RECT r = di.rcItem;
    HDC dc = di.hDC;
    FillRect(dc, &r, brushes.Get(button.Resolve(button.BackColor())));
    const bool down = (di.itemState & ODS_SELECTED) != 0;
    DrawEdge(dc, &r, down ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    int shift = down ? 1 : 0;
    int textTop = r.top + 4;
    if (const PicturePtr& picture = button.GetPicture()) {
        Surface s(picture->Width(), picture->Height(), button.Resolve(button.BackColor()));
        s.Blit(*picture, 0, 0);
        OffscreenBitmap off(dc, s.Width(), s.Height());
        if (off.Ok()) {
            off.Put(s, 0, 0);
            int x = (r.left + r.right - s.Width()) / 2 + shift;
            int y = r.top + 4 + shift;
            BitBlt(dc, x, y, s.Width(), s.Height(), off.Dc(), 0, 0, SRCCOPY);
        }
        textTop += s.Height() + 2;
    }
    RECT t{r.left + 2 + shift, textTop + shift, r.right - 2 + shift, r.bottom - 3 + shift};
    HGDIOBJ oldFont = SelectObject(dc, fonts.Get(button.GetFont()));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, (di.itemState & ODS_DISABLED) ? GetSysColor(COLOR_GRAYTEXT)
                                                   : ToColorRef(button.Resolve(button.ForeColor())));
    UINT format = DT_CENTER | DT_WORDBREAK;
    if (!button.GetPicture()) {
        format = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
        t.top = r.top + shift;
        t.bottom = r.bottom + shift;
    }
    DrawTextA(dc, button.Caption().c_str(), -1, &t, format);
    SelectObject(dc, oldFont);
    if (di.itemState & ODS_FOCUS) {
        RECT f = r;
        InflateRect(&f, -4, -4);
        DrawFocusRect(dc, &f);
    }
}

// ---------------------------------------------------------------------- window procedures

LRESULT CALLBACK Win32Ui::Impl::ContainerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Impl* impl = current;
    Widget* w = WidgetOf(hwnd);
    if (!impl || !w) return DefWindowProcA(hwnd, msg, wParam, lParam);
    const bool isForm = w->GetKind() == Kind::Form;

    switch (msg) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            impl->PaintContainer(hwnd, *w);
            return 0;
        case WM_COMMAND:
            impl->Command(wParam, lParam, *w);
            return 0;
        case WM_HSCROLL:
            if (lParam) impl->HScroll(reinterpret_cast<HWND>(lParam), LOWORD(wParam));
            return 0;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX: {
            Widget* c = WidgetOf(reinterpret_cast<HWND>(lParam));
            if (!c && msg != WM_CTLCOLORSTATIC && msg != WM_CTLCOLORBTN)
                c = OwnerWidget(reinterpret_cast<HWND>(lParam));
            if (!c || c->GetKind() == Kind::CommandButton) break;
            HDC dc = reinterpret_cast<HDC>(wParam);
            Color back = c->Resolve(c->BackColor());
            SetTextColor(dc, ToColorRef(c->Resolve(c->ForeColor())));
            SetBkColor(dc, ToColorRef(back));
            return reinterpret_cast<LRESULT>(impl->brushes.Get(back));
        }
        case WM_DRAWITEM: {
            auto* di = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
            Widget* c = di ? WidgetOf(di->hwndItem) : nullptr;
            if (c && c->GetKind() == Kind::CommandButton) {
                impl->Guarded([&] { impl->DrawGraphicalButton(*di, static_cast<CommandButton&>(*c)); });
                return TRUE;
            }
            break;
        }
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
            impl->Mouse(*w, hwnd, msg, wParam, lParam);
            return 0;
        case WM_SETCURSOR:
            if (LOWORD(lParam) == HTCLIENT && impl->SetCursorFor(*w)) return TRUE;
            break;
        case WM_SETFOCUS:
            if (!isForm && !impl->busy) impl->Guarded([&] { w->DeliverGotFocus(); });
            return 0;
        case WM_GETDLGCODE:
            return w->GetKind() == Kind::PictureBox ? DLGC_WANTARROWS | DLGC_WANTCHARS : 0;
        default:
            break;
    }

    if (isForm) {
        auto& form = static_cast<Form&>(*w);
        switch (msg) {
            case WM_CLOSE:
                impl->Guarded([&] { form.DeliverClose(); });
                return 0;
            case WM_ACTIVATE:
                if (LOWORD(wParam) != WA_INACTIVE) {
                    if (!impl->busy) impl->Guarded([&] { form.DeliverActivate(); });
                    if (!IsWindow(hwnd)) return 0;
                    Widget* focus = form.ActiveControl();
                    HWND f = focus ? HwndOf(*focus) : nullptr;
                    if (f && IsWindowVisible(f) && IsWindowEnabled(f)) ::SetFocus(f);
                    else ::SetFocus(hwnd);
                }
                return 0;
            case WM_MOVE:
                if (!impl->busy && !IsIconic(hwnd)) {
                    RECT r{};
                    GetWindowRect(hwnd, &r);
                    impl->Guarded([&] { form.DeliverMove(r.left, r.top); });
                }
                break;
            case WM_SIZE:
                if (!impl->busy && wParam != SIZE_MINIMIZED) {
                    RECT r{};
                    GetWindowRect(hwnd, &r);
                    impl->Guarded([&] { form.DeliverResize(r.right - r.left, r.bottom - r.top); });
                }
                InvalidateRect(hwnd, nullptr, FALSE);
                break;
            case DM_GETDEFID:
                return impl->DefaultId(form);
            default:
                break;
        }
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK Win32Ui::Impl::WindowlessProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_NCHITTEST:
            return HTTRANSPARENT;
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP: {
            // Mouse input sent to the window itself (the user's goes to the container, which
            // the empty region lets through) is the container's, at the same place.
            HWND parent = GetParent(hwnd);
            if (!parent) return 0;
            POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            MapWindowPoints(hwnd, parent, &p, 1);
            return SendMessageA(parent, msg, wParam, MAKELPARAM(p.x, p.y));
        }
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            // Drawn by the container; the window itself shows nothing.
            PAINTSTRUCT ps;
            BeginPaint(hwnd, &ps);
            EndPaint(hwnd, &ps);
            return 0;
        }
        default:
            return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

LRESULT CALLBACK Win32Ui::Impl::ControlProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Impl* impl = current;
    Widget* w = WidgetOf(hwnd);
    WNDPROC original = nullptr;
    if (w) {
        switch (w->GetKind()) {
            case Kind::ComboBox: original = comboProc; break;
            case Kind::HScrollBar: original = scrollProc; break;
            default: original = buttonProc; break;
        }
    } else {
        char cls[32] = {};
        GetClassNameA(hwnd, cls, sizeof(cls));
        original = lstrcmpiA(cls, "COMBOBOX") == 0   ? comboProc
                   : lstrcmpiA(cls, "SCROLLBAR") == 0 ? scrollProc
                                                      : buttonProc;
    }
    if (!original) return DefWindowProcA(hwnd, msg, wParam, lParam);
    if (!impl || !w) return CallWindowProcA(original, hwnd, msg, wParam, lParam);

    switch (msg) {
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
            impl->ControlMouse(*w, msg, wParam, lParam);
            if (!IsWindow(hwnd)) return 0;
            break;
        case WM_SETCURSOR:
            if (LOWORD(lParam) == HTCLIENT && impl->SetCursorFor(*w)) return TRUE;
            break;
        case WM_SETFOCUS: {
            LRESULT r = CallWindowProcA(original, hwnd, msg, wParam, lParam);
            if (!impl->busy) impl->Guarded([&] { w->DeliverGotFocus(); });
            return r;
        }
        default:
            break;
    }
    return CallWindowProcA(original, hwnd, msg, wParam, lParam);
}

// ====================================================================== Win32Ui

Win32Ui::Win32Ui() : impl_(std::make_unique<Impl>()) { Impl::current = impl_.get(); }

Win32Ui::~Win32Ui() {
    if (Impl::current == impl_.get()) Impl::current = nullptr;
    if (impl_->instanceMutex) CloseHandle(impl_->instanceMutex);
}

std::string Win32Ui::ProgramFolder() const {
    char path[MAX_PATH + 1] = {};
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string full(path, n);
    std::size_t slash = full.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : full.substr(0, slash);
}

bool Win32Ui::AnotherInstanceRunning() {
    if (impl_->instanceMutex) return false;
    char path[MAX_PATH + 1] = {};
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string name(path, n);
    std::size_t slash = name.find_last_of("\\/");
    if (slash != std::string::npos) name = name.substr(slash + 1);
    for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    SetLastError(0);
    impl_->instanceMutex = CreateMutexA(nullptr, FALSE, ("QMPrevInstance." + name).c_str());
    return impl_->instanceMutex && GetLastError() == ERROR_ALREADY_EXISTS;
}

void Win32Ui::ReportFault(const std::string& what) { impl_->Fault(what); }

void Win32Ui::Create(Widget& widget) { impl_->CreatePeer(widget); }

void Win32Ui::Destroy(Widget& widget) {
    HWND hwnd = HwndOf(widget);
    auto it = impl_->peers.find(&widget);
    ATOM atom = it != impl_->peers.end() ? it->second.name : 0;
    if (it != impl_->peers.end()) impl_->peers.erase(it);
    if (impl_->pressed == &widget) impl_->pressed = nullptr;
    widget.peer = 0;
    if (hwnd && IsWindow(hwnd)) {
        Impl::Busy b(*impl_);
        if (widget.IsWindowless()) impl_->InvalidateContainer(widget);
        RemovePropA(hwnd, kWidgetProp);
        RemovePropA(hwnd, kNameProp);
        DestroyWindow(hwnd);
    }
    if (atom) GlobalDeleteAtom(atom);
}

void Win32Ui::Update(Widget& widget, Prop what) {
    HWND hwnd = HwndOf(widget);
    if (!hwnd) return;
    Impl& impl = *impl_;
    Impl::Busy b(impl);
    switch (what) {
        case Prop::Caption:
            if (widget.GetKind() != Kind::ComboBox && widget.GetKind() != Kind::HScrollBar)
                SetWindowTextA(hwnd, widget.Caption().c_str());
            if (widget.IsWindowless()) impl.InvalidateContainer(widget);
            else if (widget.GetKind() == Kind::Frame) InvalidateRect(hwnd, nullptr, FALSE);
            break;
        case Prop::Geometry:
            impl.Place(widget);
            break;
        case Prop::Visible:
            if (widget.GetKind() == Kind::Form) {
                ShowWindow(hwnd, widget.Visible() ? SW_SHOW : SW_HIDE);
                if (widget.Visible()) {
                    SetForegroundWindow(hwnd);
                    UpdateWindow(hwnd);
                }
            } else {
                ShowWindow(hwnd, widget.Visible() ? SW_SHOWNA : SW_HIDE);
                if (widget.IsWindowless()) impl.InvalidateContainer(widget);
            }
            break;
        case Prop::Enabled:
            EnableWindow(hwnd, widget.Enabled() ? TRUE : FALSE);
            if (widget.IsWindowless()) impl.InvalidateContainer(widget);
            else InvalidateRect(hwnd, nullptr, FALSE);
            break;
        case Prop::Colors:
        case Prop::Picture:
        case Prop::Surface:
            if (widget.IsWindowless()) impl.InvalidateContainer(widget);
            else InvalidateRect(hwnd, nullptr, what != Prop::Surface);
            break;
        case Prop::Font:
            impl.PushFont(widget);
            if (widget.IsWindowless()) impl.InvalidateContainer(widget);
            else InvalidateRect(hwnd, nullptr, TRUE);
            break;
        case Prop::Appearance:
            impl.Restyle(widget);
            break;
        case Prop::Value:
            impl.PushValue(widget);
            break;
        case Prop::List:
            if (widget.GetKind() == Kind::ComboBox) impl.PushList(static_cast<ComboBox&>(widget));
            break;
        case Prop::MousePointer:
            break;
        case Prop::Buttons:
            impl.PushButtons(widget.ParentForm());
            break;
        case Prop::WindowState: {
            auto& form = static_cast<Form&>(widget);
            if (form.WindowState() == vbMinimized) ShowWindow(hwnd, SW_MINIMIZE);
            else if (IsIconic(hwnd)) ShowWindow(hwnd, SW_RESTORE);
            break;
        }
        case Prop::KeyPreview:
            break;
    }
}

void Win32Ui::SetFocus(Widget& widget) {
    HWND hwnd = HwndOf(widget);
    if (!hwnd) return;
    Impl::Busy b(*impl_);
    if (widget.GetKind() == Kind::Form) {
        if (IsWindowVisible(hwnd)) {
            SetForegroundWindow(hwnd);
            SetActiveWindow(hwnd);
        }
        Widget* focus = static_cast<Form&>(widget).ActiveControl();
        HWND f = focus ? HwndOf(*focus) : nullptr;
        ::SetFocus(f ? f : hwnd);
        return;
    }
    ::SetFocus(hwnd);
}

void Win32Ui::DoEvents(Application& app) {
    MSG m;
    // A bounded batch: a window that keeps posting cannot hold the caller's loop.
    for (int i = 0; i < 1000 && !app.Ended(); ++i) {
        if (!PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) break;
        if (m.message == WM_QUIT) {
            app.End(static_cast<int>(m.wParam));
            return;
        }
        impl_->Process(m);
    }
}

void Win32Ui::RunLoop(Application& app) {
    MSG m;
    while (!app.Ended() && !app.Forms().empty()) {
        BOOL got = GetMessageA(&m, nullptr, 0, 0);
        if (got == 0) {
            app.End(static_cast<int>(m.wParam));
            return;
        }
        if (got < 0) return;
        impl_->Process(m);
    }
}

namespace {

HHOOK g_boxHook = nullptr;
UINT g_boxFlags = 0;

// Marks the message box with the flags it was asked for, so a runner can read them.
LRESULT CALLBACK MarkBox(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        HWND box = reinterpret_cast<HWND>(wParam);
        char cls[32] = {};
        GetClassNameA(box, cls, sizeof(cls));
        if (lstrcmpA(cls, "#32770") == 0 && !GetPropA(box, kBoxFlagsProp))
            SetPropA(box, kBoxFlagsProp,
                     reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(g_boxFlags)));
    }
    return CallNextHookEx(g_boxHook, code, wParam, lParam);
}

}  // namespace

int Win32Ui::MessageBox(const std::string& text, int flags, const std::string& title) {
    // Owned by the visible form in front, so that form waits for the answer.
    HWND owner = GetActiveWindow();
    if (owner && !OwnerWidget(owner)) owner = nullptr;
    if (owner && !IsWindowVisible(owner)) owner = nullptr;

    HHOOK outerHook = g_boxHook;
    UINT outerFlags = g_boxFlags;
    g_boxFlags = static_cast<UINT>(flags);
    g_boxHook = SetWindowsHookExA(WH_CBT, MarkBox, nullptr, GetCurrentThreadId());
    int answer = MessageBoxA(owner, text.c_str(), title.c_str(), static_cast<UINT>(flags));
    if (g_boxHook) UnhookWindowsHookEx(g_boxHook);
    g_boxHook = outerHook;
    g_boxFlags = outerFlags;
    if (answer == 0) {
        // The box could not be shown: the answer that changes nothing.
        switch (flags & 7) {
            case vbOKOnly: return vbOK;
            case vbYesNo: return vbNo;
            case vbAbortRetryIgnore: return vbAbort;
            default: return vbCancel;
        }
    }
    return answer;
}

void Win32Ui::Beep() { MessageBeep(MB_OK); }

void Win32Ui::SetScreenMousePointer(int pointer) {
    impl_->screenPointer = pointer;
    HCURSOR c = CursorFor(pointer);
    SetCursor(c ? c : LoadCursorA(nullptr, IDC_ARROW));
}

double Win32Ui::TwipsPerPixel() const { return 1440.0 / impl_->dpi; }

int Win32Ui::ScreenWidthPixels() const { return GetSystemMetrics(SM_CXSCREEN); }

int Win32Ui::ScreenHeightPixels() const { return GetSystemMetrics(SM_CYSCREEN); }

Insets Win32Ui::FormFrame(int borderStyle, bool hasCaption) const {
    if (borderStyle == vbBSNone) return {};
    DWORD style = 0;
    switch (borderStyle) {
        case vbSizable: style = WS_OVERLAPPEDWINDOW; break;
        case 5: style = WS_OVERLAPPED | WS_CAPTION | WS_THICKFRAME; break;
        default: style = WS_OVERLAPPED | WS_CAPTION; break;
    }
    if (!hasCaption) style &= ~static_cast<DWORD>(WS_DLGFRAME);
    RECT r{0, 0, 0, 0};
    AdjustWindowRectEx(&r, style, FALSE, FormExStyle(borderStyle));
    return {-r.left, -r.top, r.right, r.bottom};
}

TextExtent Win32Ui::MeasureText(const Font& font, const std::string& text, int wrapWidth) {
    HDC dc = GetDC(nullptr);
    if (!dc) return {};
    HGDIOBJ old = SelectObject(dc, impl_->fonts.Get(font));
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    TextExtent e{0, static_cast<int>(tm.tmHeight)};
    if (!text.empty()) {
        RECT r{0, 0, wrapWidth > 0 ? wrapWidth : 0, 0};
        UINT format = DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS;
        if (wrapWidth > 0) format |= DT_WORDBREAK;
        DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, format);
        e.width = r.right - r.left;
        e.height = std::max<int>(r.bottom - r.top, tm.tmHeight);
    }
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return e;
}

Color Win32Ui::SystemColor(int index) const {
    return static_cast<Color>(GetSysColor(index)) & 0x00FFFFFFu;
}

void Win32Ui::DrawText(Surface& surface, int x, int y, const std::string& text, const Font& font,
                       Color color) {
    if (text.empty()) return;
    TextExtent e = MeasureText(font, text, 0);
    const int x0 = std::max(0, x), y0 = std::max(0, y);
    const int x1 = std::min(surface.Width(), x + e.width);
    const int y1 = std::min(surface.Height(), y + e.height);
    if (x1 <= x0 || y1 <= y0) return;
    HDC screen = GetDC(nullptr);
    if (!screen) return;
    {
        OffscreenBitmap off(screen, x1 - x0, y1 - y0);
        if (off.Ok()) {
            Surface region(x1 - x0, y1 - y0);
            for (int row = y0; row < y1; ++row)
                for (int col = x0; col < x1; ++col)
                    region.Set(col - x0, row - y0, surface.At(col, row));
            off.Put(region, 0, 0);
            HGDIOBJ old = SelectObject(off.Dc(), impl_->fonts.Get(font));
            SetBkMode(off.Dc(), TRANSPARENT);
            SetTextColor(off.Dc(), ToColorRef(color));
            TextOutA(off.Dc(), x - x0, y - y0, text.c_str(), static_cast<int>(text.size()));
            SelectObject(off.Dc(), old);
            off.Get(surface, x0, y0);
        }
    }
    ReleaseDC(nullptr, screen);
}

}  // namespace qm::win32
