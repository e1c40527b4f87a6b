#include "IniFile.h"

#include "AsciiText.h"

#include <cstddef>
#include <vector>

namespace {

struct Line {
    std::size_t begin;       // first byte of the line
    std::size_t contentEnd;  // first byte of the line end (or end of text)
    std::size_t end;         // first byte after the line end
};

enum class LineKind { Blank, Comment, Section, Key, Other };

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool SameName(const char* a, std::size_t aLen, const std::string& b)
{
    return SameTextIgnoringCase(std::string_view(a, aLen), b);
}

void Trim(const std::string& text, std::size_t& from, std::size_t& to)
{
    while (from < to && IsBlank(text[from]))
        ++from;
    while (to > from && IsBlank(text[to - 1]))
        --to;
}

std::vector<Line> SplitLines(const std::string& text)
{
    std::vector<Line> lines;
    std::size_t pos = 0;
    // A byte-order mark belongs to no line: it is kept in the bytes but never parsed.
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0)
        pos = 3;
    while (pos < text.size()) {
        std::size_t stop = pos;
        while (stop < text.size() && text[stop] != '\r' && text[stop] != '\n')
            ++stop;
        std::size_t next = stop;
        if (next < text.size()) {
            if (text[next] == '\r' && next + 1 < text.size() && text[next + 1] == '\n')
                next += 2;
            else
                next += 1;
        }
        lines.push_back({pos, stop, next});
        pos = next;
    }
    return lines;
}

struct Parsed {
    LineKind kind = LineKind::Blank;
    std::size_t nameFrom = 0, nameTo = 0;    // section or key name, trimmed
    std::size_t valueFrom = 0, valueTo = 0;  // key value, trimmed, quotes still on
};

Parsed ParseLine(const std::string& text, const Line& line)
{
    Parsed p;
    std::size_t first = line.begin;
    while (first < line.contentEnd && IsBlank(text[first]))
        ++first;
    if (first == line.contentEnd)
        return p;
    if (text[first] == ';') {
        p.kind = LineKind::Comment;
        return p;
    }
    if (text[first] == '[') {
        p.kind = LineKind::Section;
        std::size_t close = first + 1;
        while (close < line.contentEnd && text[close] != ']')
            ++close;
        p.nameFrom = first + 1;
        p.nameTo = close;
        Trim(text, p.nameFrom, p.nameTo);
        return p;
    }
    std::size_t eq = first;
    while (eq < line.contentEnd && text[eq] != '=')
        ++eq;
    if (eq == line.contentEnd) {
        p.kind = LineKind::Other;
        return p;
    }
    p.kind = LineKind::Key;
    p.nameFrom = first;
    p.nameTo = eq;
    Trim(text, p.nameFrom, p.nameTo);
    p.valueFrom = eq + 1;
    p.valueTo = line.contentEnd;
    Trim(text, p.valueFrom, p.valueTo);
    return p;
}

// Where a section and a key stand in the text. Indices into the line list; -1 = absent.
struct Location {
    long section = -1;
    long key = -1;
    long lastKeyLine = -1;  // last key line of the section, or the header itself
};

Location Locate(const std::string& text, const std::vector<Line>& lines, const std::string& section,
                const std::string& key)
{
    Location loc;
    bool inside = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Parsed p = ParseLine(text, lines[i]);
        if (p.kind == LineKind::Section) {
            if (inside)
                break;  // only the first section of a name counts
            if (SameName(text.data() + p.nameFrom, p.nameTo - p.nameFrom, section)) {
                inside = true;
                loc.section = static_cast<long>(i);
                loc.lastKeyLine = static_cast<long>(i);
            }
            continue;
        }
        if (!inside || p.kind != LineKind::Key)
            continue;
        loc.lastKeyLine = static_cast<long>(i);
        if (loc.key < 0 && SameName(text.data() + p.nameFrom, p.nameTo - p.nameFrom, key))
            loc.key = static_cast<long>(i);
    }
    return loc;
}

}  // namespace

namespace {

// A key line's value, without the quotes round it.
std::string ValueOf(const std::string& text, const Line& line)
{
    const Parsed p = ParseLine(text, line);
    std::size_t from = p.valueFrom, to = p.valueTo;
    if (to - from >= 2) {
        const char q = text[from];
        if ((q == '"' || q == '\'') && text[to - 1] == q) {
            ++from;
            --to;
        }
    }
    return text.substr(from, to - from);
}

// The lines of the key in the first section of its name, in file order.
std::vector<std::size_t> KeyLines(const std::string& text, const std::vector<Line>& lines, const std::string& section,
                                  const std::string& key)
{
    std::vector<std::size_t> found;
    bool inside = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Parsed p = ParseLine(text, lines[i]);
        if (p.kind == LineKind::Section) {
            if (inside)
                break;
            inside = SameName(text.data() + p.nameFrom, p.nameTo - p.nameFrom, section);
        } else if (inside && p.kind == LineKind::Key && SameName(text.data() + p.nameFrom, p.nameTo - p.nameFrom, key)) {
            found.push_back(i);
        }
    }
    return found;
}

}  // namespace

bool IniDocument::Find(const std::string& section, const std::string& key, std::string& value) const
{
    const std::vector<Line> lines = SplitLines(bytes_);
    const Location loc = Locate(bytes_, lines, section, key);
    if (loc.key < 0)
        return false;
    value = ValueOf(bytes_, lines[static_cast<std::size_t>(loc.key)]);
    return true;
}

std::vector<std::string> IniDocument::FindAll(const std::string& section, const std::string& key) const
{
    const std::vector<Line> lines = SplitLines(bytes_);
    std::vector<std::string> values;
    for (std::size_t i : KeyLines(bytes_, lines, section, key))
        values.push_back(ValueOf(bytes_, lines[i]));
    return values;
}

void IniDocument::DeleteRepeats(const std::string& section, const std::string& key)
{
    const std::vector<Line> lines = SplitLines(bytes_);
    const std::vector<std::size_t> found = KeyLines(bytes_, lines, section, key);
    // From the last, so the earlier lines stay where they are.
    for (std::size_t n = found.size(); n > 1; --n) {
        const Line& line = lines[found[n - 1]];
        bytes_.erase(line.begin, line.end - line.begin);
    }
}

std::string IniDocument::ReadString(const std::string& section, const std::string& key,
                                    const std::string& fallback) const
{
    std::string value;
    return Find(section, key, value) ? value : fallback;
}

void IniDocument::WriteString(const std::string& section, const std::string& key, const std::string& value)
{
    const std::vector<Line> lines = SplitLines(bytes_);
    const Location loc = Locate(bytes_, lines, section, key);

    if (loc.key >= 0) {
        // Keep the file's own spelling of the key and the line's own line end.
        const Line& line = lines[static_cast<std::size_t>(loc.key)];
        const Parsed p = ParseLine(bytes_, line);
        std::string replacement = bytes_.substr(p.nameFrom, p.nameTo - p.nameFrom) + "=" + value;
        std::string lineEnd = bytes_.substr(line.contentEnd, line.end - line.contentEnd);
        if (lineEnd.empty())
            lineEnd = "\r\n";
        bytes_.replace(line.begin, line.end - line.begin, replacement + lineEnd);
        return;
    }

    const std::string keyLine = key + "=" + value + "\r\n";
    if (loc.section >= 0) {
        const Line& after = lines[static_cast<std::size_t>(loc.lastKeyLine)];
        if (after.contentEnd == after.end) {
            // The line we insert after is the last one and has no line end yet.
            bytes_.insert(after.end, "\r\n" + keyLine);
        } else {
            bytes_.insert(after.end, keyLine);
        }
        return;
    }

    if (!bytes_.empty() && bytes_.back() != '\n' && bytes_.back() != '\r')
        bytes_ += "\r\n";
    bytes_ += "[" + section + "]\r\n" + keyLine;
}

void IniDocument::DeleteKey(const std::string& section, const std::string& key)
{
    const std::vector<Line> lines = SplitLines(bytes_);
    const Location loc = Locate(bytes_, lines, section, key);
    if (loc.key < 0)
        return;
    const Line& line = lines[static_cast<std::size_t>(loc.key)];
    bytes_.erase(line.begin, line.end - line.begin);
}
