// The end-to-end runner's toolkit: drives the shipped programs from another process under
// Wine the way a person would, and talks to the stand-in touch driver behind them.
//
// Everything waits with a timeout and reports failure as an empty result, so a test that
// meets a missing window or a hung program fails with a message instead of hanging.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "../driver/bench_requests.h"
#include "common/driver_codes.h"

namespace qm::wine {

// Polls `done` until it returns true or `timeoutMs` has passed; true when it did.
template <class F>
bool WaitUntil(F done, DWORD timeoutMs, DWORD stepMs = 50) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (done()) return true;
        if (GetTickCount() - start >= timeoutMs) return false;
        Sleep(stepMs);
    }
}

// ---- the bench's layout, passed in by tests/wine/run.sh through the environment ----------

enum class Build { Serial, Ps2 };

std::string DriverName(Build build);    // "QMWS3COM" / "QMWS3PS2"
std::string ProductTag(Build build);    // "QM-COM" / "QM-PS2"
std::string ProductKeyPath(Build build);  // "SOFTWARE\Vestamorel\TouchScreen\QM-COM"
// The install folder the product key names (InstallPath), read from the registry.
std::string InstallDir(Build build);
// A program file in the install folder, e.g. ProgramPath(Build::Serial, "QMwS3ccp.exe").
std::string ProgramPath(Build build, const std::string& fileName);
bool FileExists(const std::string& path);

// ---- processes ----------------------------------------------------------------------------

struct Process {
    HANDLE handle = nullptr;
    DWORD pid = 0;
    explicit operator bool() const { return handle != nullptr; }
};

// CreateProcess of `path` (quoted) with `arguments`; working folder = the program's folder.
// An empty Process when it could not be started.
Process Start(const std::string& path, const std::string& arguments = "");
// The exit code, or nothing when the process was still running after `timeoutMs`.
std::optional<DWORD> WaitForExit(const Process& process, DWORD timeoutMs);
bool IsRunning(const Process& process);
// Ends the process (if still running) and closes the handle; safe to call twice.
void Kill(Process& process);

// Kills a process at the end of a scope, so a failing test leaves no program behind.
class ScopedProcess {
public:
    explicit ScopedProcess(Process p) : process_(p) {}
    ~ScopedProcess() { Kill(process_); }
    ScopedProcess(const ScopedProcess&) = delete;
    ScopedProcess& operator=(const ScopedProcess&) = delete;
    Process& get() { return process_; }
    const Process* operator->() const { return &process_; }

private:
    Process process_;
};

// ---- windows and controls -----------------------------------------------------------------

// Visible top-level windows whose caption equals `caption` exactly.
std::vector<HWND> FindTopWindows(const std::string& caption);
// Top-level windows of a process (visible ones only unless `includeHidden`).
std::vector<HWND> TopWindowsOf(DWORD pid, bool includeHidden = false);
// Waits until the process shows a visible top-level window (with this caption when one is
// given); nullptr on timeout or when the process ended first.
HWND WaitForWindow(const Process& process, const std::string& caption, DWORD timeoutMs);
// Waits until a visible top-level window with this caption exists, in any process.
HWND WaitForCaption(const std::string& caption, DWORD timeoutMs);
// Waits until `window` is hidden or destroyed.
bool WaitUntilGone(HWND window, DWORD timeoutMs);

// The control name a window carries (window property "QMControlName" holding a global atom
// whose name is the control name); "" when it has none.
std::string ControlName(HWND control);
// The descendant of `top` carrying this control name ("cmdApply", "optFeedbackSound(1)").
HWND FindControl(HWND top, const std::string& name);
// Every named descendant of `top`, in creation order.
std::vector<std::pair<std::string, HWND>> NamedControls(HWND top);

std::string Text(HWND window);        // WM_GETTEXT (with a timeout)
std::string ClassName(HWND window);
bool IsEnabled(HWND window);
bool IsVisible(HWND window);          // the window and all its parents are visible
// Position and size in pixels, relative to the parent's client area (the top-level window:
// screen coordinates of the whole window).
RECT Placement(HWND window);
// Client-area size in pixels.
SIZE ClientSize(HWND window);

// Button press as the user makes it (posted BM_CLICK, so a handler that opens a modal
// message box does not block the runner).
void Click(HWND button);
// Mouse button pressed and released at (x, y) of the control's client area, with the
// modifier keys in `keys` (MK_SHIFT, MK_CONTROL) reported in the messages.
enum class MouseButton { Left, Middle, Right };
void ClickAt(HWND control, int x, int y, MouseButton button = MouseButton::Left,
             WPARAM keys = 0);
// Keys posted to a window as WM_KEYDOWN/WM_CHAR/WM_KEYUP (modifiers are not pressed).
void PostKey(HWND window, WORD virtualKey);
void PostChars(HWND window, const std::string& text);
// Real keyboard input (SendInput) to the foreground window after bringing `window` to the
// front: modifiers held while `virtualKey` is pressed, e.g. PressKeys(w, 'J', {VK_CONTROL}).
void PressKeys(HWND window, WORD virtualKey, const std::vector<WORD>& modifiers = {});
// Lets the target process handle what was posted: waits until its window answers.
bool Settle(HWND window, DWORD timeoutMs = 5000);

// ---- message boxes ------------------------------------------------------------------------

enum class BoxIcon { None, Stop, Question, Exclamation, Information, Unknown };
const char* IconName(BoxIcon icon);

struct MessageBoxInfo {
    HWND window = nullptr;
    std::string title;
    std::string text;  // the static with id 0xFFFF
    // MessageBoxA flags from the "QMMessageBoxFlags" property; nothing when absent (or 0).
    std::optional<UINT> flags;
    // The icon as shown: read from the icon the box displays, compared with the system
    // icons; Unknown when no comparison matched.
    BoxIcon shownIcon = BoxIcon::None;
    std::vector<std::pair<int, std::string>> buttons;  // control id, caption
    explicit operator bool() const { return window != nullptr; }
};

// A dialog box (class #32770) of the process that looks like a message box (has the 0xFFFF
// static); waits up to `timeoutMs`.
MessageBoxInfo WaitForMessageBox(const Process& process, DWORD timeoutMs);
// Any process; matched by title.
MessageBoxInfo WaitForMessageBoxTitled(const std::string& title, DWORD timeoutMs);
MessageBoxInfo ReadMessageBox(HWND box);
// Presses the button with this id (IDOK, IDYES, IDNO ...); false when the box has none.
bool Answer(const MessageBoxInfo& box, int buttonId);

// ---- registry -----------------------------------------------------------------------------

std::optional<std::string> ReadString(HKEY root, const std::string& key, const std::string& name);
std::optional<DWORD> ReadDword(HKEY root, const std::string& key, const std::string& name);
// The value's type, or nothing when it does not exist.
std::optional<DWORD> ValueType(HKEY root, const std::string& key, const std::string& name);
bool WriteString(HKEY root, const std::string& key, const std::string& name,
                 const std::string& value);
bool WriteDword(HKEY root, const std::string& key, const std::string& name, DWORD value);
bool DeleteValue(HKEY root, const std::string& key, const std::string& name);

// ---- the stand-in driver ------------------------------------------------------------------

using Bytes = std::vector<std::uint8_t>;
using Block = std::array<std::uint8_t, QM_PARAMETER_BLOCK_SIZE>;

// Byte offsets of the parameter block's fields.
namespace field {
constexpr int BasePort = 0, Irq = 2, ComPort = 3, PortTable = 4, VirtualButton = 40,
              FeedbackSound = 41, FeedbackTone = 42, FeedbackDuration = 44, Sensitivity = 46,
              MouseBypass = 47, MouseHSpeed = 48, MouseVSpeed = 49, MouseAcceleration = 50,
              PowerDownTime = 51, BaudRateIndex = 52, RightButtonFunction = 53,
              RightButtonAutoMode = 54, RightButtonAutoSTime = 55, RightButtonAutoETime = 56,
              RightButtonAutoBeep = 57, CalibrationData = 58, PanelDirection = 70,
              Reserved71 = 71, ScreenWidth = 72, ScreenHeight = 74, McuMode = 76,
              McuVersion = 77, McuCode = 78;
}
std::uint16_t U16(const Block& b, int offset);
void SetU16(Block& b, int offset, std::uint16_t value);

struct Sample {
    std::int16_t x = 0;
    std::int16_t y = 0;
    bool touched = false;
};

struct LoggedRequest {
    std::uint32_t code = 0;
    std::uint32_t status = 0;  // NTSTATUS; 0 = success
    std::uint16_t inputLength = 0;
    std::uint16_t outputLength = 0;
    Bytes input;  // the first bytes of the input, as received
};

struct DriverLog {
    std::vector<LoggedRequest> requests;  // oldest first
    std::uint32_t total = 0;
    std::uint32_t dropped = 0;
    // The codes in order, for asserting whole request sequences.
    std::vector<std::uint32_t> Codes() const;
};

// The runner's own handle to the stand-in driver (opened for reading, shared, as the
// programs open it). Requests return false when DeviceIoControl fails; LastError() tells why.
class BenchDriver {
public:
    explicit BenchDriver(Build build);
    explicit BenchDriver(const std::string& deviceName);
    ~BenchDriver();
    BenchDriver(const BenchDriver&) = delete;
    BenchDriver& operator=(const BenchDriver&) = delete;

    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
    DWORD LastError() const { return lastError_; }

    // Any request, the way the programs issue them: one buffer as input and output.
    bool Request(std::uint32_t code, Bytes& buffer);
    // Separate input and output sizes, for refusing wrong sizes.
    bool Request(std::uint32_t code, const Bytes& input, Bytes& output, DWORD* returned = nullptr);

    // Private requests.
    bool SetBlock(const Block& block);
    std::optional<Block> PeekBlock();
    bool SetVrState(std::int32_t window, std::int16_t rotation);
    bool Inject(const std::vector<Sample>& samples);
    std::optional<DriverLog> ReadLog();
    bool ClearLog();
    bool Reset();
    std::optional<QmBenchState> PeekState();

private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
    DWORD lastError_ = 0;
};

// Stops or starts the stand-in driver's service through the service control manager and
// waits until it has reached that state; false on failure or timeout. A stopped driver has
// no device, so opening it fails as on a machine where the driver is not installed. Close
// every BenchDriver first: Wine unloads the driver even while handles are open, and a handle
// kept across a stop points at a device that is gone.
bool StopDriverService(Build build, DWORD timeoutMs = 60000);
bool StartDriverService(Build build, DWORD timeoutMs = 60000);

// The block the stand-in driver holds at load: a controller on COM1, 03F8h, IRQ 4, 9600.
Block DefaultBlock();

// ---- screenshots --------------------------------------------------------------------------

// Saves the whole display as <shot folder>/<name>.png. The bench's screenshot helper (a
// watcher started by run.sh) takes the picture; returns the Windows path of the file, or
// "" when no helper answered in time.
std::string Screenshot(const std::string& name, DWORD timeoutMs = 20000);

}  // namespace qm::wine
