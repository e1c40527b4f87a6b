#include "ThemeFile.h"

#include "FileIo.h"
#include "IniFile.h"
#include "IntegerSyntax.h"
#include "TextEncoding.h"
#include "ThemeSlots.h"

#include <algorithm>
#include <cstdio>

namespace {

std::string WordText(TRGB565 word)
{
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "$%04X", static_cast<unsigned>(word));
    return buffer;
}

void SetError(ThemeFileError* error, std::string key, std::string reason)
{
    if (error)
        *error = {std::move(key), std::move(reason)};
}

}  // namespace

bool ThemeLoadReport::NoThemeKeys() const { return missingKeys.size() == ThemeSlotCount + 1; }

std::string ThemeFileContent(const std::string& existing, const TPackedTheme& packed, bool smallDisplay,
                             const std::vector<int>* locked)
{
    DecodedText decoded = DecodeText(existing);
    IniDocument ini(std::move(decoded.text));
    for (const ThemeSlot& slot : ThemeSlots)
        ini.WriteString(slot.section, slot.key, WordText(packed[static_cast<std::size_t>(slot.index)]));
    ini.WriteString(DisplaySection, DisplayKey, smallDisplay ? "1" : "0");
    if (locked) {
        // A section of the editor's own, which the device and older readers pass over.
        std::string keys;
        for (int index : *locked)
            if (index >= 0 && index < ThemeSlotCount)
                keys += (keys.empty() ? "" : ",") + std::string(ThemeSlots[static_cast<std::size_t>(index)].key);
        // One line, where the first stood: a hand-edited file may hold several.
        ini.DeleteRepeats(EditorSection, LockedKey);
        std::string had;
        if (!keys.empty())
            ini.WriteString(EditorSection, LockedKey, keys);
        else if (ini.Find(EditorSection, LockedKey, had))
            ini.DeleteKey(EditorSection, LockedKey);
    }
    decoded.text = ini.Bytes();
    return EncodeText(decoded);
}

bool SaveTheme(const std::string& fileName, const TThemeColorTable& colors, TPackedTheme& packed,
               bool smallDisplay, std::string& themeFileName, ThemeFileError* error, const std::vector<int>* locked)
{
    PackTheme(colors, packed);
    std::string existing;
    std::string message;
    const FileReadStatus status = ReadFileLimited(fileName, MaxIniFileSize, existing, &message);
    if (status != FileReadStatus::Ok && status != FileReadStatus::Missing) {
        // Rewriting a file we could not read whole would lose its other lines.
        SetError(error, "", message);
        return false;
    }
    const std::string content = ThemeFileContent(existing, packed, smallDisplay, locked);
    if (content.size() > MaxIniFileSize) {
        // It could never be loaded again.
        SetError(error, "", "the file would grow past " + std::to_string(MaxIniFileSize) + " bytes");
        return false;
    }
    if (!WriteFileAtomically(fileName, content, &message)) {
        SetError(error, "", message);
        return false;
    }
    themeFileName = fileName;
    return true;
}

bool ParseTheme(const std::string& bytes, TPackedTheme& packed, bool& smallDisplay, ThemeFileError* error,
                ThemeLoadReport* report)
{
    const IniDocument ini(DecodeText(bytes).text);
    // One lookup per key tells both its value and whether the file has it.
    ThemeLoadReport found;
    const auto read = [&](const char* section, const char* key, std::string fallback) {
        std::string value;
        if (ini.Find(section, key, value))
            return value;
        found.missingKeys.push_back(key);
        return fallback;
    };
    for (const ThemeSlot& slot : ThemeSlots) {
        const std::string text = read(slot.section, slot.key, WordText(slot.defaultWord));
        std::int32_t value = 0;
        if (!ParseStrictInteger(text, value)) {
            SetError(error, slot.key, "not a colour: \"" + text + "\"");
            return false;
        }
        if (value < 0 || value > 0xFFFF)
            found.widerThanAWord.emplace_back(slot.key, text);
        packed[static_cast<std::size_t>(slot.index)] = static_cast<TRGB565>(static_cast<std::uint32_t>(value) & 0xFFFFu);
    }
    const std::int32_t display = ParseLenientInteger(read(DisplaySection, DisplayKey, "0"));
    // Locks: file keys between commas, on every Locked line there is (a
    // hand-edited file may hold several); a name that is no slot's is passed over.
    for (const std::string& lockedKeys : ini.FindAll(EditorSection, LockedKey)) {
        std::size_t from = 0;
        while (from <= lockedKeys.size()) {
            std::size_t to = lockedKeys.find(',', from);
            if (to == std::string::npos)
                to = lockedKeys.size();
            std::string name = lockedKeys.substr(from, to - from);
            name.erase(0, name.find_first_not_of(" \t"));
            name.erase(name.find_last_not_of(" \t") + 1);
            const ThemeSlot* slot = FindSlotByKey(name);
            if (slot && std::find(found.locked.begin(), found.locked.end(), slot->index) == found.locked.end())
                found.locked.push_back(slot->index);
            from = to + 1;
        }
        std::sort(found.locked.begin(), found.locked.end());
    }
    smallDisplay = display == 1;
    if (report)
        *report = std::move(found);
    return true;
}

bool LoadTheme(const std::string& fileName, TPackedTheme& packed,
               const std::function<void(bool smallDisplay)>& switchDisplay, std::string& themeFileName,
               ThemeFileError* error, ThemeLoadReport* report)
{
    std::string bytes;
    std::string message;
    if (ReadFileLimited(fileName, MaxIniFileSize, bytes, &message) != FileReadStatus::Ok) {
        SetError(error, "", message);
        return false;
    }
    bool small = false;
    if (!ParseTheme(bytes, packed, small, error, report))
        return false;
    if (switchDisplay)
        switchDisplay(small);
    themeFileName = fileName;
    return true;
}
