#pragma once
// The running program's own file, in UTF-8; empty when the system will not say.

#include <string>

std::string ExecutablePath();
