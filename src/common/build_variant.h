// The variant of the build target being compiled. Only program entry files include this:
// the portable code takes the variant as an argument.
#pragma once

#include "common/variant.h"

namespace qm {
#if defined(QM_VARIANT_PS2)
inline constexpr const Variant& kBuildVariant = kPs2Variant;
#elif defined(QM_VARIANT_COM)
inline constexpr const Variant& kBuildVariant = kSerialVariant;
#else
#error "Define QM_VARIANT_COM or QM_VARIANT_PS2 for a program target"
#endif
}  // namespace qm
