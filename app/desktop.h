#pragma once
// The desktop program as a whole: Qt Widgets with the program's look, its
// message boxes, file dialogs and modal windows, and the windows with their view.
#include <functional>

namespace desktop {

/// Runs the program until its main window has closed and returns the exit
/// code. `onFirstPaint`, when given, runs once the main window has first been
/// painted (it may end the event loop).
int Run(int argc, char** argv, std::function<void()> onFirstPaint = {});

}  // namespace desktop
