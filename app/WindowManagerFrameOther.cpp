#include "WindowManagerFrame.h"

// The desktop's window manager follows the window's flags: a fixed-size
// window without the Maximize flag gets no Maximize button.
bool WindowManagerDrawsMaximizeOnFixedWindows() { return false; }

void AskWindowManagerForBorderOnly(QWindow&) {}
