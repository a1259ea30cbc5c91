// Picture boxes: pixel-exact drawing, what shows through transparent and opaque labels,
// twips and pixels, pictures from .bmp data.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "sim/headless_ui.h"

namespace qm {
namespace {

using namespace ui;

class Canvas : public Form {
  public:
    explicit Canvas(Application& app) : Form(app, "frmCanvas") {
        SetBorderStyle(vbBSNone);
        Move(0, 0, 400 * 15, 300 * 15);
        picCalibration.SetBorderStyle(vbBSNone);
        picCalibration.SetScaleMode(vbPixels);
        picCalibration.SetBackColor(vbWhite);
        picCalibration.Move(0, 0, 200 * 15, 100 * 15);
        lblMesg.Move(40, 20, 30, 10);  // pixels: the container's scale
        lblMesg.SetBackColor(vbBlack);
    }
    PictureBox picCalibration{*this, "picCalibration"};
    Label lblMesg{picCalibration, "lblMesg"};
};

class Drawing : public ::testing::Test {
  protected:
    void SetUp() override { frm.Show(); }
    sim::HeadlessUi ui;
    Application app{ui};
    Canvas frm{app};
};

TEST_F(Drawing, CrossMarkIsPixelExactAndErasesToWhite) {
    // A target box (10,10)-(20,20) in red, then its two black centre lines.
    PictureBox& pic = frm.picCalibration;
    pic.Box(10, 10, 20, 20, vbRed);
    pic.Line(10, 15, 20, 15, vbBlack);
    pic.Line(15, 10, 15, 20, vbBlack);
    const Surface& s = pic.Pixels();
    for (int y = 8; y <= 22; ++y) {
        for (int x = 8; x <= 22; ++x) {
            bool inBox = x >= 10 && x <= 20 && y >= 10 && y <= 20;
            bool line = inBox && (x == 15 || y == 15);
            bool edge = inBox && (x == 10 || x == 20 || y == 10 || y == 20);
            Color want = line ? vbBlack : edge ? vbRed : vbWhite;
            ASSERT_EQ(s.At(x, y), want) << "pixel " << x << "," << y;
        }
    }
    EXPECT_EQ(s.Count(vbRed), 40 - 4);  // four sides of 11, the centre ends are black
    EXPECT_EQ(s.Count(vbBlack), 21);
    // Drawing it again in white leaves nothing.
    pic.Box(10, 10, 20, 20, vbWhite);
    pic.Line(10, 15, 20, 15, vbWhite);
    pic.Line(15, 10, 15, 20, vbWhite);
    EXPECT_EQ(pic.Pixels().Count(vbWhite), 200 * 100);
}

TEST_F(Drawing, PenWidthPointsAndClsAndBackColour) {
    PictureBox& pic = frm.picCalibration;
    pic.SetForeColor(vbBlue);
    pic.SetDrawWidth(2);
    pic.PSet(50, 50);
    EXPECT_EQ(pic.Pixels().Count(vbBlue), 4);
    pic.LineTo(60, 50);  // from the drawing position; a 2-pixel pen covers x..x+1
    EXPECT_EQ(pic.Point(61, 51), vbBlue);
    EXPECT_EQ(pic.Point(62, 50), vbWhite);
    EXPECT_EQ(pic.Pixels().Count(vbBlue), 2 * 12);
    pic.Box(0, 0, 3, 3, vbGreen, true);
    EXPECT_EQ(pic.Pixels().Count(vbGreen), 16);
    pic.Cls();
    EXPECT_EQ(pic.Pixels().Count(vbWhite), 200 * 100);
    EXPECT_EQ(pic.CurrentX(), 0);
    pic.PSet(1, 1);
    pic.SetBackColor(vbYellow);  // a new back colour wipes the drawing too
    EXPECT_EQ(pic.Pixels().Count(vbYellow), 200 * 100);
    EXPECT_EQ(pic.Point(-1, 0), 0xFFFFFFFFu);
}

TEST_F(Drawing, OpaqueLabelsCoverTheDrawingTransparentOnesLetItShow) {
    PictureBox& pic = frm.picCalibration;
    pic.Line(0, 25, 199, 25, vbRed);  // runs under the label (rows 20..29)
    frm.lblMesg.SetBackStyle(vbOpaque);
    Surface seen = ui.Render(pic);
    EXPECT_EQ(seen.At(45, 25), vbBlack);  // the label's back colour
    EXPECT_EQ(seen.At(39, 25), vbRed);    // beside it the line
    EXPECT_EQ(seen.At(45, 19), vbWhite);
    frm.lblMesg.SetBackStyle(vbTransparent);
    seen = ui.Render(pic);
    EXPECT_EQ(seen.At(45, 25), vbRed);
    EXPECT_EQ(seen.At(45, 22), vbWhite);
    // The drawing itself never holds the label.
    EXPECT_EQ(pic.Pixels().Count(vbBlack), 0);
    frm.lblMesg.SetVisible(false);
    frm.lblMesg.SetBackStyle(vbOpaque);
    EXPECT_EQ(ui.Render(pic).At(45, 25), vbRed);
}

TEST_F(Drawing, RenderedFormShowsPictureBoxesAndShapes) {
    class Panel : public Form {
      public:
        explicit Panel(Application& app) : Form(app, "frmPanel") {
            SetBorderStyle(vbBSNone);
            Move(0, 0, 100 * 15, 60 * 15);
            SetBackColor(Rgb(192, 192, 192));
            shpFrame.Move(150, 150, 300, 150);  // twips: 10,10 and 20x10 pixels
            shpFrame.SetBorderColor(vbBlue);
            shpFrame.SetFillStyle(vbFSSolid);
            shpFrame.SetFillColor(Rgb(224, 224, 224));
            picStat.Move(50 * 15, 0, 30 * 15, 30 * 15);
            picStat.SetBackColor(vbYellow);
        }
        Shape shpFrame{*this, "shpFrame"};
        PictureBox picStat{*this, "picStat"};
    } panel(app);
    panel.Show();
    Surface seen = ui.Render(panel);
    EXPECT_EQ(seen.At(5, 5), Rgb(192, 192, 192));
    EXPECT_EQ(seen.At(10, 10), vbBlue);
    EXPECT_EQ(seen.At(15, 15), Rgb(224, 224, 224));
    EXPECT_EQ(seen.At(29, 19), vbBlue);
    EXPECT_EQ(seen.At(30, 20), Rgb(192, 192, 192));
    EXPECT_EQ(seen.At(50 + 15, 15), vbYellow);  // inside the picture box border
    EXPECT_EQ(panel.picStat.ScaleWidth(), (30 - 4) * 15);
}

TEST(Scale, TwipsAndPixels) {
    struct Case {
        double twipsPerPixel;
        double twips;
        int pixels;
    } cases[] = {
        {15, 4740, 316}, {15, 780, 52}, {15, 7, 0}, {15, 8, 1}, {12, 4740, 395}, {12, 600, 50},
    };
    for (const Case& c : cases) {
        sim::HeadlessUi ui(800, 600, c.twipsPerPixel);
        Application app(ui);
        Form frm(app, "frmScale");
        PictureBox picLogo(frm, "picLogo");
        picLogo.SetScaleMode(vbPixels);
        picLogo.SetBorderStyle(vbBSNone);
        Label lblSystem(picLogo, "lblSystem");
        picLogo.SetWidth(c.twips);
        EXPECT_EQ(picLogo.PixelBounds().width, c.pixels) << c.twips << " at " << c.twipsPerPixel;
        EXPECT_EQ(app.screen.Width(), 800 * c.twipsPerPixel);
        // Inside a pixel-scale picture box a control's geometry reads in pixels.
        lblSystem.Move(2, 40);
        EXPECT_EQ(lblSystem.TopTwips(), 40 * c.twipsPerPixel);
        lblSystem.SetTop(lblSystem.Top() - 2);
        EXPECT_EQ(lblSystem.Top(), 38);
        EXPECT_EQ(picLogo.ScaleWidth(), c.pixels);
    }
}

// A Windows bitmap in memory.
std::vector<std::uint8_t> Bmp(int width, int height, int bits,
                              const std::vector<std::uint8_t>& palette,
                              const std::vector<std::uint8_t>& rows, bool topDown = false) {
    std::vector<std::uint8_t> b(54);
    auto put32 = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) b[at + static_cast<std::size_t>(i)] = (v >> (8 * i)) & 255;
    };
    b[0] = 'B';
    b[1] = 'M';
    put32(10, static_cast<std::uint32_t>(54 + palette.size()));
    put32(14, 40);
    put32(18, static_cast<std::uint32_t>(width));
    put32(22, static_cast<std::uint32_t>(topDown ? -height : height));
    b[26] = 1;
    b[28] = static_cast<std::uint8_t>(bits);
    b.insert(b.end(), palette.begin(), palette.end());
    b.insert(b.end(), rows.begin(), rows.end());
    put32(2, static_cast<std::uint32_t>(b.size()));
    return b;
}

TEST(Pictures, BitmapsDecodeBottomUpTopDownAndPalettedAndRejectDamage) {
    // 2 x 2, 24 bits, bottom-up: the first row in the file is the bottom row. Rows pad to 4.
    std::vector<std::uint8_t> rows24 = {
        0,   0, 255, 0,   255, 0,   0, 0,  // bottom: red, green
        255, 0, 0,   255, 255, 255, 0, 0,  // top: blue, white
    };
    auto bmp = Bmp(2, 2, 24, {}, rows24);
    PicturePtr p = DecodeBmp(bmp.data(), bmp.size());
    ASSERT_TRUE(p);
    EXPECT_EQ(p->At(0, 0), vbBlue);
    EXPECT_EQ(p->At(1, 0), vbWhite);
    EXPECT_EQ(p->At(0, 1), vbRed);
    EXPECT_EQ(p->At(1, 1), Rgb(0, 255, 0));

    auto topDown = Bmp(2, 2, 24, {}, rows24, true);
    p = DecodeBmp(topDown.data(), topDown.size());
    ASSERT_TRUE(p);
    EXPECT_EQ(p->At(0, 0), vbRed);

    // 4 bits with a two-colour palette (blue, green, red, reserved).
    std::vector<std::uint8_t> palette = {0, 0, 0, 0, 0, 255, 255, 0};
    auto paletted = Bmp(3, 1, 4, palette, {0x01, 0x10, 0, 0});
    // Palette size is taken from the bit depth (16 entries) unless stated: state 2.
    paletted[46] = 2;
    p = DecodeBmp(paletted.data(), paletted.size());
    ASSERT_TRUE(p);
    EXPECT_EQ(p->At(0, 0), vbBlack);
    EXPECT_EQ(p->At(1, 0), vbYellow);
    EXPECT_EQ(p->At(2, 0), vbYellow);

    // Damage: truncated pixels, a foreign signature, compression, absurd size, no file.
    auto cut = bmp;
    cut.resize(cut.size() - 3);
    EXPECT_FALSE(DecodeBmp(cut.data(), cut.size()));
    auto wrong = bmp;
    wrong[0] = 'G';
    EXPECT_FALSE(DecodeBmp(wrong.data(), wrong.size()));
    auto rle = bmp;
    rle[30] = 1;
    EXPECT_FALSE(DecodeBmp(rle.data(), rle.size()));
    auto huge = bmp;
    huge[21] = 0x7F;
    EXPECT_FALSE(DecodeBmp(huge.data(), huge.size()));
    EXPECT_FALSE(DecodeBmp(bmp.data(), 20));
    EXPECT_FALSE(LoadPicture("/nonexistent/QMLogo.Bmp"));
}

TEST_F(Drawing, APictureShowsUnderTheDrawingAndIsShared) {
    std::vector<Color> px(4 * 4, vbGreen);
    auto logo = std::make_shared<Picture>(4, 4, px);
    frm.picCalibration.SetPicture(logo);
    EXPECT_EQ(frm.picCalibration.Point(3, 3), vbGreen);
    EXPECT_EQ(frm.picCalibration.Point(4, 4), vbWhite);
    frm.picCalibration.PSet(1, 1, vbRed);
    frm.picCalibration.Cls();  // back to the picture
    EXPECT_EQ(frm.picCalibration.Point(1, 1), vbGreen);
    EXPECT_EQ(frm.picCalibration.GetPicture().get(), logo.get());
    EXPECT_FALSE(frm.picCalibration.LoadPictureFile("/nonexistent.bmp"));
    EXPECT_EQ(frm.picCalibration.GetPicture().get(), logo.get());  // unchanged on failure
}

}  // namespace
}  // namespace qm
