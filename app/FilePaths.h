#pragma once
// File names between the toolkit's strings and the byte strings the rest of
// the program opens, every name the system can give kept whole (see
// FileNames.h): a name that is not UTF-8 is listed, shown and opened again.

#include "FileNames.h"

#include <QString>

#include <string>

inline std::string Path(const QString& file) { return FileNameFromUtf16(file.toStdU16String()); }

inline QString FromPath(const std::string& path) { return QString::fromStdU16String(FileNameToUtf16(path)); }

// For people: each byte that is not UTF-8 as \xNN.
inline QString ShownPath(const QString& file)
{
    QString shown;
    for (const QChar c : file) {
        const int byte = EscapedByte(c.unicode());
        shown += byte < 0 ? QString(c) : QString::asprintf("\\x%02X", byte);
    }
    return shown;
}
