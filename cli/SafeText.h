#pragma once
// Text from files and arguments, made safe for a terminal: control bytes and
// bytes that are not UTF-8 are shown escaped ("\x1b"), so a message stays one
// line and cannot steer the terminal.

#include <string>

std::string EscapeForTerminal(const std::string& text);
