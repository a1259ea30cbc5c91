// Arbitrary driver bytes: every status text renders without a fault, and the block encodes
// back to exactly the bytes it was decoded from (reserved bytes included).
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "common/classic.h"
#include "common/status_texts.h"
#include "common/wire.h"

namespace {

// Keeps the texts from being optimised away; a text is never empty.
void Use(const std::string& text) {
    if (text.empty()) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    qm::ParameterBytes bytes{};
    std::memcpy(bytes.data(), data, size < bytes.size() ? size : bytes.size());

    const qm::DriverParameterBlock b = qm::DecodeParameterBlock(bytes);

    // Filled and unfilled tables alike: the control panel may draw before it fills them.
    static const qm::NameTables kFilled = [] {
        qm::NameTables t;
        qm::FillNameTables(t);
        return t;
    }();
    static const qm::NameTables kEmpty;
    for (const qm::NameTables* t : {&kFilled, &kEmpty}) {
        Use(qm::SerialPortLineText(*t, b.ComPort, b.BasePort, b.Irq, b.BaudRateIndex));
        Use(qm::TouchModeText(*t, b.VirtualButton, b.RightButtonFunction, b.RightButtonAutoMode));
        qm::FeedbackSoundText(*t, b.FeedbackSound);
        qm::AccelerationText(*t, b.MouseAcceleration);
        qm::BaudRateText(*t, b.BaudRateIndex);
        Use(qm::MouseSpeedText(*t, b.MouseHSpeed, b.MouseVSpeed, b.MouseAcceleration,
                               b.MouseBypass));
    }
    Use(qm::SensitivityText(b.Sensitivity));
    Use(qm::PowerDownText(b.PowerDownTime));
    Use(qm::DurationText(b.FeedbackDuration));
    for (int n = 1; n <= static_cast<int>(b.PortTable.size()); ++n) {
        const qm::PortInfo& port = b.PortTable[static_cast<std::size_t>(n - 1)];
        Use(qm::PortText(n, port.PortBase, port.PortIrq));
    }
    Use(qm::Hex2(b.McuMode));
    Use(qm::Hex4(b.FeedbackTone));

    if (qm::Encode(b) != bytes) __builtin_trap();
    return 0;
}
