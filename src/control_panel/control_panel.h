// The control panel's process-wide state: the ports it runs on, the driver link, the product
// data, the name tables and its forms. One object per program, created by the entry file (or
// a test) and passed by reference to every form.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "common/driver_link.h"
#include "common/registry.h"
#include "common/settings_store.h"
#include "common/status_texts.h"
#include "common/variant.h"
#include "platform/clock.h"
#include "platform/device.h"
#include "platform/files.h"
#include "platform/processes.h"
#include "platform/registry_port.h"
#include "platform/system_settings.h"
#include "platform/windows_port.h"
#include "ui/forms.h"

namespace qm {

struct ControlPanelPorts {
    Device& device;
    RegistryPort& registry;
    Processes& processes;
    Windows& windows;
    Files& files;
    SystemSettings& systemSettings;
    Clock& clock;
};

class MainForm;
class CalibrationForm;
class TestForm;

class ControlPanel {
public:
    ControlPanel(ui::Application& app, const ControlPanelPorts& ports, const Variant& variant);
    ~ControlPanel();
    ControlPanel(const ControlPanel&) = delete;
    ControlPanel& operator=(const ControlPanel&) = delete;

    // The application title: " TouchScreen Control Panel #QM-COM" (the leading blank belongs
    // to it).
    static std::string Title(const Variant& variant);

    // Runs the program: shows the main window and handles events until it ends.
    int Run();

    // Shows the main window again and gives it the focus (every dialog's unload does this).
    void ShowMainWindow();

    ui::Application& app;
    ControlPanelPorts ports;
    const Variant& variant;

    DriverLink link;
    Registry registry;
    SettingsStore store;
    NameTables names;
    bool LogoPresent = false;
    std::string VendorBitmapPath;

    MainForm& frmMain() { return *frmMain_; }

    // The forms the main window opens, by name ("frmSerialPort", "frmTest" ...); nullptr for
    // one this program does not have.
    ui::Form* FindForm(const std::string& name) const;
    void AddForm(ui::Form& form);

private:
    std::unique_ptr<MainForm> frmMain_;
    std::unique_ptr<CalibrationForm> frmCalibration_;
    std::unique_ptr<TestForm> frmTest_;
    std::map<std::string, ui::Form*> forms_;
};

// Exit codes of the control panel.
inline constexpr int kExitNormal = 0;
inline constexpr int kExitStartFailed = 1;

}  // namespace qm
