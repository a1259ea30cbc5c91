// Input rules both backends share: which controls a user can reach, and what an access key
// (Alt+letter, or the letter alone where no control takes text) does.
#pragma once

#include <string>

namespace qm::ui {

class Form;
class Widget;

// The character after the first single "&" of a caption, upper case; 0 for none ("&&" is a
// literal ampersand).
char AccessKeyOf(const std::string& caption);

// True when the user can reach the control: its form is loaded and shown, and the control
// and all its containers are visible and enabled.
bool IsReachable(const Widget& w);

// The access key `letter` (upper case) pressed on `form`: the first reachable button, option
// button or check box with that key gets the focus and a click; a label's or frame's key moves
// the focus to the next control that takes it. False when no control has the key.
bool PressAccessKey(Form& form, char letter);

}  // namespace qm::ui
