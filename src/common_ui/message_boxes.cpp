#include "common_ui/message_boxes.h"

namespace qm {

int ErrorBox(ui::Application& app, const std::string& text, const std::string& title) {
    app.Beep();
    return app.MsgBox(text, ui::vbOKOnly | ui::vbCritical | ui::vbSystemModal, title);
}

int AskBox(ui::Application& app, const std::string& text, int extraFlags,
           const std::string& title) {
    return app.MsgBox(text, ui::vbYesNo | ui::vbQuestion | ui::vbSystemModal | extraFlags, title);
}

void ReportDriverOpenFailure(ui::Application& app, const Variant& variant) {
    ErrorBox(app, "Fail to open " + DriverFileName(variant) + "!", app.Title());
}

}  // namespace qm
