#pragma once
// What the desktop's window manager draws around the window, where the
// program has a say in it. One implementation for X11, one for platforms
// whose window managers read the window's flags as they are.

class QWindow;

// True where the window manager draws a Maximize button on every window,
// even one of fixed size that it will not maximise (openbox does): the
// button is there and does nothing. Such a window is better off drawing its
// own title bar.
bool WindowManagerDrawsMaximizeOnFixedWindows();

// Asks the window manager for a border around window and nothing else: no
// title bar, no buttons. Best before the window is mapped; it also holds
// after.
void AskWindowManagerForBorderOnly(QWindow& window);
