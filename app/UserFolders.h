#pragma once
// Where the editor keeps what lasts between runs: the user's own folders
// (XDG on Linux), never the folder of the executable.

#include <QString>

// The editor's folder for settings such as the recent files; created on demand.
QString UserConfigFolder();
// The editor's folder for state such as drafts of unsaved themes.
QString UserStateFolder();

class QVariant;
// Whether a file of the user's folders can be read and written as settings:
// a regular file, or none yet. Anything else (a FIFO, a folder) is left alone,
// with a warning, so it can neither hang nor be replaced.
bool UserFileUsable(const QString& path);
// Sets one value in a settings file there and writes it out; false when the
// file is unusable or could not be written.
bool StoreUserSetting(const QString& path, const QString& key, const QVariant& value);
