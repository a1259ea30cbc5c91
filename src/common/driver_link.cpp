#include "common/driver_link.h"

namespace qm {

namespace {
// A handle value that never came from a successful open: the zero of a link that was never
// opened, or the failure value of the open.
bool IsUsable(DeviceHandle handle) { return handle != 0 && handle != kInvalidDeviceHandle; }
}  // namespace

bool IsCompanionWindow(WindowHandle window) { return window != kNoWindow && window != 0; }

DriverLink::DriverLink(Device& device, Processes& processes, Windows& windows,
                       const Variant& variant)
    : device_(device), processes_(processes), windows_(windows), variant_(variant) {}

bool DriverLink::OpenDriver() {
    DeviceOpenArgs args;
    args.path = DevicePath(variant_);
    args.desiredAccess = kGenericRead;
    args.shareMode = kFileShareRead | kFileShareWrite;
    // A zero-filled security record: length 0, no descriptor, not inheritable.
    args.securityLength = 0;
    args.securityDescriptor = false;
    args.securityInherit = false;
    args.creationDisposition = kOpenExisting;
    args.flagsAndAttributes = kFileAttributeNormal;
    args.templateFile = false;
    deviceHandle_ = device_.Open(args);
    return deviceHandle_ != kInvalidDeviceHandle;
}

void DriverLink::CloseDriver() {
    if (!IsUsable(deviceHandle_)) return;
    device_.Close(deviceHandle_);
    deviceHandle_ = kInvalidDeviceHandle;
}

bool DriverLink::IsOpen() const { return IsUsable(deviceHandle_); }

template <typename Buffer, typename Decoder>
bool DriverLink::Request(std::uint32_t code, Buffer& buffer, Decoder decode) {
    auto bytes = Encode(buffer);
    const auto size = static_cast<std::uint32_t>(bytes.size());
    std::uint32_t returned = 0;
    // Without an open handle there is nobody to ask; -1 in particular must not reach the
    // system, where it names the current process.
    lastRequestOk_ = IsUsable(deviceHandle_)
                         ? device_.IoControl(deviceHandle_, code, bytes.data(), size, bytes.data(),
                                             size, &returned)
                         : 0;
    bytesReturned_ = returned;
    if (lastRequestOk_ != 0) buffer = decode(bytes);
    return lastRequestOk_ != 0;
}

bool DriverLink::GetParameters() {
    return Request(IOCTL_TOUCH_GET_PARAMETERS, block_, DecodeParameterBlock);
}
bool DriverLink::GetRawPoint() {
    return Request(IOCTL_TOUCH_GET_RAW_POINT, rawPoint_, DecodeRawPoint);
}
bool DriverLink::SetCalibrationState(std::int32_t state) {
    calibrationState_.State = state;
    return Request(IOCTL_TOUCH_SET_CALIBRATION_STATE, calibrationState_, DecodeCalibrationState);
}
bool DriverLink::SetPortConfig() {
    return Request(IOCTL_TOUCH_SET_PORT_CONFIG, block_, DecodeParameterBlock);
}
bool DriverLink::SetTouchMode() {
    return Request(IOCTL_TOUCH_SET_TOUCH_MODE, block_, DecodeParameterBlock);
}
bool DriverLink::SetFeedbackSound() {
    return Request(IOCTL_TOUCH_SET_FEEDBACK_SOUND, block_, DecodeParameterBlock);
}
bool DriverLink::SetSensitivity() {
    return Request(IOCTL_TOUCH_SET_SENSITIVITY, block_, DecodeParameterBlock);
}
bool DriverLink::SetMouseSpeed() {
    return Request(IOCTL_TOUCH_SET_MOUSE_SPEED, block_, DecodeParameterBlock);
}
bool DriverLink::SetCalibration() {
    return Request(IOCTL_TOUCH_SET_CALIBRATION, block_, DecodeParameterBlock);
}
bool DriverLink::SetScreenSize() {
    return Request(IOCTL_TOUCH_SET_SCREEN_SIZE, block_, DecodeParameterBlock);
}
bool DriverLink::SetPowerDown() {
    return Request(IOCTL_TOUCH_SET_POWER_DOWN, block_, DecodeParameterBlock);
}
bool DriverLink::GetRbState() { return Request(IOCTL_TOUCH_GET_RB_STATE, rbState_, DecodeRbState); }
bool DriverLink::SetRbState() { return Request(IOCTL_TOUCH_SET_RB_STATE, rbState_, DecodeRbState); }
bool DriverLink::GetVrState() { return Request(IOCTL_TOUCH_GET_VR_STATE, vrState_, DecodeVrState); }
bool DriverLink::PlayTone(std::int16_t tone, std::int16_t duration) {
    tone_.Tone = tone;
    tone_.Duration = duration;
    return Request(IOCTL_TOUCH_PLAY_TONE, tone_, DecodeTone);
}

// A failed query leaves the buffer as it was: zero at start, or a window from an earlier
// reply that may have closed since and whose handle may now belong to another program. So
// a command goes only to a window the driver has just reported.
void DriverLink::SendToRbHelper(std::uint32_t command) {
    if (GetRbState() && IsCompanionWindow(rbState_.RbWindow)) {
        windows_.Send(rbState_.RbWindow, QM_WM_USER, command, 0);
    }
}

void DriverLink::ShowRbHelper() { SendToRbHelper(RBM_SHOW); }
void DriverLink::HideRbHelper() { SendToRbHelper(RBM_HIDE); }
void DriverLink::CloseRbHelper() { SendToRbHelper(RBM_CLOSE); }

void DriverLink::CloseVrProgram() {
    if (GetVrState() && IsCompanionWindow(vrState_.VrWindow)) {
        windows_.Send(vrState_.VrWindow, QM_WM_USER, VRM_CLOSE, 0);
    }
}

// The path is quoted: unquoted, a blank in the install folder would let the system run
// "C:\Program.exe" or the like instead of the companion.
bool DriverLink::Start(const std::string& installPath, Role role, std::int32_t showState) {
    const std::string path = ProgramPath(installPath, ProgramFileName(variant_, role));
    return processes_.Exec(QuotedCommand(path), showState) >= 32;
}

bool DriverLink::StartRbHelper(const std::string& installPath) {
    return Start(installPath, Role::RightButton, kSwHide);
}

bool DriverLink::StartVrProgram(const std::string& installPath) {
    return Start(installPath, Role::VrProgram, kSwShowNormal);
}

}  // namespace qm
