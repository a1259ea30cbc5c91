#include "win32/device_win32.h"

#include <windows.h>

namespace qm::win32 {

DeviceHandle Win32Device::Open(const DeviceOpenArgs& args) {
    SECURITY_ATTRIBUTES sa{};
    sa.nLength = args.securityLength;
    sa.lpSecurityDescriptor = nullptr;
    sa.bInheritHandle = args.securityInherit ? TRUE : FALSE;
    HANDLE h = CreateFileA(args.path.c_str(), args.desiredAccess, args.shareMode, &sa,
                           args.creationDisposition, args.flagsAndAttributes, nullptr);
    return reinterpret_cast<DeviceHandle>(h);
}

std::int32_t Win32Device::IoControl(DeviceHandle handle, std::uint32_t code, const void* in,
                                    std::uint32_t inSize, void* out, std::uint32_t outSize,
                                    std::uint32_t* bytesReturned) {
    // The handle is synchronous; the zeroed record is passed as the callers always did and
    // is never waited on.
    OVERLAPPED overlapped{};
    DWORD returned = 0;
    BOOL ok = DeviceIoControl(reinterpret_cast<HANDLE>(handle), code, const_cast<void*>(in),
                              inSize, out, outSize, &returned, &overlapped);
    if (bytesReturned) *bytesReturned = returned;
    return ok ? 1 : 0;
}

void Win32Device::Close(DeviceHandle handle) { CloseHandle(reinterpret_cast<HANDLE>(handle)); }

}  // namespace qm::win32
