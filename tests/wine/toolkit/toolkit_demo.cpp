// A small form on the Win32 forms backend with one control of each kind, for checking the
// backend under Wine: every event it receives is appended to lblLog, so the probe (or the
// end-to-end runner) can read what arrived. Enter presses cmdOK (default), Esc cmdCancel.
#include <exception>
#include <string>

#include "ui/forms.h"
#include "win32/ui_backend.h"

// Last: its MessageBox and DrawText macros would rename the toolkit's members.
#include <windows.h>

namespace {

namespace ui = qm::ui;

class DemoForm : public ui::Form {
  public:
    explicit DemoForm(ui::Application& app) : ui::Form(app, "frmDemo") {
        SetBorderStyle(ui::vbFixedDialog);
        SetCaption("QM Toolkit Demo");
        Move(1500, 1500, 6600, 5400);
        lblTitle.Move(120, 120, 4000, 360);
        lblTitle.SetCaption("Toolkit && demo");
        lblTitle.SetFont({"Arial", 14, true, true, false});
        lblTitle.SetForeColor(ui::vbBlue);
        lblTitle.SetBackStyle(ui::vbTransparent);
        shpBack.Move(90, 90, 4100, 420);
        shpBack.SetFillStyle(ui::vbFSSolid);
        shpBack.SetFillColor(ui::Rgb(255, 255, 192));
        for (int i = 1; i <= 3; ++i) {
            optChoice(i).Move(240, 240 + (i - 1) * 300, 1500, 255);
            optChoice(i).SetCaption("Choice &" + std::to_string(i));
        }
        frameChoice.Move(120, 600, 1900, 1200);
        frameChoice.SetCaption("Choices");
        chkOption.Move(2160, 720, 1500, 255);
        chkOption.SetCaption("&Check");
        cboList.Move(2160, 1080, 1800, 315);
        cboList.AddItem("First");
        cboList.AddItem("Second");
        hscValue.Move(2160, 1500, 1800, 255);
        hscValue.SetMax(10);
        picDraw.Move(4200, 600, 2100, 1500);
        picDraw.SetScaleMode(ui::vbPixels);
        picDraw.SetBackColor(ui::vbWhite);
        lblLog.Move(120, 2040, 6200, 1500);
        lblLog.SetCaption("");
        lblLog.SetBorderStyle(ui::vbFixedSingle);
        cmdOK.Move(3720, 3720, 1215, 435);
        cmdOK.SetCaption("&OK");
        cmdOK.SetDefault(true);
        cmdCancel.Move(5040, 3720, 1215, 435);
        cmdCancel.SetCaption("Candel");
        cmdCancel.SetCancel(true);

        optChoice.onClick = [this](int i) { Log("optChoice(" + std::to_string(i) + ").Click"); };
        chkOption.onClick = [this] { Log("chkOption.Click=" + std::to_string(chkOption.Value())); };
        cboList.onClick = [this] { Log("cboList.Click=" + std::to_string(cboList.ListIndex())); };
        hscValue.onChange = [this] { Log("hscValue.Change=" + std::to_string(hscValue.Value())); };
        cmdOK.onClick = [this] { Log("cmdOK.Click"); };
        cmdCancel.onClick = [this] { Log("cmdCancel.Click"); };
        cmdOK.onMouseDown = [this](int b, int s, double, double) {
            Log("cmdOK.MouseDown " + std::to_string(b) + "," + std::to_string(s));
        };
        picDraw.onMouseDown = [this](int b, int s, double x, double y) {
            Log("picDraw.MouseDown " + std::to_string(b) + "," + std::to_string(s) + " at " +
                std::to_string(static_cast<int>(x)) + "," + std::to_string(static_cast<int>(y)));
        };
        lblTitle.onClick = [this] { Log("lblTitle.Click"); };
    }

    ui::Shape shpBack{*this, "shpBack"};
    ui::Label lblTitle{*this, "lblTitle"};
    ui::Frame frameChoice{*this, "frameChoice"};
    ui::ControlArray<ui::OptionButton> optChoice{frameChoice, "optChoice", {1, 2, 3}};
    ui::CheckBox chkOption{*this, "chkOption"};
    ui::ComboBox cboList{*this, "cboList"};
    ui::HScrollBar hscValue{*this, "hscValue"};
    ui::PictureBox picDraw{*this, "picDraw"};
    ui::Label lblLog{*this, "lblLog"};
    ui::CommandButton cmdOK{*this, "cmdOK"};
    ui::CommandButton cmdCancel{*this, "cmdCancel"};

  protected:
    void Form_Load() override {
        picDraw.Line(0, 0, 60, 40, ui::vbRed);
        picDraw.Box(10, 50, 70, 80, ui::vbBlue, true);
        picDraw.SetCurrentX(5);
        picDraw.SetCurrentY(84);
        picDraw.Print("Printed");
        cboList.SetListIndex(0);
        lblLog.SetCaption("Loaded");
    }
    void Form_KeyDown(int& keyCode, int shift) override {
        if (keyCode == 'J' && shift == ui::vbCtrlMask) Log("Form_KeyDown Ctrl+J");
    }

  private:
    void Log(const std::string& line) {
        std::string text = lblLog.Caption() + "\r\n" + line;
        if (text.size() > 400) text.erase(0, text.size() - 400);
        lblLog.SetCaption(text);
    }
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    qm::win32::Win32Ui backend;
    try {
        ui::Application app(backend);
        app.SetTitle("QM Toolkit Demo");
        DemoForm form(app);
        form.SetKeyPreview(true);
        return app.Run(form);
    } catch (const std::exception& e) {
        backend.ReportFault(e.what());
    }
    return 1;
}
