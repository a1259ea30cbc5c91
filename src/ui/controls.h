// Controls of the forms toolkit. A control is declared as a member of its form, after its
// container, and given its design properties in the form's constructor:
//
//     ui::PictureBox picLogo{*this, "picLogo"};
//     ui::Label lblSystem{picLogo, "lblSystem"};
//     ui::CommandButton cmdApply{*this, "cmdApply"};
//     ...
//     cmdApply.SetCaption("&Apply");
//     cmdApply.Move(3480, 4560, 1095, 375);
//     cmdApply.onClick = [this] { cmdApply_Click(); };
//
// Geometry is in the units of the container's scale: twips on a form or in a frame, the
// picture box's scale mode inside a picture box. Events fire synchronously, and only while
// the form is loaded: the values set before the first Load are the design, and every Unload
// puts the design back, as a form that is loaded again starts from its design.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "ui/backend.h"
#include "ui/surface.h"
#include "ui/types.h"

namespace qm::ui {

class Application;
class Form;

enum class Kind {
    Form,
    Label,
    CommandButton,
    OptionButton,
    CheckBox,
    ComboBox,
    HScrollBar,
    Frame,
    Shape,
    PictureBox,
    Image,
};

// Mouse handler arguments: button (vbLeftButton ...), shift state (vbShiftMask ...), position
// in the control's scale.
using MouseHandler = std::function<void(int button, int shift, double x, double y)>;
// Key handlers may set the code to 0 to swallow the key.
using KeyHandler = std::function<void(int& keyCode, int shift)>;
using KeyPressHandler = std::function<void(int& keyAscii)>;

enum class MouseAction { Down, Move, Up };
enum class ScrollAction { LineLeft, LineRight, PageLeft, PageRight, Track, EndTrack, Home, End };

// Pixel rectangle.
struct PixelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// What forms and controls share: name, container, geometry, the common properties and the
// entry points a backend delivers user input through.
class Widget {
  public:
    Widget(const Widget&) = delete;
    Widget& operator=(const Widget&) = delete;
    virtual ~Widget();

    Kind GetKind() const { return kind_; }
    // The control's name; an element of a control array is "name(index)".
    const std::string& Name() const { return name_; }
    const std::string& BaseName() const { return baseName_; }
    int Index() const { return index_; }  // -1 when not in a control array
    Form& ParentForm() const { return *form_; }
    Widget* Container() const { return container_; }
    const std::vector<Widget*>& Children() const { return children_; }
    Application& App() const { return app_; }
    bool IsContainer() const;
    // Labels, shapes and images are drawn by their container, as the classic toolkit's
    // windowless controls are.
    bool IsWindowless() const;
    bool CanTakeFocus() const;

    // --- geometry, in the container's scale ---
    double Left() const;
    double Top() const;
    double Width() const;
    double Height() const;
    void SetLeft(double v);
    void SetTop(double v);
    void SetWidth(double v);
    void SetHeight(double v);
    void Move(double left, double top);
    void Move(double left, double top, double width, double height);

    // --- common properties ---
    const std::string& Caption() const { return s_.caption; }
    void SetCaption(const std::string& caption);
    bool Visible() const { return s_.visible; }
    void SetVisible(bool visible);
    bool Enabled() const { return s_.enabled; }
    void SetEnabled(bool enabled);
    Color ForeColor() const { return s_.foreColor; }
    void SetForeColor(Color c);
    Color BackColor() const { return s_.backColor; }
    virtual void SetBackColor(Color c);
    int BackStyle() const { return s_.backStyle; }
    void SetBackStyle(int style);
    int BorderStyle() const { return s_.borderStyle; }
    void SetBorderStyle(int style);
    const Font& GetFont() const { return s_.font; }
    void SetFont(const Font& font);
    const std::string& FontName() const { return s_.font.name; }
    double FontSize() const { return s_.font.size; }
    bool FontBold() const { return s_.font.bold; }
    bool FontItalic() const { return s_.font.italic; }
    void SetFontName(const std::string& name);
    void SetFontSize(double points);
    void SetFontBold(bool bold);
    void SetFontItalic(bool italic);
    int Alignment() const { return s_.alignment; }
    void SetAlignment(int alignment);
    bool WordWrap() const { return s_.wordWrap; }
    void SetWordWrap(bool wrap);
    bool AutoSize() const { return s_.autoSize; }
    void SetAutoSize(bool autoSize);
    bool UseMnemonic() const { return s_.useMnemonic; }
    void SetUseMnemonic(bool use);
    bool TabStop() const { return s_.tabStop; }
    void SetTabStop(bool tabStop);
    int MousePointer() const { return s_.mousePointer; }
    void SetMousePointer(int pointer);
    // The text as it shows (access-key markers resolved where the control uses them).
    std::string DisplayText() const;

    void SetFocus();
    bool HasFocus() const;
    // Visible here and in every container up to the form (the form itself included).
    bool IsShowing() const;
    // Enabled here and in every container up to the form.
    bool IsEffectivelyEnabled() const;

    // --- for backends ---
    // Position in pixels relative to the container's inner (client) area, and size.
    PixelRect PixelBounds() const;
    // Position relative to the form's client area.
    PixelRect FormPixelBounds() const;
    // Inner area of a container in pixels (inside its border), relative to its own corner.
    PixelRect ClientPixelRect() const;
    // Geometry in twips, for the backend (the form's is its outer window on the screen).
    double LeftTwips() const { return s_.left; }
    double TopTwips() const { return s_.top; }
    double WidthTwips() const { return s_.width; }
    double HeightTwips() const { return s_.height; }
    Color Resolve(Color c) const;
    std::uintptr_t peer = 0;  // the backend's handle for its native peer

    // User input, in pixels relative to the widget's inner area. Nothing fires for a hidden
    // or disabled widget, or while the form is not loaded.
    void DeliverMouse(MouseAction action, int button, int shift, int px, int py);
    virtual void DeliverClick();
    void DeliverDblClick();
    // Key routing: the form first when KeyPreview is on, then this widget. Returns the key
    // code left after the handlers (0 when swallowed).
    int DeliverKeyDown(int keyCode, int shift);
    int DeliverKeyUp(int keyCode, int shift);
    int DeliverKeyPress(int keyAscii);
    void DeliverGotFocus();

  protected:
    Widget(Application& app, Kind kind, std::string name);                   // a form
    Widget(Widget& container, Kind kind, std::string name, int index = -1);  // a control

    struct State {
        std::string caption;
        double left = 0, top = 0, width = 0, height = 0;  // twips
        bool visible = true;
        bool enabled = true;
        Color foreColor = vbButtonText;
        Color backColor = vbButtonFace;
        int backStyle = vbOpaque;
        int borderStyle = vbBSNone;
        Font font;
        int alignment = vbLeftJustify;
        bool wordWrap = false;
        bool autoSize = false;
        bool useMnemonic = true;
        bool tabStop = true;
        int mousePointer = vbDefault;
    };

    // Live: the form is loaded, so peers exist and events fire.
    bool Live() const;
    void Changed(Prop what);
    Backend& GetBackend() const;
    // Scale factor of this widget's coordinates: twips per unit of the container's scale.
    double ContainerUnit() const;
    void SetGeometry(double left, double top, double width, double height);  // twips
    virtual void GeometryChanged(bool sizeChanged);
    void ApplyAutoSize();

    virtual void SaveDesign();
    virtual void RestoreDesign();

    // Event raising; a form raises its Form_* handlers, a control its on* members.
    virtual void RaiseClick() = 0;
    virtual void RaiseDblClick() = 0;
    virtual void RaiseMouse(MouseAction action, int button, int shift, double x, double y) = 0;
    virtual void RaiseKeyDown(int& keyCode, int shift) = 0;
    virtual void RaiseKeyUp(int& keyCode, int shift) = 0;
    virtual void RaiseKeyPress(int& keyAscii) = 0;
    virtual void RaiseGotFocus() {}
    // Scale of mouse coordinates: twips per unit.
    virtual double OwnUnit() const;

    State s_;
    State design_;

  private:
    friend class Form;
    Application& app_;
    Kind kind_;
    std::string name_;
    std::string baseName_;
    int index_ = -1;
    Form* form_ = nullptr;
    Widget* container_ = nullptr;
    std::vector<Widget*> children_;
};

// A control: a widget on a form, with its event handlers as members.
class Control : public Widget {
  public:
    std::function<void()> onClick;
    std::function<void()> onDblClick;
    MouseHandler onMouseDown;
    MouseHandler onMouseMove;
    MouseHandler onMouseUp;
    KeyHandler onKeyDown;
    KeyHandler onKeyUp;
    KeyPressHandler onKeyPress;
    std::function<void()> onGotFocus;

  protected:
    Control(Widget& container, Kind kind, std::string name, int index);
    void RaiseClick() override;
    void RaiseDblClick() override;
    void RaiseMouse(MouseAction action, int button, int shift, double x, double y) override;
    void RaiseKeyDown(int& keyCode, int shift) override;
    void RaiseKeyUp(int& keyCode, int shift) override;
    void RaiseKeyPress(int& keyAscii) override;
    void RaiseGotFocus() override;
};

class Label : public Control {
  public:
    Label(Widget& container, std::string name, int index = -1);
};

class CommandButton : public Control {
  public:
    CommandButton(Widget& container, std::string name, int index = -1);
    // Only one default and one cancel button per form: setting one clears the others.
    bool Default() const { return b_.isDefault; }
    void SetDefault(bool isDefault);
    bool Cancel() const { return b_.isCancel; }
    void SetCancel(bool isCancel);
    int Style() const { return b_.style; }
    void SetStyle(int style);  // vbButtonStandard or vbButtonGraphical
    const PicturePtr& GetPicture() const { return b_.picture; }
    void SetPicture(PicturePtr picture);
    // Setting Value to true clicks the button, as code may do.
    void SetValue(bool value);

  protected:
    void SaveDesign() override;
    void RestoreDesign() override;

  private:
    struct ButtonState {
        bool isDefault = false;
        bool isCancel = false;
        int style = vbButtonStandard;
        PicturePtr picture;
    };
    ButtonState b_, bDesign_;
};

class OptionButton : public Control {
  public:
    OptionButton(Widget& container, std::string name, int index = -1);
    bool Value() const { return value_; }
    // Setting true clears the other option buttons of the same container and fires Click;
    // setting the value it already has fires nothing.
    void SetValue(bool value);
    void DeliverClick() override;  // the user picks it

  protected:
    void SaveDesign() override;
    void RestoreDesign() override;

  private:
    bool value_ = false;
    bool valueDesign_ = false;
};

class CheckBox : public Control {
  public:
    CheckBox(Widget& container, std::string name, int index = -1);
    int Value() const { return value_; }  // vbUnchecked, vbChecked, vbGrayed
    // Fires Click when the value differs.
    void SetValue(int value);
    void DeliverClick() override;  // the user toggles it

  protected:
    void SaveDesign() override;
    void RestoreDesign() override;

  private:
    int value_ = vbUnchecked;
    int valueDesign_ = vbUnchecked;
};

// Drop-down list (vbComboDropdownList) or editable drop-down (vbComboDropdown).
class ComboBox : public Control {
  public:
    ComboBox(Widget& container, std::string name, int index = -1);
    std::function<void()> onChange;  // the edit text of an editable drop-down changed

    int Style() const { return c_.style; }
    void SetStyle(int style);
    // Adds at `index` (appends when -1 or past the end).
    void AddItem(const std::string& item, int index = -1);
    void RemoveItem(int index);
    void Clear();
    int ListCount() const { return static_cast<int>(c_.items.size()); }
    std::string List(int index) const;  // "" outside the list
    const std::vector<std::string>& Items() const { return c_.items; }
    int ListIndex() const { return c_.listIndex; }
    // Selects an item (-1 for none) and fires Click; an index outside the list is ignored.
    void SetListIndex(int index);
    // The selected item's text, or the edit text of an editable drop-down.
    std::string Text() const;
    // Editable drop-down: sets the edit text (fires Change when it differs). Drop-down list:
    // selects the matching item, if any.
    void SetText(const std::string& text);

    void DeliverPick(int index);                // the user picked an item
    void DeliverEdit(const std::string& text);  // the user edited the text

  protected:
    void SaveDesign() override;
    void RestoreDesign() override;

  private:
    struct ComboState {
        int style = vbComboDropdownList;
        std::vector<std::string> items;
        int listIndex = -1;
        std::string text;
    };
    ComboState c_, cDesign_;
};

class HScrollBar : public Control {
  public:
    HScrollBar(Widget& container, std::string name, int index = -1);
    std::function<void()> onChange;
    std::function<void()> onScroll;  // while the thumb is dragged

    int Value() const { return v_.value; }
    // Clamped into Min..Max; fires Change only when the value differs.
    void SetValue(int value);
    int Min() const { return v_.min; }
    int Max() const { return v_.max; }
    void SetMin(int min);
    void SetMax(int max);
    int SmallChange() const { return v_.smallChange; }
    int LargeChange() const { return v_.largeChange; }
    void SetSmallChange(int step);
    void SetLargeChange(int step);

    // The user: arrows and page areas change the value by a step (Change); dragging the thumb
    // moves it (Scroll for each new position) and dropping it fires Change when the value
    // differs from where the drag started.
    void DeliverScroll(ScrollAction action, int position = 0);
    bool Dragging() const { return dragging_; }

  protected:
    void SaveDesign() override;
    void RestoreDesign() override;

  private:
    struct Range {
        int value = 0, min = 0, max = 32767, smallChange = 1, largeChange = 1;
    };
    void SetValueFiring(int value, bool fireChange, bool fireScroll);
    Range v_, vDesign_;
    bool dragging_ = false;
    int dragStart_ = 0;
};

class Frame : public Control {
  public:
    Frame(Widget& container, std::string name, int index = -1);
};

class Shape : public Control {
  public:
    Shape(Widget& container, std::string name, int index = -1);
    int ShapeKind() const { return sh_.shape; }
    void SetShape(int shape);  // vbShapeRectangle ...
    Color BorderColor() const { return sh_.borderColor; }
    void SetBorderColor(Color c);
    int BorderWidth() const { return sh_.borderWidth; }
    void SetBorderWidth(int width);
    Color FillColor() const { return sh_.fillColor; }
    void SetFillColor(Color c);
    int FillStyle() const { return sh_.fillStyle; }
    void SetFillStyle(int style);

  protected:
    void SaveDesign() override;
    void RestoreDesign() override;

  private:
    struct ShapeState {
        int shape = vbShapeRectangle;
        Color borderColor = vbWindowText;
        int borderWidth = 1;
        Color fillColor = vbBlack;
        int fillStyle = vbFSTransparent;
    };
    ShapeState sh_, shDesign_;
};

class Image : public Control {
  public:
    Image(Widget& container, std::string name, int index = -1);
    const PicturePtr& GetPicture() const { return picture_; }
    // Without Stretch the image takes the picture's size.
    void SetPicture(PicturePtr picture);
    bool Stretch() const { return stretch_; }
    void SetStretch(bool stretch);

  protected:
    void SaveDesign() override;
    void RestoreDesign() override;

  private:
    PicturePtr picture_, pictureDesign_;
    bool stretch_ = false, stretchDesign_ = false;
};

// A container with a retained drawing surface. Drawing uses the picture box's own scale
// (ScaleMode) and the pen (ForeColor unless given, DrawWidth); everything drawn stays until
// Cls, a new BackColor or a new picture.
class PictureBox : public Control {
  public:
    PictureBox(Widget& container, std::string name, int index = -1);
    std::function<void()> onResize;

    int ScaleMode() const { return p_.scaleMode; }
    void SetScaleMode(int mode);  // vbTwips or vbPixels
    // Inner size in the picture box's own scale.
    double ScaleWidth() const;
    double ScaleHeight() const;
    int Align() const { return p_.align; }
    void SetAlign(int align);  // vbAlignNone, vbAlignTop, vbAlignBottom

    const PicturePtr& GetPicture() const { return p_.picture; }
    // Shows the picture at the top-left corner (nullptr removes it); clears the drawing.
    void SetPicture(PicturePtr picture);
    // Loads a .bmp file; false (and nothing changes) when it cannot be read.
    bool LoadPictureFile(const std::string& path);
    // A new back colour clears the drawing, as it does in the classic toolkit.
    void SetBackColor(Color c) override;

    int DrawWidth() const { return p_.drawWidth; }
    void SetDrawWidth(int width);
    double CurrentX() const { return currentX_; }
    double CurrentY() const { return currentY_; }
    void SetCurrentX(double x) { currentX_ = x; }
    void SetCurrentY(double y) { currentY_ = y; }

    // Wipes to the back colour (and picture); the drawing position returns to the origin.
    void Cls();
    void PSet(double x, double y);
    void PSet(double x, double y, Color c);
    // Line from (x1, y1) to (x2, y2), both ends included; the drawing position moves to the end.
    void Line(double x1, double y1, double x2, double y2);
    void Line(double x1, double y1, double x2, double y2, Color c);
    // Line from the drawing position.
    void LineTo(double x2, double y2);
    void LineTo(double x2, double y2, Color c);
    // Rectangle between two corners (both included), outline or filled.
    void Box(double x1, double y1, double x2, double y2, Color c, bool filled = false);
    void Print(const std::string& text);
    // The colour of a drawn pixel (own scale); 0xFFFFFFFF outside.
    Color Point(double x, double y) const;
    const Surface& Pixels() const { return surface_; }

  protected:
    void SaveDesign() override;
    void RestoreDesign() override;
    void GeometryChanged(bool sizeChanged) override;
    double OwnUnit() const override;

  private:
    friend class Form;
    int ToPixelX(double x) const;
    int ToPixelY(double y) const;
    void Repaint();  // base pixels: back colour and picture
    void SurfaceChanged();
    void RaiseResize();
    struct PictureState {
        int scaleMode = vbTwips;
        int align = vbAlignNone;
        int drawWidth = 1;
        PicturePtr picture;
    };
    PictureState p_, pDesign_;
    double currentX_ = 0, currentY_ = 0;
    Surface surface_;
};

}  // namespace qm::ui
