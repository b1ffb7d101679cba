#pragma once

#include <string>

namespace tervano::app {

// One input from the view: a click, a key, a pointer movement, a timer tick or an edit.
struct Event {
  enum class Kind {
    Click,
    DoubleClick,
    Hover,   // the pointer moved over the control
    Press,   // a mouse button went down on the control
    Key,     // id holds the shortcut, e.g. "Ctrl+F1"
    Tick,    // id holds the timer
    Edit,    // the user changed a text (text) or a number (value)
    Select,  // the user chose an item of a list box (text, and its index in value)
    Toggle,  // the user ticked or unticked a check box (value 1 or 0)
    Focus,   // the control gained (value 1) or lost (0) the keyboard focus
    CloseRequest,
    HelpClosed,  // the help window was closed other than by its "Konec"
  };
  Kind kind = Kind::Click;
  std::string id;
  std::string text;
  int value = 0;
};

}  // namespace tervano::app
