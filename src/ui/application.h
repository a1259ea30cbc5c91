// The application object: one per program, created by the entry file (or a test) with the
// backend, and passed by reference to every form.
//
//     ui::Application app(backend);
//     app.SetTitle(" TouchScreen Control Panel #QM-COM");
//     MainForm frmMain(app, ...);
//     return app.Run(frmMain);   // shows it, runs events until every form is unloaded
#pragma once

#include <string>
#include <vector>

#include "ui/backend.h"
#include "ui/types.h"

namespace qm::ui {

class Form;

// The screen: size, twips per pixel, and the pointer shown over every form of the program.
class Screen {
  public:
    explicit Screen(Backend& backend) : backend_(backend) {}
    double Width() const;   // twips
    double Height() const;  // twips
    double TwipsPerPixelX() const { return backend_.TwipsPerPixel(); }
    double TwipsPerPixelY() const { return backend_.TwipsPerPixel(); }
    int MousePointer() const { return mousePointer_; }
    void SetMousePointer(int pointer);

  private:
    Backend& backend_;
    int mousePointer_ = 0;
};

class Application {
  public:
    explicit Application(Backend& backend);
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    Backend& GetBackend() const { return backend_; }
    Screen screen;

    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& title) { title_ = title; }
    // The program's folder, without a trailing backslash.
    const std::string& Path() const { return path_; }
    void SetPath(const std::string& path) { path_ = path; }
    bool PrevInstance() const { return prevInstance_; }
    void SetPrevInstance(bool running) { prevInstance_ = running; }

    // Lets pending window events run (the call every polling loop makes).
    void DoEvents();
    // A message box with the classic flags; an empty title shows the application title.
    // Returns the button pressed (vbOK, vbYes, vbNo, ...).
    int MsgBox(const std::string& prompt, int flags = vbOKOnly, const std::string& title = {});
    void Beep();

    // Loaded forms, in the order they were loaded.
    const std::vector<Form*>& Forms() const { return forms_; }
    Form* ActiveForm() const { return active_; }

    // Ends the program: every form goes without its Unload event; Run returns exitCode. Code
    // after End in the same handler still runs, so it returns at once.
    void End(int exitCode = 0);
    bool Ended() const { return ended_; }
    int ExitCode() const { return exitCode_; }

    // Shows the start-up form, then runs events until no form is loaded or End is called.
    int Run(Form& startup);

  private:
    friend class Form;
    void Loaded(Form& f);
    void Unloaded(Form& f);
    void SetActive(Form* f) { active_ = f; }

    Backend& backend_;
    std::string title_;
    std::string path_;
    bool prevInstance_ = false;
    std::vector<Form*> forms_;
    Form* active_ = nullptr;
    bool ended_ = false;
    int exitCode_ = 0;
};

}  // namespace qm::ui
