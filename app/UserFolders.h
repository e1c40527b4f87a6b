#pragma once
// Where the editor keeps what lasts between runs: the user's own folders
// (XDG on Linux), never the folder of the executable.

#include <QString>

// The editor's folder for settings such as the recent files; created on demand.
QString UserConfigFolder();
// The editor's folder for state such as drafts of unsaved themes.
QString UserStateFolder();
