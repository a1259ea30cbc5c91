#include "common/single_instance.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/sim_windows.h"

namespace qm {
namespace {

using sim::SimWindow;
using sim::SimWindows;

const std::string kCaption = "TouchScreen Control Panel";
const std::string k127(127, 'Q');

struct WalkCase {
    const char* name;
    std::vector<SimWindow> windows;  // in z-order
    WindowHandle self;
    std::string caption;
    WindowHandle expected;
};

const WalkCase kCases[] = {
    {"empty list", {}, 0x10, kCaption, 0},
    {"only this window", {{0x10, kCaption, 0, 0}}, 0x10, kCaption, 0},
    {"skips itself, finds the other",
     {{0x10, kCaption, 0, 0}, {0x20, kCaption, 0, 0}},
     0x10,
     kCaption,
     0x20},
    {"parented window skipped",
     {{0x30, kCaption, 0x40, 0}, {0x40, "owner", 0, 0}, {0x50, kCaption, 0, 0}},
     0x10,
     kCaption,
     0x50},
    {"nonzero instance word skipped",
     {{0x30, kCaption, 0, 0x0400}, {0x50, kCaption, 0, 0}},
     0x10,
     kCaption,
     0x50},
    {"case differs", {{0x30, "touchscreen control panel", 0, 0}}, 0x10, kCaption, 0},
    {"longer text", {{0x30, kCaption + " - Help", 0, 0}}, 0x10, kCaption, 0},
    {"shorter text", {{0x30, "TouchScreen", 0, 0}}, 0x10, kCaption, 0},
    {"empty text never matches an empty caption", {{0x30, "", 0, 0}}, 0x10, "", 0},
    {"first match in z-order wins",
     {{0x30, kCaption, 0, 0}, {0x50, kCaption, 0, 0}},
     0x10,
     kCaption,
     0x30},
    {"127 characters compare whole", {{0x30, k127, 0, 0}}, 0x10, k127, 0x30},
    // Only 127 characters are read, so a longer caption can never be matched ...
    {"128-character caption", {{0x30, k127 + "Q", 0, 0}}, 0x10, k127 + "Q", 0},
    // ... and a longer title matches a 127-character caption it starts with.
    {"title beyond 127 characters read as its first 127",
     {{0x30, k127 + "XYZ", 0, 0}},
     0x10,
     k127,
     0x30},
};

TEST(FindRunningWindow, WalksTheTopLevelList) {
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        SimWindows windows;
        for (const auto& w : c.windows) windows.AddWithHandle(w);
        EXPECT_EQ(FindRunningWindow(windows, c.self, c.caption), c.expected);
        EXPECT_TRUE(windows.Messages().empty());
        EXPECT_TRUE(windows.Calls().empty());  // finding brings nothing to the front
    }
}

// A list that changes while it is walked can lead the walk back to its start.
class CircularWindows final : public SimWindows {
  public:
    WindowHandle Next(WindowHandle window) override {
        const WindowHandle next = SimWindows::Next(window);
        ++steps;
        return next != 0 ? next : FirstTopLevel();
    }
    int steps = 0;
};

TEST(FindRunningWindow, EndsOnACircularList) {
    CircularWindows windows;
    windows.Add("Program Manager");
    windows.Add(kCaption, 0x99);
    EXPECT_EQ(FindRunningWindow(windows, 0x10, kCaption), 0);
    EXPECT_GT(windows.steps, 2);
    EXPECT_LE(windows.steps, 65536);
}

}  // namespace
}  // namespace qm
