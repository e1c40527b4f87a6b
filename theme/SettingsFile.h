#pragma once
// The optional, read-only settings file beside the executable.

#include <string>

// The executable's path with its extension replaced by ".ini"
// (/opt/x/larkspur-theme-editor reads /opt/x/larkspur-theme-editor.ini).
std::string SettingsPathForExecutable(const std::string& executablePath);

// Section "Application", key "Override". A missing or unreadable file, section
// or key all give the empty text.
std::string ReadOverrideText(const std::string& settingsPath);
