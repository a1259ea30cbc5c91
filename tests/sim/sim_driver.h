// Touch driver model: what the programs rely on from the kernel driver, behind the Device
// port. It keeps the 82-byte block, takes only the named group of fields with each set
// request, serves raw samples from a script, keeps the right-button and vr registrations,
// and logs every request with its bytes so a test can assert whole request sequences.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "common/wire.h"
#include "platform/device.h"

namespace qm::sim {

// One raw report of the controller.
struct RawSample {
    std::int16_t x = 0;
    std::int16_t y = 0;
    bool touched = false;
    std::int16_t counter = 0;          // the sample counter the reader compares
    std::uint8_t otherStatusBits = 0;  // status bits besides "touched" (bit 3)
};

// One request as the driver saw it.
struct DriverRequest {
    DeviceHandle handle = 0;
    std::uint32_t code = 0;
    std::uint32_t inSize = 0;
    std::uint32_t outSize = 0;
    bool sameBuffer = false;  // input and output were the same memory
    bool ok = false;
    std::vector<std::uint8_t> input;   // what was sent
    std::vector<std::uint8_t> output;  // what the output buffer held afterwards
};

class SimDriver final : public Device {
  public:
    explicit SimDriver(std::string devicePath);

    // Device
    DeviceHandle Open(const DeviceOpenArgs& args) override;
    std::int32_t IoControl(DeviceHandle handle, std::uint32_t code, const void* in,
                           std::uint32_t inSize, void* out, std::uint32_t outSize,
                           std::uint32_t* bytesReturned) override;
    void Close(DeviceHandle handle) override;

    // The world. A missing device refuses every open; a failing code fails every request
    // with it and leaves the caller's buffer untouched.
    void SetPresent(bool present) { present_ = present; }
    void FailRequest(std::uint32_t code, bool fail = true);
    DriverParameterBlock& Block() { return block_; }
    const DriverParameterBlock& Block() const { return block_; }

    // Registrations, -1 for none (the state at start).
    void SetRbRegistration(WindowHandle window, std::int16_t state);
    WindowHandle RbWindow() const { return rbWindow_; }
    std::int16_t RbState() const { return rbState_; }
    void SetVrRegistration(WindowHandle window) { vrWindow_ = window; }
    void SetRotation(std::int16_t rotation) { rotation_ = rotation; }
    WindowHandle VrWindow() const { return vrWindow_; }

    // Raw samples. Each raw-point request takes the next scripted sample; once the script is
    // used up the last sample repeats (before any sample: all zero, not touched).
    void Script(const std::vector<RawSample>& samples);
    void PushSample(const RawSample& sample) { samples_.push_back(sample); }
    // The next scripted sample reaches the driver without a raw-point read, as a touch does
    // while nobody polls (the right-button helper only polls its state). False when the
    // script is used up.
    bool DeliverSample();
    std::size_t PendingSamples() const { return samples_.size(); }

    // Records.
    const std::vector<DeviceOpenArgs>& Opens() const { return opens_; }
    const std::vector<DriverRequest>& Log() const { return log_; }
    std::vector<std::uint32_t> Codes() const;  // the codes of the log, in order
    void ClearLog() { log_.clear(); }
    const std::vector<std::int32_t>& CalibrationStates() const { return calibrationStates_; }
    const std::vector<ToneRequest>& Tones() const { return tones_; }
    std::size_t OpenHandleCount() const { return openHandles_.size(); }
    bool IsOpenHandle(DeviceHandle handle) const { return openHandles_.count(handle) != 0; }
    // Closes of a handle that was not open (a double close, or a close of -1).
    int BadCloses() const { return badCloses_; }

    // Called at the start of every request with its code, so a test can let the world move
    // (a touch arrives, a window goes) between the polls of a loop.
    std::function<void(std::uint32_t code)> beforeRequest;

    // The buffer size each code takes; 0 for a code the driver does not know.
    static std::uint32_t RequestSize(std::uint32_t code);

  private:
    bool Serve(std::uint32_t code, const std::vector<std::uint8_t>& input,
               std::vector<std::uint8_t>& output);
    void TakeSample(const RawSample& sample);

    std::string devicePath_;
    bool present_ = true;
    std::set<std::uint32_t> failing_;
    DriverParameterBlock block_{};
    WindowHandle rbWindow_ = -1;
    std::int16_t rbState_ = 0;
    WindowHandle vrWindow_ = -1;
    std::int16_t rotation_ = 0;
    std::deque<RawSample> samples_;
    RawSample current_{};

    std::vector<DeviceOpenArgs> opens_;
    std::vector<DriverRequest> log_;
    std::vector<std::int32_t> calibrationStates_;
    std::vector<ToneRequest> tones_;
    std::set<DeviceHandle> openHandles_;
    DeviceHandle nextHandle_ = 0x104;
    int badCloses_ = 0;
};

}  // namespace qm::sim
