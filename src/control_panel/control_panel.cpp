#include "control_panel/control_panel.h"

#include "control_panel/frm_calibration.h"
#include "control_panel/frm_main.h"
#include "control_panel/frm_test.h"

namespace qm {

ControlPanel::ControlPanel(ui::Application& application, const ControlPanelPorts& p,
                           const Variant& v)
    : app(application),
      ports(p),
      variant(v),
      link(p.device, p.processes, p.windows, v),
      registry(p.registry),
      store(registry, v),
      frmMain_(std::make_unique<MainForm>(*this)) {
    app.SetTitle(Title(v));
    frmCalibration_ = std::make_unique<CalibrationForm>(*this);
    frmTest_ = std::make_unique<TestForm>(*this);
    AddForm(*frmCalibration_);
    AddForm(*frmTest_);
}

ControlPanel::~ControlPanel() = default;

std::string ControlPanel::Title(const Variant& v) {
    return " TouchScreen Control Panel #" + ProductTag(v);
}

int ControlPanel::Run() { return app.Run(*frmMain_); }

ui::Form* ControlPanel::FindForm(const std::string& name) const {
    auto it = forms_.find(name);
    return it == forms_.end() ? nullptr : it->second;
}

void ControlPanel::AddForm(ui::Form& form) { forms_[form.Name()] = &form; }

void ControlPanel::ShowMainWindow() {
    frmMain_->Show();
    frmMain_->SetFocus();
}

}  // namespace qm
