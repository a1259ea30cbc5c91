#include "win32/files_win32.h"

#include <windows.h>

namespace qm::win32 {

bool Win32Files::CanOpenForReading(const std::string& path) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    // Windows refuses a folder here; some environments open it anyway, so ask the handle.
    BY_HANDLE_FILE_INFORMATION info{};
    bool folder = GetFileInformationByHandle(h, &info) &&
                  (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    CloseHandle(h);
    return !folder;
}

}  // namespace qm::win32
