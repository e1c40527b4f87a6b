#include "ThemeDraft.h"

#include "IniFile.h"
#include "IntegerSyntax.h"
#include "ThemeFile.h"

namespace {

const char* const DraftSection = "Draft";
const char* const DraftFileKey = "File";

}  // namespace

std::string PercentEncoded(const std::string& text)
{
    static const char* const Hex = "0123456789ABCDEF";
    std::string out;
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
                           c == '.' || c == '_' || c == '~';
        if (plain) {
            out += ch;
        } else {
            out += '%';
            out += Hex[c >> 4];
            out += Hex[c & 15];
        }
    }
    return out;
}

std::string PercentDecoded(const std::string& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const int high = i + 2 < text.size() && text[i] == '%' ? HexDigit(text[i + 1]) : -1;
        const int low = high >= 0 ? HexDigit(text[i + 2]) : -1;
        if (low >= 0) {
            out += static_cast<char>(high * 16 + low);
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string DraftText(const ThemeDraftContent& draft)
{
    TPackedTheme packed{};
    PackTheme(draft.colors, packed);
    IniDocument head;
    head.WriteString(DraftSection, DraftFileKey, PercentEncoded(draft.fileName));
    return ThemeFileContent(head.Bytes(), packed, draft.smallDisplay, &draft.locked);
}

bool ReadDraftText(const std::string& text, ThemeDraftContent& draft)
{
    TPackedTheme packed{};
    bool small = false;
    ThemeLoadReport report;
    if (!ParseTheme(text, packed, small, nullptr, &report) || report.NoThemeKeys())
        return false;
    UnpackTheme(packed, draft.colors);
    draft.smallDisplay = small;
    draft.locked = report.locked;
    draft.fileName = PercentDecoded(IniDocument(text).ReadString(DraftSection, DraftFileKey, ""));
    return true;
}
