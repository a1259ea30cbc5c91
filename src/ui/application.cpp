#include "ui/application.h"

#include <algorithm>

#include "ui/form.h"

namespace qm::ui {

double Screen::Width() const { return backend_.ScreenWidthPixels() * backend_.TwipsPerPixel(); }

double Screen::Height() const { return backend_.ScreenHeightPixels() * backend_.TwipsPerPixel(); }

void Screen::SetMousePointer(int pointer) {
    mousePointer_ = pointer;
    backend_.SetScreenMousePointer(pointer);
}

Application::Application(Backend& backend) : screen(backend), backend_(backend) {}

void Application::DoEvents() {
    if (!ended_) backend_.DoEvents(*this);
}

int Application::MsgBox(const std::string& prompt, int flags, const std::string& title) {
    return backend_.MessageBox(prompt, flags, title.empty() ? title_ : title);
}

void Application::Beep() { backend_.Beep(); }

void Application::Loaded(Form& f) { forms_.push_back(&f); }

void Application::Unloaded(Form& f) {
    forms_.erase(std::remove(forms_.begin(), forms_.end(), &f), forms_.end());
    if (active_ == &f) active_ = nullptr;
}

void Application::End(int exitCode) {
    if (ended_) return;
    ended_ = true;
    exitCode_ = exitCode;
    std::vector<Form*> open = forms_;
    for (auto it = open.rbegin(); it != open.rend(); ++it) (*it)->Discard();
}

int Application::Run(Form& startup) {
    startup.Show();
    if (!ended_ && !forms_.empty()) backend_.RunLoop(*this);
    return exitCode_;
}

}  // namespace qm::ui
