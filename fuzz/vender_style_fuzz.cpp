// Arbitrary bytes as the vendor style string: parsing never faults, and the parsed style
// keeps its promises (nothing for a short style; bold and italic always set otherwise; a
// size only when positive).
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "common/branding.h"
#include "common/classic.h"

namespace {

class NullTarget final : public qm::TitleStyleTarget {
  public:
    void SetTitleFontName(const std::string& name) override {
        if (name != "Times New Roman" && name != "Arial") __builtin_trap();
    }
    void SetTitleBold(bool) override {}
    void SetTitleItalic(bool) override {}
    void SetTitleFontSize(int points) override {
        if (points <= 0) __builtin_trap();
    }
    void SetTitleColor(qm::Rgb) override {}
    void SetSystemColor(qm::Rgb) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view style(reinterpret_cast<const char*>(data), size);
    const qm::TitleStyle parsed = qm::ParseTitleStyle(style);
    if (size <= 7 && !(parsed == qm::TitleStyle{})) __builtin_trap();
    if (size > 7 && (!parsed.bold || !parsed.italic)) __builtin_trap();

    NullTarget target;
    qm::ApplyTitleStyle(parsed, target);

    const qm::BrandingPlan main = qm::PlanMainBranding(false, "C:\\T", "V", style, {0, 40});
    if (!(main.titleStyle == parsed)) __builtin_trap();
    qm::PlanDialogBranding(true, "V", style, {0, 40});

    qm::LeadingNumber(style);
    return 0;
}
