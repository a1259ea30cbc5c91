// What the forms toolkit needs from a platform. The model (forms, controls, events) is the
// truth; a backend mirrors it in native windows (Win32) or in memory (the headless backend
// the tests drive), feeds user input back through the Deliver* calls of the model, and
// answers the few questions only the platform can (metrics, text size, message boxes).
#pragma once

#include <string>

#include "ui/surface.h"
#include "ui/types.h"

namespace qm::ui {

class Application;
class Form;
class Widget;

// Which property group changed, so a backend updates only that part of a native peer.
enum class Prop {
    Caption,
    Geometry,
    Visible,
    Enabled,
    Colors,  // fore, back, fill, border colour
    Font,
    Appearance,  // border style, back style, alignment, word wrap, shape, button style
    Value,       // option/check value, scroll position and range, list index, combo text
    List,        // combo items
    Picture,     // image, picture box or graphical button picture
    Surface,     // a picture box's drawing surface changed
    MousePointer,
    Buttons,  // default / cancel button flags
    WindowState,
    KeyPreview,
};

// Non-client frame of a form, in pixels.
struct Insets {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

struct TextExtent {
    int width = 0;   // pixels
    int height = 0;  // pixels
};

class Backend {
  public:
    virtual ~Backend() = default;

    // Native peers: Create is called container first when a form loads, Destroy children
    // first when it unloads. Between the two, every property change reaches Update.
    virtual void Create(Widget& widget) = 0;
    virtual void Destroy(Widget& widget) = 0;
    virtual void Update(Widget& widget, Prop what) = 0;
    virtual void SetFocus(Widget& widget) = 0;

    // Lets pending window events run, then returns.
    virtual void DoEvents(Application& app) = 0;
    // Runs events until no form is loaded or the program ended (returns at once headless).
    virtual void RunLoop(Application& app) = 0;

    // A message box; returns the button pressed (vbOK, vbYes, ...).
    virtual int MessageBox(const std::string& text, int flags, const std::string& title) = 0;
    virtual void Beep() = 0;
    virtual void SetScreenMousePointer(int pointer) = 0;

    // Metrics.
    virtual double TwipsPerPixel() const = 0;
    virtual int ScreenWidthPixels() const = 0;
    virtual int ScreenHeightPixels() const = 0;
    virtual Insets FormFrame(int borderStyle, bool hasCaption) const = 0;
    // Size of a text in a font; wrapWidth > 0 wraps words at that many pixels.
    virtual TextExtent MeasureText(const Font& font, const std::string& text, int wrapWidth) = 0;
    // The RGB value of a system colour (the index is the low byte of the colour value).
    virtual Color SystemColor(int index) const = 0;
    // Prints text onto a drawing surface (a picture box's Print).
    virtual void DrawText(Surface& surface, int x, int y, const std::string& text, const Font& font,
                          Color color) = 0;
};

}  // namespace qm::ui
