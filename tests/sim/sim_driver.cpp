#include "sim/sim_driver.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace qm::sim {

namespace {

template <typename Bytes>
Bytes ToArray(const std::vector<std::uint8_t>& v) {
    Bytes b{};
    std::copy_n(v.begin(), b.size(), b.begin());
    return b;
}

template <typename Bytes>
void FromArray(const Bytes& b, std::vector<std::uint8_t>& v) {
    v.assign(b.begin(), b.end());
}

// Each set request names one group; the driver takes those fields and nothing else.
void TakeGroup(std::uint32_t code, const DriverParameterBlock& sent, DriverParameterBlock& b) {
    switch (code) {
        case IOCTL_TOUCH_SET_PORT_CONFIG:
            b.PortTable = sent.PortTable;
            break;
        case IOCTL_TOUCH_SET_TOUCH_MODE:
            b.VirtualButton = sent.VirtualButton;
            b.RightButtonFunction = sent.RightButtonFunction;
            b.RightButtonAutoMode = sent.RightButtonAutoMode;
            b.RightButtonAutoSTime = sent.RightButtonAutoSTime;
            b.RightButtonAutoETime = sent.RightButtonAutoETime;
            b.RightButtonAutoBeep = sent.RightButtonAutoBeep;
            break;
        case IOCTL_TOUCH_SET_FEEDBACK_SOUND:
            b.FeedbackSound = sent.FeedbackSound;
            b.FeedbackTone = sent.FeedbackTone;
            b.FeedbackDuration = sent.FeedbackDuration;
            break;
        case IOCTL_TOUCH_SET_SENSITIVITY:
            b.Sensitivity = sent.Sensitivity;
            break;
        case IOCTL_TOUCH_SET_MOUSE_SPEED:
            b.MouseBypass = sent.MouseBypass;
            b.MouseHSpeed = sent.MouseHSpeed;
            b.MouseVSpeed = sent.MouseVSpeed;
            b.MouseAcceleration = sent.MouseAcceleration;
            break;
        case IOCTL_TOUCH_SET_CALIBRATION:
            b.CalibrationData = sent.CalibrationData;
            b.PanelDirection = sent.PanelDirection;
            break;
        case IOCTL_TOUCH_SET_SCREEN_SIZE:
            b.ScreenWidth = sent.ScreenWidth;
            b.ScreenHeight = sent.ScreenHeight;
            break;
        case IOCTL_TOUCH_SET_POWER_DOWN:
            b.PowerDownTime = sent.PowerDownTime;
            break;
        default:
            break;
    }
}

}  // namespace

SimDriver::SimDriver(std::string devicePath) : devicePath_(std::move(devicePath)) {}

std::uint32_t SimDriver::RequestSize(std::uint32_t code) {
    switch (code) {
        case IOCTL_TOUCH_GET_PARAMETERS:
        case IOCTL_TOUCH_SET_PORT_CONFIG:
        case IOCTL_TOUCH_SET_TOUCH_MODE:
        case IOCTL_TOUCH_SET_FEEDBACK_SOUND:
        case IOCTL_TOUCH_SET_SENSITIVITY:
        case IOCTL_TOUCH_SET_MOUSE_SPEED:
        case IOCTL_TOUCH_SET_CALIBRATION:
        case IOCTL_TOUCH_SET_SCREEN_SIZE:
        case IOCTL_TOUCH_SET_POWER_DOWN:
            return QM_PARAMETER_BLOCK_SIZE;
        case IOCTL_TOUCH_GET_RAW_POINT:
            return QM_RAW_POINT_SIZE;
        case IOCTL_TOUCH_SET_CALIBRATION_STATE:
            return QM_CALIBRATION_STATE_SIZE;
        case IOCTL_TOUCH_GET_RB_STATE:
        case IOCTL_TOUCH_SET_RB_STATE:
            return QM_RB_STATE_SIZE;
        case IOCTL_TOUCH_GET_VR_STATE:
            return QM_VR_STATE_SIZE;
        case IOCTL_TOUCH_PLAY_TONE:
            return QM_TONE_REQUEST_SIZE;
        default:
            return 0;
    }
}

DeviceHandle SimDriver::Open(const DeviceOpenArgs& args) {
    opens_.push_back(args);
    if (!present_ || args.path != devicePath_) return kInvalidDeviceHandle;
    const DeviceHandle h = nextHandle_;
    nextHandle_ += 4;
    openHandles_.insert(h);
    return h;
}

void SimDriver::Close(DeviceHandle handle) {
    if (openHandles_.erase(handle) == 0) ++badCloses_;
}

void SimDriver::FailRequest(std::uint32_t code, bool fail) {
    if (fail) {
        failing_.insert(code);
    } else {
        failing_.erase(code);
    }
}

void SimDriver::SetRbRegistration(WindowHandle window, std::int16_t state) {
    rbWindow_ = window;
    rbState_ = state;
}

void SimDriver::Script(const std::vector<RawSample>& samples) {
    samples_.assign(samples.begin(), samples.end());
}

void SimDriver::TakeSample(const RawSample& sample) {
    current_ = sample;
    // An armed driver turns the next touch into the right-button action and disarms.
    if (sample.touched && rbState_ == 1) rbState_ = 0;
}

bool SimDriver::DeliverSample() {
    if (samples_.empty()) return false;
    TakeSample(samples_.front());
    samples_.pop_front();
    return true;
}

std::vector<std::uint32_t> SimDriver::Codes() const {
    std::vector<std::uint32_t> codes;
    codes.reserve(log_.size());
    for (const auto& r : log_) codes.push_back(r.code);
    return codes;
}

std::int32_t SimDriver::IoControl(DeviceHandle handle, std::uint32_t code, const void* in,
                                  std::uint32_t inSize, void* out, std::uint32_t outSize,
                                  std::uint32_t* bytesReturned) {
    if (beforeRequest) beforeRequest(code);

    DriverRequest entry;
    entry.handle = handle;
    entry.code = code;
    entry.inSize = inSize;
    entry.outSize = outSize;
    entry.sameBuffer = in == out;
    if (in && inSize) {
        const auto* p = static_cast<const std::uint8_t*>(in);
        entry.input.assign(p, p + inSize);
    }

    const std::uint32_t size = RequestSize(code);
    bool ok = openHandles_.count(handle) != 0 && size != 0 && inSize == size && outSize == size &&
              in != nullptr && out != nullptr && failing_.count(code) == 0;
    std::vector<std::uint8_t> reply;
    if (ok) ok = Serve(code, entry.input, reply);
    if (ok) std::memcpy(out, reply.data(), size);
    if (bytesReturned) *bytesReturned = ok ? size : 0;

    entry.ok = ok;
    if (out && outSize) {
        const auto* p = static_cast<const std::uint8_t*>(out);
        entry.output.assign(p, p + outSize);
    }
    log_.push_back(std::move(entry));
    return ok ? 1 : 0;
}

bool SimDriver::Serve(std::uint32_t code, const std::vector<std::uint8_t>& input,
                      std::vector<std::uint8_t>& output) {
    switch (code) {
        case IOCTL_TOUCH_GET_PARAMETERS:
            FromArray(Encode(block_), output);
            return true;
        case IOCTL_TOUCH_SET_PORT_CONFIG:
        case IOCTL_TOUCH_SET_TOUCH_MODE:
        case IOCTL_TOUCH_SET_FEEDBACK_SOUND:
        case IOCTL_TOUCH_SET_SENSITIVITY:
        case IOCTL_TOUCH_SET_MOUSE_SPEED:
        case IOCTL_TOUCH_SET_CALIBRATION:
        case IOCTL_TOUCH_SET_SCREEN_SIZE:
        case IOCTL_TOUCH_SET_POWER_DOWN:
            TakeGroup(code, DecodeParameterBlock(ToArray<ParameterBytes>(input)), block_);
            FromArray(Encode(block_), output);
            return true;
        case IOCTL_TOUCH_GET_RAW_POINT: {
            DeliverSample();
            RawPointBuffer r;
            r.RawX = current_.x;
            r.RawY = current_.y;
            r.RawStatus = static_cast<std::uint8_t>(current_.otherStatusBits & ~0x08u);
            if (current_.touched) r.RawStatus = static_cast<std::uint8_t>(r.RawStatus | 0x08u);
            r.SampleCount = current_.counter;
            FromArray(Encode(r), output);
            return true;
        }
        case IOCTL_TOUCH_SET_CALIBRATION_STATE:
            calibrationStates_.push_back(
                DecodeCalibrationState(ToArray<CalibrationStateBytes>(input)).State);
            output = input;
            return true;
        case IOCTL_TOUCH_GET_RB_STATE:
        case IOCTL_TOUCH_SET_RB_STATE: {
            if (code == IOCTL_TOUCH_SET_RB_STATE) {
                const RbStateBuffer sent = DecodeRbState(ToArray<RbStateBytes>(input));
                rbWindow_ = sent.RbWindow;
                rbState_ = sent.RbState;
            }
            RbStateBuffer r;
            r.RbWindow = rbWindow_;
            r.RbState = rbState_;
            FromArray(Encode(r), output);
            return true;
        }
        case IOCTL_TOUCH_GET_VR_STATE: {
            VrStateBuffer v;
            v.VrWindow = vrWindow_;
            v.Rotation = rotation_;
            FromArray(Encode(v), output);
            return true;
        }
        case IOCTL_TOUCH_PLAY_TONE:
            tones_.push_back(DecodeTone(ToArray<ToneBytes>(input)));
            output = input;
            return true;
        default:
            return false;
    }
}

}  // namespace qm::sim
