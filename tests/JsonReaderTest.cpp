// The palettes' JSON reader: what RFC 8259 takes it takes with the values
// meant, and what it refuses it names by line.

#include "JsonReader.h"

#include <gtest/gtest.h>

TEST(JsonReader, ValuesAsWritten)
{
    struct Case {
        const char* text;
        std::string string;  // the value of member "s"
        double number;       // the value of member "n"
    };
    const Case cases[] = {
        {R"({"s": "plain", "n": 0})", "plain", 0},
        {R"({"s": "\"\\\/\b\f\n\r\t", "n": -0.5})", "\"\\/\b\f\n\r\t", -0.5},
        // U+00E9, U+20AC and, through a surrogate pair, U+1F3A8, as UTF-8.
        {R"({"s": "\u00e9\u20AC\ud83c\udfa8", "n": 1e3})", "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x8E\xA8", 1000},
        {"{\"s\": \"\xC3\xA9 raw\", \"n\": 12.25E-2}", "\xC3\xA9 raw", 0.1225},
        {" \r\n\t{\"n\":7,\"s\":\"\"} \n", "", 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        JsonValue value;
        int line = 0;
        std::string reason;
        ASSERT_TRUE(ParseJson(c.text, value, line, reason)) << line << ": " << reason;
        ASSERT_NE(value.Find("s"), nullptr);
        EXPECT_EQ(value.Find("s")->text, c.string);
        ASSERT_NE(value.Find("n"), nullptr);
        EXPECT_DOUBLE_EQ(value.Find("n")->number, c.number);
    }
    // Members keep their order and lines; arrays their items.
    JsonValue value;
    int line = 0;
    std::string reason;
    ASSERT_TRUE(ParseJson("{\"a\": [1, true, null],\n\n \"b\": {\"c\": false}}", value, line, reason));
    ASSERT_EQ(value.members.size(), 2u);
    EXPECT_EQ(value.members[0].first, "a");
    EXPECT_EQ(value.members[0].second.items.size(), 3u);
    EXPECT_EQ(value.members[0].second.items[1].type, JsonValue::Type::Bool);
    EXPECT_EQ(value.members[1].second.line, 3);
}

TEST(JsonReader, FaultsNamedByLine)
{
    const std::string deep = std::string(65, '[') + std::string(65, ']');
    struct Case {
        std::string text;
        int line;
        const char* reason;
    };
    const Case cases[] = {
        {"{\"s\": \"tab\there\"}", 1, "a control character in a string"},
        {"{\n\"s\": \"line\nbreak\"}", 2, "a control character in a string"},
        {"{\"s\": \"\\ud83c\"}", 1, "a lone surrogate"},
        {"{\"s\": \"\\udfa8\"}", 1, "a lone surrogate"},
        {"{\"s\": \"\\ud83c\\u0041\"}", 1, "a lone surrogate"},
        {"{\"s\": \"\\u12G4\"}", 1, "four hex digits"},
        {"{\"s\": \"\\x41\"}", 1, "an unknown escape"},
        {"{\"s\": \"open", 1, "not closed"},
        {"{\"n\": 012}", 1, "',' or '}' is expected"},
        {"{\"n\": 1.}", 1, "digits after its point"},
        {"{\"n\": 1e}", 1, "digits in its exponent"},
        {"{\"n\": 1e999}", 1, "out of range"},
        {"{\"n\": +1}", 1, "unexpected text"},
        {"[1, 2,\n]", 2, "unexpected text"},
        {"{\"a\" 1}", 1, "':' is expected"},
        {"{'a': 1}", 1, "a member name in double quotes"},
        {"{}\n{}", 2, "more after the value"},
        {"", 1, "a value is missing"},
        {"\xEF\xBB\xBF{}", 1, "unexpected text"},
        {deep, 1, "nested too deeply"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        JsonValue value;
        int line = 0;
        std::string reason;
        EXPECT_FALSE(ParseJson(c.text, value, line, reason));
        EXPECT_EQ(line, c.line);
        EXPECT_NE(reason.find(c.reason), std::string::npos) << reason;
    }
    // Nested as deep as allowed, and no deeper.
    JsonValue value;
    int line = 0;
    std::string reason;
    EXPECT_TRUE(ParseJson(std::string(64, '[') + std::string(64, ']'), value, line, reason)) << reason;
}
