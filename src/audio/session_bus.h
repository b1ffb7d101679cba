#pragma once

namespace tervano::audio {

// Where no D-Bus session bus runs (a test runner, a plain X session), the first library that asks
// for one (a sound server's client as the audio starts, Qt for accessibility) has libdbus
// "autolaunch" a bus daemon through dbus-launch, and that daemon outlives the program. Setting
// DBUS_SESSION_BUS_ADDRESS to an address no library can connect to keeps them all from it; where a
// bus can be found (the variable, or the user bus socket in XDG_RUNTIME_DIR), nothing changes. Call
// it before any other thread starts. True when it set the variable.
bool preventSessionBusAutolaunch();

// Whether the variable is the one set above: programs started from here get it removed again, so
// that they find the environment the way this program found it.
bool sessionBusAutolaunchPrevented();

inline constexpr const char* kSessionBusVariable = "DBUS_SESSION_BUS_ADDRESS";

}  // namespace tervano::audio
