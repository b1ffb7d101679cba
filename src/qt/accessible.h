#pragma once

// How the program's own widgets show themselves to assistive tools where Qt's own interfaces do
// not do it the way the rest of the program does.
namespace tervano::qt {

// From now on a list box is named after its caption (its accessible name), as every other
// control is, and not by the text it holds; that text is its value. Qt's own interface names a
// list box by its text on this platform. To be called before the first list box is made.
void nameListBoxesAfterTheirCaptions();

}  // namespace tervano::qt
