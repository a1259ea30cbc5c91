// Form lifecycle: Load once then Activate, Hide, Unload and a second Show, design values
// coming back after an unload, End, docking and full-screen geometry.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "sim/headless_ui.h"

namespace qm {
namespace {

using namespace ui;

// A form that logs its events, with one control of each kind that keeps state.
class LogForm : public Form {
  public:
    explicit LogForm(Application& app, std::string name = "frmLog") : Form(app, std::move(name)) {
        cmdApply.SetEnabled(false);
        hscTone.SetMax(5000);
        hscTone.SetMin(200);
        hscTone.onChange = [this] { log.push_back("hscTone_Change"); };
        lblTone.SetCaption("9999");
    }
    std::vector<std::string> log;
    std::function<void()> whenLoaded;
    std::function<void()> whenActivated;
    bool refuseUnload = false;

    CommandButton cmdApply{*this, "cmdApply"};
    HScrollBar hscTone{*this, "hscTone"};
    Label lblTone{*this, "lblTone"};
    ControlArray<OptionButton> optSound{*this, "optSound", {1, 2}};

  protected:
    void Form_Load() override {
        log.push_back("Load");
        if (whenLoaded) whenLoaded();
    }
    void Form_Activate() override {
        log.push_back("Activate");
        if (whenActivated) whenActivated();
    }
    void Form_Resize() override { log.push_back("Resize"); }
    void Form_Unload(bool& cancel) override {
        log.push_back("Unload");
        cancel = refuseUnload;
    }
};

class FormLifecycle : public ::testing::Test {
  protected:
    sim::HeadlessUi ui;
    Application app{ui};
};

TEST_F(FormLifecycle, ShowLoadsOnceResizesOnceAndActivatesEachTimeItBecomesActive) {
    LogForm frm(app);
    LogForm other(app, "frmOther");
    frm.Show();
    frm.Show();  // already active: nothing
    other.Show();
    frm.Show();  // active again
    EXPECT_EQ(frm.log, (std::vector<std::string>{"Load", "Resize", "Activate", "Activate"}));
    EXPECT_EQ(app.ActiveForm(), &frm);
    EXPECT_EQ(app.Forms().size(), 2u);
}

TEST_F(FormLifecycle, UnloadFiresUnloadAndAnotherShowLoadsAgainFromTheDesign) {
    LogForm frm(app);
    frm.whenLoaded = [&] {
        // As a dialog's load handler fills its controls from the driver block.
        frm.hscTone.SetValue(1000);
        frm.lblTone.SetCaption("1000");
    };
    frm.Show();
    frm.cmdApply.SetEnabled(true);
    frm.optSound(2).SetValue(true);
    frm.Unload();
    EXPECT_FALSE(frm.IsLoaded());
    EXPECT_FALSE(ui.HasPeer(frm));
    EXPECT_FALSE(ui.HasPeer(frm.cmdApply));
    EXPECT_TRUE(app.Forms().empty());
    // Back to the design while unloaded.
    EXPECT_FALSE(frm.cmdApply.Enabled());
    EXPECT_EQ(frm.hscTone.Value(), 200);
    EXPECT_EQ(frm.lblTone.Caption(), "9999");
    EXPECT_FALSE(frm.optSound(2).Value());

    frm.log.clear();
    frm.Show();
    EXPECT_EQ(frm.log, (std::vector<std::string>{"Load", "hscTone_Change", "Resize", "Activate"}));
    EXPECT_EQ(frm.hscTone.Value(), 1000);
    EXPECT_TRUE(ui.HasPeer(frm.cmdApply));
}

TEST_F(FormLifecycle, UnloadCanBeCancelled) {
    LogForm frm(app);
    frm.Show();
    frm.refuseUnload = true;
    frm.Unload();
    EXPECT_TRUE(frm.IsLoaded());
    frm.refuseUnload = false;
    ASSERT_TRUE(ui.CloseBox(frm));
    EXPECT_FALSE(frm.IsLoaded());
}

TEST_F(FormLifecycle, DesignValuesFireNothingBeforeTheFormLoads) {
    LogForm frm(app);
    frm.hscTone.SetValue(300);  // still the design: no Change, no peer to update
    EXPECT_TRUE(frm.log.empty());
    frm.Show();
    EXPECT_EQ(frm.hscTone.Value(), 300);
    EXPECT_EQ(frm.log.front(), "Load");
}

TEST_F(FormLifecycle, HideLoadsWithoutShowingAndDropsActivation) {
    LogForm frm(app);
    frm.Hide();
    EXPECT_TRUE(frm.IsLoaded());
    EXPECT_FALSE(frm.Visible());
    EXPECT_EQ(frm.log, std::vector<std::string>{"Load"});
    frm.Show();
    frm.Hide();
    EXPECT_EQ(app.ActiveForm(), nullptr);
    EXPECT_FALSE(ui.Click(frm.cmdApply));  // a hidden form takes no input
}

TEST_F(FormLifecycle, AFormThatUnloadsItselfInActivateIsGoneWhenShowReturns) {
    // The calibration screen runs its whole job in Activate and closes itself.
    LogForm frm(app);
    frm.whenActivated = [&] { frm.Unload(); };
    frm.Show();
    EXPECT_FALSE(frm.IsLoaded());
    EXPECT_EQ(frm.log, (std::vector<std::string>{"Load", "Resize", "Activate", "Unload"}));
    EXPECT_EQ(app.ActiveForm(), nullptr);
}

TEST_F(FormLifecycle, EndInLoadStopsTheShowAndDiscardsEveryFormWithoutUnload) {
    LogForm frmMain(app, "frmMain");
    LogForm frmOther(app, "frmOther");
    frmOther.Show();
    frmMain.whenLoaded = [&] { app.End(3); };
    EXPECT_EQ(app.Run(frmMain), 3);
    EXPECT_EQ(frmMain.log, std::vector<std::string>{"Load"});
    EXPECT_FALSE(frmMain.IsLoaded());
    EXPECT_FALSE(frmOther.IsLoaded());
    EXPECT_EQ(std::count(frmOther.log.begin(), frmOther.log.end(), "Unload"), 0);
    frmMain.Show();  // after End nothing loads again
    EXPECT_FALSE(frmMain.IsLoaded());
}

TEST_F(FormLifecycle, FullScreenFormCoversTheScreenAndDocksItsBars) {
    // As the drawing test screen: no border, maximized, a bar docked at the top and one at the
    // bottom, the area between laid out from the bottom bar's Resize.
    class Screenish : public Form {
      public:
        explicit Screenish(Application& app) : Form(app, "frmTest") {
            SetBorderStyle(vbBSNone);
            SetWindowState(vbMaximized);
            picHead.SetAlign(vbAlignTop);
            picHead.SetHeight(615);
            picMesg.SetAlign(vbAlignBottom);
            picMesg.SetHeight(555);
            picMesg.onResize = [this] {
                picHome.Move(0, picHead.Height(), ScaleWidth(),
                             ScaleHeight() - picHead.Height() - picMesg.Height());
            };
        }
        PictureBox picHead{*this, "picHead"};
        PictureBox picHome{*this, "picHome"};
        PictureBox picMesg{*this, "picMesg"};
    };
    Screenish frm(app);
    frm.Show();
    EXPECT_EQ(frm.ScaleWidth(), 1024 * 15);
    EXPECT_EQ(frm.ScaleHeight(), 768 * 15);
    EXPECT_EQ(frm.picHead.Width(), 1024 * 15);
    EXPECT_EQ(frm.picHead.Top(), 0);
    EXPECT_EQ(frm.picMesg.Top(), 768 * 15 - 555);
    EXPECT_EQ(frm.picHome.Top(), 615);
    EXPECT_EQ(frm.picHome.Height(), 768 * 15 - 615 - 555);
    // The drawing surface follows the inner size (a 2-pixel border on each side).
    EXPECT_EQ(frm.picHome.Pixels().Width(), 1024 - 4);
}

TEST_F(FormLifecycle, ResizeFiresWhenTheClientSizeChanges) {
    LogForm frm(app);
    frm.Show();
    frm.log.clear();
    frm.Move(100, 100);  // position only
    frm.SetHeight(frm.Height() - 600);
    frm.DeliverResize(400, 300);
    frm.DeliverResize(400, 300);  // same size again
    EXPECT_EQ(frm.log, (std::vector<std::string>{"Resize", "Resize"}));
    EXPECT_EQ(frm.Width(), 400 * 15);
}

}  // namespace
}  // namespace qm
