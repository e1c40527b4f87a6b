#pragma once
// INI text read and written the way the classic Windows profile functions do,
// so theme files written there or edited by hand load the same here, and a
// write disturbs no byte but the one value (or the one line it inserts).
//
// Reading: names match regardless of ASCII case; the first section of a name
// and the first key within it win; lines starting with ';' are comments; keys
// before the first section are never found; values are trimmed of spaces and
// tabs and lose one pair of matching outer quotes. CRLF, LF and lone CR all end
// a line. A UTF-8 byte-order mark at the very start is skipped (the Windows
// functions glued it to the first header and lost that section).

#include <string>
#include <vector>

class IniDocument {
public:
    IniDocument() = default;
    explicit IniDocument(std::string bytes) : bytes_(std::move(bytes)) {}

    // True and the value when the key is present (an empty value is present).
    bool Find(const std::string& section, const std::string& key, std::string& value) const;
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& fallback) const;

    // Replaces the value on the key's own line; else inserts "key=value" after the
    // section's last key line; else appends the section at the end of the text.
    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    // Takes the key's line out, line end and all; nothing else changes.
    void DeleteKey(const std::string& section, const std::string& key);
    // Every value of a key the section repeats (a hand-edited file may), in
    // the order of the file; Find and WriteString see the first alone.
    std::vector<std::string> FindAll(const std::string& section, const std::string& key) const;
    // Takes out every line of the key but the first.
    void DeleteRepeats(const std::string& section, const std::string& key);

    const std::string& Bytes() const { return bytes_; }

private:
    std::string bytes_;
};
