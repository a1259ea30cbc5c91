// The driver link: the program's one handle to the touch driver, the request buffers the
// driver fills and takes, and the commands to the two companion programs whose windows the
// driver keeps registered.
//
// One DriverLink per program, created at start and passed by reference. Every buffer is
// zero until a request fills it; a failed request leaves its buffer as it was, which is the
// only way a failure shows (a failed parameter read keeps ComPort at 0: "no controller").
#pragma once

#include <cstdint>
#include <string>

#include "common/variant.h"
#include "common/wire.h"
#include "platform/device.h"
#include "platform/handles.h"
#include "platform/processes.h"
#include "platform/windows_port.h"

namespace qm {

class DriverLink {
  public:
    DriverLink(Device& device, Processes& processes, Windows& windows, const Variant& variant);
    DriverLink(const DriverLink&) = delete;
    DriverLink& operator=(const DriverLink&) = delete;

    // Connection.
    bool OpenDriver();
    // Closes an open handle and forgets it, so a second close cannot hit a handle value
    // the system has since given to something else.
    void CloseDriver();
    bool IsOpen() const;

    DeviceHandle Handle() const { return deviceHandle_; }
    std::int32_t LastRequestOk() const { return lastRequestOk_; }
    std::uint32_t BytesReturned() const { return bytesReturned_; }

    // The buffers, shared by every form of the program and edited in place.
    DriverParameterBlock& Block() { return block_; }
    const DriverParameterBlock& Block() const { return block_; }
    RawPointBuffer& RawPoint() { return rawPoint_; }
    const RawPointBuffer& RawPoint() const { return rawPoint_; }
    CalibrationStateRequest& CalibrationState() { return calibrationState_; }
    const CalibrationStateRequest& CalibrationState() const { return calibrationState_; }
    RbStateBuffer& RbState() { return rbState_; }
    const RbStateBuffer& RbState() const { return rbState_; }
    VrStateBuffer& VrState() { return vrState_; }
    const VrStateBuffer& VrState() const { return vrState_; }
    ToneRequest& Tone() { return tone_; }
    const ToneRequest& Tone() const { return tone_; }

    // Control requests, one per code. Each sends its buffer and takes the driver's reply
    // into it; the result is also kept in LastRequestOk. Set requests send the whole block:
    // the code tells the driver which group of fields to take.
    bool GetParameters();
    bool GetRawPoint();
    bool SetCalibrationState(std::int32_t state);
    bool SetPortConfig();
    bool SetTouchMode();
    bool SetFeedbackSound();
    bool SetSensitivity();
    bool SetMouseSpeed();
    bool SetCalibration();
    bool SetScreenSize();
    bool SetPowerDown();
    bool GetRbState();
    bool SetRbState();
    bool GetVrState();
    bool PlayTone(std::int16_t tone, std::int16_t duration);

    // Companion programs. The window is always asked from the driver first, never cached.
    void ShowRbHelper();
    void HideRbHelper();
    void CloseRbHelper();
    bool StartRbHelper(const std::string& installPath);
    bool StartVrProgram(const std::string& installPath);
    void CloseVrProgram();

  private:
    template <typename Buffer, typename Decoder>
    bool Request(std::uint32_t code, Buffer& buffer, Decoder decode);
    void SendToRbHelper(std::uint32_t command);
    bool Start(const std::string& installPath, Role role, std::int32_t showState);

    Device& device_;
    Processes& processes_;
    Windows& windows_;
    const Variant variant_;  // a copy: small, and safe whatever the caller passed

    DeviceHandle deviceHandle_ = 0;
    std::int32_t lastRequestOk_ = 0;
    std::uint32_t bytesReturned_ = 0;
    DriverParameterBlock block_{};
    RawPointBuffer rawPoint_{};
    CalibrationStateRequest calibrationState_{};
    RbStateBuffer rbState_{};
    VrStateBuffer vrState_{};
    ToneRequest tone_{};
};

// A window handle a companion command may be sent to: -1 is the driver's "none registered"
// and 0 is no window at all (what a buffer holds before any request succeeded).
bool IsCompanionWindow(WindowHandle window);

}  // namespace qm
