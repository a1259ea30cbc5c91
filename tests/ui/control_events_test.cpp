// Events fired by setting values and by the user: scroll bars, option buttons, check boxes,
// lists, mouse buttons with shift state, keys through key preview.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/headless_ui.h"

namespace qm {
namespace {

using namespace ui;

class Dialog : public Form {
  public:
    explicit Dialog(Application& app) : Form(app, "frmDialog") {
        hscTone.SetMin(200);
        hscTone.SetMax(5000);
        hscTone.SetSmallChange(1);
        hscTone.SetLargeChange(100);
        hscTone.onChange = [this] { Log("Change " + std::to_string(hscTone.Value())); };
        hscTone.onScroll = [this] { Log("Scroll " + std::to_string(hscTone.Value())); };
        optSound.onClick = [this](int i) { Log("optSound_Click " + std::to_string(i)); };
        optOther.onClick = [this] { Log("optOther_Click"); };
        chkBeep.onClick = [this] { Log("chkBeep_Click " + std::to_string(chkBeep.Value())); };
        cboMode.onClick = [this] { Log("cboMode_Click " + std::to_string(cboMode.ListIndex())); };
        cmdOK.onClick = [this] { Log("cmdOK_Click"); };
        cmdOK.SetDefault(true);
        cmdCancel.onClick = [this] { Log("cmdCancel_Click"); };
        cmdCancel.SetCancel(true);
        cmdExit.onMouseDown = [this](int button, int shift, double x, double y) {
            Log("cmdExit_MouseDown " + std::to_string(button) + " " + std::to_string(shift) + " " +
                std::to_string(static_cast<int>(x)) + "," + std::to_string(static_cast<int>(y)));
        };
        cmdExit.onClick = [this] { Log("cmdExit_Click"); };
        cmdExit.onMouseUp = [this](int, int, double, double) { Log("cmdExit_MouseUp"); };
        cmdExit.Move(480, 4500, 975, 435);
        picArea.SetScaleMode(vbPixels);
        picArea.onKeyPress = [this](int& key) { Log("picArea_KeyPress " + std::to_string(key)); };
        picArea.onKeyDown = [this](int& key, int shift) {
            Log("picArea_KeyDown " + std::to_string(key) + " " + std::to_string(shift));
        };
        picArea.onMouseMove = [this](int button, int, double x, double y) {
            Log("picArea_MouseMove " + std::to_string(button) + " " + std::to_string(x) + "," +
                std::to_string(y));
        };
        lblIcon.onDblClick = [this] { Log("lblIcon_DblClick"); };
        lblIcon.onClick = [this] { Log("lblIcon_Click"); };
    }

    std::vector<std::string> log;
    bool swallowKeys = false;
    void Log(const std::string& s) { log.push_back(s); }

    HScrollBar hscTone{*this, "hscTone"};
    ui::Frame Frame1{*this, "Frame1"};
    ControlArray<OptionButton> optSound{Frame1, "optSound", {1, 2, 3, 4}};
    OptionButton optOther{*this, "optOther"};  // another container: another group
    CheckBox chkBeep{*this, "chkBeep"};
    ComboBox cboMode{*this, "cboMode"};
    CommandButton cmdOK{*this, "cmdOK"};
    CommandButton cmdCancel{*this, "cmdCancel"};
    CommandButton cmdExit{*this, "cmdExit"};
    PictureBox picArea{*this, "picArea"};
    Label lblIcon{*this, "lblIcon"};

  protected:
    void Form_KeyDown(int& keyCode, int shift) override {
        Log("Form_KeyDown " + std::to_string(keyCode) + " " + std::to_string(shift));
        if (swallowKeys) keyCode = 0;
    }
    void Form_KeyPress(int& keyAscii) override { Log("Form_KeyPress " + std::to_string(keyAscii)); }
};

class ControlEvents : public ::testing::Test {
  protected:
    void SetUp() override {
        frm.Show();
        frm.log.clear();
    }
    sim::HeadlessUi ui;
    Application app{ui};
    Dialog frm{app};
};

TEST_F(ControlEvents, ScrollBarValueFiresChangeOnlyWhenItDiffers) {
    struct Case {
        int set;
        int expect;
        bool change;
    } cases[] = {
        {200, 200, false},    // the value it has
        {1000, 1000, true},   // a new value
        {1000, 1000, false},  // the same again
        {9000, 5000, true},   // above Max: clamped
        {5000, 5000, false},  // Max: same as the clamped value
        {-5, 200, true},      // below Min: clamped
    };
    for (const Case& c : cases) {
        frm.log.clear();
        frm.hscTone.SetValue(c.set);
        EXPECT_EQ(frm.hscTone.Value(), c.expect) << "set " << c.set;
        EXPECT_EQ(frm.log.size(), c.change ? 1u : 0u) << "set " << c.set;
    }
}

TEST_F(ControlEvents, ScrollBarUserActions) {
    frm.hscTone.SetValue(1000);
    frm.log.clear();
    ui.Scroll(frm.hscTone, ScrollAction::LineRight);
    ui.Scroll(frm.hscTone, ScrollAction::PageLeft);
    ui.Scroll(frm.hscTone, ScrollAction::Home);
    ui.Scroll(frm.hscTone, ScrollAction::LineLeft);  // already at Min: nothing
    EXPECT_EQ(frm.log, (std::vector<std::string>{"Change 1001", "Change 901", "Change 200"}));
}

TEST_F(ControlEvents, DraggingTheThumbFiresScrollThenOneChange) {
    frm.hscTone.SetValue(1000);
    frm.log.clear();
    ui.DragThumb(frm.hscTone, {1100, 1100, 1250});
    EXPECT_EQ(frm.log, (std::vector<std::string>{"Scroll 1100", "Scroll 1250", "Change 1250"}));
    // A drag that ends where it started changes nothing.
    frm.log.clear();
    ui.DragThumb(frm.hscTone, {1300, 1250});
    EXPECT_EQ(frm.log, (std::vector<std::string>{"Scroll 1300", "Scroll 1250"}));
}

TEST_F(ControlEvents, OptionButtonTrueFiresClickAndClearsItsGroupOnly) {
    frm.optOther.SetValue(true);
    frm.optSound(2).SetValue(true);
    frm.optSound(2).SetValue(true);  // already true: nothing
    frm.optSound(4).SetValue(true);
    EXPECT_EQ(frm.log,
              (std::vector<std::string>{"optOther_Click", "optSound_Click 2", "optSound_Click 4"}));
    EXPECT_FALSE(frm.optSound(2).Value());
    EXPECT_TRUE(frm.optSound(4).Value());
    EXPECT_TRUE(frm.optOther.Value());  // its own container, its own group
    // The user picking the selected option: no Click; another one: Click.
    frm.log.clear();
    ui.Click(frm.optSound(4));
    ui.Click(frm.optSound(1));
    EXPECT_EQ(frm.log, std::vector<std::string>{"optSound_Click 1"});
    EXPECT_FALSE(frm.optSound(4).Value());
}

TEST_F(ControlEvents, CheckBoxValueAndClicks) {
    frm.chkBeep.SetValue(vbChecked);
    frm.chkBeep.SetValue(vbChecked);
    ui.Click(frm.chkBeep);
    ui.PressKey(frm, vbKeySpace);  // focus is on the box now
    EXPECT_EQ(frm.log,
              (std::vector<std::string>{"chkBeep_Click 1", "chkBeep_Click 0", "chkBeep_Click 1"}));
}

TEST_F(ControlEvents, ListIndexFiresClick) {
    frm.cboMode.AddItem(" 4 points, mode 1");
    frm.cboMode.AddItem(" 4 points, mode 2");
    EXPECT_EQ(frm.cboMode.ListIndex(), -1);
    frm.cboMode.SetListIndex(0);
    frm.cboMode.SetListIndex(0);  // setting the index fires Click each time
    frm.cboMode.SetListIndex(5);  // not an item: ignored
    ui.Pick(frm.cboMode, 1);
    EXPECT_EQ(frm.log,
              (std::vector<std::string>{"cboMode_Click 0", "cboMode_Click 0", "cboMode_Click 1"}));
    EXPECT_EQ(frm.cboMode.Text(), " 4 points, mode 2");
    frm.cboMode.AddItem("first", 0);  // the selection follows its item
    EXPECT_EQ(frm.cboMode.ListIndex(), 2);
}

TEST_F(ControlEvents, MouseButtonsShiftStateAndPositionReachTheHandler) {
    frm.SetKeyPreview(true);
    struct Case {
        int button;
        int shift;
    } cases[] = {
        {vbLeftButton, 0},
        {vbMiddleButton, vbShiftMask | vbCtrlMask},
        {vbRightButton, vbAltMask},
        {vbMiddleButton, vbShiftMask | vbCtrlMask | vbAltMask},
    };
    for (const Case& c : cases) {
        frm.log.clear();
        ui.MouseDown(frm.cmdExit, c.button, c.shift, 10, 4);
        // Coordinates come in the container's scale: twips on a form.
        EXPECT_EQ(frm.log,
                  std::vector<std::string>{"cmdExit_MouseDown " + std::to_string(c.button) + " " +
                                           std::to_string(c.shift) + " 150,60"});
    }
    // A picture box in pixel scale reports pixels.
    frm.log.clear();
    ui.MouseMove(frm.picArea, 0, 0, 7, 9);
    EXPECT_EQ(frm.log, std::vector<std::string>{"picArea_MouseMove 0 7.000000,9.000000"});
}

TEST_F(ControlEvents, ClickAndDoubleClickSequences) {
    ui.Click(frm.cmdExit);
    EXPECT_EQ(frm.log, (std::vector<std::string>{"cmdExit_MouseDown 1 0 480,210", "cmdExit_MouseUp",
                                                 "cmdExit_Click"}));
    frm.log.clear();
    ui.DblClick(frm.lblIcon);
    EXPECT_EQ(frm.log, (std::vector<std::string>{"lblIcon_Click", "lblIcon_DblClick"}));
}

TEST_F(ControlEvents, DisabledOrHiddenControlsTakeNoInput) {
    frm.cmdExit.SetEnabled(false);
    EXPECT_FALSE(ui.Click(frm.cmdExit));
    frm.cmdExit.SetEnabled(true);
    frm.Frame1.SetVisible(false);  // hides what it contains
    EXPECT_FALSE(ui.Click(frm.optSound(3)));
    frm.Frame1.SetVisible(true);
    frm.Frame1.SetEnabled(false);
    EXPECT_FALSE(ui.Click(frm.optSound(3)));
    EXPECT_TRUE(frm.log.empty());
    EXPECT_FALSE(frm.optSound(3).Value());
}

TEST_F(ControlEvents, KeyPreviewShowsTheFormEveryKeyFirst) {
    frm.picArea.SetFocus();
    ui.PressKey(frm, vbKeyEscape);  // the cancel button takes Esc after the key handlers
    frm.SetKeyPreview(true);
    ui.PressKey(frm, 'J', vbCtrlMask);
    frm.swallowKeys = true;
    ui.PressKey(frm, 'A');
    EXPECT_EQ(frm.log, (std::vector<std::string>{
                           "picArea_KeyDown 27 0", "cmdCancel_Click",  // no preview yet
                           "Form_KeyDown 74 2", "picArea_KeyDown 74 2", "Form_KeyPress 10",
                           "picArea_KeyPress 10",
                           "Form_KeyDown 65 0",  // swallowed: nothing more
                       }));
}

TEST_F(ControlEvents, EnterClicksTheFocusedOrDefaultButtonAndTabMovesOn) {
    frm.picArea.SetFocus();
    ui.PressKey(frm, vbKeyReturn);
    frm.cmdExit.SetFocus();
    ui.PressKey(frm, vbKeyReturn);
    EXPECT_EQ(frm.log,
              (std::vector<std::string>{"picArea_KeyDown 13 0", "cmdOK_Click", "cmdExit_Click"}));
    ui.PressKey(frm, vbKeyTab);
    EXPECT_EQ(frm.ActiveControl(), &frm.picArea);
    ui.PressKey(frm, vbKeyTab, vbShiftMask);
    EXPECT_EQ(frm.ActiveControl(), &frm.cmdExit);
    EXPECT_EQ(ui.Focused(), &frm.cmdExit);
}

TEST_F(ControlEvents, AccessKeysClickTheirButton) {
    frm.cmdExit.SetCaption("E&xit");
    ui.PressKey(frm, 'X', vbAltMask);
    EXPECT_EQ(frm.log.back(), "cmdExit_Click");
    EXPECT_EQ(frm.cmdExit.DisplayText(), "Exit");
}

TEST(DisplayedText, AccessKeyMarkers) {
    struct Case {
        const char* caption;
        bool mnemonic;
        const char* shown;
    } cases[] = {
        {"E&xit", true, "Exit"},
        {"Both Touch Down && Lift Off", true, "Both Touch Down & Lift Off"},
        {"Both Touch Down && Lift Off", false, "Both Touch Down && Lift Off"},
        {"trailing&", true, "trailing"},
        {"", true, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DisplayedText(c.caption, c.mnemonic), c.shown) << c.caption;
}

}  // namespace
}  // namespace qm
