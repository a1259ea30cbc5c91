// Window placement, the mouse cursor, branding applied to a window's header, and the
// single-instance rule.
#pragma once

#include <string>

#include "platform/files.h"
#include "platform/system_settings.h"
#include "platform/windows_port.h"
#include "ui/forms.h"

namespace qm {

// Centred horizontally and within the upper 85 percent of the screen.
void CenterForm(ui::Form& form);
// The icon image centred in its picture box.
void CenterIcon(ui::PictureBox& picIcon, ui::Image& imgIcon);

// Hide or show the cursor whatever the display counter was.
void HideMouseCursor(SystemSettings& settings);
void ShowMouseCursor(SystemSettings& settings);

// The header every branded window carries: the logo box with the title and system lines.
struct BrandingHeader {
    ui::PictureBox& picLogo;
    ui::Label& lblOemTitle;
    ui::Label& lblSystem;
};

// The main window's branding; returns whether the logo file was found (`LogoPresent`).
bool ApplyMainBranding(const BrandingHeader& window, Files& files, const std::string& installPath,
                       const std::string& venderName, const std::string& venderStyle);
// A dialog's branding, taken from the main window's header (no second file read).
void ApplyDialogBranding(const BrandingHeader& dialog, const BrandingHeader& mainWindow,
                         bool logoPresent, const std::string& venderStyle);

// The window handle a form's top-level window has (what other programs see).
WindowHandle FormWindowHandle(const ui::Form& form);

// Run from a main window's load handler once its caption is set. Returns true when this is
// the only instance. Otherwise the running instance's window is brought to the front (or,
// when it cannot be found, the error box says so) and false is returned: the caller ends.
bool ApplySingleInstanceRule(ui::Application& app, Windows& windows, ui::Form& self);

}  // namespace qm
