// The two message boxes every program uses: the error box and the question box.
#pragma once

#include <string>

#include "common/variant.h"
#include "ui/application.h"

namespace qm {

// A beep, then a system-modal box with the critical icon and an OK button.
int ErrorBox(ui::Application& app, const std::string& text, const std::string& title);

// A system-modal box with Yes and No and the question icon, plus `extraFlags` (for example
// vbDefaultButton2); no beep. Returns vbYes or vbNo.
int AskBox(ui::Application& app, const std::string& text, int extraFlags,
           const std::string& title);

// "Fail to open QMWS3COM.sys!" (the build's driver file), titled with the application title.
void ReportDriverOpenFailure(ui::Application& app, const Variant& variant);

}  // namespace qm
