// Pictures without a window: torzalen --export DISPLAY=FILE ... runs its input
// in a main window that is never put on a screen, with a client area of the
// asked size, and writes each display as the window would show it (the same
// widgets, painted by the same code) before it exits.
#pragma once

#include "app/start_args.h"

namespace tz {

class MainWindow;

// Keeps Qt's notes and warnings (of the platform without a screen, which
// cannot do what a window system does) off stderr, which carries the run's
// messages; errors still go there. Call before the application object.
void QuietQtMessages();

// Resizes the main window so that its client area is width x height.
void SizeClientArea(MainWindow& window, int width, int height);

// Shows display as the display settings' OK chooses it: the graph (the FFT
// graph's envelope or its spectral lines), the markers off, the display
// rebuilt and laid out.
void ChooseDisplay(MainWindow& window, PictureDisplay display);

// Runs args' input into its outputs and writes the pictures; the exit status:
// 0 when the run reached its end and every picture was written, 1 otherwise
// (a failed run writes no picture). The run's messages go to stderr as
// "CAPTION: TEXT". Needs the application object.
int RunPictureExport(const StartArgs& args, const PictureArgs& pictures);

}  // namespace tz
