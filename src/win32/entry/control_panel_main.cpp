// The control panel (QMwS3ccp / QMwS3pcp): the Win32 adapters handed to the portable program.
#include <exception>

#include "common/build_variant.h"
#include "control_panel/control_panel.h"
#include "win32/clock_win32.h"
#include "win32/device_win32.h"
#include "win32/files_win32.h"
#include "win32/processes_win32.h"
#include "win32/registry_win32.h"
#include "win32/system_settings_win32.h"
#include "win32/ui_backend.h"
#include "win32/windows_win32.h"

// Last: its MessageBox and DrawText macros would rename the toolkit's members.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    qm::win32::Win32Ui ui;
    try {
        qm::ui::Application app(ui);
        app.SetPath(ui.ProgramFolder());
        app.SetPrevInstance(ui.AnotherInstanceRunning());

        qm::win32::Win32Device device;
        qm::win32::Win32Registry registry;
        qm::win32::Win32Processes processes;
        qm::win32::Win32Windows windows;
        qm::win32::Win32Files files;
        qm::win32::Win32SystemSettings systemSettings;
        qm::win32::Win32Clock clock;
        const qm::ControlPanelPorts ports{device, registry,       processes, windows,
                                          files,  systemSettings, clock};
        qm::ControlPanel controlPanel(app, ports, qm::kBuildVariant);
        return controlPanel.Run();
    } catch (const std::exception& e) {
        ui.ReportFault(e.what());
    } catch (...) {
        ui.ReportFault("unknown exception");
    }
    return qm::kExitStartFailed;
}
