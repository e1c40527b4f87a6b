#pragma once
// Whole-file reads with a size bound, and writes that never leave a damaged file.

#include <cstddef>
#include <string>

// Theme and settings files are a few kilobytes; anything past this is not ours.
constexpr std::size_t MaxIniFileSize = 1024 * 1024;

enum class FileReadStatus { Ok, Missing, TooLarge, Unreadable };

// Refuses files over maxBytes without reading them whole.
FileReadStatus ReadFileLimited(const std::string& path, std::size_t maxBytes, std::string& bytes,
                               std::string* error = nullptr);

// Writes bytes to a temporary file in the target's folder, flushes it to disk and
// renames it over the target, so a failure at any point leaves the old file as it
// was. An existing file keeps its permission bits, owner and group; a symbolic
// link stays a link and its target is replaced. A file the user may not write
// (or that nobody may write) is refused. A file with other hard links, or one
// whose owner a new file could not be given, is written in place instead, with
// its old content copied aside first and put back should the write fail.
bool WriteFileAtomically(const std::string& path, const std::string& bytes, std::string* error = nullptr);
