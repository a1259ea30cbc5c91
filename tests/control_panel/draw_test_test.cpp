#include <gtest/gtest.h>

#include "control_panel/control_panel.h"
#include "control_panel/frm_main.h"
#include "control_panel/frm_test.h"
#include "sim/world.h"

namespace qm {
namespace {

constexpr ui::Color kBlue = ui::Rgb(0, 0, 255);
constexpr ui::Color kRed = ui::Rgb(255, 0, 0);
constexpr ui::Color kGreen = ui::Rgb(0, 128, 0);
constexpr ui::Color kMagenta = ui::Rgb(255, 0, 255);

// The control panel, started, with the drawing test opened by its gesture.
struct Panel {
    explicit Panel(std::uint8_t touchMode = 2)
        : world(kSerialVariant),
          app(world.ui),
          cp(app,
             ControlPanelPorts{world.driver, world.registry, world.processes, world.windows,
                               world.files, world.systemSettings, world.clock},
             kSerialVariant) {
        world.InstallProductData();
        world.driver.Block().ComPort = 1;
        world.driver.Block().BaudRateIndex = 4;
        world.driver.Block().VirtualButton = touchMode;
        cp.Run();
        world.driver.ClearLog();
    }
    TestForm& frm() { return static_cast<TestForm&>(*cp.FindForm("frmTest")); }
    bool Open() {
        return world.ui.MouseDown(cp.frmMain().cmdExit, ui::vbMiddleButton,
                                  ui::vbShiftMask | ui::vbCtrlMask);
    }
    std::vector<std::uint8_t> TouchModesSent() const {
        std::vector<std::uint8_t> modes;
        for (const sim::DriverRequest& r : world.driver.Log())
            if (r.code == IOCTL_TOUCH_SET_TOUCH_MODE) modes.push_back(r.input.at(40));
        return modes;
    }
    ui::Color Pixel(int x, int y) { return frm().picHome.Pixels().At(x, y); }

    sim::World world;
    ui::Application app;
    ControlPanel cp;
};

TEST(DrawingTest, DragDropModeWhileOpenPreviousModeAfter) {
    for (std::uint8_t mode : {1, 2, 3, 4}) {
        SCOPED_TRACE(int(mode));
        Panel p(mode);
        ASSERT_TRUE(p.Open());
        EXPECT_TRUE(p.frm().Visible());
        EXPECT_FALSE(p.cp.frmMain().Visible());
        EXPECT_EQ(p.world.driver.Block().VirtualButton, 4);
        // Another window comes and goes: activating the screen again changes nothing.
        p.world.ui.Click(p.frm().lblWidth(3));
        p.cp.frmMain().Show();
        p.frm().DeliverActivate();
        EXPECT_EQ(p.frm().SelectedWidth, 3);
        EXPECT_EQ(p.TouchModesSent(), std::vector<std::uint8_t>{4});

        ASSERT_TRUE(p.world.ui.Click(p.frm().cmdExit));
        EXPECT_EQ(p.TouchModesSent(), (std::vector<std::uint8_t>{4, mode}));
        EXPECT_EQ(p.world.driver.Block().VirtualButton, mode);
        EXPECT_FALSE(p.frm().IsLoaded());
        EXPECT_TRUE(p.cp.frmMain().Visible());
    }
    SCOPED_TRACE("closed with the close box");
    Panel p(3);
    ASSERT_TRUE(p.Open());
    p.world.ui.CloseBox(p.frm());
    EXPECT_EQ(p.world.driver.Block().VirtualButton, 3);
    EXPECT_TRUE(p.cp.frmMain().Visible());
}

TEST(DrawingTest, WidthAndColourSelections) {
    Panel p;
    ASSERT_TRUE(p.Open());
    TestForm& f = p.frm();
    auto selectedWidths = [&] {
        std::vector<int> out;
        for (int i = 0; i < 4; ++i) {
            const bool selected = f.lblWidth(i).ForeColor() == ui::Rgb(255, 255, 0) &&
                                  f.lblWidth(i).BackColor() == ui::Rgb(64, 64, 64);
            const bool unselected = f.lblWidth(i).ForeColor() == ui::Rgb(0, 0, 0) &&
                                    f.lblWidth(i).BackColor() == ui::Rgb(224, 224, 224);
            EXPECT_NE(selected, unselected) << "lblWidth(" << i << ") has one of the two looks";
            if (selected) out.push_back(i);
        }
        return out;
    };
    auto borderedSwatches = [&] {
        std::vector<int> out;
        for (int i = 0; i < 5; ++i)
            if (f.lblColor(i).BorderStyle() == ui::vbFixedSingle) out.push_back(i);
        return out;
    };
    // Width 2 and blue on opening.
    EXPECT_EQ(selectedWidths(), std::vector<int>{1});
    EXPECT_EQ(borderedSwatches(), std::vector<int>{3});
    EXPECT_EQ(f.picHome.DrawWidth(), 2);
    EXPECT_EQ(f.picHome.ForeColor(), kBlue);

    struct Step {
        const char* what;
        std::function<void()> act;
        int width;
        ui::Color color;
        int widthLabel, swatch;
    };
    const Step steps[] = {
        {"click width 4", [&] { p.world.ui.Click(f.lblWidth(3)); }, 4, kBlue, 3, 3},
        {"press on width 1", [&] { p.world.ui.MouseDown(f.lblWidth(0), ui::vbLeftButton); }, 1,
         kBlue, 0, 3},
        {"click red", [&] { p.world.ui.Click(f.lblColor(1)); }, 1, kRed, 0, 1},
        {"press on green", [&] { p.world.ui.MouseDown(f.lblColor(2), ui::vbLeftButton); }, 1,
         kGreen, 0, 2},
        {"green again", [&] { p.world.ui.Click(f.lblColor(2)); }, 1, kGreen, 0, 2},
        {"magenta, width 3", [&] {
             p.world.ui.Click(f.lblColor(4));
             p.world.ui.Click(f.lblWidth(2));
         }, 3, kMagenta, 2, 4},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        s.act();
        EXPECT_EQ(f.picHome.DrawWidth(), s.width);
        EXPECT_EQ(f.picHome.ForeColor(), s.color);
        EXPECT_EQ(selectedWidths(), std::vector<int>{s.widthLabel});
        EXPECT_EQ(borderedSwatches(), std::vector<int>{s.swatch});
    }
    EXPECT_EQ(f.lblColor(0).BackColor(), ui::Rgb(0, 0, 0));
}

TEST(DrawingTest, StrokesStartWithASinglePoint) {
    Panel p;
    ASSERT_TRUE(p.Open());
    TestForm& f = p.frm();
    sim::HeadlessUi& ui = p.world.ui;
    ui.MouseDown(f.picHome, ui::vbLeftButton, 0, 10, 10);
    ui.MouseMove(f.picHome, ui::vbLeftButton, 0, 30, 10);
    ui.MouseMove(f.picHome, ui::vbLeftButton, 0, 50, 10);
    ui.MouseUp(f.picHome, ui::vbLeftButton, 0, 50, 10);
    ui.MouseMove(f.picHome, 0, 0, 80, 40);  // no button: nothing drawn
    ui.MouseDown(f.picHome, ui::vbLeftButton, 0, 100, 100);
    ui.MouseUp(f.picHome, ui::vbLeftButton, 0, 100, 100);

    // Pen 2 pixels wide: the stroke covers rows 10..11 from column 10 to 51, the dot 2 x 2.
    EXPECT_EQ(f.picHome.Pixels().Count(kBlue), 42 * 2 + 4);
    EXPECT_EQ(p.Pixel(10, 10), kBlue);
    EXPECT_EQ(p.Pixel(51, 11), kBlue);
    EXPECT_EQ(p.Pixel(52, 10), ui::vbWhite);
    EXPECT_EQ(p.Pixel(75, 55), ui::vbWhite) << "no line from the last stroke's end";
    EXPECT_EQ(p.Pixel(101, 101), kBlue);

    // Covered by another window and back: the drawing is still there.
    p.cp.frmMain().Show();
    f.DeliverActivate();
    EXPECT_EQ(f.picHome.Pixels().Count(kBlue), 88);

    // A later colour affects only what is drawn afterwards; Clear wipes every colour.
    ui.Click(f.lblColor(1));
    ui.MouseDown(f.picHome, ui::vbLeftButton, 0, 200, 200);
    ui.MouseUp(f.picHome, ui::vbLeftButton, 0, 200, 200);
    EXPECT_EQ(f.picHome.Pixels().Count(kRed), 4);
    EXPECT_EQ(f.picHome.Pixels().Count(kBlue), 88);
    ui.Click(f.cmdClear);
    const ui::Surface& s = f.picHome.Pixels();
    EXPECT_EQ(s.Count(ui::vbWhite), s.Width() * s.Height());
    EXPECT_EQ(f.picHome.CurrentX(), 0);
    EXPECT_EQ(f.picHome.CurrentY(), 0);
    EXPECT_EQ(f.SelectedColor, 1) << "selections stay";
    EXPECT_EQ(f.SelectedWidth, 1);
}

TEST(DrawingTest, ButtonIndicatorsAndASecondButton) {
    Panel p;
    ASSERT_TRUE(p.Open());
    TestForm& f = p.frm();
    sim::HeadlessUi& ui = p.world.ui;
    auto lit = [&] {
        std::string out;
        for (int i = 0; i < 3; ++i)
            out += f.lblButton(i).BackStyle() == ui::vbOpaque ? f.lblButton(i).Caption() : "-";
        return out;
    };
    EXPECT_EQ(lit(), "---");
    EXPECT_EQ(f.lblButton(0).BackColor(), ui::Rgb(255, 255, 0));

    ui.MouseDown(f.picHome, ui::vbLeftButton, 0, 10, 10);
    EXPECT_EQ(lit(), "L--");
    ui.MouseDown(f.picHome, ui::vbRightButton, 0, 10, 40);  // joins the stroke with a line
    EXPECT_EQ(lit(), "L-R");
    EXPECT_EQ(p.Pixel(10, 25), kBlue);
    ui.MouseUp(f.picHome, ui::vbLeftButton, 0, 10, 40);
    EXPECT_EQ(lit(), "--R");
    EXPECT_FALSE(f.PenDown) << "the first release ends the stroke for both";
    ui.MouseMove(f.picHome, ui::vbRightButton, 0, 60, 40);
    EXPECT_EQ(p.Pixel(35, 40), ui::vbWhite);
    ui.MouseUp(f.picHome, ui::vbRightButton, 0, 60, 40);
    EXPECT_EQ(lit(), "---");

    ui.MouseDown(f.picHome, ui::vbMiddleButton, 0, 300, 300);
    EXPECT_EQ(lit(), "-M-");
    ui.MouseUp(f.picHome, ui::vbMiddleButton, 0, 300, 300);
    ui.MouseDown(f.picHome, 8, 0, 320, 300);  // a button without an indicator
    EXPECT_EQ(lit(), "---");
    EXPECT_EQ(p.Pixel(320, 300), kBlue) << "it still draws";
}

TEST(DrawingTest, LayoutOfBothBars) {
    Panel p;
    ASSERT_TRUE(p.Open());
    TestForm& f = p.frm();
    struct Place {
        ui::Widget* w;
        double left, top, width, height;
    };
    // Twips, inside each bar's inner area (15300 wide; 555 and 495 high).
    const Place places[] = {
        {&f.picHead, 0, 0, 15360, 615},
        {&f.picHome, 0, 615, 15360, 10350},
        {&f.picMesg, 0, 10965, 15360, 555},
        {&f.imgIcon, 37.5, 37.5, 480, 480},
        {&f.lblTitle, 592.5, 112.5, f.lblTitle.Width(), 330},
        {&f.cmdExit, 14047.5, 37.5, 1215, 480},
        {&f.cmdClear, 12795, 37.5, 1215, 480},
        {&f.lblButton(2), 14947.5, 67.5, 285, 360},
        {&f.lblButton(1), 14595, 67.5, 285, 360},
        {&f.lblButton(0), 14242.5, 67.5, 285, 360},
        {&f.lblButtonName, 13575, 127.5, 600, 240},
        {&f.lblColor(4), 13035, 67.5, 405, 360},
        {&f.lblColor(0), 11145, 67.5, 405, 360},
        {&f.lblColorName, 10537.5, 127.5, 540, 240},
        {&f.lblWidth(3), 9997.5, 67.5, 405, 360},
        {&f.lblWidth(0), 8580, 67.5, 405, 360},
        {&f.lblWidthName, 7942.5, 127.5, 570, 240},
        {&f.lblHelpBox, 0, 0, 7807.5, 495},
        {&f.lblHelp, 127.5, 127.5, 7552.5, 240},
    };
    for (const Place& pl : places) {
        SCOPED_TRACE(pl.w->Name());
        EXPECT_DOUBLE_EQ(pl.w->Left(), pl.left);
        EXPECT_DOUBLE_EQ(pl.w->Top(), pl.top);
        EXPECT_DOUBLE_EQ(pl.w->Width(), pl.width);
        EXPECT_DOUBLE_EQ(pl.w->Height(), pl.height);
    }
    EXPECT_EQ(f.lblHelp.BackColor(), ui::Rgb(192, 192, 192));
    EXPECT_EQ(f.lblTitle.Caption(), "TouchScreen Test");
    EXPECT_EQ(f.lblTitle.ForeColor(), ui::vbRed);
}

}  // namespace
}  // namespace qm
