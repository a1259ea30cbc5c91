#include "control_panel/frm_test.h"

#include "control_panel/product_icon.h"

namespace qm {

namespace {

constexpr ui::Color kHelpGrey = ui::Rgb(192, 192, 192);
constexpr ui::Color kUnselectedText = ui::Rgb(0, 0, 0);
constexpr ui::Color kUnselectedBack = ui::Rgb(224, 224, 224);
constexpr ui::Color kSelectedText = ui::Rgb(255, 255, 0);
constexpr ui::Color kSelectedBack = ui::Rgb(64, 64, 64);
constexpr ui::Color kSwatches[] = {ui::Rgb(0, 0, 0), ui::Rgb(255, 0, 0), ui::Rgb(0, 128, 0),
                                   ui::Rgb(0, 0, 255), ui::Rgb(255, 0, 255)};

// The drag-and-drop touch mode, in which a touch draws.
constexpr std::uint8_t kDragDropMode = 4;

void DesignBox(ui::Label& lbl, double width, const std::string& caption) {
    lbl.Move(0, 0, width, 360);
    lbl.SetAlignment(ui::vbCenter);
    lbl.SetCaption(caption);
}

void DesignCaption(ui::Label& lbl, double width, const std::string& caption) {
    lbl.Move(0, 0, width, 240);
    lbl.SetBackStyle(ui::vbTransparent);
    lbl.SetCaption(caption);
}

}  // namespace

TestForm::TestForm(ControlPanel& cp) : ui::Form(cp.app, "frmTest"), cp_(cp) {
    SetCaption("Test");
    SetBorderStyle(ui::vbBSNone);
    SetWindowState(ui::vbMaximized);

    picHead.SetAlign(ui::vbAlignTop);
    picHead.SetHeight(615);
    picHead.SetTabStop(false);
    picHead.onResize = [this] { picHead_Resize(); };
    imgIcon.SetPicture(ProductIconPicture());
    lblTitle.SetBackStyle(ui::vbTransparent);
    lblTitle.SetForeColor(ui::vbRed);
    lblTitle.SetFont({"Times New Roman", 14.25, true, false, false});
    lblTitle.SetCaption("TouchScreen Test");
    lblTitle.SetAutoSize(true);
    cmdClear.Move(0, 0, 1215, 375);
    cmdClear.SetCaption("&Clear");
    cmdExit.Move(0, 0, 1215, 375);
    cmdExit.SetCaption("E&xit Test");
    cmdClear.onClick = [this] { picHome.Cls(); };
    cmdExit.onClick = [this] { Unload(); };

    picHome.SetBackColor(ui::vbWhite);
    picHome.SetScaleMode(ui::vbPixels);
    picHome.onMouseDown = [this](int b, int, double x, double y) { picHome_MouseDown(b, x, y); };
    picHome.onMouseMove = [this](int, int, double x, double y) { picHome_MouseMove(x, y); };
    picHome.onMouseUp = [this](int b, int, double, double) { picHome_MouseUp(b); };

    picMesg.SetAlign(ui::vbAlignBottom);
    picMesg.SetHeight(555);
    picMesg.SetTabStop(false);
    picMesg.onResize = [this] { picMesg_Resize(); };
    lblHelpBox.SetBorderStyle(ui::vbFixedSingle);
    lblHelpBox.SetBackStyle(ui::vbTransparent);
    lblHelpBox.SetCaption("");
    lblHelp.SetBackColor(kHelpGrey);
    lblHelp.Move(0, 0, 2000, 240);
    lblHelp.SetCaption("");

    const ui::Font boxFont{"MS Sans Serif", 12, true, false, false};
    DesignCaption(lblWidthName, 570, "Width");
    for (int i : lblWidth.Indexes()) {
        ui::Label& lbl = lblWidth(i);
        DesignBox(lbl, 405, " " + std::to_string(i + 1) + " ");
        lbl.SetBorderStyle(ui::vbFixedSingle);
        lbl.SetFont(boxFont);
        lbl.SetForeColor(i == 0 ? kSelectedText : kUnselectedText);
        lbl.SetBackColor(i == 0 ? kSelectedBack : kUnselectedBack);
    }
    DesignCaption(lblColorName, 540, "Color");
    for (int i : lblColor.Indexes()) {
        ui::Label& lbl = lblColor(i);
        DesignBox(lbl, 405, "");
        lbl.SetBackColor(kSwatches[i]);
        lbl.SetBorderStyle(i == 0 ? ui::vbFixedSingle : ui::vbBSNone);
    }
    DesignCaption(lblButtonName, 600, "Button");
    const char* const buttonNames[] = {"L", "M", "R"};
    for (int i : lblButton.Indexes()) {
        ui::Label& lbl = lblButton(i);
        DesignBox(lbl, 285, buttonNames[i]);
        lbl.SetBorderStyle(ui::vbFixedSingle);
        lbl.SetFont(boxFont);
        lbl.SetBackColor(ui::vbYellow);
        lbl.SetBackStyle(ui::vbTransparent);
    }
    lblWidth.onClick = [this](int i) { SelectWidth(i); };
    lblWidth.onMouseDown = [this](int i, int, int, double, double) { SelectWidth(i); };
    lblColor.onClick = [this](int i) { SelectColor(i); };
    lblColor.onMouseDown = [this](int i, int, int, double, double) { SelectColor(i); };
}

// ---------------------------------------------------------------- events

void TestForm::Form_Load() {
    PenDown = false;
    SelectedWidth = 0;
    SelectedColor = 0;
    touchModeSet_ = false;
}

void TestForm::Form_Activate() {
    // Once per opening: a later activation would save mode 4 over the user's own mode and
    // undo the selections made since.
    if (touchModeSet_) return;
    DriverParameterBlock& b = cp_.link.Block();
    SavedVirtualButton = b.VirtualButton;
    b.VirtualButton = kDragDropMode;
    cp_.link.SetTouchMode();
    touchModeSet_ = true;
    SelectWidth(1);
    SelectColor(3);
}

void TestForm::Form_Unload(bool& cancel) {
    (void)cancel;
    if (touchModeSet_) {
        cp_.link.Block().VirtualButton = SavedVirtualButton;
        cp_.link.SetTouchMode();
        touchModeSet_ = false;
    }
    cp_.ShowMainWindow();
}

// ---------------------------------------------------------------- selections

void TestForm::SelectWidth(int index) {
    if (index == SelectedWidth || !lblWidth.Contains(index)) return;
    lblWidth(SelectedWidth).SetForeColor(kUnselectedText);
    lblWidth(SelectedWidth).SetBackColor(kUnselectedBack);
    SelectedWidth = index;
    lblWidth(index).SetForeColor(kSelectedText);
    lblWidth(index).SetBackColor(kSelectedBack);
    picHome.SetDrawWidth(index + 1);
}

void TestForm::SelectColor(int index) {
    if (index == SelectedColor || !lblColor.Contains(index)) return;
    lblColor(SelectedColor).SetBorderStyle(ui::vbBSNone);
    SelectedColor = index;
    lblColor(index).SetBorderStyle(ui::vbFixedSingle);
    picHome.SetForeColor(lblColor(index).BackColor());
}

// ---------------------------------------------------------------- drawing

ui::Label* TestForm::ButtonIndicator(int button) {
    switch (button) {
        case ui::vbLeftButton:
            return &lblButton(0);
        case ui::vbMiddleButton:
            return &lblButton(1);
        case ui::vbRightButton:
            return &lblButton(2);
        default:
            return nullptr;
    }
}

void TestForm::picHome_MouseDown(int button, double x, double y) {
    // A stroke starts with a single point; a second button while one is down continues it.
    if (PenDown) {
        picHome.LineTo(x, y);
    } else {
        picHome.PSet(x, y);
        PenDown = true;
    }
    if (ui::Label* indicator = ButtonIndicator(button)) indicator->SetBackStyle(ui::vbOpaque);
}

void TestForm::picHome_MouseMove(double x, double y) {
    if (PenDown) picHome.LineTo(x, y);
}

void TestForm::picHome_MouseUp(int button) {
    PenDown = false;
    if (ui::Label* indicator = ButtonIndicator(button)) indicator->SetBackStyle(ui::vbTransparent);
}

// ---------------------------------------------------------------- layout

void TestForm::picHead_Resize() {
    const double inner = picHead.ScaleHeight();
    imgIcon.SetTop((inner - imgIcon.Height()) / 2);
    imgIcon.SetLeft(imgIcon.Top());
    lblTitle.Move(3 * imgIcon.Left() + imgIcon.Width(), (inner - lblTitle.Height()) / 2);
    const double gap = imgIcon.Top();
    cmdExit.Move(picHead.ScaleWidth() - cmdExit.Width() - gap, gap, cmdExit.Width(),
                 inner - 2 * gap);
    cmdClear.Move(cmdExit.Left() - cmdExit.Width() - cmdExit.Top(), cmdExit.Top(),
                  cmdExit.Width(), cmdExit.Height());
}

void TestForm::picMesg_Resize() {
    picHome.Move(0, picHead.Height(), ScaleWidth(),
                 ScaleHeight() - picHead.Height() - picMesg.Height());

    const double inner = picMesg.ScaleHeight();
    const double g = (inner - lblButton(0).Height()) / 2;
    double x = picMesg.ScaleWidth();
    auto box = [&](ui::Label& lbl) {
        x = x - g - lbl.Width();
        lbl.Move(x, g);
    };
    auto caption = [&](ui::Label& lbl) {
        x = x - g - lbl.Width();
        lbl.Move(x, (inner - lbl.Height()) / 2);
    };
    for (int i = 2; i >= 0; --i) box(lblButton(i));
    caption(lblButtonName);
    x -= g;
    for (int i = 4; i >= 0; --i) box(lblColor(i));
    caption(lblColorName);
    x -= g;
    for (int i = 3; i >= 0; --i) box(lblWidth(i));
    caption(lblWidthName);
    x -= g;

    lblHelpBox.Move(0, 0, x - g, inner);
    lblHelp.SetTop((lblHelpBox.Height() - lblHelp.Height()) / 2);
    lblHelp.SetLeft(lblHelp.Top());
    lblHelp.SetWidth(lblHelpBox.Width() - 2 * lblHelp.Left());
}

}  // namespace qm
