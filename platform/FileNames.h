#pragma once
// File names between the byte strings the program opens and the UTF-16 text
// a window shows. On Linux a name is bytes and need not be UTF-8: each byte
// that is not part of a well-formed UTF-8 sequence travels as the lone code
// unit U+DC80 + (byte - 0x80) and comes back as that byte, so every file the
// system can name can be listed, shown and opened again. (Well-formed UTF-8
// never encodes those units, so nothing else can turn into them.)

#include <cstdint>
#include <string>
#include <vector>

std::u16string FileNameToUtf16(const std::string& bytes);
std::string FileNameFromUtf16(const std::u16string& units);

// The unit a byte that is not UTF-8 travels as, and back; -1 for any other unit.
constexpr char16_t EscapedByteUnit(unsigned char byte) { return char16_t(0xDC00 + byte); }
constexpr int EscapedByte(char16_t unit) { return unit >= 0xDC80 && unit <= 0xDCFF ? int(unit - 0xDC00) : -1; }

struct FolderEntry {
    std::string name;         // the file's name in the folder, as bytes
    std::uint64_t size = 0;
    std::int64_t modified = 0;  // the last write, in the system's own ticks: for order and change only
};

// The files of a folder that are not folders (hidden ones, special ones and
// links too, so a reader can say why such a one is no theme) whose names end
// in `extension` (".lsth"), whatever its letter case. False when the folder
// cannot be read.
bool ListFolder(const std::string& folder, const std::string& extension, std::vector<FolderEntry>& entries);
