#pragma once

#include "data/textlist.h"

namespace tervano::app {

TextList adviceText();   // the 13 lines of advice under the samples
TextList keyListText();  // the 28-line key list, 36 characters wide
TextList licenceText();  // the licence page, 45 lines

// The example the help window fills in a second after start.
TextList exampleMap();
TextList exampleLegend();
TextList exampleAnswers();
TextList exampleKeys();

}  // namespace tervano::app
