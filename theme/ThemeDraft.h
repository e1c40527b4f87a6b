#pragma once
// A draft as the crash recovery keeps it: a theme file whose [Draft]
// section names the file the theme came from (percent-encoded, since a name
// may hold anything and a line only text). The desktop keeps drafts as
// files, the browser edition in its storage; both in this form.

#include "ThemeDocument.h"

#include <string>

std::string DraftText(const ThemeDraftContent& draft);
// False for text that holds no theme: nothing worth offering back.
bool ReadDraftText(const std::string& text, ThemeDraftContent& draft);

// Every byte but ASCII letters, digits and "-._~" as %XX, and back.
std::string PercentEncoded(const std::string& text);
std::string PercentDecoded(const std::string& text);
