// Times program starts: from CreateProcess until the program shows a visible top-level window
// (with the given caption, when one is given), several runs per program, the programs taking
// turns so that a slow phase of the machine hits them alike. Each started copy is closed again
// (WM_CLOSE, then terminated if it lingers) before the next start.
//
//   wine_start_bench_timer.exe RUNS WARMUP LABEL PATH CAPTION [LABEL PATH CAPTION ...]
//
// CAPTION "" accepts any visible window. Prints one line per run and, per program,
//   median LABEL <ms> min <ms> max <ms> runs <n>
// and, when there are two programs or more, the ratio of each one's median to the first's:
//   ratio LABEL/FIRST <r>
// Exit code 0 when every run showed its window; 2 when a program showed a message box instead
// or never showed the window; 1 on bad arguments.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr DWORD kWindowTimeoutMs = 180000;
constexpr DWORD kCloseTimeoutMs = 15000;

struct Program {
    std::string label, path, caption;
    std::vector<double> ms;
};

struct Found {
    DWORD pid;
    const std::string* caption;
    HWND window = nullptr;
    HWND box = nullptr;
};

std::string TextOf(HWND w) {
    char text[256] = {};
    GetWindowTextA(w, text, sizeof(text));
    return text;
}

BOOL CALLBACK Look(HWND w, LPARAM p) {
    auto* f = reinterpret_cast<Found*>(p);
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    if (owner != f->pid || !IsWindowVisible(w)) return TRUE;
    char cls[32] = {};
    GetClassNameA(w, cls, sizeof(cls));
    // A message box (a dialog with the box's text static) is never the window waited for.
    if (std::string(cls) == "#32770" && GetDlgItem(w, 0xFFFF)) {
        f->box = w;
        return TRUE;
    }
    if (f->caption->empty() || TextOf(w) == *f->caption) {
        f->window = w;
        return FALSE;
    }
    return TRUE;
}

double Now(const LARGE_INTEGER& frequency) {
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void Close(const PROCESS_INFORMATION& pi, HWND window) {
    if (window) PostMessageA(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi.hProcess, kCloseTimeoutMs) != WAIT_OBJECT_0) {
        TerminateProcess(pi.hProcess, 0xDEAD);
        WaitForSingleObject(pi.hProcess, 5000);
    }
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
}

// One start; the time in milliseconds, or a negative value on failure (explained on stderr).
double TimeStart(const Program& p, const LARGE_INTEGER& frequency) {
    std::string line = "\"" + p.path + "\"";
    std::vector<char> buffer(line.begin(), line.end());
    buffer.push_back('\0');
    const std::string folder = p.path.substr(0, p.path.find_last_of('\\'));
    STARTUPINFOA si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    const double start = Now(frequency);
    if (!CreateProcessA(p.path.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &si, &pi)) {
        std::fprintf(stderr, "%s: cannot start %s (error %lu)\n", p.label.c_str(), p.path.c_str(),
                     GetLastError());
        return -1;
    }
    Found f{pi.dwProcessId, &p.caption};
    double shown = -1;
    for (;;) {
        f.window = f.box = nullptr;
        EnumWindows(Look, reinterpret_cast<LPARAM>(&f));
        if (f.window) {
            shown = Now(frequency) - start;
            break;
        }
        if (f.box) {
            std::fprintf(stderr, "%s: a message box \"%s\" instead of the window\n", p.label.c_str(),
                         TextOf(f.box).c_str());
            break;
        }
        if (WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0) {
            std::fprintf(stderr, "%s: ended before showing a window\n", p.label.c_str());
            break;
        }
        if (Now(frequency) - start > kWindowTimeoutMs) {
            std::fprintf(stderr, "%s: no window after %lu ms\n", p.label.c_str(), kWindowTimeoutMs);
            break;
        }
        Sleep(2);
    }
    Close(pi, f.window);
    return shown;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2.0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 6 || (argc - 3) % 3 != 0) {
        std::fprintf(stderr, "usage: %s RUNS WARMUP LABEL PATH CAPTION [LABEL PATH CAPTION ...]\n", argv[0]);
        return 1;
    }
    const int runs = std::atoi(argv[1]);
    const int warmup = std::atoi(argv[2]);
    if (runs < 1 || warmup < 0) {
        std::fprintf(stderr, "RUNS must be 1 or more and WARMUP 0 or more\n");
        return 1;
    }
    std::vector<Program> programs;
    for (int i = 3; i + 2 < argc; i += 3) programs.push_back({argv[i], argv[i + 1], argv[i + 2], {}});

    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    for (int round = -warmup; round < runs; ++round) {
        for (Program& p : programs) {
            const double ms = TimeStart(p, frequency);
            if (ms < 0) return 2;
            std::printf("run %s %d %.1f%s\n", p.label.c_str(), round + 1, ms, round < 0 ? " (warm-up)" : "");
            std::fflush(stdout);
            if (round >= 0) p.ms.push_back(ms);
        }
    }
    for (const Program& p : programs)
        std::printf("median %s %.1f min %.1f max %.1f runs %d\n", p.label.c_str(), Median(p.ms),
                    *std::min_element(p.ms.begin(), p.ms.end()),
                    *std::max_element(p.ms.begin(), p.ms.end()), static_cast<int>(p.ms.size()));
    for (size_t i = 1; i < programs.size(); ++i)
        std::printf("ratio %s/%s %.2f\n", programs[i].label.c_str(), programs[0].label.c_str(),
                    Median(programs[i].ms) / Median(programs[0].ms));
    return 0;
}
