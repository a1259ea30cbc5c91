#include "common_ui/window_helpers.h"

#include "common/branding.h"
#include "common/single_instance.h"
#include "common_ui/message_boxes.h"

namespace qm {

void CenterForm(ui::Form& form) {
    const ui::Screen& screen = form.App().screen;
    FormPosition p =
        CenterFormPosition(screen.Width(), screen.Height(), form.Width(), form.Height());
    form.Move(p.left, p.top);
}

void CenterIcon(ui::PictureBox& picIcon, ui::Image& imgIcon) {
    ControlPosition p = CenterIconPosition(picIcon.ScaleWidth(), picIcon.ScaleHeight(),
                                           imgIcon.Width(), imgIcon.Height());
    imgIcon.Move(p.left, p.top);
}

void HideMouseCursor(SystemSettings& settings) {
    while (settings.ShowCursor(false) >= 0) {
    }
}

void ShowMouseCursor(SystemSettings& settings) {
    while (settings.ShowCursor(true) < 0) {
    }
}

namespace {

class HeaderStyleTarget final : public TitleStyleTarget {
public:
    explicit HeaderStyleTarget(const BrandingHeader& header) : h_(header) {}
    void SetTitleFontName(const std::string& name) override { h_.lblOemTitle.SetFontName(name); }
    void SetTitleBold(bool bold) override { h_.lblOemTitle.SetFontBold(bold); }
    void SetTitleItalic(bool italic) override { h_.lblOemTitle.SetFontItalic(italic); }
    void SetTitleFontSize(int points) override { h_.lblOemTitle.SetFontSize(points); }
    void SetTitleColor(Rgb c) override { h_.lblOemTitle.SetForeColor(ui::Rgb(c.red, c.green, c.blue)); }
    void SetSystemColor(Rgb c) override { h_.lblSystem.SetForeColor(ui::Rgb(c.red, c.green, c.blue)); }

private:
    const BrandingHeader& h_;
};

ControlPosition SystemPosition(const BrandingHeader& h) {
    return {h.lblSystem.Left(), h.lblSystem.Top()};
}

// What both kinds of window do with a plan; the picture itself is the caller's.
void ApplyPlan(const BrandingHeader& h, const BrandingPlan& plan) {
    if (!plan.titleVisible) h.lblOemTitle.SetVisible(false);
    if (plan.systemPosition) h.lblSystem.Move(plan.systemPosition->left, plan.systemPosition->top);
    if (plan.titleCaption) h.lblOemTitle.SetCaption(*plan.titleCaption);
    HeaderStyleTarget target(h);
    ApplyTitleStyle(plan.titleStyle, target);
}

}  // namespace

bool ApplyMainBranding(const BrandingHeader& window, Files& files, const std::string& installPath,
                       const std::string& venderName, const std::string& venderStyle) {
    const bool logoPresent = DetectLogo(files, installPath);
    BrandingPlan plan =
        PlanMainBranding(logoPresent, installPath, venderName, venderStyle, SystemPosition(window));
    ApplyPlan(window, plan);
    // A logo that exists but cannot be decoded leaves the box empty; the window still works.
    if (plan.logoFile) window.picLogo.LoadPictureFile(*plan.logoFile);
    return logoPresent;
}

void ApplyDialogBranding(const BrandingHeader& dialog, const BrandingHeader& mainWindow,
                         bool logoPresent, const std::string& venderStyle) {
    BrandingPlan plan = PlanDialogBranding(logoPresent, mainWindow.lblOemTitle.Caption(),
                                           venderStyle, SystemPosition(dialog));
    ApplyPlan(dialog, plan);
    if (plan.logoFromMainWindow) dialog.picLogo.SetPicture(mainWindow.picLogo.GetPicture());
}

WindowHandle FormWindowHandle(const ui::Form& form) {
    return static_cast<WindowHandle>(form.peer);
}

bool ApplySingleInstanceRule(ui::Application& app, Windows& windows, ui::Form& self) {
    if (!app.PrevInstance()) return true;
    WindowHandle running = FindRunningWindow(windows, FormWindowHandle(self), self.Caption());
    if (running != 0) {
        windows.SetForeground(running);
        windows.BringToTop(running);
    } else {
        ErrorBox(app,
                 "Application is running!\r\rPlease find and select the running window from "
                 "Taskbar.",
                 self.Caption());
    }
    return false;
}

}  // namespace qm
