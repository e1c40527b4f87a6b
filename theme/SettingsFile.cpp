#include "SettingsFile.h"

#include "FileIo.h"
#include "IniFile.h"
#include "TextEncoding.h"

std::string SettingsPathForExecutable(const std::string& executablePath)
{
    const std::size_t slash = executablePath.find_last_of('/');
    const std::size_t dot = executablePath.find_last_of('.');
    const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
    return (hasExtension ? executablePath.substr(0, dot) : executablePath) + ".ini";
}

std::string ReadOverrideText(const std::string& settingsPath)
{
    std::string bytes;
    if (ReadFileLimited(settingsPath, MaxIniFileSize, bytes) != FileReadStatus::Ok)
        return {};
    return IniDocument(DecodeText(bytes).text).ReadString("Application", "Override", "");
}
