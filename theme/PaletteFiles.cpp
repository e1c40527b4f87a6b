#include "PaletteFiles.h"

#include "AsciiText.h"
#include "ColorText.h"
#include "FileIo.h"
#include "IntegerSyntax.h"
#include "JsonReader.h"
#include "ThemeSlots.h"

#include <cstdio>

namespace {

const char* DisplayName(bool small) { return small ? "80x160" : "240x320"; }

std::string Word(TRGB565 word)
{
    char text[8];
    std::snprintf(text, sizeof text, "0x%04X", static_cast<unsigned>(word));
    return text;
}

std::string Trimmed(const std::string& s)
{
    const std::size_t a = s.find_first_not_of(" \t\r");
    if (a == std::string::npos)
        return {};
    return s.substr(a, s.find_last_not_of(" \t\r") - a + 1);
}

// A name for a title or a comment: printable ASCII only, so no file format
// is broken by it.
std::string Plain(const std::string& name)
{
    std::string out;
    for (unsigned char c : name)
        out += c >= 0x20 && c < 0x7F && c != '"' && c != '\\' && c != '*' ? char(c) : '_';
    return out;
}

std::string GplText(const TPackedTheme& words, bool small, const std::string& name)
{
    std::string out = "GIMP Palette\nName: " + Plain(name) + "\nColumns: 6\n# Display: " + DisplayName(small) + "\n#\n";
    for (const ThemeSlot& slot : ThemeSlots) {
        const TColor c = RGB565ToColor(words[static_cast<std::size_t>(slot.index)]);
        char line[96];
        std::snprintf(line, sizeof line, "%3u %3u %3u\t%s\n", ColorRed(c), ColorGreen(c), ColorBlue(c), slot.key);
        out += line;
    }
    return out;
}

std::string JsonText(const TPackedTheme& words, bool small, const std::string& name)
{
    std::string out = "{\n  \"name\": \"" + Plain(name) + "\",\n  \"display\": \"" + DisplayName(small) + "\",\n  \"slots\": {\n";
    for (const ThemeSlot& slot : ThemeSlots)
        out += std::string("    \"") + slot.key + "\": \"" +
               ColorToHexText(RGB565ToColor(words[static_cast<std::size_t>(slot.index)])) + "\"" +
               (slot.index + 1 < ThemeSlotCount ? ",\n" : "\n");
    out += "  },\n  \"words\": {\n";
    for (const ThemeSlot& slot : ThemeSlots)
        out += std::string("    \"") + slot.key + "\": \"" + Word(words[static_cast<std::size_t>(slot.index)]) + "\"" +
               (slot.index + 1 < ThemeSlotCount ? ",\n" : "\n");
    return out + "  }\n}\n";
}

std::string HeaderText(const TPackedTheme& words, bool small, const std::string& name)
{
    std::string out = "/* Larkspur theme \"" + Plain(name) + "\" for the " + DisplayName(small) +
                      " display: the 42 RGB565 words in slot order. */\n"
                      "#include <stdint.h>\n\n"
                      "static const uint16_t larkspur_theme[42] = {\n";
    for (const ThemeSlot& slot : ThemeSlots)
        out += "    " + Word(words[static_cast<std::size_t>(slot.index)]) + ",  /* " + slot.key + " */\n";
    return out + "};\n";
}

bool Refuse(PaletteError& error, int line, const std::string& reason)
{
    error = {line, reason};
    return false;
}

// The slot an entry goes to: the one its name is the key of, else the one
// of its place among the entries.
int SlotForEntry(const std::string& name, int place)
{
    if (const ThemeSlot* slot = FindSlotByKey(name))
        return slot->index;
    return place < ThemeSlotCount ? place : -1;
}

bool ReadDisplay(const std::string& value, PaletteRead& into)
{
    if (value != "240x320" && value != "80x160")
        return false;
    into.smallDisplay = value == "80x160";
    return true;
}

bool ReadGpl(const std::string& text, PaletteRead& into, PaletteError& error)
{
    std::size_t at = 0;
    int lineNumber = 0, place = 0;
    // A UTF-8 mark before the header, as some editors write.
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0)
        at = 3;
    while (at < text.size() || lineNumber == 0) {
        const std::size_t end = std::min(text.find('\n', at), text.size());
        const std::string line = Trimmed(text.substr(at, end - at));
        at = end + 1;
        ++lineNumber;
        if (lineNumber == 1) {
            if (line != "GIMP Palette")
                return Refuse(error, 1, "not a GIMP palette (the first line is not \"GIMP Palette\")");
            continue;
        }
        if (line.empty())
            continue;
        if (line[0] == '#') {
            const std::string comment = Trimmed(line.substr(1));
            if (comment.compare(0, 8, "Display:") == 0 && !ReadDisplay(Trimmed(comment.substr(8)), into))
                return Refuse(error, lineNumber, "the display is 240x320 or 80x160");
            continue;
        }
        if (line.compare(0, 5, "Name:") == 0 || line.compare(0, 8, "Columns:") == 0)
            continue;
        unsigned rgb[3] = {};
        std::size_t pos = 0;
        for (unsigned& channel : rgb) {
            while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t'))
                ++pos;
            const std::size_t from = pos;
            unsigned value = 0;
            while (pos < line.size() && line[pos] >= '0' && line[pos] <= '9' && pos - from < 4)
                value = value * 10 + unsigned(line[pos++] - '0');
            if (pos == from || value > 255 || (pos < line.size() && line[pos] != ' ' && line[pos] != '\t'))
                return Refuse(error, lineNumber, "an entry is three numbers 0 to 255 and a name");
            channel = value;
        }
        const std::string name = Trimmed(line.substr(pos));
        const int slot = SlotForEntry(name, place++);
        if (slot < 0)
            return Refuse(error, lineNumber, "more than 42 colours without a slot's name");
        // A slot given twice is a palette that contradicts itself.
        if (into.given[static_cast<std::size_t>(slot)])
            return Refuse(error, lineNumber, std::string(ThemeSlots[static_cast<std::size_t>(slot)].key) + " is given twice");
        into.words[static_cast<std::size_t>(slot)] = ColorToRGB565(MakeColor(rgb[0], rgb[1], rgb[2]));
        into.given[static_cast<std::size_t>(slot)] = true;
        into.byPlace[static_cast<std::size_t>(slot)] = !FindSlotByKey(name);
        if (at >= text.size())
            break;
    }
    return true;
}

// The line of a member given a second time in an object, 0 for none.
int RepeatedMember(const JsonValue& object, std::string& name)
{
    for (std::size_t i = 0; i < object.members.size(); ++i)
        for (std::size_t j = 0; j < i; ++j)
            if (object.members[i].first == object.members[j].first) {
                name = object.members[i].first;
                return object.members[i].second.line;
            }
    return 0;
}

// "words", where a palette has them, say the same as its colours.
bool CheckWords(const JsonValue& words, const PaletteRead& into, PaletteError& error)
{
    if (words.type != JsonValue::Type::Object)
        return Refuse(error, words.line, "\"words\" is an object of keys and words");
    for (const auto& [key, value] : words.members) {
        const ThemeSlot* slot = FindSlotByKey(key);
        if (!slot)
            return Refuse(error, value.line, "no slot is called \"" + Plain(key) + "\"");
        std::int32_t word = 0;
        if (value.type != JsonValue::Type::String || !ParseStrictInteger(value.text, word) || word < 0 || word > 0xFFFF)
            return Refuse(error, value.line, "a word is a string such as \"0x1F00\"");
        const auto at = static_cast<std::size_t>(slot->index);
        if (!into.given[at] || into.words[at] != static_cast<TRGB565>(word))
            return Refuse(error, value.line, "\"words\" says " + Plain(value.text) + " for " + slot->key +
                                                 (into.given[at] ? ", \"slots\" " + Word(into.words[at]) : ", \"slots\" nothing"));
    }
    return true;
}

bool ReadJson(std::string text, PaletteRead& into, PaletteError& error)
{
    // A UTF-8 mark before the text, as some editors write, as in .gpl files.
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0)
        text.erase(0, 3);
    JsonValue root;
    std::string reason;
    int line = 0;
    if (!ParseJson(text, root, line, reason))
        return Refuse(error, line, reason);
    if (root.type != JsonValue::Type::Object)
        return Refuse(error, root.line, "the palette is a JSON object");
    std::string repeated;
    if (const int at = RepeatedMember(root, repeated))
        return Refuse(error, at, "\"" + Plain(repeated) + "\" is given twice");
    if (const JsonValue* display = root.Find("display"))
        if (display->type != JsonValue::Type::String || !ReadDisplay(display->text, into))
            return Refuse(error, display->line, "\"display\" is \"240x320\" or \"80x160\"");
    const JsonValue* slots = root.Find("slots");
    if (!slots)
        return Refuse(error, root.line, "no \"slots\" in the palette");
    if (slots->type != JsonValue::Type::Object && slots->type != JsonValue::Type::Array)
        return Refuse(error, slots->line, "\"slots\" is an object of keys and colours, or a list of colours");
    const bool named = slots->type == JsonValue::Type::Object;
    if (const int at = named ? RepeatedMember(*slots, repeated) : 0)
        return Refuse(error, at, Plain(repeated) + " is given twice");
    const std::size_t count = named ? slots->members.size() : slots->items.size();
    for (std::size_t i = 0; i < count; ++i) {
        const JsonValue& value = named ? slots->members[i].second : slots->items[i];
        // In an object the names are the keys; a list goes in slot order.
        const ThemeSlot* byName = named ? FindSlotByKey(slots->members[i].first) : nullptr;
        const int slot = named ? (byName ? byName->index : -1) : SlotForEntry(std::string(), static_cast<int>(i));
        if (slot < 0)
            return Refuse(error, value.line,
                          named ? "no slot is called \"" + Plain(slots->members[i].first) + "\"" : "more than 42 colours");
        TColor color = 0;
        if (value.type != JsonValue::Type::String || !ParseColorText(value.text, color))
            return Refuse(error, value.line, "a colour is a string such as \"#RRGGBB\"");
        into.words[static_cast<std::size_t>(slot)] = ColorToRGB565(color);
        into.given[static_cast<std::size_t>(slot)] = true;
        into.byPlace[static_cast<std::size_t>(slot)] = !named;
    }
    const JsonValue* words = root.Find("words");
    return !words || CheckWords(*words, into, error);
}

}  // namespace

std::string FileExtension(const std::string& path)
{
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || path.find_first_of("/\\", dot) != std::string::npos)
        return {};
    return path.substr(dot + 1);
}

std::optional<PaletteFormat> PaletteFormatOf(const std::string& path)
{
    const std::string ext = FileExtension(path);
    if (SameTextIgnoringCase(ext, "gpl"))
        return PaletteFormat::Gpl;
    if (SameTextIgnoringCase(ext, "json"))
        return PaletteFormat::Json;
    if (SameTextIgnoringCase(ext, "h"))
        return PaletteFormat::CHeader;
    return std::nullopt;
}

std::string WritePalette(PaletteFormat format, const TPackedTheme& words, bool smallDisplay, const std::string& name)
{
    switch (format) {
    case PaletteFormat::Gpl:
        return GplText(words, smallDisplay, name);
    case PaletteFormat::Json:
        return JsonText(words, smallDisplay, name);
    case PaletteFormat::CHeader:
        break;
    }
    return HeaderText(words, smallDisplay, name);
}

bool ReadPalette(PaletteFormat format, const std::string& text, PaletteRead& into, PaletteError& error)
{
    PaletteRead read = into;
    read.given = {};
    const bool ok = format == PaletteFormat::Gpl    ? ReadGpl(text, read, error)
                    : format == PaletteFormat::Json ? ReadJson(text, read, error)
                                                    : Refuse(error, 0, "a C header is written, not read");
    // All or nothing: a fault halfway leaves `into` as it was.
    if (ok)
        into = read;
    return ok;
}

bool ReadPaletteFile(const std::string& path, PaletteRead& into, PaletteError& error)
{
    const std::optional<PaletteFormat> format = PaletteFormatOf(path);
    if (!format)
        return Refuse(error, 0, "not a .gpl or .json palette");
    std::string text, reason;
    if (ReadFileLimited(path, MaxIniFileSize, text, &reason) != FileReadStatus::Ok)
        return Refuse(error, 0, reason);
    return ReadPalette(*format, text, into, error);
}
