#pragma once

// Every control and timer name, one header per screen.
#include "ui/ids/about.h"
#include "ui/ids/autosave_manager.h"
#include "ui/ids/chooser.h"
#include "ui/ids/editor.h"
#include "ui/ids/help.h"
#include "ui/ids/menu.h"
#include "ui/ids/play.h"
#include "ui/ids/print.h"
#include "ui/ids/script_panel.h"
#include "ui/ids/set_music.h"
#include "ui/ids/set_panel.h"
#include "ui/ids/shortcuts.h"
#include "ui/ids/timers.h"
#include "ui/ids/window.h"
