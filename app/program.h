#pragma once

// The desktop program's life: start-up, event loop, shutdown.
//
// ProgramMain, in this order: the window platform starts; the core's window operations are
// installed; the main window is created hidden with its controls, its created event runs the
// start-up notice check to its end, and only then is it shown, centred; the event loop runs until
// the window is closed; the window goes and ProgramExit runs. The result is always 0.

namespace gedan {

int ProgramMain(int argc, char** argv);

// Releases the program-wide state once the event loop has ended. Touches no window: none is left.
void ProgramExit();

}  // namespace gedan
