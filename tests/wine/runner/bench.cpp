#include "bench.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace qm::wine {

namespace {

constexpr DWORD kPollMs = 50;

std::string Env(const char* name) {
    const char* v = std::getenv(name);
    return v ? v : "";
}

template <class F>
bool Poll(F done, DWORD timeoutMs) {
    return WaitUntil(done, timeoutMs, kPollMs);
}

}  // namespace

// ---- layout -------------------------------------------------------------------------------

std::string DriverName(Build build) { return build == Build::Serial ? "QMWS3COM" : "QMWS3PS2"; }
std::string ProductTag(Build build) { return build == Build::Serial ? "QM-COM" : "QM-PS2"; }
std::string ProductKeyPath(Build build) {
    return "SOFTWARE\\Vestamorel\\TouchScreen\\" + ProductTag(build);
}

std::string InstallDir(Build build) {
    return ReadString(HKEY_LOCAL_MACHINE, ProductKeyPath(build), "InstallPath").value_or("");
}

std::string ProgramPath(Build build, const std::string& fileName) {
    return InstallDir(build) + "\\" + fileName;
}

bool FileExists(const std::string& path) {
    const DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

// ---- processes ----------------------------------------------------------------------------

Process Start(const std::string& path, const std::string& arguments) {
    std::string commandLine = "\"" + path + "\"";
    if (!arguments.empty()) commandLine += " " + arguments;
    std::string folder = path.substr(0, path.find_last_of('\\'));
    STARTUPINFOA si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    if (!CreateProcessA(path.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &si, &pi))
        return {};
    CloseHandle(pi.hThread);
    return {pi.hProcess, pi.dwProcessId};
}

std::optional<DWORD> WaitForExit(const Process& process, DWORD timeoutMs) {
    if (!process) return std::nullopt;
    if (WaitForSingleObject(process.handle, timeoutMs) != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(process.handle, &code);
    return code;
}

bool IsRunning(const Process& process) {
    return process && WaitForSingleObject(process.handle, 0) == WAIT_TIMEOUT;
}

void Kill(Process& process) {
    if (!process) return;
    if (IsRunning(process)) {
        TerminateProcess(process.handle, 0xDEAD);
        WaitForSingleObject(process.handle, 5000);
    }
    CloseHandle(process.handle);
    process = {};
}

// ---- windows and controls -----------------------------------------------------------------

namespace {

struct TopWalk {
    DWORD pid;
    bool includeHidden;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTop(HWND w, LPARAM p) {
    auto* walk = reinterpret_cast<TopWalk*>(p);
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    if ((walk->pid == 0 || owner == walk->pid) && (walk->includeHidden || IsWindowVisible(w)))
        walk->found.push_back(w);
    return TRUE;
}

std::vector<HWND> AllTop(DWORD pid, bool includeHidden) {
    TopWalk walk{pid, includeHidden, {}};
    EnumWindows(CollectTop, reinterpret_cast<LPARAM>(&walk));
    return walk.found;
}

}  // namespace

std::vector<HWND> FindTopWindows(const std::string& caption) {
    std::vector<HWND> out;
    for (HWND w : AllTop(0, false))
        if (Text(w) == caption) out.push_back(w);
    return out;
}

std::vector<HWND> TopWindowsOf(DWORD pid, bool includeHidden) { return AllTop(pid, includeHidden); }

HWND WaitForWindow(const Process& process, const std::string& caption, DWORD timeoutMs) {
    HWND found = nullptr;
    Poll(
        [&] {
            for (HWND w : AllTop(process.pid, false))
                if (caption.empty() || Text(w) == caption) {
                    found = w;
                    return true;
                }
            return !IsRunning(process);
        },
        timeoutMs);
    return found;
}

HWND WaitForCaption(const std::string& caption, DWORD timeoutMs) {
    HWND found = nullptr;
    Poll(
        [&] {
            auto all = FindTopWindows(caption);
            if (all.empty()) return false;
            found = all.front();
            return true;
        },
        timeoutMs);
    return found;
}

bool WaitUntilGone(HWND window, DWORD timeoutMs) {
    return Poll([&] { return !IsWindow(window) || !IsWindowVisible(window); }, timeoutMs);
}

std::string ControlName(HWND control) {
    // The atom is global, so its name can be read from any process of the session.
    const auto atom = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(GetPropA(control, "QMControlName")));
    if (!atom) return "";
    char name[256] = {};
    const UINT n = GlobalGetAtomNameA(atom, name, sizeof(name));
    return std::string(name, n);
}

namespace {

struct ChildWalk {
    std::vector<std::pair<std::string, HWND>> found;
};

BOOL CALLBACK CollectNamed(HWND w, LPARAM p) {
    auto* walk = reinterpret_cast<ChildWalk*>(p);
    std::string name = ControlName(w);
    if (!name.empty()) walk->found.emplace_back(std::move(name), w);
    return TRUE;
}

}  // namespace

std::vector<std::pair<std::string, HWND>> NamedControls(HWND top) {
    ChildWalk walk;
    EnumChildWindows(top, CollectNamed, reinterpret_cast<LPARAM>(&walk));
    return walk.found;
}

HWND FindControl(HWND top, const std::string& name) {
    for (auto& [n, w] : NamedControls(top))
        if (n == name) return w;
    return nullptr;
}

std::string Text(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length))
        return "";
    std::string text(length + 1, '\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                             SMTO_ABORTIFHUNG, 5000, &copied))
        return "";
    text.resize(std::min<size_t>(copied, length));
    return text;
}

std::string ClassName(HWND window) {
    char name[256] = {};
    const int n = GetClassNameA(window, name, sizeof(name));
    return std::string(name, n > 0 ? n : 0);
}

bool IsEnabled(HWND window) { return IsWindowEnabled(window) != FALSE; }
bool IsVisible(HWND window) { return IsWindowVisible(window) != FALSE; }

RECT Placement(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    HWND parent = (GetWindowLongA(window, GWL_STYLE) & WS_CHILD) ? GetParent(window) : nullptr;
    if (parent) MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
    return RECT{r.left, r.top, r.right - r.left, r.bottom - r.top};
}

SIZE ClientSize(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

void Click(HWND button) { PostMessageA(button, BM_CLICK, 0, 0); }

void ClickAt(HWND control, int x, int y, MouseButton button, WPARAM keys) {
    UINT down = WM_LBUTTONDOWN, up = WM_LBUTTONUP;
    WPARAM held = MK_LBUTTON;
    if (button == MouseButton::Middle) down = WM_MBUTTONDOWN, up = WM_MBUTTONUP, held = MK_MBUTTON;
    if (button == MouseButton::Right) down = WM_RBUTTONDOWN, up = WM_RBUTTONUP, held = MK_RBUTTON;
    const LPARAM at = MAKELPARAM(x, y);
    PostMessageA(control, WM_MOUSEMOVE, keys, at);
    PostMessageA(control, down, keys | held, at);
    PostMessageA(control, up, keys, at);
}

void PostKey(HWND window, WORD virtualKey) {
    const UINT scan = MapVirtualKeyA(virtualKey, 0);
    PostMessageA(window, WM_KEYDOWN, virtualKey, 1 | (scan << 16));
    const UINT ch = MapVirtualKeyA(virtualKey, 2);
    if (ch) PostMessageA(window, WM_CHAR, ch, 1 | (scan << 16));
    PostMessageA(window, WM_KEYUP, virtualKey, 1 | (scan << 16) | (1u << 30) | (1u << 31));
}

void PostChars(HWND window, const std::string& text) {
    for (unsigned char c : text) PostMessageA(window, WM_CHAR, c, 1);
}

void PressKeys(HWND window, WORD virtualKey, const std::vector<WORD>& modifiers) {
    HWND top = GetAncestor(window, GA_ROOT);
    SetForegroundWindow(top ? top : window);
    std::vector<INPUT> inputs;
    auto key = [&](WORD vk, bool up) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = vk;
        in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, 0));
        in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        inputs.push_back(in);
    };
    for (WORD m : modifiers) key(m, false);
    key(virtualKey, false);
    key(virtualKey, true);
    for (auto it = modifiers.rbegin(); it != modifiers.rend(); ++it) key(*it, true);
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

bool Settle(HWND window, DWORD timeoutMs) {
    // Posted input is handled after sent messages, so give the queue a moment, then check
    // that the thread answers again.
    Sleep(100);
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, timeoutMs, &ignored) != 0;
}

// ---- message boxes ------------------------------------------------------------------------

const char* IconName(BoxIcon icon) {
    switch (icon) {
    case BoxIcon::None: return "none";
    case BoxIcon::Stop: return "stop";
    case BoxIcon::Question: return "question";
    case BoxIcon::Exclamation: return "exclamation";
    case BoxIcon::Information: return "information";
    case BoxIcon::Unknown: return "unknown";
    }
    return "?";
}

namespace {

constexpr int kBoxTextId = 0xFFFF;
constexpr int kBoxIconId = 0x0440;  // the icon static of the system message box

// 32-bit top-down pixels of a w x h area.
struct Pixels {
    int w = 0, h = 0;
    std::vector<std::uint32_t> p;
};

Pixels Capture(HDC from, int x, int y, int w, int h) {
    Pixels out{w, h, std::vector<std::uint32_t>(static_cast<size_t>(w) * h)};
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC mem = CreateCompatibleDC(from);
    HBITMAP bmp = CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, w, h, from, x, y, SRCCOPY);
    GdiFlush();
    std::memcpy(out.p.data(), bits, out.p.size() * 4);
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    return out;
}

Pixels Render(HICON icon, int w, int h, COLORREF background) {
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = SelectObject(mem, bmp);
    HBRUSH brush = CreateSolidBrush(background);
    RECT all{0, 0, w, h};
    FillRect(mem, &all, brush);
    DeleteObject(brush);
    DrawIconEx(mem, 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
    Pixels out = Capture(mem, 0, 0, w, h);
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return out;
}

// Compares what the box shows with each system icon, over the pixels the icon covers (those
// that come out the same on a black and on a white background).
BoxIcon IdentifyIcon(HWND iconStatic) {
    if (!iconStatic || !IsWindowVisible(iconStatic)) return BoxIcon::None;
    DWORD_PTR shownHandle = 0;
    if (SendMessageTimeoutA(iconStatic, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 5000, &shownHandle) &&
        shownHandle == 0)
        return BoxIcon::None;  // a box without an icon keeps an empty icon static
    RECT r{};
    GetWindowRect(iconStatic, &r);
    const int w = std::min<int>(r.right - r.left, GetSystemMetrics(SM_CXICON));
    const int h = std::min<int>(r.bottom - r.top, GetSystemMetrics(SM_CYICON));
    if (w <= 0 || h <= 0) return BoxIcon::None;
    HDC screen = GetDC(nullptr);
    const Pixels shown = Capture(screen, r.left, r.top, w, h);
    ReleaseDC(nullptr, screen);

    struct Candidate {
        BoxIcon icon;
        LPCSTR id;
    } candidates[] = {{BoxIcon::Stop, IDI_HAND},
                      {BoxIcon::Question, IDI_QUESTION},
                      {BoxIcon::Exclamation, IDI_EXCLAMATION},
                      {BoxIcon::Information, IDI_ASTERISK}};
    BoxIcon best = BoxIcon::Unknown;
    double bestScore = 0.0;
    for (const auto& c : candidates) {
        HICON icon = LoadIconA(nullptr, c.id);
        if (!icon) continue;
        const Pixels onBlack = Render(icon, w, h, RGB(0, 0, 0));
        const Pixels onWhite = Render(icon, w, h, RGB(255, 255, 255));
        size_t covered = 0, same = 0;
        for (size_t i = 0; i < shown.p.size(); ++i) {
            if ((onBlack.p[i] & 0xFFFFFF) != (onWhite.p[i] & 0xFFFFFF)) continue;
            ++covered;
            if ((onBlack.p[i] & 0xFFFFFF) == (shown.p[i] & 0xFFFFFF)) ++same;
        }
        if (covered < 16) continue;
        const double score = static_cast<double>(same) / static_cast<double>(covered);
        if (score > bestScore) bestScore = score, best = c.icon;
    }
    return bestScore >= 0.9 ? best : BoxIcon::Unknown;
}

BOOL CALLBACK CollectButtons(HWND w, LPARAM p) {
    auto* out = reinterpret_cast<std::vector<std::pair<int, std::string>>*>(p);
    if (ClassName(w) == "Button" && IsWindowVisible(w)) out->emplace_back(GetDlgCtrlID(w), Text(w));
    return TRUE;
}

bool LooksLikeMessageBox(HWND w) {
    return ClassName(w) == "#32770" && GetDlgItem(w, kBoxTextId) != nullptr;
}

}  // namespace

MessageBoxInfo ReadMessageBox(HWND box) {
    MessageBoxInfo info;
    if (!box || !IsWindow(box)) return info;
    info.window = box;
    info.title = Text(box);
    if (HWND text = GetDlgItem(box, kBoxTextId)) info.text = Text(text);
    if (HANDLE flags = GetPropA(box, "QMMessageBoxFlags"))
        info.flags = static_cast<UINT>(reinterpret_cast<UINT_PTR>(flags));
    info.shownIcon = IdentifyIcon(GetDlgItem(box, kBoxIconId));
    EnumChildWindows(box, CollectButtons, reinterpret_cast<LPARAM>(&info.buttons));
    return info;
}

MessageBoxInfo WaitForMessageBox(const Process& process, DWORD timeoutMs) {
    HWND found = nullptr;
    Poll(
        [&] {
            for (HWND w : AllTop(process.pid, false))
                if (LooksLikeMessageBox(w)) {
                    found = w;
                    return true;
                }
            return !IsRunning(process);
        },
        timeoutMs);
    if (!found) return {};
    Sleep(200);  // let the box finish painting before its icon is read
    return ReadMessageBox(found);
}

MessageBoxInfo WaitForMessageBoxTitled(const std::string& title, DWORD timeoutMs) {
    HWND found = nullptr;
    Poll(
        [&] {
            for (HWND w : AllTop(0, false))
                if (LooksLikeMessageBox(w) && Text(w) == title) {
                    found = w;
                    return true;
                }
            return false;
        },
        timeoutMs);
    if (!found) return {};
    Sleep(200);
    return ReadMessageBox(found);
}

bool Answer(const MessageBoxInfo& box, int buttonId) {
    if (!box) return false;
    HWND button = GetDlgItem(box.window, buttonId);
    if (!button) return false;
    return PostMessageA(box.window, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                        reinterpret_cast<LPARAM>(button)) != 0;
}

// ---- registry -----------------------------------------------------------------------------

namespace {

std::optional<std::pair<DWORD, std::vector<BYTE>>> ReadRaw(HKEY root, const std::string& key,
                                                            const std::string& name) {
    HKEY k = nullptr;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return std::nullopt;
    DWORD type = 0, size = 0;
    std::optional<std::pair<DWORD, std::vector<BYTE>>> out;
    if (RegQueryValueExA(k, name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
        std::vector<BYTE> data(size + 1, 0);
        if (RegQueryValueExA(k, name.c_str(), nullptr, &type, data.data(), &size) == ERROR_SUCCESS) {
            data.resize(size);
            out.emplace(type, std::move(data));
        }
    }
    RegCloseKey(k);
    return out;
}

}  // namespace

std::optional<std::string> ReadString(HKEY root, const std::string& key, const std::string& name) {
    auto raw = ReadRaw(root, key, name);
    if (!raw || (raw->first != REG_SZ && raw->first != REG_EXPAND_SZ)) return std::nullopt;
    std::string s(raw->second.begin(), raw->second.end());
    while (!s.empty() && s.back() == '\0') s.pop_back();
    return s;
}

std::optional<DWORD> ReadDword(HKEY root, const std::string& key, const std::string& name) {
    auto raw = ReadRaw(root, key, name);
    if (!raw || raw->first != REG_DWORD || raw->second.size() != 4) return std::nullopt;
    DWORD v = 0;
    std::memcpy(&v, raw->second.data(), 4);
    return v;
}

std::optional<DWORD> ValueType(HKEY root, const std::string& key, const std::string& name) {
    auto raw = ReadRaw(root, key, name);
    if (!raw) return std::nullopt;
    return raw->first;
}

namespace {

bool WriteRaw(HKEY root, const std::string& key, const std::string& name, DWORD type,
              const BYTE* data, DWORD size) {
    HKEY k = nullptr;
    if (RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr) !=
        ERROR_SUCCESS)
        return false;
    const bool ok = RegSetValueExA(k, name.c_str(), 0, type, data, size) == ERROR_SUCCESS;
    RegCloseKey(k);
    return ok;
}

}  // namespace

bool WriteString(HKEY root, const std::string& key, const std::string& name,
                 const std::string& value) {
    return WriteRaw(root, key, name, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                    static_cast<DWORD>(value.size() + 1));
}

bool WriteDword(HKEY root, const std::string& key, const std::string& name, DWORD value) {
    return WriteRaw(root, key, name, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4);
}

bool DeleteValue(HKEY root, const std::string& key, const std::string& name) {
    HKEY k = nullptr;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_WRITE, &k) != ERROR_SUCCESS) return false;
    const bool ok = RegDeleteValueA(k, name.c_str()) == ERROR_SUCCESS;
    RegCloseKey(k);
    return ok;
}

// ---- the stand-in driver ------------------------------------------------------------------

std::uint16_t U16(const Block& b, int offset) {
    return static_cast<std::uint16_t>(b[offset] | (b[offset + 1] << 8));
}

void SetU16(Block& b, int offset, std::uint16_t value) {
    b[offset] = static_cast<std::uint8_t>(value & 0xFF);
    b[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

std::vector<std::uint32_t> DriverLog::Codes() const {
    std::vector<std::uint32_t> codes;
    for (const auto& r : requests) codes.push_back(r.code);
    return codes;
}

BenchDriver::BenchDriver(Build build) : BenchDriver(DriverName(build)) {}

BenchDriver::BenchDriver(const std::string& deviceName) {
    SECURITY_ATTRIBUTES sa{};  // as the programs pass it: length 0, no descriptor
    const std::string path = "\\\\.\\" + deviceName;
    handle_ = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &sa,
                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle_ == INVALID_HANDLE_VALUE) lastError_ = GetLastError();
}

BenchDriver::~BenchDriver() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
}

bool BenchDriver::Request(std::uint32_t code, Bytes& buffer) {
    DWORD returned = 0;
    OVERLAPPED overlapped{};
    SetLastError(0);
    const BOOL ok = DeviceIoControl(handle_, code, buffer.data(), static_cast<DWORD>(buffer.size()),
                                    buffer.data(), static_cast<DWORD>(buffer.size()), &returned,
                                    &overlapped);
    lastError_ = ok ? 0 : GetLastError();
    return ok != FALSE;
}

bool BenchDriver::Request(std::uint32_t code, const Bytes& input, Bytes& output, DWORD* returned) {
    DWORD n = 0;
    Bytes in = input;
    SetLastError(0);
    const BOOL ok = DeviceIoControl(handle_, code, in.empty() ? nullptr : in.data(),
                                    static_cast<DWORD>(in.size()),
                                    output.empty() ? nullptr : output.data(),
                                    static_cast<DWORD>(output.size()), &n, nullptr);
    lastError_ = ok ? 0 : GetLastError();
    if (returned) *returned = n;
    return ok != FALSE;
}

bool BenchDriver::SetBlock(const Block& block) {
    Bytes none;
    return Request(QM_BENCH_SET_BLOCK, Bytes(block.begin(), block.end()), none);
}

std::optional<Block> BenchDriver::PeekBlock() {
    Bytes out(QM_PARAMETER_BLOCK_SIZE);
    if (!Request(QM_BENCH_PEEK_BLOCK, {}, out)) return std::nullopt;
    Block b{};
    std::copy(out.begin(), out.end(), b.begin());
    return b;
}

bool BenchDriver::SetVrState(std::int32_t window, std::int16_t rotation) {
    Bytes in(QM_VR_STATE_SIZE, 0), none;
    std::memcpy(in.data(), &window, 4);
    std::memcpy(in.data() + 4, &rotation, 2);
    return Request(QM_BENCH_SET_VR_STATE, in, none);
}

bool BenchDriver::Inject(const std::vector<Sample>& samples) {
    Bytes in, none;
    for (const auto& s : samples) {
        std::uint8_t r[QM_BENCH_SAMPLE_SIZE] = {};
        std::memcpy(r, &s.x, 2);
        std::memcpy(r + 2, &s.y, 2);
        r[4] = s.touched ? 0x08 : 0x00;
        in.insert(in.end(), r, r + sizeof(r));
    }
    return Request(QM_BENCH_INJECT_SAMPLES, in, none);
}

std::optional<DriverLog> BenchDriver::ReadLog() {
    Bytes out(sizeof(QmBenchLogHeader) + QM_BENCH_LOG_CAPACITY * sizeof(QmBenchLogEntry));
    if (!Request(QM_BENCH_READ_LOG, {}, out)) return std::nullopt;
    QmBenchLogHeader header{};
    std::memcpy(&header, out.data(), sizeof(header));
    DriverLog log;
    log.total = header.total;
    log.dropped = header.dropped;
    for (unsigned long i = 0; i < header.count; ++i) {
        QmBenchLogEntry e{};
        std::memcpy(&e, out.data() + sizeof(header) + i * sizeof(e), sizeof(e));
        LoggedRequest r;
        r.code = e.code;
        r.status = e.status;
        r.inputLength = e.inputLength;
        r.outputLength = e.outputLength;
        r.input.assign(e.data, e.data + std::min<int>(e.inputLength, QM_BENCH_LOG_DATA));
        log.requests.push_back(std::move(r));
    }
    return log;
}

bool BenchDriver::ClearLog() {
    Bytes none;
    return Request(QM_BENCH_CLEAR_LOG, {}, none);
}

bool BenchDriver::Reset() {
    Bytes none;
    return Request(QM_BENCH_RESET, {}, none);
}

std::optional<QmBenchState> BenchDriver::PeekState() {
    Bytes out(sizeof(QmBenchState));
    if (!Request(QM_BENCH_PEEK_STATE, {}, out)) return std::nullopt;
    QmBenchState s{};
    std::memcpy(&s, out.data(), sizeof(s));
    return s;
}

namespace {

// Sends `control` (0: start the service) and waits for `wanted`.
bool DriveService(Build build, DWORD control, DWORD wanted, DWORD timeoutMs) {
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    if (!manager) return false;
    SC_HANDLE service = OpenServiceA(manager, DriverName(build).c_str(),
                                     SERVICE_START | SERVICE_STOP | SERVICE_QUERY_STATUS);
    bool ok = false;
    if (service) {
        SERVICE_STATUS status{};
        if (control == 0)
            StartServiceA(service, 0, nullptr);  // fails harmlessly when already running
        else
            ControlService(service, control, &status);
        ok = Poll(
            [&] {
                SERVICE_STATUS now{};
                return QueryServiceStatus(service, &now) && now.dwCurrentState == wanted;
            },
            timeoutMs);
        CloseServiceHandle(service);
    }
    CloseServiceHandle(manager);
    return ok;
}

}  // namespace

bool StopDriverService(Build build, DWORD timeoutMs) {
    return DriveService(build, SERVICE_CONTROL_STOP, SERVICE_STOPPED, timeoutMs);
}

bool StartDriverService(Build build, DWORD timeoutMs) {
    return DriveService(build, 0, SERVICE_RUNNING, timeoutMs);
}

Block DefaultBlock() {
    Block b{};
    SetU16(b, field::BasePort, 0x3F8);
    b[field::Irq] = 4;
    b[field::ComPort] = 1;
    const std::uint16_t bases[9] = {0x3F8, 0x2F8, 0x3E8, 0x2E8, 0, 0, 0, 0, 0};
    const std::uint8_t irqs[9] = {4, 3, 4, 3, 255, 255, 255, 255, 255};
    for (int i = 0; i < 9; ++i) {
        SetU16(b, field::PortTable + 4 * i, bases[i]);
        b[field::PortTable + 4 * i + 2] = irqs[i];
        b[field::PortTable + 4 * i + 3] = static_cast<std::uint8_t>(0xC0 + i);
    }
    b[field::VirtualButton] = 4;
    b[field::FeedbackSound] = 4;
    SetU16(b, field::FeedbackTone, 1000);
    SetU16(b, field::FeedbackDuration, 20);
    b[field::Sensitivity] = 127;
    b[field::MouseHSpeed] = 10;
    b[field::MouseVSpeed] = 10;
    b[field::MouseAcceleration] = 1;
    b[field::BaudRateIndex] = 4;
    b[field::RightButtonFunction] = 1;
    b[field::RightButtonAutoSTime] = 2;
    b[field::RightButtonAutoETime] = 5;
    b[field::RightButtonAutoBeep] = 1;
    const std::uint16_t calibration[6] = {60, 512, 964, 60, 512, 964};
    for (int i = 0; i < 6; ++i) SetU16(b, field::CalibrationData + 2 * i, calibration[i]);
    b[field::Reserved71] = 0xA5;
    SetU16(b, field::ScreenWidth, 1024);
    SetU16(b, field::ScreenHeight, 768);
    b[field::McuMode] = 0x12;
    b[field::McuVersion] = 0x23;
    b[field::McuCode + 0] = 0x51;
    b[field::McuCode + 1] = 0x4D;
    b[field::McuCode + 2] = 0x07;
    b[field::McuCode + 3] = 0x30;
    return b;
}

// ---- screenshots --------------------------------------------------------------------------

std::string Screenshot(const std::string& name, DWORD timeoutMs) {
    const std::string folder = Env("QM_BENCH_SHOT_DIR");
    if (folder.empty()) return "";
    const std::string base = folder + "\\" + name;
    const std::string done = base + ".done";
    DeleteFileA(done.c_str());
    HANDLE f = CreateFileA((base + ".req").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return "";
    CloseHandle(f);
    if (!Poll([&] { return FileExists(done); }, timeoutMs)) return "";
    DeleteFileA(done.c_str());
    return base + ".png";
}

}  // namespace qm::wine
