// The runner's window, control and message-box helpers against a small window that follows
// the programs' conventions, so a failing program test points at the program, not the runner.
#include <gtest/gtest.h>

#include <string>

#include "runner/bench.h"

namespace qm::wine {
namespace {

constexpr DWORD kStartMs = 60000;

std::string FixturePath() {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string path = self;
    return path.substr(0, path.find_last_of('\\')) + "\\qm_bench_fixture.exe";
}

TEST(Runner, FindsNamedControlsAndReadsThem) {
    ScopedProcess app(Start(FixturePath()));
    ASSERT_TRUE(app.get()) << "cannot start " << FixturePath();
    HWND main = WaitForWindow(app.get(), "QM Bench Fixture", kStartMs);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(FindTopWindows("QM Bench Fixture"), std::vector<HWND>{main});

    struct Expect {
        const char* name;
        const char* text;
        bool enabled, visible;
        RECT placement;  // left, top, width, height
    } expected[] = {
        {"cmdApply", "&Apply", true, true, {16, 12, 96, 28}},
        {"lblMesg1", "Ready", true, true, {16, 52, 220, 20}},
        {"optFeedbackSound(1)", "Silence", false, true, {16, 80, 160, 20}},
        {"cmdTest", "&Test", true, false, {16, 110, 96, 28}},
    };
    for (const auto& e : expected) {
        SCOPED_TRACE(e.name);
        HWND control = FindControl(main, e.name);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(ControlName(control), e.name);
        EXPECT_EQ(Text(control), e.text);
        EXPECT_EQ(IsEnabled(control), e.enabled);
        EXPECT_EQ(IsVisible(control), e.visible);
        const RECT r = Placement(control);
        EXPECT_EQ(r.left, e.placement.left);
        EXPECT_EQ(r.top, e.placement.top);
        EXPECT_EQ(r.right, e.placement.right) << "width";
        EXPECT_EQ(r.bottom, e.placement.bottom) << "height";
    }
    EXPECT_EQ(FindControl(main, "cmdMissing"), nullptr);
    EXPECT_EQ(FindControl(main, "cmdApply(1)"), nullptr) << "names match whole";
    EXPECT_EQ(NamedControls(main).size(), 4u);
}

TEST(Runner, ReadsAndAnswersMessageBoxes) {
    struct BoxCase {
        const char* argument;
        BoxIcon icon;
        UINT flags;
        int answer;
    } cases[] = {
        {"stop", BoxIcon::Stop, MB_OK | MB_ICONSTOP | MB_SYSTEMMODAL, IDOK},
        {"question", BoxIcon::Question, MB_YESNO | MB_ICONQUESTION | MB_SYSTEMMODAL, IDNO},
        {"exclamation", BoxIcon::Exclamation, MB_OK | MB_ICONEXCLAMATION, IDOK},
        {"information", BoxIcon::Information, MB_OK | MB_ICONINFORMATION, IDOK},
        {"plain", BoxIcon::None, MB_OKCANCEL, IDCANCEL},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.argument);
        ScopedProcess app(Start(FixturePath(), c.argument));
        HWND main = WaitForWindow(app.get(), "QM Bench Fixture", kStartMs);
        ASSERT_NE(main, nullptr);
        Click(FindControl(main, "cmdApply"));
        MessageBoxInfo box = WaitForMessageBox(app.get(), 20000);
        ASSERT_TRUE(box);
        EXPECT_EQ(box.title, "QM Bench Fixture");
        EXPECT_EQ(box.text, "Fail to save settings! (VenderName)");
        ASSERT_TRUE(box.flags.has_value());
        EXPECT_EQ(*box.flags, c.flags);
        EXPECT_EQ(IconName(box.shownIcon), std::string(IconName(c.icon)));
        EXPECT_EQ(Text(FindControl(main, "lblMesg1")), "Applying") << "the click ran the handler";
        if (c.argument == std::string("stop")) Screenshot("runner-message-box");
        EXPECT_FALSE(Answer(box, IDRETRY)) << "the box has no such button";
        ASSERT_TRUE(Answer(box, c.answer));
        EXPECT_EQ(WaitForExit(app.get(), 20000), std::optional<DWORD>(c.answer));
    }
}

TEST(Runner, ReportsAProgramThatCannotStartOrDoesNotEnd) {
    EXPECT_FALSE(Start("C:\\no such folder\\QMwS3ccp.exe"));
    ScopedProcess app(Start(FixturePath()));
    ASSERT_NE(WaitForWindow(app.get(), "", kStartMs), nullptr);
    EXPECT_EQ(WaitForExit(app.get(), 200), std::nullopt);
    EXPECT_EQ(WaitForWindow(app.get(), "Another Caption", 300), nullptr);
    Kill(app.get());
    EXPECT_FALSE(IsRunning(app.get()));
}

TEST(Runner, ReadsTheProductKeysTheBenchWrote) {
    for (Build build : {Build::Serial, Build::Ps2}) {
        SCOPED_TRACE(ProductTag(build));
        for (const char* name : {"VenderName", "VenderStyle", "InstallPath", "WindowsPath", "SystemPath",
                                 "HardwareID"}) {
            EXPECT_EQ(ValueType(HKEY_LOCAL_MACHINE, ProductKeyPath(build), name), std::optional<DWORD>(REG_SZ))
                << name;
        }
        EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, ProductKeyPath(build), "HardwareID"),
                  std::optional<std::string>(build == Build::Serial ? "*ZKX0001" : "*PNP0F03"));
        const std::string folder = InstallDir(build);
        EXPECT_NE(GetFileAttributesA(folder.c_str()), INVALID_FILE_ATTRIBUTES) << folder;
    }
    const std::string key = "SOFTWARE\\Vestamorel\\TouchScreen\\QM-Bench-Scratch";
    ASSERT_TRUE(WriteDword(HKEY_LOCAL_MACHINE, key, "CalibrationMode", 5));
    EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, key, "calibrationmode"), std::optional<DWORD>(5))
        << "names compare without regard to case";
    ASSERT_TRUE(WriteString(HKEY_LOCAL_MACHINE, key, "CalibrationMode", "1"));
    EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, key, "CalibrationMode"), std::nullopt) << "text is not a number";
    EXPECT_TRUE(DeleteValue(HKEY_LOCAL_MACHINE, key, "CalibrationMode"));
    EXPECT_EQ(ValueType(HKEY_LOCAL_MACHINE, key, "CalibrationMode"), std::nullopt);
}

TEST(Runner, SavesScreenshots) {
    ScopedProcess app(Start(FixturePath()));
    ASSERT_NE(WaitForWindow(app.get(), "QM Bench Fixture", kStartMs), nullptr);
    const std::string shot = Screenshot("runner-fixture");
    ASSERT_FALSE(shot.empty()) << "no screenshot helper answered";
    EXPECT_TRUE(FileExists(shot)) << shot;
}

}  // namespace
}  // namespace qm::wine
