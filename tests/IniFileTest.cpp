// The INI layer against the way the classic profile functions read and write.

#include "IniFile.h"
#include "IntegerSyntax.h"

#include <gtest/gtest.h>

namespace {

struct ReadCase {
    const char* what;
    std::string content;
    const char* section;
    const char* key;
    const char* expected;  // nullptr: the key is missing
};

TEST(IniRead, FindsKeysAsTheProfileFunctionsDo)
{
    const ReadCase cases[] = {
        {"plain", "[Main]\r\nMain_Dom=$FFFF\r\n", "Main", "Main_Dom", "$FFFF"},
        {"names ignore case", "[MAIN]\r\nMAIN_DOM=5\r\n", "Main", "main_dom", "5"},
        {"header trimmed", "[ Main ]\r\nk=1\r\n", "Main", "k", "1"},
        {"header without ]", "[Main\r\nk=1\r\n", "Main", "k", "1"},
        {"text after ] ignored", "  [Main] old stuff\r\nk=1\r\n", "Main", "k", "1"},
        {"key and value trimmed", "[S]\r\n \t k \t= \t $1234 \t\r\n", "S", "k", "$1234"},
        {"comment line", "[S]\r\n;k=1\r\n", "S", "k", nullptr},
        {"indented comment", "[S]\r\n   ;k=1\r\nk=2\r\n", "S", "k", "2"},
        {"hash is ordinary", "[S]\r\n#k=1\r\n", "S", "#k", "1"},
        {"semicolon in a value is data", "[S]\r\nk=$12 ; note\r\n", "S", "k", "$12 ; note"},
        {"keys before any section", "k=1\r\n[S]\r\n", "S", "k", nullptr},
        {"first duplicate section only", "[S]\r\na=1\r\n[T]\r\n[S]\r\nk=2\r\n", "S", "k", nullptr},
        {"first duplicate key wins", "[S]\r\nk=1\r\nK=2\r\n", "S", "k", "1"},
        {"double quotes removed", "[S]\r\nk=\"  x \"\r\n", "S", "k", "  x "},
        {"single quotes removed", "[S]\r\nk='y'\r\n", "S", "k", "y"},
        {"only one pair removed", "[S]\r\nk=\"\"x\"\"\r\n", "S", "k", "\"x\""},
        {"mismatched quotes stay", "[S]\r\nk=\"x'\r\n", "S", "k", "\"x'"},
        {"lone quote stays", "[S]\r\nk=\"\r\n", "S", "k", "\""},
        {"empty value is present", "[S]\r\nk=\r\n", "S", "k", ""},
        {"line without = is no key", "[S]\r\nk\r\n", "S", "k", nullptr},
        {"LF line ends", "[S]\na=1\nk=2\n", "S", "k", "2"},
        {"lone CR line ends", "[S]\ra=1\rk=3", "S", "k", "3"},
        {"mixed line ends", "[S]\r\na=1\rk=4\n", "S", "k", "4"},
        {"byte-order mark skipped", "\xEF\xBB\xBF[S]\r\nk=5\r\n", "S", "k", "5"},
        {"other sections end the search", "[S]\r\na=1\r\n[T]\r\nk=1\r\n", "S", "k", nullptr},
        {"non-ASCII bytes elsewhere", "; caf\xC3\xA9\r\n[S]\r\nn\xE9=1\r\nk=6\r\n", "S", "k", "6"},
        {"empty file", "", "S", "k", nullptr},
    };
    for (const ReadCase& c : cases) {
        std::string value;
        const bool found = IniDocument(c.content).Find(c.section, c.key, value);
        EXPECT_EQ(found, c.expected != nullptr) << c.what;
        if (found && c.expected)
            EXPECT_EQ(value, c.expected) << c.what;
    }
    EXPECT_EQ(IniDocument("[S]\r\n").ReadString("S", "k", "$9CD3"), "$9CD3");
}

struct WriteCase {
    const char* what;
    std::string before;
    const char* section;
    const char* key;
    std::string after;
};

TEST(IniWrite, ChangesOnlyTheOneValueOrLine)
{
    const WriteCase cases[] = {
        {"empty file", "", "S", "k", "[S]\r\nk=v\r\n"},
        {"replace in place", "[S]\r\nk=old\r\nz=1\r\n", "S", "k", "[S]\r\nk=v\r\nz=1\r\n"},
        {"file's spelling kept", "[s]\r\n  K = old\r\n", "S", "k", "[s]\r\nK=v\r\n"},
        {"LF kept on the line", "[S]\nk=old\nz=1\n", "S", "k", "[S]\nk=v\nz=1\n"},
        {"CR kept on the line", "[S]\rk=old\rz=1", "S", "k", "[S]\rk=v\rz=1"},
        {"last line gets CRLF", "[S]\r\nk=old", "S", "k", "[S]\r\nk=v\r\n"},
        {"insert after the last key line", "[S]\r\na=1\r\n; note\r\n\r\n[T]\r\n", "S", "k",
         "[S]\r\na=1\r\nk=v\r\n; note\r\n\r\n[T]\r\n"},
        {"insert into an empty section", "[S]\r\n[T]\r\n", "S", "k", "[S]\r\nk=v\r\n[T]\r\n"},
        {"insert after a header at the end", "[S]", "S", "k", "[S]\r\nk=v\r\n"},
        {"insert after an unterminated key", "[S]\r\na=1", "S", "k", "[S]\r\na=1\r\nk=v\r\n"},
        {"append a section", "[S]\r\na=1\r\n", "T", "k", "[S]\r\na=1\r\n[T]\r\nk=v\r\n"},
        {"append after a blank line", "[S]\r\na=1\r\n\r\n", "T", "k", "[S]\r\na=1\r\n\r\n[T]\r\nk=v\r\n"},
        {"append to an unterminated file", "[S]\r\na=1", "T", "k", "[S]\r\na=1\r\n[T]\r\nk=v\r\n"},
        {"first duplicate section", "[S]\r\na=1\r\n[S]\r\nk=old\r\n", "S", "k", "[S]\r\na=1\r\nk=v\r\n[S]\r\nk=old\r\n"},
        {"comments and odd bytes kept", "; caf\xC3\xA9\r\n[S]\r\n\xFF\xFE=\x01\r\nk=1\r\n  spacing  =  x \r\n", "S",
         "k", "; caf\xC3\xA9\r\n[S]\r\n\xFF\xFE=\x01\r\nk=v\r\n  spacing  =  x \r\n"},
        {"byte-order mark kept", "\xEF\xBB\xBF[S]\r\nk=1\r\n", "S", "k", "\xEF\xBB\xBF[S]\r\nk=v\r\n"},
        {"keys before sections ignored", "k=1\r\n", "S", "k", "k=1\r\n[S]\r\nk=v\r\n"},
        {"commented key is not replaced", "[S]\r\n;k=1\r\n", "S", "k", "[S]\r\nk=v\r\n;k=1\r\n"},
    };
    for (const WriteCase& c : cases) {
        IniDocument ini(c.before);
        ini.WriteString(c.section, c.key, "v");
        EXPECT_EQ(ini.Bytes(), c.after) << c.what;
        std::string value;
        EXPECT_TRUE(ini.Find(c.section, c.key, value) && value == "v") << c.what << ": does not read back";
    }
}

TEST(IntegerSyntax, StrictAndLenientRules)
{
    const struct {
        const char* text;
        bool ok;
        std::int32_t value;
    } cases[] = {
        {"$FAC4", true, 0xFAC4}, {"$fac4", true, 0xFAC4}, {"0xFFFF", true, 0xFFFF}, {"0XffFF", true, 0xFFFF},
        {"xFF", true, 0xFF}, {"X10", true, 16}, {"65535", true, 65535}, {"-1", true, -1}, {"  +42", true, 42},
        {"007", true, 7}, {"$12345", true, 0x12345}, {"$FFFFFFFF", true, -1}, {"-$10", true, -16},
        {"2147483647", true, 2147483647}, {"-2147483648", true, INT32_MIN},
        {"2147483648", false, 0}, {"$100000000", false, 0}, {"", false, 0}, {"   ", false, 0}, {"$", false, 0},
        {"0x", false, 0}, {"-", false, 0}, {"white", false, 0}, {"12 ", false, 0}, {"1.5", false, 0},
        {"\t12", false, 0}, {"$G1", false, 0}, {"--1", false, 0}, {"0x-1", false, 0},
    };
    for (const auto& c : cases) {
        std::int32_t v = 12345;
        EXPECT_EQ(ParseStrictInteger(c.text, v), c.ok) << '"' << c.text << '"';
        if (c.ok)
            EXPECT_EQ(v, c.value) << '"' << c.text << '"';
        EXPECT_EQ(ParseLenientInteger(c.text), c.ok ? c.value : 0) << '"' << c.text << '"';
    }
}

}  // namespace
