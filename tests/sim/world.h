// The simulated world: every port's simulated adapter, gathered so a test builds one world
// for one hardware build and hands its parts to the program code under test.
#pragma once

#include "common/variant.h"
#include "headless_ui.h"
#include "sim_clock.h"
#include "sim_driver.h"
#include "sim_files.h"
#include "sim_processes.h"
#include "sim_profile.h"
#include "sim_registry.h"
#include "sim_restart.h"
#include "sim_system_settings.h"
#include "sim_windows.h"

namespace qm::sim {

struct World {
    explicit World(const Variant& v) : variant(v), driver(DevicePath(v)) {}

    const Variant& variant;
    HeadlessUi ui;
    SimDriver driver;
    SimRegistry registry;
    SimProcesses processes;
    SimWindows windows;
    SimFiles files;
    SimSystemSettings systemSettings;
    SimClock clock;
    SimProfile profile;
    SimRestart restart;

    // The product key of this build, as the installer leaves it.
    std::string ProductKey() const {
        return std::string("SOFTWARE\\Vestamorel\\TouchScreen\\") + ProductTag(variant);
    }
    void InstallProductData(const std::string& installPath = "C:\\Program Files\\TouchScreen") {
        const std::string key = ProductKey();
        registry.PutString(kHkeyLocalMachine, key, "VenderName", "Acme Kiosks");
        registry.PutString(kHkeyLocalMachine, key, "VenderStyle", "10120204");
        registry.PutString(kHkeyLocalMachine, key, "InstallPath", installPath);
        registry.PutString(kHkeyLocalMachine, key, "WindowsPath", "C:\\WINDOWS");
        registry.PutString(kHkeyLocalMachine, key, "SystemPath", "C:\\WINDOWS\\system32");
        registry.PutString(kHkeyLocalMachine, key, "HardwareID", std::string(variant.hardwareId));
    }
};

}  // namespace qm::sim
