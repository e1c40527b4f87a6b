#pragma once
// The main window's wiring that is no handler of its own: the device
// controller's events, files dropped on it, the Open Recent menu and the
// Theme menu's state.

#include <memory>

class HidBackend;
class TfrmMain;

// The controller and the timers of the device link, wired to the handlers.
void CreateDeviceLink(TfrmMain& form, std::shared_ptr<HidBackend> backend);
// Theme files dropped from a file manager: one file ending in .lsth, opened
// like Open; anything else is refused and the pointer says so.
void InstallThemeFileDrop(TfrmMain& form);
void FillRecentMenu(TfrmMain& form);
// The Theme menu with its items; their shortcuts follow the menu.
void EnableThemeMenu(TfrmMain& form, bool enabled);
